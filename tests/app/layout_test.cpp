#include "app/layout.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace hayate {
namespace {

struct Row {
    int w, h;
    int msgX, msgY;
    int panel1, panel3, statusBar;
    int offset1, offset2;
    int records0, records1, recordsFont;
    int gap;
    int windowHeight;
};

// The table of the four known screens.
const Row kRows[] = {
    {800, 600, 313, 234, 142, 65, 20, 2, 4, 144, 103, 9, 20, 573},
    {1024, 768, 400, 300, 142, 83, 20, 6, 8, 184, 132, 11, 25, 750},
    {1280, 1024, 500, 375, 178, 99, 40, 6, 8, 230, 165, 14, 25, 1012},
    {1600, 1200, 625, 469, 222, 98, 46, 6, 8, 288, 206, 17, 25, 1180},
};

TEST(LayoutTable, KnownScreensGiveTheTabledFigures) {
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.w);
        const WindowLayout L = computeLayout(r.w, r.h, WindowChrome{});
        EXPECT_EQ(L.windowHeight, r.windowHeight);
        EXPECT_EQ(L.client.width, r.w);
        EXPECT_EQ(L.messageX, r.msgX);
        EXPECT_EQ(L.messageY, r.msgY);
        EXPECT_EQ(L.panel1Height, r.panel1);
        EXPECT_EQ(L.panel3Height, r.panel3);
        EXPECT_EQ(L.statusBarHeight, r.statusBar);
        EXPECT_EQ(L.textOffset1, r.offset1);
        EXPECT_EQ(L.textOffset2, r.offset2);
        EXPECT_EQ(L.recordsColumnWidths[0], r.records0);
        for (std::size_t c = 1; c < 7; ++c) EXPECT_EQ(L.recordsColumnWidths[c], r.records1);
        EXPECT_EQ(L.recordsFontSize, r.recordsFont);
        const Box rg1 = L[Ctl::RG1].box, rg2 = L[Ctl::RG2].box, rg4 = L[Ctl::RG4].box,
                  rg3 = L[Ctl::RG3].box;
        EXPECT_EQ(rg2.left - (rg1.left + rg1.width), r.gap);
        EXPECT_EQ(rg4.left - (rg2.left + rg2.width), r.gap);
        EXPECT_EQ(rg3.left - (rg4.left + rg4.width), r.gap);
        EXPECT_EQ(L.statusPanelWidths[5], r.w < 1024 ? 200 : 400);
    }
}

TEST(LayoutTable, RecordsGridWidthIsFixedFromItsColumns) {
    EXPECT_EQ(computeLayout(1024, 768, {}).recordsWidth, 987);
    EXPECT_EQ(computeLayout(1280, 1024, {}).recordsWidth, 1231);
}

TEST(LayoutScaling, At1024OnlyTheDesignatedItemsMove) {
    const DesignGeometry design = defaultDesignGeometry();
    const WindowLayout L = computeLayout(1024, 768, {}, design);
    for (Ctl c : {Ctl::BEnd, Ctl::BStart, Ctl::BStop, Ctl::Comb1, Ctl::L1, Ctl::L2, Ctl::LMoji,
                  Ctl::LSaikoD, Ctl::LTime, Ctl::Panel2}) {
        EXPECT_EQ(L[c], design[c]) << static_cast<int>(c);
    }
    EXPECT_EQ(L[Ctl::LMsg].box.left, 512 - 170);
    EXPECT_EQ(L[Ctl::RG1].box.width, design[Ctl::RG1].box.width + 15);
    EXPECT_EQ(L[Ctl::RG1].box.height, design[Ctl::RG1].box.height + 15);
    EXPECT_EQ(L[Ctl::RG1].box.left, design[Ctl::RG1].box.left);
    EXPECT_EQ(L[Ctl::RG6].box,
              (Box{24, 56, design[Ctl::RG6].box.width, design[Ctl::RG6].box.height}));
    EXPECT_EQ(L[Ctl::EMname].box.left, 248);
    EXPECT_EQ(L[Ctl::Comb2].box.top, design[Ctl::Comb1].box.top - 2);
    EXPECT_EQ(L[Ctl::BFinp].box.left, L[Ctl::BEnd].box.left);
    EXPECT_LT(L[Ctl::BMonDel].box.left + L[Ctl::BMonDel].box.width, L[Ctl::BStart].box.left + 1);
}

