#pragma once

#include <QProxyStyle>

namespace hayate::gui {

// The desktop's style, less the image files it would read before the first
// frame. Qt reads an image by asking every image-format plugin first, which
// loads them all (and the SVG library with them): milliseconds of start-up
// for a frame and an icon. The menu bar's overflow icon is made when first
// drawn; Fusion's group-box frame is read straight as PNG. Both look as
// before.
class ApplicationStyle final : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

  private:
    mutable QPixmap groupBoxFrame_;
    mutable bool groupBoxFrameRead_ = false;
};

// Makes the running application's style an ApplicationStyle; once only.
void installApplicationStyle();

}  // namespace hayate::gui
