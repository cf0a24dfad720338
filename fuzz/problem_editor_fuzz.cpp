// Any sequence of grid events: key-downs, typed bytes, clicks, slot changes
// and imports. The insertion position stays in the grid, every cell holds
// nothing or one two-byte character, at most four romaji wait and no more than
// one cell, the one at the insertion position, carries the cursor mark.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "problems/problem_editor.h"
#include "text/sjis.h"

namespace {

struct NullView : hayate::EditorGridView {
    void redrawCell(int column, int row) override {
        if (column < 1 || column > 40 || row < 1 || row > 50) std::abort();
    }
    void redrawAll() override {}
    void setCurrentCell(int column, int row) override { redrawCell(column, row); }
    void scrollToTop() override {}
};

void check(const hayate::ProblemEditor& editor) {
    if (editor.insertionPosition() < 0 || editor.insertionPosition() >= 2000) std::abort();
    if (editor.pendingRomaji().size() > 4) std::abort();
    int marks = 0;
    for (int i = 0; i < hayate::ProblemEditor::kCells; ++i) {
        const std::string& cell = editor.cells()[static_cast<std::size_t>(i)];
        if (!cell.empty() && cell.size() != 2) std::abort();
        if (editor.marked(i % 40 + 1, i / 40 + 1)) {
            ++marks;
            if (i != editor.insertionPosition()) std::abort();
        }
    }
    if (marks > 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hayate::CharTables tables = hayate::buildCharTables();
    NullView view;
    hayate::ProblemEditor editor(tables, view);
    hayate::ProblemEditor::SlotContent content;
    content.kind = size > 0 ? data[0] % 5 : 0;
    content.rows[0] = std::string(reinterpret_cast<const char*>(data), size < 80 ? size : 80);
    editor.setExtendedRomaji(size > 0 && (data[0] & 0x80));
    editor.enter(content);
    check(editor);

    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const std::uint8_t op = data[i], arg = data[i + 1];
        switch (op % 8) {
            case 0:
            case 1:
            case 2:
                editor.keyDown(arg);
                break;
            case 3:
            case 4:
                editor.keyPress(arg);
                break;
            case 5:
                editor.selectCell(arg % 42, (op >> 3) % 52);
                editor.gridFocused();
                break;
            case 6:
                editor.kindClicked(arg % 5);
                break;
            default:
                if (arg % 2 == 0) {
                    editor.emptyAfterDelete();
                } else {
                    editor.fillFromImport(std::vector<std::string>(arg * 9u, "\x82\xA0"));
                }
                break;
        }
        check(editor);
    }
    return 0;
}
