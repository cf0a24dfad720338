// Panel3: the settings under the grid (time limit, spacing, letter case,
// cursor colour). It belongs to the window, not to a view: the practice and
// the editor screen both show it.
#pragma once

#include <QFrame>

#include "app/layout.h"
#include "exercise/shared_state.h"

class QButtonGroup;
class QGroupBox;

namespace hayate::gui {

class OptionsPanel : public QFrame {
    Q_OBJECT
  public:
    explicit OptionsPanel(QWidget* parent);

    void showSettings(const SharedState& state);
    void showLetterCase(int letterCase);

    void applyLayout(const WindowLayout& layout, int top);
    void fit(const WindowLayout& layout);

  signals:
    void timeLimitChosen(int index);
    void spacingChosen(int index);
    void letterCaseChosen(int index);
    void cursorColourChosen(int index);

  private:
    QGroupBox* rg1_ = nullptr;
    QGroupBox* rg2_ = nullptr;
    QGroupBox* rg4_ = nullptr;
    QGroupBox* rg3_ = nullptr;
    QButtonGroup* rg1Buttons_ = nullptr;
    QButtonGroup* rg2Buttons_ = nullptr;
    QButtonGroup* rg4Buttons_ = nullptr;
    QButtonGroup* rg3Buttons_ = nullptr;
};

}  // namespace hayate::gui
