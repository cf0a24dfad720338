// Which height the window may take on a screen, and how large the grid text
// may be in a row. The window was drawn for the 4:3 screens of its day; on any
// other screen (wide, short, scaled, or with task bars) it has to fit the part
// of the screen the desktop leaves free, and everything vertical follows from
// that height rather than from the width.
#pragma once

namespace hayate {

// A screen in device-independent pixels, so that 2560 x 1440 at 200 % is
// 1280 x 720 here. The available area is the screen without panels and task
// bars; zero width or height means the whole screen.
struct ScreenArea {
    int width = 1024;
    int height = 768;
    int availableLeft = 0;
    int availableTop = 0;
    int availableWidth = 0;
    int availableHeight = 0;

    int usableWidth() const { return availableWidth > 0 ? availableWidth : width; }
    int usableHeight() const { return availableHeight > 0 ? availableHeight : height; }
};

// The outer window height of the four screens the window was drawn for, or 0
// for any other width.
int tableWindowHeight(int width);

// True on 800 x 600, 1024 x 768, 1280 x 1024 and 1600 x 1200 when the table's
// height fits the available area: there every published figure holds.
bool isClassicScreen(const ScreenArea& screen);

// Outer window height: the table's height where it fits, else all the
// available height.
int fittedWindowHeight(const ScreenArea& screen);

// Vertical scale of the fitted window against the 1024 x 768 design: the
// height it got, but never more than the width allows, so a wide screen does
// not stretch the controls taller than their captions are wide.
double fittedScale(const ScreenArea& screen);

// Font sizes of the layout are points of a 96-dpi screen.
int pointsToPixels(int points);

// The largest point size whose glyphs, drawn with their em box's top
// `offset` pixels below the cell's top, stay inside a row `rowHeight` pixels
// high, with a pixel to spare.
int largestPointsForRow(int rowHeight, int offset);

}  // namespace hayate
