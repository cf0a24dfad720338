// One grid control for the practice, records and editor grids: a fixed header
// row and column, cells drawn by their owner, a current cell, and repaints of
// single cells. It scrolls by whole rows and columns, so a cell is never
// cut at the top or left edge.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <functional>
#include <vector>

namespace hayate::gui {

struct CellState {
    bool selected = false;
    bool focused = false;  // the current cell while the grid has the keyboard focus
    bool fixed = false;    // row 0 or column 0
};

class GridWidget : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // Column and row counts include the fixed header column and row.
    GridWidget(int columns, int rows, QWidget* parent = nullptr);

    int columnCount() const { return static_cast<int>(columnWidths_.size()); }
    int rowCount() const { return static_cast<int>(rowHeights_.size()); }
    void setColumnWidth(int column, int width);
    void setRowHeight(int row, int height);
    int columnWidth(int column) const { return columnWidths_.at(static_cast<std::size_t>(column)); }
    int rowHeight(int row) const { return rowHeights_.at(static_cast<std::size_t>(row)); }
    void setShowGridLines(bool show) { gridLines_ = show; }
    // The editor grid moves its current cell on a click; the practice grid
    // only takes the focus.
    void setClickSelectsCell(bool selects) { clickSelects_ = selects; }

    // What each cell shows; readable by tests and assistive tools.
    QString cellText(int column, int row) const;
    void setCellText(int column, int row, const QString& text);
    void clearCells();

    // Owner drawing: the grid fills the cell with the background (header
    // colour for fixed cells) and sets the grid font, then calls this.
    using DrawCell = std::function<void(QPainter&, int column, int row, const QRect&, CellState)>;
    void setDrawCell(DrawCell draw) { drawCell_ = std::move(draw); }
    // Cells the owner would draw as bare `fill` (no text, no mark): the grid
    // fills them itself without calling the owner. An empty practice grid is
    // hundreds of them. Never asked of header cells or the current cell.
    using BlankCell = std::function<bool(int column, int row)>;
    void setBlankCell(BlankCell blank, const QColor& fill) {
        blankCell_ = std::move(blank);
        blankFill_ = fill;
    }
    void setHeaderColour(const QColor& c) { headerColour_ = c; }

    int currentColumn() const { return currentColumn_; }
    int currentRow() const { return currentRow_; }
    // Moves the cursor and scrolls it into view; repaints only what changed.
    void setCurrentCell(int column, int row);
    int topRow() const { return topRow_; }
    int leftColumn() const { return leftColumn_; }
    void setTopRow(int row);
    void setLeftColumn(int column);

    // Rectangle of the cell inside the viewport (without its grid lines);
    // empty when the cell is scrolled out of sight.
    QRect cellRect(int column, int row) const;
    // The cell under a viewport point, or false for a header or empty space.
    bool cellAt(const QPoint& point, int* column, int* row) const;
    // The grid's own navigation keys (arrows, Home, End, Page Up, Page Down);
    // false for any other key.
    bool moveByKey(int qtKey, Qt::KeyboardModifiers modifiers);
    void redrawCell(int column, int row);

    // Cells painted since the counter was reset: tests and the benchmark
    // check that a key repaints only the cells it changed.
    long paintedCells() const { return paintedCells_; }
    void resetPaintedCells() { paintedCells_ = 0; }

  signals:
    void currentCellChanged(int column, int row);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }

  private:
    int columnLeft(int column) const;  // viewport x of a visible column, -1 if hidden
    int rowTop(int row) const;
    void updateScrollBars();
    void ensureVisible(int column, int row);
    int lastFullyVisibleRow() const;
    int lastFullyVisibleColumn() const;
    int lastTopRow() const;  // top row at which the last row is fully in sight

    std::vector<int> columnWidths_;
    std::vector<int> rowHeights_;
    std::vector<QString> texts_;
    DrawCell drawCell_;
    BlankCell blankCell_;
    QColor blankFill_;
    QColor headerColour_{0xF0, 0xF0, 0xF0};
    QColor lineColour_{0xC0, 0xC0, 0xC0};
    bool gridLines_ = true;
    bool clickSelects_ = false;
    int currentColumn_ = 1;
    int currentRow_ = 1;
    int topRow_ = 1;
    int leftColumn_ = 1;
    bool syncingBars_ = false;
    long paintedCells_ = 0;
};

}  // namespace hayate::gui
