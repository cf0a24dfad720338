// Placing the main window on its screen: the arithmetic of app/layout applied
// to the controls, captions made whole, and a new layout whenever the window
// changes screens or its screen changes.
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QWindow>
#include <algorithm>

#include "app/screen_fit.h"
#include "gui/caption_fit.h"
#include "gui/cell_font.h"
#include "gui/faces.h"
#include "gui/grid_widget.h"
#include "gui/main_window.h"
#include "platform/version.h"

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
    } else if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        // Device-independent pixels: Qt's high-DPI scaling has divided them.
        const QRect whole = screen->geometry();
        const QRect free = screen->availableGeometry();
        area = ScreenArea{whole.width(), whole.height(), free.left(),
                          free.top(),    free.width(),  free.height()};
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
    editorFitted_ = false;

    const int W = L.client.width;
    const int gridTop = L.practiceGrid.top - chrome.menuBarHeight;
    pLine_->setGeometry(0, 0, W, 2);
    panel1_->setGeometry(0, 2, W, L.panel1Height);
    for (auto& [ctl, widget] : placed_) placeControl(ctl, widget);
    for (QLabel* l : {labels_[Label::BestScore], labels_[Label::BestDate]}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    panel2_->lower();

    for (GridWidget* g : {sg1_, sg3_}) {
        g->setGeometry(L.practiceGrid.left, gridTop, L.practiceGrid.width, L.practiceGrid.height);
        const GridMetrics& m = g == sg1_ ? L.practice : L.editor;
        for (int c = 0; c < 41; ++c)
            g->setColumnWidth(c, m.columnWidths[static_cast<std::size_t>(c)]);
        for (int r = 0; r < 51; ++r) g->setRowHeight(r, m.rowHeights[static_cast<std::size_t>(r)]);
        g->setFont(cellFont(pointsToPixels(L.cellFontSize1), false));
    }
    prepareCellFonts();
    sg2_->setGeometry(L.recordsGrid.left, gridTop, L.recordsWidth, L.recordsGrid.height);
    for (int c = 0; c < 7; ++c)
        sg2_->setColumnWidth(c, L.recordsColumnWidths[static_cast<std::size_t>(c)]);
    for (int r = 0; r < 16; ++r) sg2_->setRowHeight(r, L.recordsRowHeight);
    QFont recordsFont = face(QStringLiteral(u"ＭＳ ゴシック"));
    recordsFont.setPixelSize(pointsToPixels(L.recordsFontSize));
    sg2_->setFont(recordsFont);

    panel3_->setGeometry(0, gridTop + L.practiceGrid.height, W, L.panel3Height);
    sBar1_->setFixedHeight(L.statusBarHeight);
    QFont statusFont = face(QStringLiteral(u"ＭＳ ゴシック"));
    statusFont.setPixelSize(std::clamp(L.statusBarHeight - 6, 11, pointsToPixels(10)));
    for (QLabel* panel : statusPanels_) panel->setFont(statusFont);

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

void TForm1::placeControl(Ctl ctl, QWidget* widget) {
    const PlacedControl& p = layout_[ctl];
    widget->setGeometry(p.box.left, p.box.top, p.box.width, p.box.height);
    QFont f = widget->font();
    f.setPixelSize(pointsToPixels(p.fontSize));
    widget->setFont(f);
    // A group's buttons follow its font; a smaller one fitted for an
    // earlier screen must not stay.
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setFont(f);
    if (auto* group = qobject_cast<QGroupBox*>(widget); group && group->layout()) {
        const QMargins m = group->layout()->contentsMargins();
        group->layout()->setContentsMargins(8, m.top(), 8, m.bottom());
        group->layout()->setSpacing(-1);
    }
}

void TForm1::fitControlCaptions() {
    const int W = layout_.client.width;
    CaptionRow top;
    top.parentWidth = W;
    for (Ctl c : {Ctl::Comb1, Ctl::BStart, Ctl::BEnd, Ctl::L21, Ctl::LSaikoM, Ctl::L22,
                  Ctl::LSaikoD, Ctl::L1, Ctl::LEtime, Ctl::L11, Ctl::LMoji, Ctl::L12, Ctl::LTime,
                  Ctl::L2, Ctl::LYmoji, Ctl::L13, Ctl::L4, Ctl::LMiss, Ctl::L5, Ctl::LRoma1,
                  Ctl::LRoma2, Ctl::LRoma3, Ctl::L6, Ctl::LDaken})
        top.controls.push_back(placed_.at(c));
    fitCaptions(top);
    // The stop button takes the start button's place.
    bStop_->setGeometry(bStart_->geometry());
    bStop_->setFont(bStart_->font());
    shrinkToFit(bStop_);

    CaptionRow bottom;
    bottom.parentWidth = W;
    for (Ctl c : {Ctl::RG1, Ctl::RG2, Ctl::RG4, Ctl::RG3}) bottom.controls.push_back(placed_.at(c));
    // On the classic screens the gaps between the groups are published.
    if (layout_.classic) bottom.fixedWidth = {rg1_, rg2_, rg4_};
    fitCaptions(bottom);

    std::vector<QLabel*> panels(statusPanels_.begin(), statusPanels_.end());
    fitStatusPanels(sBar1_, W, panels,
                    std::vector<int>(layout_.statusPanelWidths.begin(),
                                     layout_.statusPanelWidths.end()),
                    {QStringLiteral("888 : 888 "), QStringLiteral(u"制限時間 なし"),
                     QStringLiteral(u"空白有り"), QStringLiteral(u"英大文字"),
                     QStringLiteral(u"入力カーソル 黄色"),
                     QStringLiteral(u"今日の日付 8888/88/88 "), QStringLiteral("Ver.") + QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())) + QStringLiteral("  ")},
                    5, {{}, {}, {}, {}, {}, romajiBadge()});
}

void TForm1::fitEditorCaptions() {
    fitEditorControls();
    CaptionRow editor;
    editor.parentWidth = layout_.client.width;
    for (Ctl c :
         {Ctl::Comb2, Ctl::EMname, Ctl::BMonDel, Ctl::BFinp, Ctl::RG6, Ctl::RG7, Ctl::LMsg})
        editor.controls.push_back(placed_.at(c));
    fitCaptions(editor);
    editorFitted_ = true;
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
    const bool hint = savedHintLeft_ >= 0;
    const QString hintText = labels_.at(Label::Message)->text();
    savedHintLeft_ = -1;
    applyLayout();
    fitControlCaptions();
    if (!comb2_->isHidden()) fitEditorCaptions();
    if (hint) showKeyHintText(hintText);
    for (GridWidget* g : {sg1_, sg3_}) g->setCurrentCell(g->currentColumn(), g->currentRow());
}

}  // namespace hayate::gui
