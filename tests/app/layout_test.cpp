#include "app/layout.h"

#include <gtest/gtest.h>

#include <numeric>

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
    EXPECT_EQ(L.client.height, 1062 - 30);
    EXPECT_EQ(L.practiceGrid.top, 25 + 2 + L.panel1Height);
    EXPECT_EQ(L.practiceGrid.top + L.practiceGrid.height + L.panel3Height + L.statusBarHeight,
              L.client.height);
}

}  // namespace
}  // namespace hayate
