// The 40 x 50 practice grid, independent of any widget: what each cell shows,
// what must be typed for it and how far it has come.
#pragma once

#include <array>
#include <string>

#include "exercise/colour.h"

namespace hayate {

struct PracticeCell {
    Colour colour = colour::kNone;
    int kanaIndex = 0;  // kana-table index in kana mode; 150 marks a space cell
    std::string text;   // what the cell shows: one full-width character
    std::string input;  // what is typed: one byte, a space, or a romaji form
};

class PracticeGrid {
  public:
    static constexpr int kColumns = 40;
    static constexpr int kRows = 50;
    static constexpr int kCells = kColumns * kRows;

    // Reading-order index of column 1..40, row 1..50, and back.
    static constexpr int cellIndex(int column, int row) {
        return (row - 1) * kColumns + (column - 1);
    }
    static constexpr int columnOf(int index) { return index % kColumns + 1; }
    static constexpr int rowOf(int index) { return index / kColumns + 1; }
    static constexpr bool isCellIndex(int index) { return index >= 0 && index < kCells; }

    // Cell by index 0..1999; the caller keeps to the range.
    PracticeCell& cell(int index) { return cells_[static_cast<std::size_t>(index)]; }
    const PracticeCell& cell(int index) const { return cells_[static_cast<std::size_t>(index)]; }
    PracticeCell& at(int column, int row) { return cell(cellIndex(column, row)); }
    const PracticeCell& at(int column, int row) const { return cell(cellIndex(column, row)); }

    // Every cell empty, expecting a space, colour 0.
    void clear();

    // A full-width space, typed with the space bar.
    void setSpaceCell(int index);

    // Places a converted character: colour 0 and its texts.
    void place(int index, int kanaIndex, std::string text, std::string input);

  private:
    std::array<PracticeCell, kCells> cells_{};
};

}  // namespace hayate
