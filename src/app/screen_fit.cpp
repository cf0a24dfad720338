#include "app/screen_fit.h"

#include <algorithm>

namespace hayate {

int tableWindowHeight(int width) {
    switch (width) {
        case 800:
            return 573;
        case 1024:
            return 750;
        case 1280:
            return 1012;
        case 1600:
            return 1180;
        default:
            return 0;
    }
}

namespace {

int classicScreenHeight(int width) {
    switch (width) {
        case 800:
            return 600;
        case 1024:
            return 768;
        case 1280:
            return 1024;
        case 1600:
            return 1200;
        default:
            return 0;
    }
}

}  // namespace

bool isClassicScreen(const ScreenArea& s) {
    const int w = s.usableWidth();
    return w == s.width && classicScreenHeight(w) == s.height &&
           tableWindowHeight(w) <= s.usableHeight();
}

int fittedWindowHeight(const ScreenArea& s) {
    const int table = tableWindowHeight(s.usableWidth());
    return table > 0 ? std::min(table, s.usableHeight()) : s.usableHeight();
}

double fittedScale(const ScreenArea& s) {
    // 750 is the window height the design was drawn in.
    return std::min(s.usableWidth() / 1024.0, fittedWindowHeight(s) / 750.0);
}

int pointsToPixels(int points) { return (points * 96 + 36) / 72; }

int largestPointsForRow(int rowHeight, int offset) {
    int points = 1;
    // One pixel to spare: the lowest strokes (＿, ｇ) reach the em box's foot.
    while (pointsToPixels(points + 1) + offset + 1 <= rowHeight) ++points;
    return points;
}

}  // namespace hayate
