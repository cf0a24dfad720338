#include "exercise/practice_grid.h"

#include <gtest/gtest.h>

#include "support/sjis_test_support.h"

namespace hayate {
namespace {

TEST(PracticeGridTest, CellIndexArithmeticRunsInReadingOrder) {
    EXPECT_EQ(PracticeGrid::cellIndex(1, 1), 0);
    EXPECT_EQ(PracticeGrid::cellIndex(40, 1), 39);
    EXPECT_EQ(PracticeGrid::cellIndex(1, 2), 40);
    EXPECT_EQ(PracticeGrid::cellIndex(40, 50), 1999);
    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        const int c = PracticeGrid::columnOf(i);
        const int r = PracticeGrid::rowOf(i);
        ASSERT_GE(c, 1);
        ASSERT_LE(c, 40);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 50);
        ASSERT_EQ(PracticeGrid::cellIndex(c, r), i);
    }
    EXPECT_FALSE(PracticeGrid::isCellIndex(2000));
    EXPECT_FALSE(PracticeGrid::isCellIndex(-1));
}

TEST(PracticeGridTest, SpaceCellAndClear) {
    PracticeGrid grid;
    grid.at(3, 2).colour = colour::kRed;
    grid.setSpaceCell(PracticeGrid::cellIndex(3, 2));
    const PracticeCell& c = grid.at(3, 2);
    EXPECT_EQ(c.text, test::sj("　"));
    EXPECT_EQ(c.input, " ");
    EXPECT_EQ(c.kanaIndex, 150);
    EXPECT_EQ(c.colour, colour::kNone);

    grid.cell(7).colour = colour::kBlue;
    grid.clear();
    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        ASSERT_TRUE(grid.cell(i).text.empty());
        ASSERT_EQ(grid.cell(i).input, " ");
        ASSERT_EQ(grid.cell(i).colour, colour::kNone);
    }
}

}  // namespace
}  // namespace hayate
