#include "problems/problem_editor.h"

#include <algorithm>
#include <cstdio>

#include "exercise/practice_grid.h"
#include "text/sjis.h"
#include "text/user_texts.h"
#include "text/width_conversion.h"

namespace hayate {

namespace {

constexpr int columnOf(int index) { return index % ProblemEditor::kColumns + 1; }
constexpr int rowOf(int index) { return index / ProblemEditor::kColumns + 1; }
constexpr int indexOf(int column, int row) {
    return (row - 1) * ProblemEditor::kColumns + (column - 1);
}
constexpr bool isCell(int column, int row) {
    return column >= 1 && column <= ProblemEditor::kColumns && row >= 1 &&
           row <= ProblemEditor::kRows;
}

bool isValidKind(int kind) { return kind >= 0 && kind <= 3; }

// Keys whose character the grid takes as text (Windows virtual-key codes).
bool isTextKey(int key) {
    return key == vk::kBackspace || key == vk::kShift || key == vk::kSpace ||
           (key >= vk::kDigit0 && key <= vk::kDigit9) ||
           (key >= 64 && key <= vk::kLetterZ) ||           // letters (and 64)
           (key >= vk::kNumpad0 && key <= vk::kDivide) ||  // keypad digits and operators
           (key >= 166 && key <= 228);  // punctuation and symbol keys among others
}

// One two-byte character and nothing else: all a cell may hold.
bool isOneWideCharacter(std::string_view text) {
    return text.size() == 2 && isLeadByte(static_cast<unsigned char>(text[0]));
}

}  // namespace

std::string_view keyHintFor(EditorControl control) {
    switch (control) {
        case EditorControl::SlotList:
            return sjisText(UserText::HintSlotList);
        case EditorControl::NameField:
            return sjisText(UserText::HintNameField);
        case EditorControl::Grid:
            return sjisText(UserText::HintGrid);
    }
    return {};
}

std::string editorHeaderText(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%2d", number);
    return text;
}

std::string editorCursorText(int column, int row) {
    char text[32];
    std::snprintf(text, sizeof text, "%3d : %3d ", column, row);
    return text;
}

int letterCaseForKind(int kind, int current) {
    if (kind == ProblemEditor::kUpperCaseKind) return 0;
    if (kind == ProblemEditor::kLowerCaseKind) return 1;
    return current;
}

ProblemEditor::ProblemEditor(CharTables& tables, EditorGridView& view)
    : tables_(tables), view_(view), composer_(tables) {}

void ProblemEditor::enter(const SlotContent& content) {
    showSlot(content);
    position_ = 0;
    composer_.clear();
    keyClass_ = KeyClass::Ignored;
    view_.scrollToTop();
    view_.setCurrentCell(1, 1);
}

void ProblemEditor::chooseSlot(int slot, const SlotContent& content) {
    slot_ = std::clamp(slot, 0, kSlots - 1);
    showSlot(content);
}

// Entering and choosing a slot both show its name, kind, unit and text; only
// entering also resets the insertion position and the pending romaji.
void ProblemEditor::showSlot(const SlotContent& content) {
    confirmedName_ = content.name;
    setKind(content.kind);
    unit_ = content.unit;
    loadedKind_ = kind_;
    loadedUnit_ = unit_;
    fillFromRows(content.rows);
    kanaCell_ = -1;
    view_.redrawAll();
}

void ProblemEditor::confirmName(std::string_view name) {
    // Cut at a character boundary so that no half character is stored.
    std::size_t end = 0;
    while (end < name.size()) {
        const std::size_t n = charLengthAt(name, end);
        if (end + n > kNameFieldBytes) break;
        end += n;
    }
    confirmedName_.assign(name.substr(0, end));
}

bool ProblemEditor::kindClicked(int kind) {
    if (!isValidKind(kind)) return false;
    setKind(kind);
    return !suppressed_;
}

bool ProblemEditor::unitClicked(int unit) {
    if (unit < 0 || unit > 2) return false;
    unit_ = unit;
    return !suppressed_;
}

void ProblemEditor::slotListLeft() {
    setKind(loadedKind_);
    unit_ = loadedUnit_;
}

void ProblemEditor::setKind(int kind) {
    // A record with a kind the editor does not know is edited as mixed case,
    // the kind that changes nothing that is typed.
    kind_ = isValidKind(kind) ? kind : kMixedCaseKind;
    tables_.setBrackets(kind_ == kRomajiKind ? CharTables::Brackets::Corner
                                             : CharTables::Brackets::Square);
}

void ProblemEditor::fillFromRows(const std::array<std::string, kRows>& rows) {
    for (int r = 0; r < kRows; ++r) {
        const std::string& row = rows[static_cast<std::size_t>(r)];
        for (int k = 0; k < kColumns; ++k) {
            std::string& cell = cells_[static_cast<std::size_t>(r * kColumns + k)];
            const std::size_t from = static_cast<std::size_t>(k) * 2;
            // A trailing half character of a damaged row is not shown.
            if (from + 2 <= row.size()) {
                cell.assign(row, from, 2);
            } else {
                cell.clear();
            }
        }
    }
    marks_.fill(false);
}

EditorKeyAction ProblemEditor::keyDown(int virtualKey) {
    switch (virtualKey) {
        case vk::kDelete:
            keyClass_ = KeyClass::Delete;
            keyPress(0);
            return EditorKeyAction::None;
        case vk::kEscape:
            keyClass_ = KeyClass::Text;
            return EditorKeyAction::Leave;
        case vk::kF10:
            keyClass_ = KeyClass::Text;
            return EditorKeyAction::StoreAndLeave;
        case vk::kF1:
            keyClass_ = KeyClass::Text;
            return EditorKeyAction::EndCommand;
        default:
            keyClass_ = isTextKey(virtualKey) ? KeyClass::Text : KeyClass::Ignored;
            return EditorKeyAction::None;
    }
}

bool ProblemEditor::kanaKey(JisKey key) {
    if (!kanaInput_ || kind_ != kRomajiKind || kanaByteOfKey(key) == 0) return false;
    // A kana key under a layout that gives it no key code is typed all the same.
    keyClass_ = KeyClass::Ignored;
    composer_.clear();
    const std::string* previous =
        kanaCell_ >= 0 ? &cells_[static_cast<std::size_t>(kanaCell_)] : nullptr;
    const KanaEdit edit = composeKana(key, previous);
    if (edit.kind == KanaEdit::Kind::MarkPrevious) {
        cells_[static_cast<std::size_t>(kanaCell_)] = edit.text;
        redraw(kanaCell_);
    } else if (edit.kind == KanaEdit::Kind::Place) {
        const int at = position_;
        place(edit.text);
        kanaCell_ = at;
    }
    return true;
}

void ProblemEditor::keyPress(unsigned char ch) {
    kanaCell_ = -1;
    if (keyClass_ == KeyClass::Ignored) return;
    if (keyClass_ == KeyClass::Delete) {
        keyClass_ = KeyClass::Ignored;
        emptyCurrentCell();
        composer_.clear();
        return;
    }
    // Every character needs its own key-down.
    keyClass_ = KeyClass::Ignored;

    if (ch == 8) {
        if (position_ == 0) return;
        marks_[static_cast<std::size_t>(position_)] = false;
        redraw(position_);
        --position_;
        marks_[static_cast<std::size_t>(position_)] = true;
        view_.setCurrentCell(columnOf(position_), rowOf(position_));
        emptyCurrentCell();
        composer_.clear();
        return;
    }

    if (kind_ == kRomajiKind) {
        place(composer_.type(ch));
        return;
    }
    if (ch < 0x20) return;
    unsigned char c = ch;
    if (kind_ == kUpperCaseKind && c >= 'a' && c <= 'z')
        c = static_cast<unsigned char>(c - 'a' + 'A');
    if (kind_ == kLowerCaseKind && c >= 'A' && c <= 'Z')
        c = static_cast<unsigned char>(c - 'A' + 'a');
    const std::string& text = tables_.fullWidth(c);
    // Bytes without a full-width form would leave half a character in a cell.
    if (isOneWideCharacter(text)) place(text);
}

void ProblemEditor::place(const std::string& text) {
    if (text.empty()) return;
    int pos = position_;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        // Characters that find no cell past the last one are not placed.
        if (pos >= kCells) break;
        cells_[static_cast<std::size_t>(pos)].assign(text, i, 2);
        marks_[static_cast<std::size_t>(pos)] = false;
        redraw(pos);
        ++pos;
    }
    // Filling the last cell leaves the cursor on it.
    position_ = std::min(pos, kCells - 1);
    marks_[static_cast<std::size_t>(position_)] = true;
    view_.setCurrentCell(columnOf(position_), rowOf(position_));
    redraw(position_);
}