TEST(LayoutScaling, GeneralScalingRoundsHalfUpAndShiftsTheEditorGroups) {
    DesignGeometry design = defaultDesignGeometry();
    design[Ctl::LMoji] = PlacedControl{Box{15, 15, 15, 15}, 15};
    design[Ctl::L1] = PlacedControl{Box{100, 20, 40, 20}, 12};
    const WindowLayout big = computeLayout(1280, 1024, {}, design);
    // 15 * 1.25 = 18.75 -> 19; top by the top panel's factor 178/142.
    EXPECT_EQ(big[Ctl::LMoji].box, (Box{19, 19, 19, 20}));
    EXPECT_EQ(big[Ctl::LMoji].fontSize, 20);  // 15 * 1024/768 = 20
    EXPECT_EQ(big[Ctl::L1].box.left, 125 - 5);
    // RG6 top: 56 * 178/142 - 10 = 60.2 -> 60.
    EXPECT_EQ(big[Ctl::RG6].box.top, 60);
    EXPECT_EQ(big[Ctl::RG6].box.left, 30);

    const WindowLayout small = computeLayout(800, 600, {}, design);
    EXPECT_EQ(small[Ctl::L1].box.left, 78);  // 78.125, not moved left
    // At 800 the top panel keeps its height, so tops are not stretched; RG6 moves down 5.
    EXPECT_EQ(small[Ctl::L1].box.top, 20);
    EXPECT_EQ(small[Ctl::RG6].box.top, 61);
    EXPECT_EQ(small[Ctl::LMoji].fontSize, 12);  // 15 * 600/768 = 11.7 -> 12
}

TEST(LayoutGrid, RightHandColumnsDifferByScreen) {
    int cw = 0;
    auto w1024 = practiceColumnWidths(1016, 1024, &cw);
    EXPECT_EQ(cw, 25);
    EXPECT_EQ(w1024[0], 2);
    EXPECT_EQ(w1024[28], 25);
    EXPECT_EQ(w1024[29], 26);
    EXPECT_EQ(w1024[40], 26);
    for (int w : {800, 1280, 1600, 900}) {
        auto widths = practiceColumnWidths(w - 8, w, &cw);
        EXPECT_EQ(widths[29], cw - 1) << w;
    }
    auto other = practiceColumnWidths(1432, 1440, &cw);
    EXPECT_EQ(other[29], cw);
    EXPECT_EQ(other[1], cw);
}

TEST(LayoutGrid, ColumnsFitTheGridAtEveryKnownWidth) {
    for (const Row& r : kRows) {
        const WindowLayout L = computeLayout(r.w, r.h, {});
        const int total =
            std::accumulate(L.practice.columnWidths.begin(), L.practice.columnWidths.end(), 0);
        EXPECT_LE(total, L.practiceGrid.width) << r.w;
        EXPECT_EQ(L.editor.columnWidths, L.practice.columnWidths);
        EXPECT_EQ(L.practice.rowHeights[0], L.practiceGrid.height / 13);
        EXPECT_EQ(L.recordsRowHeight, L.practiceGrid.height / 16 - 1);
    }
}

TEST(LayoutGrid, CellFontSizesFollowTheCellWidth) {
    const WindowLayout at1024 = computeLayout(1024, 768, {});
    EXPECT_EQ(at1024.cellWidth, 25);
    EXPECT_EQ(at1024.cellFontSize1, 19);  // 25 * 0.75 + 0.5 = 19.25
    EXPECT_EQ(at1024.cellFontSize2, 18);  // 17.5 + 0.5 = 18
    EXPECT_EQ(at1024.cellFontSize3, 15);  // 15 + 0.5
    const WindowLayout at1280 = computeLayout(1280, 1024, {});
    EXPECT_EQ(at1280.cellWidth, 32);
    EXPECT_EQ(at1280.cellFontSize1, 23);  // (32 - 1) * 0.75 = 23.25
    EXPECT_EQ(at1280.cellFontSize2, 22);  // 21.7 + 0.5
    EXPECT_EQ(at1280.cellFontSize3, 19);  // 19.2 + 0.5
}

