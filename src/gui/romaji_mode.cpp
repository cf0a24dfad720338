// The romaji input mode of the main window: 環境 › ローマ字入力 › 標準 / 拡張.
// Standard keeps the trainer's own spellings; extended takes every spelling
// the common input methods accept, in exercises and in the problem editor.
#include <QAction>
#include <QActionGroup>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

#include "gui/caption_fit.h"
#include "gui/main_window_core.h"

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

    // Only the extended mode shows itself, at the left end of the date panel
    // (its text keeps to the right), so that no panel loses width.
    romaPanel_ = new QLabel(QStringLiteral(u"ローマ字 拡張"), statusPanels_[5]);
    romaPanel_->setObjectName("SBar1Roma");
    romaPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    romaPanel_->setTextFormat(Qt::PlainText);
    romaPanel_->setAlignment(Qt::AlignCenter);
    romaPanel_->hide();
    auto* row = new QHBoxLayout(statusPanels_[5]);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(romaPanel_);
    row->addStretch(1);
}

QString TForm1::romajiBadge() const {
    return state_.romajiExtended == 1 && romaPanel_ ? romaPanel_->text() : QString();
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
    if (extended != romaPanel_->isVisibleTo(statusPanels_[5])) {
        romaPanel_->setVisible(extended);
        screenChanged();
    }
    // Measured only while it shows; the switch to it comes back here.
    if (extended) {
        romaPanel_->setFont(statusPanels_[5]->font());
        romaPanel_->setFixedWidth(
            QFontMetrics(romaPanel_->font()).horizontalAdvance(romaPanel_->text()) + kBadgePadding);
    }
    // An exercise keeps the mode it started with; the editor follows at once.
    if (core_->editor) core_->editor->setExtendedRomaji(extended);
}

}  // namespace hayate::gui
