#include "gui/grid_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace hayate::gui {

GridWidget::GridWidget(int columns, int rows, QWidget* parent)
    : QAbstractScrollArea(parent),
      columnWidths_(static_cast<std::size_t>(columns), 24),
      rowHeights_(static_cast<std::size_t>(rows), 24),
      texts_(static_cast<std::size_t>(columns * rows)) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    updateScrollBars();
}

void GridWidget::setColumnWidth(int column, int width) {
    columnWidths_.at(static_cast<std::size_t>(column)) = std::max(0, width);
    updateScrollBars();
    viewport()->update();
}

void GridWidget::setRowHeight(int row, int height) {
    rowHeights_.at(static_cast<std::size_t>(row)) = std::max(0, height);
    updateScrollBars();
    viewport()->update();
}

QString GridWidget::cellText(int column, int row) const {
    if (column < 0 || row < 0 || column >= columnCount() || row >= rowCount()) return {};
    return texts_[static_cast<std::size_t>(row * columnCount() + column)];
}

void GridWidget::setCellText(int column, int row, const QString& text) {
    if (column < 0 || row < 0 || column >= columnCount() || row >= rowCount()) return;
    QString& slot = texts_[static_cast<std::size_t>(row * columnCount() + column)];
    if (slot == text) return;
    slot = text;
    redrawCell(column, row);
}

void GridWidget::clearCells() {
    for (QString& t : texts_) t.clear();
    viewport()->update();
}

int GridWidget::columnLeft(int column) const {
    if (column == 0) return 0;
    if (column < leftColumn_) return -1;
    int x = columnWidths_[0] + (gridLines_ ? 1 : 0);
    for (int c = leftColumn_; c < column; ++c) {
        x += columnWidths_[static_cast<std::size_t>(c)] + (gridLines_ ? 1 : 0);
        if (x >= viewport()->width()) return -1;
    }
    return x;
}

int GridWidget::rowTop(int row) const {
    if (row == 0) return 0;
    if (row < topRow_) return -1;
    int y = rowHeights_[0] + (gridLines_ ? 1 : 0);
    for (int r = topRow_; r < row; ++r) {
        y += rowHeights_[static_cast<std::size_t>(r)] + (gridLines_ ? 1 : 0);
        if (y >= viewport()->height()) return -1;
    }
    // Only whole rows are shown (see paintEvent).
    if (y + rowHeights_[static_cast<std::size_t>(row)] > viewport()->height()) return -1;
    return y;
}

QRect GridWidget::cellRect(int column, int row) const {
    if (column < 0 || row < 0 || column >= columnCount() || row >= rowCount()) return {};
    const int x = columnLeft(column);
    const int y = rowTop(row);
    if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height()) return {};
    return QRect(x, y, columnWidths_[static_cast<std::size_t>(column)],
                 rowHeights_[static_cast<std::size_t>(row)]);
}

void GridWidget::redrawCell(int column, int row) {
    const QRect r = cellRect(column, row);
    if (r.isEmpty()) return;
    // The cell and its grid lines, nothing more.
    const int line = gridLines_ ? 1 : 0;
    viewport()->update(r.adjusted(0, 0, line, line));
}

namespace {

// Rows and columns alike: the last of the cells from `first` on that ends
// within `room`, after the fixed first cell; `first` itself at the least.
int lastWhole(const std::vector<int>& sizes, int first, int room, int line) {
    int end = sizes[0] + line;
    int last = first;
    for (int i = first; i < static_cast<int>(sizes.size()); ++i) {
        end += sizes[static_cast<std::size_t>(i)];
        if (end > room) break;
        last = i;
        end += line;
    }
    return last;
}

}  // namespace

int GridWidget::lastFullyVisibleRow() const {
    return lastWhole(rowHeights_, topRow_, viewport()->height(), gridLines_ ? 1 : 0);
}

int GridWidget::lastFullyVisibleColumn() const {
    return lastWhole(columnWidths_, leftColumn_, viewport()->width(), gridLines_ ? 1 : 0);
}

int GridWidget::lastTopRow() const {
    const int line = gridLines_ ? 1 : 0;
    const int room = viewport()->height() - rowHeights_[0] - line;
    int used = 0;
    int top = rowCount() - 1;
    for (int r = rowCount() - 1; r >= 1; --r) {
        used += rowHeights_[static_cast<std::size_t>(r)] + line;
        if (used > room + line) break;
        top = r;
    }
    return top;
}

