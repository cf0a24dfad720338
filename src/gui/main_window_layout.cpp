// Placing the main window on its screen: the arithmetic of app/layout applied
// to the controls, captions made whole, and a new layout whenever the window
// changes screens or its screen changes.
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "app/screen_fit.h"
#include "gui/editor_view.h"
#include "gui/main_window.h"
#include "gui/options_panel.h"
#include "gui/practice_view.h"
#include "gui/records_view.h"
#include "gui/status_bar.h"

namespace hayate::gui {

namespace {

// Smaller than this, a window the compositor sized (half a tiled screen, say)
// is laid out as if it were this size and shows what fits.
constexpr int kLeastWidth = 640;
constexpr int kLeastHeight = 480;

}  // namespace

ScreenArea TForm1::screenArea() const {
    ScreenArea area;
    if (options_.screenWidthOverride > 0 && options_.screenHeightOverride > 0) {
        area = ScreenArea{options_.screenWidthOverride, options_.screenHeightOverride};
    } else if (QScreen* screen =
                   this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        // Device-independent pixels: Qt's high-DPI scaling has divided them.
        const QRect whole = screen->geometry();
        const QRect free = screen->availableGeometry();
        area = ScreenArea{whole.width(), whole.height(), free.left(),
                          free.top(),    free.width(),   free.height()};
    }
    // The compositor knows the free part of the screen; the size it gave the
    // maximised window is that part.
    if (compositorPlaces_ && compositorSize_.isValid()) {
        area.availableLeft = 0;
        area.availableTop = 0;
        area.availableWidth = std::max(kLeastWidth, compositorSize_.width());
        area.availableHeight = std::max(kLeastHeight, compositorSize_.height());
    }
    return area;
}

void TForm1::applyLayout() {
    WindowChrome chrome;
    chrome.menuBarHeight = menuBar()->sizeHint().height();
    chrome.frameWidth = std::max(0, frameGeometry().width() - geometry().width());
    chrome.frameHeight = std::max(0, frameGeometry().height() - geometry().height());
    layout_ = computeLayout(screenArea(), chrome);
    const WindowLayout& L = layout_;
    messages_.setPosition(QPoint(L.messageX, L.messageY));

    const int W = L.client.width;
    const int gridTop = L.practiceGrid.top - chrome.menuBarHeight;
    pLine_->setGeometry(0, 0, W, 2);
    viewArea_ = QRect(0, 2, W, gridTop + L.practiceGrid.height - 2);
    practice_->applyLayout(L, viewArea_);
    if (editor_) editor_->applyLayout(L, viewArea_);
    records_->applyLayout(L, gridTop);
    optionsPanel_->applyLayout(L, gridTop + L.practiceGrid.height);
    sBar1_->applyLayout(L);

    if (compositorPlaces_) {
        // A window of a fixed size would be floated, and left where it was
        // when it changes screens; maximised, the compositor fits it to each.
        if (!shown_) {
            resize(L.client.width, L.client.height);
            setWindowState(windowState() | Qt::WindowMaximized);
        }
        return;
    }
    move(L.windowLeft, L.windowTop);
    setFixedSize(L.client.width, L.client.height);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!compositorPlaces_ || !shown_) return;
    const QSize given = frameGeometry().size();
    if (given == compositorSize_) return;
    compositorSize_ = given;
    screenChanged();
}

void TForm1::fitControlCaptions() {
    practice_->fitCaptions(layout_);
    optionsPanel_->fit(layout_);
    sBar1_->fitPanels(layout_);
}

void TForm1::watchScreen() {
    QWindow* window = windowHandle();
    if (!window) return;
    auto follow = [this](QScreen* screen) {
        if (!screen) return;
        connect(screen, &QScreen::geometryChanged, this, &TForm1::followScreen,
                Qt::UniqueConnection);
        connect(screen, &QScreen::availableGeometryChanged, this, &TForm1::followScreen,
                Qt::UniqueConnection);
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, &TForm1::followScreen,
                Qt::UniqueConnection);
    };
    follow(window->screen());
    connect(window, &QWindow::screenChanged, this, [this, follow](QScreen* screen) {
        follow(screen);
        screenChanged();
    });
}

void TForm1::followScreen() { screenChanged(); }

void TForm1::screenChanged(int widthOverride, int heightOverride) {
    if (!shown_ || firstShowFailed_) return;
    if (widthOverride > 0 && heightOverride > 0) {
        options_.screenWidthOverride = widthOverride;
        options_.screenHeightOverride = heightOverride;
    }
    // Everything but geometry and fonts lives in the core and the controls'
    // texts, so the typed cells, counters and the running clock stay.
    applyLayout();
    fitControlCaptions();
    practice_->keepCursorInSight();
    if (editor_) editor_->keepCursorInSight();
}

}  // namespace hayate::gui
