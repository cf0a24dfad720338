// 成績 › 分析: the analysis screen over the exercise journal.
#include <QDateTime>

#include "gui/analysis_window.h"
#include "gui/main_window_core.h"
#include "gui/practice_view.h"

namespace hayate::gui {

void TForm1::SeiBunClick() {
    // Like the records screens: nothing while typing or editing.
    if (practice_->session().inputMode() != InputMode::Idle) return;
    if (!analysis_) analysis_ = new AnalysisWindow(this);
    AnalysisSource source;
    source.journal = journal();
    source.records = &core_->startup.records();
    source.courseNames = practice_->courseNames();
    source.course = state_.courseIndex;
    source.setting = state_.settingIndex();
    source.inputMethod = state_.courseInputMethod();
    source.now = QDateTime::currentSecsSinceEpoch();
    source.startWeakSpotPractice = [this] { return startWeakSpotPractice(); };
    const ScreenArea screen = screenArea();
    source.area = QRect(screen.availableLeft, screen.availableTop, screen.usableWidth(),
                        screen.usableHeight());
    analysis_->open(std::move(source));
}

}  // namespace hayate::gui
