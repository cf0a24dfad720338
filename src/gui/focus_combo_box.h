// The course list with a focus mark of its own: the styles draw none on a
// closed, non-editable combo box, so reaching it by keys (Up from the start
// button) left no sign of where the keys would go.
#pragma once

#include <QComboBox>

namespace hayate::gui {

class FocusComboBox : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace hayate::gui
