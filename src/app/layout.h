// Fitting the main window to the screen: the window is drawn for a screen
// 1024 pixels wide and everything is scaled once, at first show, to the real
// width. Pure arithmetic, so every figure can be checked without a window.
#pragma once

#include <array>

#include "app/screen_fit.h"

namespace hayate {

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Box&) const = default;
};

struct PlacedControl {
    Box box;
    int fontSize = 0;  // pixels
    bool operator==(const PlacedControl&) const = default;
};

// The controls whose place and font the layout changes, in the order of the
// general scaling step; the last four are the bottom radio groups.
enum class Ctl : int {
    BEnd,
    BStart,
    BStop,
    BMonDel,
    BFinp,
    Comb1,
    Comb2,
    EMname,
    L1,
    L11,
    L12,
    L13,
    L2,
    L21,
    L22,
    L4,
    L5,
    L6,
    LDaken,
    LEtime,
    LMiss,
    LMoji,
    LMsg,
    LRoma1,
    LRoma2,
    LRoma3,
    LSaikoD,
    LSaikoM,
    LTime,
    LYmoji,
    Panel2,
    RG6,
    RG7,
    RG1,
    RG2,
    RG4,
    RG3,
    Count
};
constexpr int kCtlCount = static_cast<int>(Ctl::Count);

// Geometry as drawn for a 1024 x 768 screen. Controls of the top panel are in
// its coordinates; the radio groups in the bottom panel's.
struct DesignGeometry {
    std::array<PlacedControl, kCtlCount> controls{};
    int panel1Height = 142;
    int panel3Height = 63;
    int statusBarHeight = 20;
    std::array<int, 7> statusPanelWidths{80, 120, 80, 80, 150, 400, 50};
    int lineHeight = 2;  // the thin line above the top panel

    PlacedControl& operator[](Ctl c) { return controls[static_cast<std::size_t>(c)]; }
    const PlacedControl& operator[](Ctl c) const { return controls[static_cast<std::size_t>(c)]; }
};

// The geometry the window is drawn with at 1024 pixels.
DesignGeometry defaultDesignGeometry();

// What the window frame and menu take, which only the window system knows.
struct WindowChrome {
    int menuBarHeight = 0;
    int frameWidth = 0;   // left + right border outside the client area
    int frameHeight = 0;  // title bar + borders outside the client area
};

struct GridMetrics {
    std::array<int, 41> columnWidths{};
    std::array<int, 51> rowHeights{};
};

struct WindowLayout {
    int screenWidth = 0;
    // Drawn by the published table (one of the four 4:3 screens, which it
    // fits), or fitted to the available area of any other screen.
    bool classic = true;
    double verticalScale = 1.0;  // of the fitted window against the design
    int windowLeft = 0;          // outer position on the desktop
    int windowTop = 0;
    int windowHeight = 0;  // outer height, frame included
    Box client;            // client area size (left, top 0)
    int messageX = 400;
    int messageY = 300;
    int panel1Height = 0;
    int panel3Height = 0;
    int statusBarHeight = 0;
    std::array<int, 7> statusPanelWidths{};
    int textOffset1 = 0;
    int textOffset2 = 0;
    int cellWidth = 0;  // cw of the practice grid
    int cellFontSize1 = 0;
    int cellFontSize2 = 0;
    int cellFontSize3 = 0;
    Box practiceGrid;  // in client coordinates
    GridMetrics practice;
    GridMetrics editor;
    Box recordsGrid;
    std::array<int, 7> recordsColumnWidths{};
    int recordsRowHeight = 0;
    int recordsFontSize = 0;
    int recordsWidth = 0;  // sum of the column widths + 11, fixed for the run
    std::array<PlacedControl, kCtlCount> controls{};

    const PlacedControl& operator[](Ctl c) const { return controls[static_cast<std::size_t>(c)]; }
};

// x * W / 1024, rounded half up.
int scaledX(int x, int screenWidth);

// Outer window height on a screen without task bars: the four known widths
// from the table where it fits, else the screen's height.
int windowHeightFor(int screenWidth, int screenHeight);

// Practice-grid column rule: column 0 is a thin strip, 1..28 cw, 29..40 one
// pixel off cw depending on the width.
std::array<int, 41> practiceColumnWidths(int gridWidth, int screenWidth, int* cellWidth = nullptr);

WindowLayout computeLayout(const ScreenArea& screen, const WindowChrome& chrome,
                           const DesignGeometry& design = defaultDesignGeometry());
// A screen without task bars.
WindowLayout computeLayout(int screenWidth, int screenHeight, const WindowChrome& chrome,
                           const DesignGeometry& design = defaultDesignGeometry());

}  // namespace hayate
