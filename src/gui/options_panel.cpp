#include "gui/options_panel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>

#include "gui/caption_fit.h"
#include "gui/controls.h"
#include "gui/sjis_qt.h"

namespace hayate::gui {

OptionsPanel::OptionsPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("Panel3");
    struct GroupText {
        const char* name;
        const char16_t* caption;
        QStringList items;
        void (OptionsPanel::*chosen)(int);
    };
    const GroupText groups[kGroupCount] = {
        {"RG1",
         u"",
         {QStringLiteral(u"３０秒"), QStringLiteral(u"６０秒"), QStringLiteral(u"無制限")},
         &OptionsPanel::timeLimitChosen},
        {"RG2",
         u"",
         {qtText(UserText::WithSpaces), qtText(UserText::WithoutSpaces)},
         &OptionsPanel::spacingChosen},
        {"RG4",
         u"",
         {qtText(UserText::UpperCase), qtText(UserText::LowerCase)},
         &OptionsPanel::letterCaseChosen},
        {"RG3",
         u"入力カーソル色",
         {QStringLiteral(u"黄色"), QStringLiteral(u"無色")},
         &OptionsPanel::cursorColourChosen},
    };
    for (int g = 0; g < kGroupCount; ++g) {
        const GroupText& t = groups[g];
        const auto k = static_cast<std::size_t>(g);
        boxes_[k] =
            makeRadioGroup(t.name, QString::fromUtf16(t.caption), t.items, &buttons_[k], this);
        connect(buttons_[k], &QButtonGroup::idClicked, this, t.chosen);
    }
}

void OptionsPanel::showSettings(const SharedState& state) {
    buttons_[kTimeLimit]->button(state.timeLimitIndex)->setChecked(true);
    buttons_[kSpacing]->button(state.spacing)->setChecked(true);
    buttons_[kCursorColour]->button(state.cursorColour)->setChecked(true);
    showLetterCase(state.letterCase);
}

void OptionsPanel::showLetterCase(int letterCase) {
    buttons_[kLetterCase]->button(letterCase)->setChecked(true);
}

void OptionsPanel::applyLayout(const WindowLayout& L, int top) {
    const Ctl places[kGroupCount] = {Ctl::RG1, Ctl::RG2, Ctl::RG4, Ctl::RG3};
    for (int g = 0; g < kGroupCount; ++g)
        placeControl(L[places[g]], boxes_[static_cast<std::size_t>(g)]);
    setGeometry(0, top, L.client.width, L.panel3Height);
}

void OptionsPanel::fit(const WindowLayout& L) {
    CaptionRow bottom;
    bottom.parentWidth = L.client.width;
    bottom.controls.assign(boxes_.begin(), boxes_.end());
    // On the classic screens the gaps between the groups are published.
    if (L.classic) bottom.fixedWidth = {boxes_[kTimeLimit], boxes_[kSpacing], boxes_[kLetterCase]};
    gui::fitCaptions(bottom);
}

}  // namespace hayate::gui