TEST(LayoutWindow, UnknownWidthsFitTheScreen) {
    for (auto [w, h] : {std::pair{1920, 1080}, {1366, 768}, {640, 480}, {2560, 1440}}) {
        const int height = windowHeightFor(w, h);
        EXPECT_LE(height, h);
        EXPECT_GE(height, h - 18);
    }
    const WindowLayout L = computeLayout(1920, 1080, WindowChrome{25, 2, 30});
    EXPECT_EQ(L.client.width, 1918);
    EXPECT_EQ(L.client.height, 1080 - 30);
    EXPECT_EQ(L.practiceGrid.top, 25 + 2 + L.panel1Height);
    EXPECT_EQ(L.practiceGrid.top + L.practiceGrid.height + L.panel3Height + L.statusBarHeight,
              L.client.height);
}

// The screens people own, at the usual scalings, with and without a task bar.
struct Screen {
    int w, h;
};
const Screen kScreens[] = {{800, 600},   {1024, 600},  {1024, 768},  {1280, 720},  {1280, 800},
                           {1280, 1024}, {1366, 768},  {1440, 900},  {1536, 864},  {1600, 900},
                           {1600, 1200}, {1920, 1080}, {1920, 1200}, {2560, 1440}, {3840, 2160}};

bool inside(const Box& b, int width, int height) {
    return b.left >= 0 && b.top >= 0 && b.left + b.width <= width && b.top + b.height <= height;
}
bool overlap(const Box& a, const Box& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// Controls shown together: the exercise screen's top panel, the editor's, the
// bottom panel. The stop button shares the start button's place by turns.
const std::vector<std::vector<Ctl>> kShownTogether = {
    {Ctl::Comb1, Ctl::BStart, Ctl::BEnd, Ctl::L21, Ctl::LSaikoM, Ctl::L22, Ctl::LSaikoD, Ctl::L1,
     Ctl::LEtime, Ctl::L11, Ctl::LMoji, Ctl::L12, Ctl::LTime, Ctl::L2, Ctl::LYmoji, Ctl::L13,
     Ctl::L4, Ctl::LMiss, Ctl::L5, Ctl::LRoma1, Ctl::LRoma2, Ctl::LRoma3, Ctl::L6, Ctl::LDaken,
     Ctl::LMsg},
    // The slot list takes the course list's box, which the window trims to
    // end before the name field.
    {Ctl::EMname, Ctl::RG6, Ctl::RG7, Ctl::LMsg},
    {Ctl::RG1, Ctl::RG2, Ctl::RG4, Ctl::RG3},
};

TEST(LayoutScreens, EveryScreenFitsItsAvailableArea) {
    const WindowChrome noFrame{25, 0, 0}, framed{25, 8, 31};
    int checked = 0;
    for (const Screen& s : kScreens) {
        for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
            const int w = static_cast<int>(s.w / ratio + 0.5), h = static_cast<int>(s.h / ratio + 0.5);
            if (w < 800 || h < 600) continue;  // no desktop scales that far
            for (int taskBar : {0, 40}) {
                for (const WindowChrome& chrome : {noFrame, framed}) {
                    SCOPED_TRACE(testing::Message() << s.w << "x" << s.h << " @" << ratio
                                                    << " bar " << taskBar << " frame "
                                                    << chrome.frameHeight);
                    ++checked;
                    const ScreenArea area{w, h, 0, taskBar, w, h - taskBar};
                    const WindowLayout L = computeLayout(area, chrome);
                    const bool classic = taskBar == 0 && ((w == 800 && h == 600) ||
                                                          (w == 1024 && h == 768) ||
                                                          (w == 1280 && h == 1024) ||
                                                          (w == 1600 && h == 1200));
                    EXPECT_EQ(L.classic, classic);
                    // The window inside the available area.
                    EXPECT_EQ(L.windowTop, taskBar);
                    EXPECT_LE(L.windowTop + L.windowHeight, h);
                    EXPECT_EQ(L.client.width + chrome.frameWidth, w);
                    // Panels, grid and status bar stacked inside the client area.
                    const Box& g = L.practiceGrid;
                    EXPECT_EQ(g.top, chrome.menuBarHeight + 2 + L.panel1Height);
                    EXPECT_EQ(g.top + g.height + L.panel3Height + L.statusBarHeight,
                              L.client.height);
                    EXPECT_TRUE(inside(g, L.client.width, L.client.height));
                    // 40 columns inside the grid, whole glyphs in every row.
                    EXPECT_LE(std::accumulate(L.practice.columnWidths.begin(),
                                              L.practice.columnWidths.end(), 0),
                              g.width);
                    const int row = L.practice.rowHeights[1];
                    EXPECT_GE(row * 9, g.height / 2);  // at least a few whole rows show
                    EXPECT_LT(L.textOffset1 + pointsToPixels(L.cellFontSize1), row);
                    EXPECT_LT(L.textOffset1 + pointsToPixels(L.cellFontSize2), row);
                    EXPECT_LT(L.textOffset2 + pointsToPixels(L.cellFontSize3), row);
                    EXPECT_LT(L.textOffset1 + pointsToPixels(L.recordsFontSize),
                              L.recordsRowHeight);
                    EXPECT_GE(L.cellFontSize1, 8);
                    EXPECT_LE(L.recordsWidth, g.width);
                    // Controls inside their panel, none over another shown with it.
                    for (std::size_t set = 0; set < kShownTogether.size(); ++set) {
                        const int panelHeight = set == 2 ? L.panel3Height : L.panel1Height;
                        const auto& ctls = kShownTogether[set];
                        for (std::size_t i = 0; i < ctls.size(); ++i) {
                            const Box& b = L[ctls[i]].box;
                            EXPECT_TRUE(inside(b, L.client.width, panelHeight))
                                << static_cast<int>(ctls[i]);
                            EXPECT_GT(L[ctls[i]].fontSize, 4);
                            for (std::size_t j = i + 1; j < ctls.size(); ++j)
                                EXPECT_FALSE(overlap(b, L[ctls[j]].box))
                                    << static_cast<int>(ctls[i]) << " "
                                    << static_cast<int>(ctls[j]);
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 150);
}

TEST(LayoutScreens, RowHeightCapsTheCellFontsOnlyWhereTheyWouldNotFit) {
    // 1366 x 768: the width rule asks for 24 points (32 pixels) in rows of
    // about 37; the cap keeps text offset plus glyph inside the row.
    const WindowLayout wide = computeLayout(1366, 768, WindowChrome{25, 0, 0});
    EXPECT_FALSE(wide.classic);
    EXPECT_LT(wide.cellFontSize1, static_cast<int>((wide.cellWidth - 1) * 0.75 + 0.5));
    EXPECT_EQ(largestPointsForRow(wide.practice.rowHeights[1], 6), wide.cellFontSize1);
    // The largest size that fits is taken, not a smaller one.
    for (int row : {20, 31, 37, 52}) {
        const int points = largestPointsForRow(row, 6);
        EXPECT_LT(pointsToPixels(points) + 6, row) << row;
        EXPECT_GE(pointsToPixels(points + 1) + 6, row) << row;
    }
}

TEST(LayoutScreens, ShortScreensOfClassicWidthsAreFitted) {
    struct Case {
        ScreenArea area;
        int height;
        bool classic;
    };
    const Case cases[] = {
        {{1280, 1024}, 1012, true},
        {{1280, 800}, 800, false},
        {{1024, 768, 0, 0, 1024, 728}, 728, false},  // a task bar of 40 pixels
        {{1024, 768, 0, 0, 1024, 760}, 750, true},   // the table's height still fits
        {{1600, 900}, 900, false},
        {{1920, 1080, 1920, 24, 1920, 1056}, 1056, false},  // a second monitor, top panel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.area.width * 10000 + c.area.usableHeight());
        EXPECT_EQ(fittedWindowHeight(c.area), c.height);
        const WindowLayout L = computeLayout(c.area, WindowChrome{});
        EXPECT_EQ(L.classic, c.classic);
        EXPECT_EQ(L.windowLeft, c.area.availableLeft);
        EXPECT_EQ(L.messageX, c.area.availableLeft + scaledX(400, c.area.usableWidth()));
        EXPECT_GE(L.messageY, c.area.availableTop);
        EXPECT_LT(L.messageY, c.area.availableTop + c.height);
    }
}

}  // namespace
}  // namespace hayate
