#include "gui/keyboard_heatmap.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace hayate::gui {

namespace {
constexpr double kMargin = 4.0;  // pixels around the whole board
constexpr double kGap = 0.06;    // key units between neighbouring caps
}  // namespace

KeyboardHeatmap::KeyboardHeatmap(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setObjectName("KeyMap");
}

void KeyboardHeatmap::setKeys(std::vector<HeatKey> keys) {
    keys_ = std::move(keys);
    extent_ = QRectF();
    for (const HeatKey& k : keys_) extent_ = extent_.united(k.units);
    hovered_ = -1;
    if (keyRect(selected_).isEmpty()) selected_ = -1;
    update();
}

QColor KeyboardHeatmap::colourFor(const HeatKey& key) {
    if (key.seen <= 0) return QColor(0xD8, 0xD8, 0xD8);
    // White at no misses to full red at kFullRate and beyond; the square root
    // lets the first few misses already show.
    const double t = std::sqrt(std::clamp(key.missRate() / kFullRate, 0.0, 1.0));
    const int other = static_cast<int>(std::lround(255 * (1.0 - t)));
    return QColor(255, other, other);
}

QSize KeyboardHeatmap::sizeHint() const { return {760, 230}; }
QSize KeyboardHeatmap::minimumSizeHint() const { return {380, 115}; }

double KeyboardHeatmap::unitScale() const {
    if (extent_.isEmpty()) return 0.0;
    // One scale for both directions so that keys keep their shape.
    return std::min((width() - 2 * kMargin) / extent_.width(),
                    (height() - 2 * kMargin) / extent_.height());
}

QRectF KeyboardHeatmap::keyArea(const HeatKey& key) const {
    if (extent_.isEmpty()) return {};
    const double scale = unitScale();
    const double left = (width() - extent_.width() * scale) / 2;
    const double top = (height() - extent_.height() * scale) / 2;
    const QRectF u = key.units.adjusted(kGap / 2, kGap / 2, -kGap / 2, -kGap / 2);
    return {left + (u.left() - extent_.left()) * scale, top + (u.top() - extent_.top()) * scale,
            u.width() * scale, u.height() * scale};
}

QRect KeyboardHeatmap::keyRect(int id) const {
    for (const HeatKey& k : keys_)
        if (k.id == id) return keyArea(k).toAlignedRect();
    return {};
}

int KeyboardHeatmap::keyAt(const QPointF& point) const {
    for (const HeatKey& k : keys_)
        if (keyArea(k).contains(point)) return k.id;
    return -1;
}

void KeyboardHeatmap::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(rect(), palette().color(QPalette::Window));
    QFont small = font();
    // One legend size for every cap: the size of a letter key decides.
    small.setPixelSize(std::max(7, static_cast<int>(unitScale() / 3.4)));
    p.setFont(small);
    for (const HeatKey& k : keys_) {
        const QRectF r = keyArea(k);
        const bool marked = k.id == selected_ || k.id == hovered_;
        p.setPen(QPen(marked ? QColor(Qt::blue) : QColor(0x70, 0x70, 0x70), marked ? 2 : 1));
        p.setBrush(colourFor(k));
        p.drawRect(r);
        // Legends in the upper half, so that a colour sample from the lower
        // half of a cap is always the fill.
        if (k.legends.isEmpty()) continue;
        p.setPen(Qt::black);
        const QRectF upper(r.left() + 2, r.top() + 1, r.width() - 4, r.height() / 2 - 1);
        p.drawText(upper, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                   k.legends.join(QLatin1Char(' ')));
    }
}

void KeyboardHeatmap::point(int id, bool select) {
    if (select) selected_ = id;
    if (id == hovered_ && !select) return;
    hovered_ = id;
    update();
    emit keyPointed(id >= 0 ? id : selected_);
}

void KeyboardHeatmap::mouseMoveEvent(QMouseEvent* event) { point(keyAt(event->position()), false); }

void KeyboardHeatmap::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) point(keyAt(event->position()), true);
}

void KeyboardHeatmap::leaveEvent(QEvent*) { point(-1, false); }

}  // namespace hayate::gui
