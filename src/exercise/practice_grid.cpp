#include "exercise/practice_grid.h"

#include <utility>

#include "text/char_tables.h"
#include "text/sjis.h"

namespace hayate {

void PracticeGrid::clear() {
    for (PracticeCell& c : cells_) {
        c.input = " ";
        c.colour = colour::kNone;
        c.text.clear();
    }
}

void PracticeGrid::setSpaceCell(int index) {
    static const std::string kFullWidthSpace = sjisChar(0x8140);
    place(index, CharTables::kSpaceKanaIndex, kFullWidthSpace, " ");
}

void PracticeGrid::place(int index, int kanaIndex, std::string text, std::string input) {
    PracticeCell& c = cell(index);
    c.kanaIndex = kanaIndex;
    c.text = std::move(text);
    c.input = std::move(input);
    c.colour = colour::kNone;
}

}  // namespace hayate
