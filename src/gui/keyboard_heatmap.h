// KeyMap: the Japanese keyboard drawn as a heat map, one colour per physical
// key from its miss rate. Hovering or clicking a key reports it, so the window
// can list the characters and wrong keys behind its misses.
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace hayate::gui {

struct HeatKey {
    int id = 0;
    QRectF units;         // position and size in key units
    QStringList legends;  // top to bottom, as printed on the keycap
    int seen = 0;         // times the key was expected
    int missed = 0;       // misses while it was expected
    double missRate() const { return seen > 0 ? static_cast<double>(missed) / seen : 0.0; }
};

class KeyboardHeatmap : public QWidget {
    Q_OBJECT
  public:
    explicit KeyboardHeatmap(QWidget* parent = nullptr);

    void setKeys(std::vector<HeatKey> keys);
    const std::vector<HeatKey>& keys() const { return keys_; }
    // Where a key stands on the widget now; empty for an unknown id.
    // Invokable, for callers outside the analysis module (the GUI tests).
    Q_INVOKABLE QRect keyRect(int id) const;
    // The fill a key gets: grey when never expected, then white to red as the
    // miss rate climbs to `kFullRate`.
    static QColor colourFor(const HeatKey& key);
    static constexpr double kFullRate = 0.2;

    int selectedKey() const { return selected_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void keyPointed(int id);  // hover or click; -1 when the pointer leaves the keys

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    double unitScale() const;  // pixels per key unit
    QRectF keyArea(const HeatKey& key) const;
    int keyAt(const QPointF& point) const;
    void point(int id, bool select);

    std::vector<HeatKey> keys_;
    QRectF extent_;  // all keys, in key units
    int hovered_ = -1;
    int selected_ = -1;
};

}  // namespace hayate::gui
