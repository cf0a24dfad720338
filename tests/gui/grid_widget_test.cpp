// Blank cells are left to the grid: whatever their colour, they show it, and
// the owner still draws every other cell.
#include "gui/grid_widget.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace hayate::gui {
namespace {

TEST(GridWidget, BlankCellsShowTheirFillAndOthersTheOwnersDrawing) {
    for (const QColor fill : {QColor(Qt::white), QColor(Qt::yellow)}) {
        SCOPED_TRACE(fill.name().toStdString());
        GridWidget grid(4, 3);
        for (int c = 0; c < 4; ++c) grid.setColumnWidth(c, 20);
        for (int r = 0; r < 3; ++r) grid.setRowHeight(r, 20);
        grid.resize(120, 100);
        grid.setCurrentCell(3, 2);
        // Cell (1, 1) is blank; (2, 1) and the current cell are the owner's.
        grid.setBlankCell([](int c, int r) { return c == 1 && r == 1; }, fill);
        grid.setDrawCell([](QPainter& p, int, int, const QRect& rect, CellState s) {
            if (!s.fixed) p.fillRect(rect, Qt::green);
        });
        const QImage image = grid.viewport()->grab().toImage();
        const auto at = [&](int c, int r) {
            return QColor(image.pixel(grid.cellRect(c, r).center()));
        };
        EXPECT_EQ(at(1, 1), fill);
        EXPECT_EQ(at(2, 1), QColor(Qt::green));
        EXPECT_EQ(at(3, 2), QColor(Qt::green));
    }
}

}  // namespace
}  // namespace hayate::gui
