#include "gui/application_style.h"

#include <QApplication>
#include <QGroupBox>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>
#include <functional>
#include <qdrawutil.h>
#include <utility>

namespace hayate::gui {

namespace {

// Stands for an icon until something asks for its pixels or sizes.
class DeferredIconEngine final : public QIconEngine {
  public:
    explicit DeferredIconEngine(std::function<QIcon()> make) : make_(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    // Asked while the button is laid out; a standard icon is never null.
    bool isNull() override { return make_ ? false : icon_.isNull(); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
    QString key() const override { return QStringLiteral("hayate.deferred"); }

  private:
    const QIcon& icon() {
        if (make_) {
            icon_ = make_();
            make_ = nullptr;
        }
        return icon_;
    }

    std::function<QIcon()> make_;
    QIcon icon_;
};

// Fusion's own figures for its group-box frame.
constexpr int kGroupBoxTopMargin = 3;
const char kGroupBoxFrame[] = ":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png";

}  // namespace

QIcon ApplicationStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                     const QWidget* widget) const {
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    const bool rightToLeft = widget ? widget->isRightToLeft() : QApplication::isRightToLeft();
    QPointer<QStyle> base(baseStyle());
    return QIcon(new DeferredIconEngine([base, icon, rightToLeft] {
        if (!base) return QIcon();
        QStyleOption direction;
        direction.direction = rightToLeft ? Qt::RightToLeft : Qt::LeftToRight;
        return base->standardIcon(icon, &direction, nullptr);
    }));
}

void ApplicationStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    if (element == PE_FrameGroupBox && baseStyle()->name() == QLatin1String("fusion")) {
        if (!groupBoxFrameRead_) {
            groupBoxFrameRead_ = true;
            // Named as PNG, with no guessing, so no plugin is asked.
            QImageReader reader(QString::fromLatin1(kGroupBoxFrame), "png");
            reader.setAutoDetectImageFormat(false);
            groupBoxFrame_ = QPixmap::fromImage(reader.read());
        }
        if (!groupBoxFrame_.isNull()) {
            // As Fusion places it: below the title, or near the top without one.
            const auto* box = qobject_cast<const QGroupBox*>(widget);
            const bool bare = box && !box->isCheckable() && box->title().isEmpty();
            const int top =
                kGroupBoxTopMargin +
                (bare ? 0
                      : std::max(proxy()->pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                                 option->fontMetrics.height()));
            qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), QMargins(6, 6, 6, 6),
                              groupBoxFrame_);
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void installApplicationStyle() {
    static bool done = false;
    if (done || dynamic_cast<ApplicationStyle*>(QApplication::style())) return;
    done = true;
    // The style the user chose (-style, QT_STYLE_OVERRIDE) or the desktop's.
    QApplication::setStyle(new ApplicationStyle(QStyleFactory::create(QApplication::style()->name())));
}

}  // namespace hayate::gui
