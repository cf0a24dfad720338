// Panel3: the settings under the grid (time limit, spacing, letter case,
// cursor colour). It belongs to the window, not to a view: the practice and
// the editor screen both show it.
#pragma once

#include <QFrame>
#include <array>

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
    // In the order they stand, left to right.
    enum Group { kTimeLimit, kSpacing, kLetterCase, kCursorColour, kGroupCount };
    std::array<QGroupBox*, kGroupCount> boxes_{};
    std::array<QButtonGroup*, kGroupCount> buttons_{};
};

}  // namespace hayate::gui
