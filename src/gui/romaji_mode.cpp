// The romaji input mode of the main window: 環境 › ローマ字入力 › 標準 / 拡張.
// Standard keeps the trainer's own spellings; extended takes every spelling
// the common input methods accept, in exercises and in the problem editor.
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "gui/editor_view.h"
#include "gui/main_window_core.h"
#include "gui/status_bar.h"

namespace hayate::gui {

void TForm1::createRomajiModeMenu(QMenu* env) {
    auto* sub = new QMenu(QStringLiteral(u"ローマ字入力(&R)"), env);
    sub->setObjectName("RomaNyuryoku");
    // Ahead of 保存, so that a choice and its saving read from top to bottom.
    env->insertMenu(env->actions().value(0), sub);
    auto* group = new QActionGroup(sub);
    group->setExclusive(true);
    const char* names[] = {"RomaHyojun", "RomaKakucho"};
    const QString texts[] = {QStringLiteral(u"標準(&S)"), QStringLiteral(u"拡張(&E)")};
    for (int mode = 0; mode < 2; ++mode) {
        QAction* a = sub->addAction(texts[mode]);
        a->setObjectName(names[mode]);
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, mode] { RomaClick(mode); });
        romaActions_[static_cast<std::size_t>(mode)] = a;
    }
    romaActions_[0]->setChecked(true);
}

void TForm1::RomaClick(int mode) {
    state_.romajiExtended = mode == 1 ? 1 : 0;
    showRomajiMode();
    focusAfterSetting();
}

void TForm1::showRomajiMode() {
    const bool extended = state_.romajiExtended == 1;
    romaActions_[extended ? 1 : 0]->setChecked(true);
    // The status bar is fitted again, as for a new screen, so that the
    // date panel makes room for the badge only while it shows.
    if (sBar1_->setRomajiBadgeShown(extended)) screenChanged();
    if (extended) sBar1_->sizeRomajiBadge();
    // An exercise keeps the mode it started with; the editor follows at once.
    if (editor_) editor_->editor().setExtendedRomaji(extended);
}

}  // namespace hayate::gui
