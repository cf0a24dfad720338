#include "gui/options_panel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>

#include "gui/caption_fit.h"
#include "gui/controls.h"

namespace hayate::gui {

OptionsPanel::OptionsPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("Panel3");
    rg1_ = makeRadioGroup(
        "RG1", QString(),
        {QStringLiteral(u"３０秒"), QStringLiteral(u"６０秒"), QStringLiteral(u"無制限")},
        &rg1Buttons_, this);
    rg2_ = makeRadioGroup("RG2", QString(),
                          {QStringLiteral(u"空白有り"), QStringLiteral(u"空白無し")}, &rg2Buttons_,
                          this);
    rg4_ = makeRadioGroup("RG4", QString(),
                          {QStringLiteral(u"英大文字"), QStringLiteral(u"英小文字")}, &rg4Buttons_,
                          this);
    rg3_ = makeRadioGroup("RG3", QStringLiteral(u"入力カーソル色"),
                          {QStringLiteral(u"黄色"), QStringLiteral(u"無色")}, &rg3Buttons_, this);
    connect(rg1Buttons_, &QButtonGroup::idClicked, this, &OptionsPanel::timeLimitChosen);
    connect(rg2Buttons_, &QButtonGroup::idClicked, this, &OptionsPanel::spacingChosen);
    connect(rg3Buttons_, &QButtonGroup::idClicked, this, &OptionsPanel::cursorColourChosen);
    connect(rg4Buttons_, &QButtonGroup::idClicked, this, &OptionsPanel::letterCaseChosen);
}

void OptionsPanel::showSettings(const SharedState& state) {
    rg1Buttons_->button(state.timeLimitIndex)->setChecked(true);
    rg2Buttons_->button(state.spacing)->setChecked(true);
    rg3Buttons_->button(state.cursorColour)->setChecked(true);
    showLetterCase(state.letterCase);
}

void OptionsPanel::showLetterCase(int letterCase) {
    rg4Buttons_->button(letterCase)->setChecked(true);
}

void OptionsPanel::applyLayout(const WindowLayout& L, int top) {
    for (auto [ctl, group] : {std::pair{Ctl::RG1, rg1_}, std::pair{Ctl::RG2, rg2_},
                              std::pair{Ctl::RG4, rg4_}, std::pair{Ctl::RG3, rg3_}})
        placeControl(L[ctl], group);
    setGeometry(0, top, L.client.width, L.panel3Height);
}

void OptionsPanel::fit(const WindowLayout& L) {
    CaptionRow bottom;
    bottom.parentWidth = L.client.width;
    bottom.controls = {rg1_, rg2_, rg4_, rg3_};
    // On the classic screens the gaps between the groups are published.
    if (L.classic) bottom.fixedWidth = {rg1_, rg2_, rg4_};
    gui::fitCaptions(bottom);
}

}  // namespace hayate::gui
