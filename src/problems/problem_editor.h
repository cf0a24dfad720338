// The problem editor without its window: the 40 x 50 editor grid, the cursor
// mark, the insertion position, the keys typed into the grid and the slot,
// name, kind and unit being edited. The window forwards its grid's keys,
// cell changes and focus (keyDown, keyPress, selectCell, gridFocused) and
// draws what cellLook() returns; the model tells it what to redraw through
// EditorGridView.
//
// All texts are Shift-JIS bytes, as everywhere in the core.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exercise/colour.h"
#include "exercise/key_codes.h"
#include "problems/kana_composer.h"
#include "problems/problem_file.h"
#include "problems/romaji_composer.h"
#include "text/char_tables.h"

namespace hayate {

// What the window's grid must do when the model changes it. Columns 1..40,
// rows 1..50, as the grid counts them without its header row and column.
class EditorGridView {
  public:
    virtual ~EditorGridView() = default;
    virtual void redrawCell(int column, int row) = 0;
    virtual void redrawAll() = 0;
    // Makes the cell current and scrolls it into view. The grid reports the
    // change back through selectCell; the model expects that and ignores it.
    virtual void setCurrentCell(int column, int row) = 0;
    virtual void scrollToTop() = 0;
};

// What a key-down in the grid asks of the window besides the editing itself.
enum class EditorKeyAction {
    None,
    Leave,          // Esc: leave the editor without storing
    StoreAndLeave,  // F10: store the problem; leave only when that worked
    EndCommand,     // F1: the program's end question
};

// The controls of the editor screen that show a key hint while focused.
enum class EditorControl { SlotList, NameField, Grid };

// The hint the key hint label shows while `control` has the focus.
std::string_view keyHintFor(EditorControl control);

// Letter case (0 upper, 1 lower) that choosing a problem of `kind` leaves: kind
// 0 asks for upper case, kind 2 for lower case, the others keep `current`.
int letterCaseForKind(int kind, int current);

// Texts of the grid's header row and column ("%2d") and of the status bar's
// first panel while the focused cell is drawn ("%3d : %3d ", column first).
std::string editorHeaderText(int number);
std::string editorCursorText(int column, int row);

class ProblemEditor {
  public:
    static constexpr int kColumns = 40;
    static constexpr int kRows = 50;
    static constexpr int kCells = kColumns * kRows;
    static constexpr int kSlots = 10;
    // The name field takes at most this many bytes; the file keeps 30.
    static constexpr std::size_t kNameFieldBytes = 24;
    // Problem kinds as the problem file stores them.
    static constexpr int kUpperCaseKind = 0;
    static constexpr int kRomajiKind = 1;
    static constexpr int kLowerCaseKind = 2;
    static constexpr int kMixedCaseKind = 3;

    // One slot as loaded from the problem file: its head and its 50 rows of
    // two-byte characters.
    struct SlotContent {
        std::string name;
        int kind = 0;
        int unit = 0;
        std::array<std::string, kRows> rows;
    };

    struct CellLook {
        std::string_view text;
        Colour background;    // yellow under the cursor mark, else white
        Colour textColour;    // blue
        bool voicedKanaFont;  // が..ぽ take the grid's second font size
    };

    ProblemEditor(CharTables& tables, EditorGridView& view);

    // Opening the editor with the editor slot's content just loaded: name,
    // kind (with its bracket forms) and unit, the grid filled with every mark
    // normal, the insertion position at the first cell and nothing pending.
    void enter(const SlotContent& content);

    // A slot chosen in the slot list: the same as entering, except that the
    // insertion position, the current cell and the pending romaji stay.
    void chooseSlot(int slot, const SlotContent& content);

    // The slot the slot list shows; it survives leaving the editor. A problem
    // file switch sets it back to 0.
    int slot() const { return slot_; }
    void resetSlot() { slot_ = 0; }

    // Enter in the name field: the name that a store writes. Cut to the bytes
    // the field accepts, never inside a two-byte character.
    void confirmName(std::string_view name);
    const std::string& confirmedName() const { return confirmedName_; }

    int kind() const { return kind_; }
    int unit() const { return unit_; }

    // Clicks in the kind and unit groups. The kind also sets the forms of "["
    // and "]"; text already in the grid stays as it is. The result says
    // whether the focus now moves to the grid (not while suppressed).
    bool kindClicked(int kind);
    bool unitClicked(int unit);

    // While set, showing a kind or unit in its group does not move the focus.
    void setSuppressed(bool suppressed) { suppressed_ = suppressed; }
    bool suppressed() const { return suppressed_; }

    // Leaving the slot list puts the kind and unit of the slot as loaded back.
    void slotListLeft();

    // Grid events. Key-downs bring Windows virtual-key codes (hayate::vk),
    // key-presses the one Shift-JIS byte of the typed character.
    EditorKeyAction keyDown(int virtualKey);
    void keyPress(unsigned char ch);
    // In kana input, after keyDown and instead of keyPress: true when the key
    // was taken as a kana (the romaji kind and a key of the JIS kana layout);
    // otherwise the window goes on with keyPress.
    bool kanaKey(JisKey key);
    void selectCell(int column, int row);
    void gridFocused();

    int insertionPosition() const { return position_; }
    const std::string& pendingRomaji() const { return composer_.pending(); }
    // The romaji kind takes every input-method spelling (the extended mode).
    // Kana input: the romaji kind takes the keys of the JIS kana layout.
    void setKanaInput(bool on) { kanaInput_ = on; }
    void setExtendedRomaji(bool on) { composer_.setSpellings(on ? &romajiSpellings() : nullptr); }

    // Cells by index 0..1999 (reading order) or by column and row.
    const std::array<std::string, kCells>& cells() const { return cells_; }
    const std::string& cellText(int column, int row) const;
    bool marked(int column, int row) const;
    CellLook cellLook(int column, int row) const;
    // Pixels by which cell texts are drawn higher than the layout's offset:
    // lower-case letters sit 2 pixels up, except in the romaji kind.
    int textRaise(int letterCase) const { return kind_ != kRomajiKind && letterCase == 1 ? 2 : 0; }

    // The 50 rows a store writes and the number of characters in them.
    StoredText storedText() const;

    // After the problem was deleted from the file: every cell empty, the grid
    // back at its first cell.
    void emptyAfterDelete();

    // Import: `characters` (two-byte each, at most 2000) fill the grid from the
    // first cell, every later cell is emptied, the grid is back at its first
    // cell. The caller gives the focus to the grid.
    void fillFromImport(const std::vector<std::string>& characters);

  private:
    enum class KeyClass { Text, Ignored, Delete };

    void setKind(int kind);
    void showSlot(const SlotContent& content);
    void fillFromRows(const std::array<std::string, kRows>& rows);
    void place(const std::string& text);
    void moveTo(int newPosition);
    void returnToFirstCell();
    void emptyCurrentCell();
    void redraw(int index);

    CharTables& tables_;
    EditorGridView& view_;
    RomajiComposer composer_;

    std::array<std::string, kCells> cells_;
    std::array<bool, kCells> marks_{};
    int position_ = 0;
    KeyClass keyClass_ = KeyClass::Ignored;

    int slot_ = 0;
    std::string confirmedName_;
    int kind_ = 0;
    int unit_ = 0;
    int loadedKind_ = 0;
    int loadedUnit_ = 0;
    bool suppressed_ = false;
    bool kanaInput_ = false;
    // The cell the last kana key filled, while the insertion position is
    // still just after it; -1 otherwise. ゛ and ゜ join that kana.
    int kanaCell_ = -1;
};

}  // namespace hayate