void GridWidget::ensureVisible(int column, int row) {
    if (row < topRow_) {
        setTopRow(row);
    } else if (row > lastFullyVisibleRow()) {
        // A page at a time, keeping the row just typed in sight above the
        // cursor: the text ahead shows, and the grid moves rarely.
        setTopRow(std::min(std::max(1, row - 1), lastTopRow()));
        while (row > lastFullyVisibleRow() && topRow_ < row) setTopRow(topRow_ + 1);
    }
    if (column < leftColumn_) {
        setLeftColumn(column);
    } else {
        while (column > lastFullyVisibleColumn() && leftColumn_ < column)
            setLeftColumn(leftColumn_ + 1);
    }
}

void GridWidget::setCurrentCell(int column, int row) {
    column = std::clamp(column, 1, columnCount() - 1);
    row = std::clamp(row, 1, rowCount() - 1);
    const int oldColumn = currentColumn_, oldRow = currentRow_;
    currentColumn_ = column;
    currentRow_ = row;
    ensureVisible(column, row);
    redrawCell(oldColumn, oldRow);
    redrawCell(column, row);
    if (oldColumn != column || oldRow != row) emit currentCellChanged(column, row);
}

void GridWidget::setTopRow(int row) {
    row = std::clamp(row, 1, std::max(1, rowCount() - 1));
    if (row == topRow_) return;
    const int old = topRow_;
    topRow_ = row;
    syncingBars_ = true;
    verticalScrollBar()->setValue(row);
    syncingBars_ = false;
    // One row down: move the pixels of the cell area up and paint only the
    // row that comes into sight, as the cursor does every forty keys.
    const int line = gridLines_ ? 1 : 0;
    const int step = rowHeights_[static_cast<std::size_t>(old)] + line;
    const int headerHeight = rowHeights_[0] + line;
    if (row == old + 1 && step < viewport()->height() - headerHeight) {
        const QRect area(0, headerHeight, viewport()->width(), viewport()->height() - headerHeight);
        viewport()->scroll(0, -step, area);
        // The header column's row numbers moved with the pixels; they are
        // right, since each number travels with its row.
        return;
    }
    viewport()->update();
}

void GridWidget::setLeftColumn(int column) {
    column = std::clamp(column, 1, std::max(1, columnCount() - 1));
    if (column == leftColumn_) return;
    leftColumn_ = column;
    syncingBars_ = true;
    horizontalScrollBar()->setValue(column);
    syncingBars_ = false;
    viewport()->update();
}

void GridWidget::updateScrollBars() {
    syncingBars_ = true;
    verticalScrollBar()->setRange(1, std::max(1, rowCount() - 1));
    verticalScrollBar()->setValue(topRow_);
    horizontalScrollBar()->setRange(1, std::max(1, columnCount() - 1));
    horizontalScrollBar()->setValue(leftColumn_);
    syncingBars_ = false;
}

void GridWidget::scrollContentsBy(int, int) {
    if (syncingBars_) return;
    topRow_ = verticalScrollBar()->value();
    leftColumn_ = horizontalScrollBar()->value();
    viewport()->update();
}

void GridWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void GridWidget::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    redrawCell(currentColumn_, currentRow_);
}

void GridWidget::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    redrawCell(currentColumn_, currentRow_);
}

void GridWidget::mousePressEvent(QMouseEvent* event) {
    // Clicking a cell only focuses the practice grid; the cursor follows the keys.
    if (isEnabled()) setFocus(Qt::MouseFocusReason);
    int column = 0, row = 0;
    if (clickSelects_ && isEnabled() && cellAt(event->position().toPoint(), &column, &row))
        setCurrentCell(column, row);
    event->accept();
}

