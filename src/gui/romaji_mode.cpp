// The input modes of the main window: 環境 › ローマ字入力 › 標準 / 拡張 and
// 環境 › 入力方式 › ローマ字 / かな. Standard keeps the trainer's own spellings;
// extended takes every spelling the common input methods accept; かな types
// the kana on the JIS kana layout, key by key.
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "exercise/input_method.h"
#include "gui/editor_view.h"
#include "gui/main_window_core.h"
#include "gui/practice_view.h"
#include "gui/sjis_qt.h"
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

void TForm1::createInputMethodMenu(QMenu* env) {
    auto* sub = new QMenu(QStringLiteral(u"入力方式(&I)"), env);
    sub->setObjectName("NyuryokuHoshiki");
    // Below ローマ字入力, still ahead of 保存.
    env->insertMenu(env->actions().value(1), sub);
    auto* group = new QActionGroup(sub);
    group->setExclusive(true);
    const char* names[] = {"NyuryokuRoma", "NyuryokuKana"};
    const QString texts[] = {QStringLiteral(u"ローマ字(&R)"), QStringLiteral(u"かな(&K)")};
    for (int method = 0; method < 2; ++method) {
        QAction* a = sub->addAction(texts[method]);
        a->setObjectName(names[method]);
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, method] { NyuryokuClick(method); });
        inputActions_[static_cast<std::size_t>(method)] = a;
    }
    inputActions_[0]->setChecked(true);
}

void TForm1::NyuryokuClick(int method) {
    state_.inputMethod = method == 1 ? InputMethod::Kana : InputMethod::Romaji;
    showRomajiMode();
    // The records of the other way of typing the course.
    practice_->refreshBestLabels();
    focusAfterSetting();
}

void TForm1::RomaClick(int mode) {
    state_.romajiExtended = mode == 1 ? 1 : 0;
    showRomajiMode();
    focusAfterSetting();
}

void TForm1::showRomajiMode() {
    const bool extended = state_.romajiExtended == 1;
    const bool kana = state_.inputMethod == InputMethod::Kana;
    romaActions_[extended ? 1 : 0]->setChecked(true);
    inputActions_[kana ? 1 : 0]->setChecked(true);
    const QString badge = kana       ? toQt(inputMethodStatusText(InputMethod::Kana))
                          : extended ? QStringLiteral(u"ローマ字 拡張")
                                     : QString();
    // The status bar is fitted again, as for a new screen, so that the
    // date panel makes room for the badge only while it shows.
    if (sBar1_->setModeBadge(badge)) screenChanged();
    if (!badge.isEmpty()) sBar1_->sizeRomajiBadge();
    // An exercise keeps the modes it started with; the editor follows at once.
    if (editor_) {
        editor_->editor().setExtendedRomaji(extended);
        editor_->editor().setKanaInput(kana);
    }
}

}  // namespace hayate::gui