void ProblemEditor::selectCell(int column, int row) {
    if (!isCell(column, row)) return;
    moveTo(indexOf(column, row));
}

void ProblemEditor::moveTo(int newPosition) {
    if (newPosition == position_) return;
    kanaCell_ = -1;
    marks_[static_cast<std::size_t>(position_)] = false;
    redraw(position_);
    position_ = newPosition;
    marks_[static_cast<std::size_t>(position_)] = true;
    redraw(position_);
}

void ProblemEditor::gridFocused() {
    marks_[static_cast<std::size_t>(position_)] = true;
    redraw(position_);
}

void ProblemEditor::emptyCurrentCell() {
    cells_[static_cast<std::size_t>(position_)].clear();
    redraw(position_);
}

void ProblemEditor::redraw(int index) { view_.redrawCell(columnOf(index), rowOf(index)); }

const std::string& ProblemEditor::cellText(int column, int row) const {
    static const std::string kEmpty;
    if (!isCell(column, row)) return kEmpty;
    return cells_[static_cast<std::size_t>(indexOf(column, row))];
}

bool ProblemEditor::marked(int column, int row) const {
    return isCell(column, row) && marks_[static_cast<std::size_t>(indexOf(column, row))];
}

ProblemEditor::CellLook ProblemEditor::cellLook(int column, int row) const {
    static const std::string kFirstVoiced = sjisLiteral(u8"が");
    static const std::string kLastSemiVoiced = sjisLiteral(u8"ぽ");
    const std::string& text = cellText(column, row);
    // std::string compares its bytes as unsigned char, as Shift-JIS order needs.
    const bool voiced = text >= kFirstVoiced && text <= kLastSemiVoiced;
    return CellLook{text, marked(column, row) ? colour::kYellow : colour::kWhite, colour::kBlue,
                    voiced};
}

StoredText ProblemEditor::storedText() const {
    return storedTextFromCells([this](int column, int row) { return cellText(column, row); });
}

void ProblemEditor::returnToFirstCell() {
    view_.scrollToTop();
    view_.setCurrentCell(1, 1);
    moveTo(0);
    // The grid gets the focus next, which marks its current cell.
    gridFocused();
}

void ProblemEditor::emptyAfterDelete() {
    kanaCell_ = -1;
    for (std::string& cell : cells_) cell.clear();
    marks_.fill(false);
    view_.redrawAll();
    returnToFirstCell();
}

void ProblemEditor::fillFromImport(const std::vector<std::string>& characters) {
    kanaCell_ = -1;
    std::size_t j = 0;
    for (const std::string& ch : characters) {
        if (j == cells_.size()) break;
        if (isOneWideCharacter(ch)) cells_[j++] = ch;
    }
    for (; j < cells_.size(); ++j) cells_[j].clear();
    marks_.fill(false);
    view_.redrawAll();
    returnToFirstCell();
}

}  // namespace hayate
