#include "app/layout.h"

#include <algorithm>

namespace hayate {

namespace {

int roundHalfUp(double v) { return static_cast<int>(v + 0.5); }

void put(DesignGeometry& g, Ctl c, int left, int top, int width, int height, int font = 12) {
    g[c] = PlacedControl{Box{left, top, width, height}, font};
}

}  // namespace

DesignGeometry defaultDesignGeometry() {
    DesignGeometry g;
    // First row of the top panel: course, buttons, best record.
    put(g, Ctl::Comb1, 16, 12, 264, 26);
    put(g, Ctl::Comb2, 16, 12, 264, 26);
    put(g, Ctl::BMonDel, 290, 10, 104, 30);
    put(g, Ctl::BStart, 404, 10, 104, 30);
    put(g, Ctl::BStop, 404, 10, 104, 30);
    put(g, Ctl::BEnd, 518, 10, 104, 30);
    put(g, Ctl::BFinp, 518, 10, 104, 30);
    put(g, Ctl::Panel2, 636, 6, 380, 38);
    put(g, Ctl::L21, 646, 16, 116, 20);
    put(g, Ctl::LSaikoM, 764, 16, 60, 20);
    put(g, Ctl::L22, 832, 16, 52, 20);
    put(g, Ctl::LSaikoD, 886, 16, 124, 20);
    // Second row: the statistics.
    put(g, Ctl::L1, 16, 56, 68, 20);
    put(g, Ctl::LEtime, 86, 56, 60, 20);
    put(g, Ctl::L11, 166, 56, 84, 20);
    put(g, Ctl::LMoji, 252, 56, 60, 20);
    put(g, Ctl::L12, 332, 56, 68, 20);
    put(g, Ctl::LTime, 402, 56, 84, 20);
    put(g, Ctl::L2, 506, 56, 68, 20);
    put(g, Ctl::LYmoji, 576, 56, 60, 20);
    put(g, Ctl::L13, 640, 56, 70, 20);
    put(g, Ctl::L4, 732, 56, 68, 20);
    put(g, Ctl::LMiss, 802, 56, 60, 20);
    // Third row: romaji hint and keystroke rate; fourth: the message line.
    put(g, Ctl::L5, 16, 86, 86, 24);
    put(g, Ctl::LRoma1, 104, 86, 20, 24, 14);
    put(g, Ctl::LRoma2, 126, 86, 20, 24, 14);
    put(g, Ctl::LRoma3, 148, 86, 60, 24, 14);
    put(g, Ctl::L6, 506, 86, 52, 20);
    put(g, Ctl::LDaken, 560, 86, 110, 20);
    put(g, Ctl::LMsg, 342, 114, 340, 22);
    // Problem editor controls; the layout moves them to their places.
    put(g, Ctl::EMname, 248, 16, 250, 24);
    put(g, Ctl::RG6, 24, 56, 380, 46, 10);
    put(g, Ctl::RG7, 420, 56, 300, 46, 10);
    // Bottom panel: time limit, spacing, letter case, cursor colour.
    put(g, Ctl::RG1, 16, 4, 200, 48, 10);
    put(g, Ctl::RG2, 0, 4, 170, 48, 10);
    put(g, Ctl::RG4, 0, 4, 180, 48, 10);
    put(g, Ctl::RG3, 0, 4, 180, 48, 10);
    return g;
}

int scaledX(int x, int screenWidth) {
    return roundHalfUp(static_cast<double>(x) * screenWidth / 1024.0);
}

int windowHeightFor(int screenWidth, int screenHeight) {
    return fittedWindowHeight(ScreenArea{screenWidth, screenHeight});
}

std::array<int, 41> practiceColumnWidths(int gridWidth, int screenWidth, int* cellWidth) {
    int cw = roundHalfUp((gridWidth - 2) / 40.0);
    auto rightOf = [screenWidth](int w) {
        if (screenWidth == 1024) return w + 1;
        if (screenWidth == 1280 || screenWidth == 1600 || screenWidth < 1024) return w - 1;
        return w;
    };
    // Rounding up may carry column 40 past the grid's edge; then the cells
    // give up the pixel instead.
    while (cw > 1 && 2 + 28 * cw + 12 * rightOf(cw) > gridWidth) --cw;
    std::array<int, 41> widths{};
    widths[0] = 2;
    for (int c = 1; c <= 40; ++c)
        widths[static_cast<std::size_t>(c)] = c <= 28 ? cw : rightOf(cw);
    if (cellWidth) *cellWidth = cw;
    return widths;
}

WindowLayout computeLayout(int W, int H, const WindowChrome& chrome, const DesignGeometry& design) {
    return computeLayout(ScreenArea{W, H}, chrome, design);
}

WindowLayout computeLayout(const ScreenArea& screen, const WindowChrome& chrome,
                           const DesignGeometry& design) {
    const int W = screen.usableWidth();
    const int H = screen.height;
    WindowLayout L;
    L.screenWidth = W;
    L.classic = isClassicScreen(screen);
    // Away from the four classic screens every vertical figure follows the
    // height the window really got.
    const double sv = L.classic ? 1.0 : fittedScale(screen);
    L.verticalScale = sv;
    auto vertical = [sv](int v) { return roundHalfUp(v * sv); };
    L.controls = design.controls;
    auto at = [&L](Ctl c) -> PlacedControl& { return L.controls[static_cast<std::size_t>(c)]; };

    // 1. Window.
    L.windowLeft = screen.availableLeft;
    L.windowTop = screen.availableTop;
    L.windowHeight = fittedWindowHeight(screen);
    L.client = Box{0, 0, W - chrome.frameWidth, L.windowHeight - chrome.frameHeight};

    // 2. Message boxes.
    L.messageX = screen.availableLeft + scaledX(400, W);
    L.messageY = screen.availableTop + (L.classic ? scaledX(300, W) : vertical(300));

    // 3.-5. Panels and status bar.
    if (L.classic) {
        L.panel1Height = W > 800 ? scaledX(design.panel1Height, W) : design.panel1Height;
        const int extra = W == 800 ? 16 : (W == 1024 || W == 1280) ? 20 : 0;
        L.panel3Height = scaledX(design.panel3Height, W) + extra;
        L.statusBarHeight =
            W > 1024 ? scaledX(design.statusBarHeight, W) + 15 : design.statusBarHeight;
    } else {
        L.panel1Height = vertical(design.panel1Height);
        L.panel3Height = vertical(design.panel3Height + 20);
        L.statusBarHeight = vertical(design.statusBarHeight);
    }
    L.statusPanelWidths = design.statusPanelWidths;
    if (W < 1024) L.statusPanelWidths[5] = 200;

    // 6. Text offsets.
    L.textOffset1 = W >= 1024 ? 6 : 2;
    L.textOffset2 = W >= 1024 ? 8 : 4;

    // 7.-9. Practice grid between the panels, with a 4-pixel margin left and
    // right, the width a window frame would take; a wider frame takes from
    // the grid, which must end inside the window.
    const int gridTop = chrome.menuBarHeight + design.lineHeight + L.panel1Height;
    const int gridHeight =
        std::max(13, L.client.height - gridTop - L.panel3Height - L.statusBarHeight);
    L.practiceGrid =
        Box{4, gridTop, std::max(82, std::min(W - 8, L.client.width - 4)), gridHeight};
    L.practice.columnWidths = practiceColumnWidths(L.practiceGrid.width, W, &L.cellWidth);
    const int t = W == 1024 ? 0 : 1;
    L.cellFontSize1 = roundHalfUp((L.cellWidth - t) * 0.75);
    L.cellFontSize2 = roundHalfUp((L.cellWidth - t) * 0.7);
    L.cellFontSize3 = roundHalfUp(L.cellWidth * 0.6);
    L.practice.rowHeights.fill(gridHeight / 13);
    // A screen wider than 4:3 gives wide but low cells: the width rule would
    // cut the glyphs' feet off, so the row height sets the limit too.
    const int rowHeight = L.practice.rowHeights[1];
    L.cellFontSize1 = std::min(L.cellFontSize1, largestPointsForRow(rowHeight, L.textOffset1));
    L.cellFontSize2 = std::min(L.cellFontSize2, largestPointsForRow(rowHeight, L.textOffset1));
    L.cellFontSize3 = std::min(L.cellFontSize3, largestPointsForRow(rowHeight, L.textOffset2));

    // 10. Editor grid: the same size and columns.
    L.editor.columnWidths = practiceColumnWidths(L.practiceGrid.width, W);
    L.editor.rowHeights.fill(L.practice.rowHeights[1]);
    L.editor.rowHeights[0] = L.practice.rowHeights[0];

    // 11. Records grid.
    L.recordsGrid = L.practiceGrid;
    L.recordsColumnWidths[0] = scaledX(184, W);
    for (std::size_t c = 1; c < 7; ++c) L.recordsColumnWidths[c] = scaledX(132, W);
    L.recordsRowHeight = L.recordsGrid.height / 16 - 1;
    L.recordsFontSize =
        std::min(scaledX(11, W), largestPointsForRow(L.recordsRowHeight, L.textOffset1));
    L.recordsWidth = 11;
    for (int w : L.recordsColumnWidths) L.recordsWidth += w;

    // 12. Bottom radio groups, left to right.
    const int gap = W == 800 ? 20 : 25;
    auto scaleGroup = [&](Ctl c, int left, int addWidth, int addHeight) {
        PlacedControl& p = at(c);
        p.box.left = left;
        p.box.width = scaledX(p.box.width, W) + addWidth;
        if (L.classic) {
            p.box.height = scaledX(p.box.height, W) + addHeight;
            p.fontSize = scaledX(p.fontSize, W);
        } else {
            p.box.top = vertical(p.box.top);
            p.box.height = vertical(p.box.height + addHeight);
            p.fontSize = vertical(p.fontSize);
        }
    };
    scaleGroup(Ctl::RG1, at(Ctl::RG1).box.left, 15, 15);
    scaleGroup(Ctl::RG2, at(Ctl::RG1).box.left + at(Ctl::RG1).box.width + gap, 10, 15);
    scaleGroup(Ctl::RG4, at(Ctl::RG2).box.left + at(Ctl::RG2).box.width + gap, 10, 15);
    scaleGroup(Ctl::RG3, at(Ctl::RG4).box.left + at(Ctl::RG4).box.width + gap, 10,
               W == 1600 ? 6 : 15);

    // 13. Message label.
    at(Ctl::LMsg).box.left = W / 2 - W / 6;

    // 14. Problem editor controls.
    const Box comb1 = at(Ctl::Comb1).box;
    at(Ctl::Comb2).box = Box{comb1.left, comb1.top - 2, comb1.width, comb1.height};
    at(Ctl::RG6).box.left = 24;
    at(Ctl::RG6).box.top = 56;
    at(Ctl::RG7).box.top = 56;
    at(Ctl::EMname).box.left = 248;
    at(Ctl::EMname).box.top = 16;
    at(Ctl::BMonDel).box.left = at(Ctl::BStart).box.left - at(Ctl::BMonDel).box.width - 8;
    at(Ctl::BMonDel).box.top = at(Ctl::BStart).box.top;
    at(Ctl::BFinp).box.left = at(Ctl::BEnd).box.left;
    at(Ctl::BFinp).box.top = at(Ctl::BEnd).box.top;

    // 15. General scaling away from the design screen.
    if (W != 1024 || sv != 1.0) {
        const double fx = W / 1024.0;
        const double fy = L.classic ? H / 768.0 : sv;
        const double fp = L.panel1Height / 142.0;
        auto scale = [&](Ctl c, int d) {
            PlacedControl& p = at(c);
            p.box.left = roundHalfUp(p.box.left * fx);
            p.box.top = roundHalfUp(p.box.top * fp - d);
            p.box.width = roundHalfUp(p.box.width * fx);
            p.box.height = roundHalfUp(p.box.height * fy);
            p.fontSize = roundHalfUp(p.fontSize * fy);
        };
        for (int i = 0; i <= static_cast<int>(Ctl::Panel2); ++i) {
            const Ctl c = static_cast<Ctl>(i);
            scale(c, 0);
            if (W == 1280 &&
                (c == Ctl::L1 || c == Ctl::L11 || c == Ctl::L12 || c == Ctl::L2 || c == Ctl::L4)) {
                at(c).box.left -= 5;
            }
        }
        const int d = W > 1024 ? 10 : -5;
        scale(Ctl::RG6, d);
        scale(Ctl::RG7, d);
    }
    // Step 13 placed the message line for the real width already; scaled a
    // second time it leaves wide screens on the right.
    if (!L.classic) at(Ctl::LMsg).box.left = W / 2 - W / 6;
    return L;
}

}  // namespace hayate