bool GridWidget::cellAt(const QPoint& point, int* column, int* row) const {
    const int line = gridLines_ ? 1 : 0;
    int x = columnWidths_[0] + line;
    int c = leftColumn_;
    for (; c < columnCount(); ++c) {
        const int w = columnWidths_[static_cast<std::size_t>(c)] + line;
        if (point.x() < x + w) break;
        x += w;
    }
    int y = rowHeights_[0] + line;
    int r = topRow_;
    for (; r < rowCount(); ++r) {
        const int h = rowHeights_[static_cast<std::size_t>(r)] + line;
        if (point.y() < y + h) break;
        y += h;
    }
    if (point.x() < columnWidths_[0] + line || point.y() < rowHeights_[0] + line ||
        c >= columnCount() || r >= rowCount())
        return false;
    *column = c;
    *row = r;
    return true;
}

bool GridWidget::moveByKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    const int lastColumn = columnCount() - 1, lastRow = rowCount() - 1;
    const int page = std::max(1, lastFullyVisibleRow() - topRow_ + 1);
    int c = currentColumn_, r = currentRow_;
    switch (qtKey) {
        case Qt::Key_Left:
            --c;
            break;
        case Qt::Key_Right:
            ++c;
            break;
        case Qt::Key_Up:
            --r;
            break;
        case Qt::Key_Down:
            ++r;
            break;
        case Qt::Key_Home:
            c = 1;
            if (ctrl) r = 1;
            break;
        case Qt::Key_End:
            c = lastColumn;
            if (ctrl) r = lastRow;
            break;
        case Qt::Key_PageUp:
            r -= page;
            break;
        case Qt::Key_PageDown:
            r += page;
            break;
        default:
            return false;
    }
    setCurrentCell(std::clamp(c, 1, lastColumn), std::clamp(r, 1, lastRow));
    return true;
}

void GridWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    // The region, not its bounding box: the old and the new cursor cell can
    // lie at opposite ends of the grid.
    const QRegion& region = event->region();
    const QRect dirty = region.boundingRect();
    const int line = gridLines_ ? 1 : 0;
    const QColor base = palette().color(QPalette::Base);
    const bool focus = hasFocus();

    auto paintCell = [&](int column, int row, const QRect& r) {
        if (!region.intersects(r)) return;
        ++paintedCells_;
        CellState state;
        state.fixed = row == 0 || column == 0;
        state.focused = !state.fixed && focus && column == currentColumn_ && row == currentRow_;
        state.selected = !state.fixed && column == currentColumn_ && row == currentRow_;
        if (!state.fixed && !state.selected && blankCell_ && blankCell_(column, row)) {
            painter.fillRect(r, blankFill_);
        } else {
            painter.save();
            painter.setClipRect(r);
            painter.fillRect(r, state.fixed ? headerColour_ : base);
            painter.setFont(font());
            painter.setPen(Qt::black);
            if (drawCell_) {
                drawCell_(painter, column, row, r, state);
            } else {
                painter.drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                                 cellText(column, row));
            }
            painter.restore();
        }
        if (line) {
            painter.setPen(lineColour_);
            painter.drawLine(r.right() + 1, r.top(), r.right() + 1, r.bottom() + 1);
            painter.drawLine(r.left(), r.bottom() + 1, r.right() + 1, r.bottom() + 1);
        }
    };

    // Row by row: header row first, then the visible rows; in each the header
    // column and then the visible columns.
    const int width = viewport()->width();
    const int height = viewport()->height();
    auto paintRow = [&](int row, int y) {
        const int h = rowHeights_[static_cast<std::size_t>(row)];
        if (y > dirty.bottom() || y + h + line <= dirty.top()) return;
        paintCell(0, row, QRect(0, y, columnWidths_[0], h));
        int x = columnWidths_[0] + line;
        for (int c = leftColumn_; c < columnCount() && x < width; ++c) {
            const int w = columnWidths_[static_cast<std::size_t>(c)];
            paintCell(c, row, QRect(x, y, w, h));
            x += w + line;
        }
        if (x < width) painter.fillRect(QRect(x, y, width - x, h + line), base);
    };
    paintRow(0, 0);
    int y = rowHeights_[0] + line;
    // A row cut by the bottom edge would show the tops of its glyphs under
    // the last whole row, like marks of the row above; it is left blank.
    for (int r = topRow_;
         r < rowCount() && y + rowHeights_[static_cast<std::size_t>(r)] <= height; ++r) {
        paintRow(r, y);
        y += rowHeights_[static_cast<std::size_t>(r)] + line;
    }
    if (y < height) painter.fillRect(QRect(0, y, width, height - y), base);
}

}  // namespace hayate::gui
