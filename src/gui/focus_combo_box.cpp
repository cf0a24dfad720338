#include "gui/focus_combo_box.h"

#include <QPainter>
#include <QPen>

namespace hayate::gui {

void FocusComboBox::paintEvent(QPaintEvent* event) {
    QComboBox::paintEvent(event);
    if (!hasFocus()) return;
    QPainter p(this);
    QPen pen(palette().color(QPalette::Highlight), 2);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

// Whatever brought or took the focus (keys, a click, another window), the
// mark follows.
void FocusComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    update();
}

void FocusComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    update();
}

}  // namespace hayate::gui
