// The input modes of the main window: 環境 › ローマ字入力 › 標準 / 拡張 and
// 環境 › 入力方式 › ローマ字 / かな. Standard keeps the trainer's own spellings;
// extended takes every spelling the common input methods accept; かな types
// the kana on the JIS kana layout, key by key.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <array>
#include <functional>

#include "exercise/input_method.h"
#include "gui/editor_view.h"
#include "gui/main_window_core.h"
#include "gui/practice_view.h"
#include "gui/sjis_qt.h"
#include "gui/status_bar.h"

namespace hayate::gui {

namespace {

struct Choice {
    const char* name;
    QString text;
};

// A submenu of 環境 with two exclusive choices, inserted ahead of the item
// at `position`; the first choice starts checked.
std::array<QAction*, 2> addChoiceMenu(QMenu* env, int position, const char* name,
                                      const QString& title, const std::array<Choice, 2>& choices,
                                      QObject* context, const std::function<void(int)>& chosen) {
    auto* sub = new QMenu(title, env);
    sub->setObjectName(name);
    env->insertMenu(env->actions().value(position), sub);
    auto* group = new QActionGroup(sub);
    group->setExclusive(true);
    std::array<QAction*, 2> actions{};
    for (int i = 0; i < 2; ++i) {
        const Choice& choice = choices[static_cast<std::size_t>(i)];
        QAction* a = sub->addAction(choice.text);
        a->setObjectName(choice.name);
        a->setCheckable(true);
        group->addAction(a);
        QObject::connect(a, &QAction::triggered, context, [chosen, i] { chosen(i); });
        actions[static_cast<std::size_t>(i)] = a;
    }
    actions[0]->setChecked(true);
    return actions;
}

}  // namespace

void TForm1::createRomajiModeMenu(QMenu* env) {
    // Ahead of 保存, so that a choice and its saving read from top to bottom.
    romaActions_ = addChoiceMenu(env, 0, "RomaNyuryoku", QStringLiteral(u"ローマ字入力(&R)"),
                                 {{{"RomaHyojun", QStringLiteral(u"標準(&S)")},
                                   {"RomaKakucho", QStringLiteral(u"拡張(&E)")}}},
                                 this, [this](int mode) { RomaClick(mode); });
}

void TForm1::createInputMethodMenu(QMenu* env) {
    // Below ローマ字入力, still ahead of 保存.
    inputActions_ = addChoiceMenu(env, 1, "NyuryokuHoshiki", QStringLiteral(u"入力方式(&I)"),
                                  {{{"NyuryokuRoma", QStringLiteral(u"ローマ字(&R)")},
                                    {"NyuryokuKana", QStringLiteral(u"かな(&K)")}}},
                                  this, [this](int method) { NyuryokuClick(method); });
}

void TForm1::NyuryokuClick(int method) {
    state_.inputMethod = method == 1 ? InputMethod::Kana : InputMethod::Romaji;
    showRomajiMode();
    // The records of the other way of typing the course; a running exercise
    // keeps its own until it ends.
    if (!practice_->hasSession() || practice_->session().inputMode() != InputMode::Practice)
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
                          : extended ? qtText(UserText::ExtendedRomajiBadge)
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
