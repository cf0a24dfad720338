#include "gui/controls.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QRadioButton>

#include "app/screen_fit.h"
#include "gui/cell_font.h"
#include "gui/grid_widget.h"

namespace hayate::gui {

QLabel* makeLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Opaque, so that a changed figure repaints the label alone and not the
    // panel behind it.
    label->setAutoFillBackground(true);
    return label;
}

QGroupBox* makeRadioGroup(const char* name, const QString& caption, const QStringList& items,
                          QButtonGroup** group, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(8, caption.isEmpty() ? 4 : 2, 8, 4);
    *group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
        (*group)->addButton(radio, i);
        row->addWidget(radio);
    }
    return box;
}

QColor toQColor(Colour c) { return QColor(c.red, c.green, c.blue); }

void setTextColour(QLabel* label, Colour colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, toQColor(colour));
    label->setPalette(p);
}

void placeControl(const PlacedControl& p, QWidget* widget) {
    widget->setGeometry(p.box.left, p.box.top, p.box.width, p.box.height);
    QFont f = widget->font();
    f.setPixelSize(pointsToPixels(p.fontSize));
    widget->setFont(f);
    // A smaller font fitted for an earlier screen must not stay.
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setFont(f);
    if (auto* group = qobject_cast<QGroupBox*>(widget); group && group->layout()) {
        const QMargins m = group->layout()->contentsMargins();
        group->layout()->setContentsMargins(8, m.top(), 8, m.bottom());
        group->layout()->setSpacing(-1);
    }
}

void placeCellGrid(GridWidget* grid, const QRect& place, const GridMetrics& metrics,
                   int fontPoints) {
    grid->setGeometry(place);
    for (int c = 0; c < 41; ++c)
        grid->setColumnWidth(c, metrics.columnWidths[static_cast<std::size_t>(c)]);
    for (int r = 0; r < 51; ++r)
        grid->setRowHeight(r, metrics.rowHeights[static_cast<std::size_t>(r)]);
    grid->setFont(cellFont(pointsToPixels(fontPoints), false));
}

void closeInputMethod() {
    if (QInputMethod* im = QGuiApplication::inputMethod()) {
        im->reset();
        im->hide();
    }
}

bool claimPlainKeys(QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* k = static_cast<QKeyEvent*>(event);
    if (!(k->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) event->accept();
    return true;
}

std::optional<WinKey> pressedKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return std::nullopt;
    return translateKey(*static_cast<const QKeyEvent*>(event));
}

}  // namespace hayate::gui
