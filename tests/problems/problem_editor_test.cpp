#include "problems/problem_editor.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/sjis_test_support.h"
#include "text/user_texts.h"

namespace hayate {
namespace {

using test::hex;
using test::sj;

class FakeGridView : public EditorGridView {
  public:
    void redrawCell(int column, int row) override { redrawn.insert({column, row}); }
    void redrawAll() override { ++fullRedraws; }
    void setCurrentCell(int column, int row) override { current = {column, row}; }
    void scrollToTop() override { ++scrolls; }

    std::set<std::pair<int, int>> redrawn;
    int fullRedraws = 0;
    int scrolls = 0;
    std::pair<int, int> current{0, 0};
};

// The virtual-key code a key-down brings for a typed character, as on a
// Japanese keyboard.
int virtualKeyOf(char ch) {
    if (ch >= 'a' && ch <= 'z') return ch - 'a' + 'A';
    if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == ' ') return ch;
    if (ch == 8) return vk::kBackspace;
    switch (ch) {
        case ',':
            return 188;
        case '.':
            return 190;
        case '-':
            return 189;
        case '[':
            return 219;
        case ']':
            return 221;
        default:
            return 186;
    }
}

class ProblemEditorTest : public ::testing::Test {
  protected:
    // Row contents from UTF-8.
    static ProblemEditor::SlotContent content(int kind, std::vector<std::string> rows = {}) {
        ProblemEditor::SlotContent c;
        c.name = sj("問題");
        c.kind = kind;
        c.unit = 2;
        for (std::size_t r = 0; r < rows.size(); ++r) c.rows[r] = sj(rows[r]);
        return c;
    }

    void type(const std::string& keys) {
        for (char ch : keys) {
            editor.keyDown(virtualKeyOf(ch));
            editor.keyPress(static_cast<unsigned char>(ch));
        }
    }

    // The characters of cells from..from+n-1, in UTF-8, "." for an empty cell.
    std::string cellsText(int from, int n) const {
        std::string sjis;
        for (int i = from; i < from + n; ++i) {
            const std::string& c = editor.cells()[static_cast<std::size_t>(i)];
            sjis += c.empty() ? std::string(".") : c;
        }
        return test::utf8(sjis);
    }

    int markedCount() const {
        int n = 0;
        for (int r = 1; r <= ProblemEditor::kRows; ++r)
            for (int c = 1; c <= ProblemEditor::kColumns; ++c) n += editor.marked(c, r);
        return n;
    }

    CharTables tables = buildCharTables();
    FakeGridView view;
    ProblemEditor editor{tables, view};
};

TEST_F(ProblemEditorTest, EnteringFillsTheGridFromTheLoadedRows) {
    ProblemEditor::SlotContent c = content(0, {"ＡＢＣ", "", "ＸＹ"});
    c.rows[3] = sj("ＤＥ") + "\x82";    // a damaged row ending in half a character
    c.rows[4] = std::string(100, 'A');  // longer than a grid row
    editor.enter(c);

    EXPECT_EQ(cellsText(0, 4), "ＡＢＣ.");
    EXPECT_EQ(cellsText(40, 40), std::string(40, '.'));
    EXPECT_EQ(cellsText(80, 3), "ＸＹ.");
    EXPECT_EQ(cellsText(120, 3), "ＤＥ.");
    EXPECT_EQ(editor.cellText(40, 5), "AA");
    EXPECT_EQ(editor.cellText(1, 6), "");
    EXPECT_EQ(markedCount(), 0);
    EXPECT_EQ(editor.insertionPosition(), 0);
    EXPECT_EQ(view.current, std::make_pair(1, 1));
    EXPECT_EQ(view.scrolls, 1);
    EXPECT_EQ(editor.confirmedName(), sj("問題"));
    EXPECT_EQ(editor.unit(), 2);
}

TEST_F(ProblemEditorTest, TheKindSetsTheBracketsAndTheFocusRule) {
    editor.enter(content(1));
    EXPECT_EQ(tables.brackets(), CharTables::Brackets::Corner);
    EXPECT_TRUE(editor.kindClicked(0));
    EXPECT_EQ(tables.brackets(), CharTables::Brackets::Square);
    EXPECT_EQ(editor.kind(), 0);

    editor.setSuppressed(true);
    EXPECT_FALSE(editor.kindClicked(2));
    EXPECT_FALSE(editor.unitClicked(1));
    EXPECT_EQ(editor.kind(), 2);
    EXPECT_EQ(editor.unit(), 1);
    editor.setSuppressed(false);
    EXPECT_TRUE(editor.unitClicked(0));

    // Leaving the slot list puts back what the slot was loaded with.
    editor.slotListLeft();
    EXPECT_EQ(editor.kind(), 1);
    EXPECT_EQ(editor.unit(), 2);
    EXPECT_EQ(tables.brackets(), CharTables::Brackets::Corner);

    EXPECT_FALSE(editor.kindClicked(4));
    EXPECT_EQ(editor.kind(), 1);
}

TEST_F(ProblemEditorTest, EachKindPlacesItsOwnForms) {
    struct Case {
        int kind;
        const char* keys;
        const char* cells;
    };
    const Case cases[] = {
        {0, "aB1 [", "ＡＢ１　［"}, {2, "aB1 ]", "ａｂ１　］"}, {3, "aB1-", "ａＢ１ー"},
        {1, "[ka]", "「か」"},      {1, "1 ", "１　"},
    };
    for (const Case& c : cases) {
        editor.enter(content(c.kind));
        type(c.keys);
        const std::string expected = c.cells;
        const int n = static_cast<int>(test::sj(expected).size() / 2);
        EXPECT_EQ(cellsText(0, n + 1), expected + ".") << "kind " << c.kind << " keys " << c.keys;
        EXPECT_EQ(editor.insertionPosition(), n);
        EXPECT_TRUE(editor.marked(n % 40 + 1, n / 40 + 1));
        EXPECT_EQ(markedCount(), 1);
    }
}

TEST_F(ProblemEditorTest, RomajiFillsOneCellPerKana) {
    editor.enter(content(1));
    type("ka");
    EXPECT_EQ(cellsText(0, 2), "か.");
    EXPECT_EQ(editor.insertionPosition(), 1);
    type("kya");
    EXPECT_EQ(cellsText(1, 3), "きゃ.");
    EXPECT_EQ(editor.insertionPosition(), 3);
    type("kkya");
    EXPECT_EQ(cellsText(3, 4), "っきゃ.");
    EXPECT_EQ(editor.insertionPosition(), 6);
    type("nka");
    EXPECT_EQ(cellsText(6, 3), "んか.");
    type("n,");
    EXPECT_EQ(cellsText(8, 2), "ん.");
    EXPECT_EQ(editor.pendingRomaji(), ",");
    EXPECT_EQ(view.current, std::make_pair(10, 1));
    EXPECT_EQ(markedCount(), 1);
}

TEST_F(ProblemEditorTest, KanaInputPutsTheKanaOfEachKeyAndJoinsItsMarks) {
    editor.setKanaInput(true);
    editor.enter(content(1));
    // Each step: a key (keycode, Shift) and the cells 0..4 after it.
    struct Step {
        int keycode;
        bool shift;
        bool taken;
        const char* cells;
    };
    const Step steps[] = {
        {28, false, true, "か...."},  // T
        {34, false, true, "が...."},  // ゛ joins it
        {34, false, true, "が...."},  // a second ゛ finds nothing
        {41, false, true, "がは..."},
        {35, false, true, "がぱ..."},  // ゜
        {12, true, true, "がぱぁ.."},
        {35, true, true, "がぱぁ「."},
        {34, false, true, "がぱぁ「."},  // 「 has no voiced form
        {65, false, false, "がぱぁ「."},  // the space bar is no kana key
        {0, false, false, "がぱぁ「."},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.cells);
        editor.keyDown(0);  // codes the desktop's layout may not give
        EXPECT_EQ(editor.kanaKey({s.keycode, s.shift}), s.taken);
        EXPECT_EQ(cellsText(0, 5), s.cells);
    }
    EXPECT_EQ(editor.insertionPosition(), 4);

    // A mark joins only the kana just typed, not one reached by moving.
    editor.selectCell(1, 2);
    editor.kanaKey({28, false});
    type("a");
    editor.kanaKey({34, false});
    EXPECT_EQ(cellsText(40, 3), "かあ.");
    editor.selectCell(3, 2);
    editor.kanaKey({34, false});
    EXPECT_EQ(cellsText(40, 3), "かあ.");

    // Pending romaji gives way to the kana; other kinds and romaji input type as before.
    editor.enter(content(1));
    type("k");
    editor.kanaKey({24, false});
    EXPECT_EQ(editor.pendingRomaji(), "");
    EXPECT_EQ(cellsText(0, 2), "た.");
    editor.enter(content(0));
    EXPECT_FALSE(editor.kanaKey({24, false}));
    editor.setKanaInput(false);
    editor.enter(content(1));
    EXPECT_FALSE(editor.kanaKey({24, false}));
    EXPECT_EQ(cellsText(0, 1), ".");
}

TEST_F(ProblemEditorTest, EveryCharacterNeedsItsOwnKeyDown) {
    editor.enter(content(0));
    editor.keyPress('a');  // no key-down before it
    EXPECT_EQ(cellsText(0, 1), ".");
    editor.keyDown('A');
    editor.keyPress('a');
    editor.keyPress('b');  // a second character of the same key-down
    EXPECT_EQ(cellsText(0, 2), "Ａ.");

    // Keys that are not text keys: Enter, Tab, arrows, Home.
    for (int key : {13, 9, 37, 38, 36, 113}) {
        editor.keyDown(key);
        editor.keyPress('x');
    }
    EXPECT_EQ(cellsText(1, 1), ".");

    // A text key whose character is a control character places nothing.
    editor.keyDown('A');
    editor.keyPress(1);
    EXPECT_EQ(cellsText(1, 1), ".");
    EXPECT_EQ(editor.insertionPosition(), 1);
}

TEST_F(ProblemEditorTest, KeysThatLeaveStoreOrEnd) {
    editor.enter(content(0));
    EXPECT_EQ(editor.keyDown(vk::kEscape), EditorKeyAction::Leave);
    EXPECT_EQ(editor.keyDown(vk::kF10), EditorKeyAction::StoreAndLeave);
    EXPECT_EQ(editor.keyDown(vk::kF1), EditorKeyAction::EndCommand);
    EXPECT_EQ(editor.keyDown('A'), EditorKeyAction::None);
    EXPECT_EQ(editor.keyDown(vk::kDelete), EditorKeyAction::None);
}

TEST_F(ProblemEditorTest, BackspaceEmptiesTheCellBefore) {
    editor.enter(content(0, {"ＡＢＣ", "ＤＥ"}));
    type("\b");
    EXPECT_EQ(editor.insertionPosition(), 0);
    EXPECT_EQ(cellsText(0, 3), "ＡＢＣ");

    editor.selectCell(1, 2);
    type("\b");
    EXPECT_EQ(editor.insertionPosition(), 39);
    EXPECT_EQ(view.current, std::make_pair(40, 1));
    EXPECT_TRUE(editor.marked(40, 1));
    EXPECT_FALSE(editor.marked(1, 2));
    EXPECT_EQ(cellsText(40, 2), "ＤＥ");

    editor.selectCell(3, 1);
    type("\b");
    EXPECT_EQ(cellsText(0, 3), "Ａ.Ｃ");
    EXPECT_EQ(editor.insertionPosition(), 1);
    EXPECT_EQ(markedCount(), 1);
}

TEST_F(ProblemEditorTest, BackspaceAndDeleteDropThePendingRomaji) {
    editor.enter(content(1));
    type("ak");
    type("\b");
    type("a");
    EXPECT_EQ(cellsText(0, 2), "あ.");  // "k" was forgotten: "a" alone is あ

    type("ky");
    editor.keyDown(vk::kDelete);
    type("a");
    EXPECT_EQ(cellsText(0, 2), "ああ");
}

TEST_F(ProblemEditorTest, DeleteEmptiesTheCurrentCellWithoutMoving) {
    editor.enter(content(0, {"ＡＢＣＤＥ"}));
    editor.selectCell(3, 1);
    editor.gridFocused();
    EXPECT_EQ(editor.keyDown(vk::kDelete), EditorKeyAction::None);
    EXPECT_EQ(cellsText(0, 5), "ＡＢ.ＤＥ");
    EXPECT_EQ(editor.insertionPosition(), 2);
    EXPECT_TRUE(editor.marked(3, 1));
    // The key-press that may follow Delete does nothing.
    editor.keyPress(0x7F);
    EXPECT_EQ(cellsText(0, 5), "ＡＢ.ＤＥ");
    // A stored row stops at its first empty cell.
    EXPECT_EQ(hex(editor.storedText().rows[0]), hex(sj("ＡＢ")));
    EXPECT_EQ(editor.storedText().count, 2);
}

TEST_F(ProblemEditorTest, ClickingMovesTheInsertionPositionAndTypingOverwrites) {
    editor.enter(content(3, {"ＡＢＣＤＥＦ"}));
    view.redrawn.clear();
    editor.selectCell(3, 1);
    EXPECT_EQ(editor.insertionPosition(), 2);
    EXPECT_EQ(view.redrawn, (std::set<std::pair<int, int>>{{1, 1}, {3, 1}}));
    type("xy");
    EXPECT_EQ(cellsText(0, 6), "ＡＢｘｙＥＦ");

    // The same cell again, header cells and cells outside the grid change nothing.
    view.redrawn.clear();
    const std::pair<int, int> ignored[] = {{5, 1}, {0, 1}, {1, 0}, {41, 1}, {1, 51}};
    for (auto [c, r] : ignored) editor.selectCell(c, r);
    EXPECT_EQ(editor.insertionPosition(), 4);
    EXPECT_TRUE(view.redrawn.empty());
}

TEST_F(ProblemEditorTest, TheInsertionPositionStaysInTheGrid) {
    editor.enter(content(0));
    editor.selectCell(40, 50);
    type("ab");
    EXPECT_EQ(editor.insertionPosition(), 1999);
    EXPECT_EQ(cellsText(1999, 1), "Ｂ");
    EXPECT_EQ(view.current, std::make_pair(40, 50));

    // A text of several characters near the end is cut.
    editor.enter(content(1));
    editor.selectCell(39, 50);
    type("kkya");
    EXPECT_EQ(cellsText(1998, 2), "っき");
    EXPECT_EQ(editor.insertionPosition(), 1999);
    EXPECT_EQ(editor.pendingRomaji(), "");
    EXPECT_EQ(markedCount(), 1);
}

TEST_F(ProblemEditorTest, ChoosingASlotKeepsThePositionAndThePendingRomaji) {
    editor.enter(content(1, {"あいう"}));
    type("ak");
    ProblemEditor::SlotContent other = content(1, {"かきくけこ"});
    other.name = sj("別");
    other.unit = 1;
    editor.chooseSlot(4, other);
    EXPECT_EQ(editor.slot(), 4);
    EXPECT_EQ(editor.confirmedName(), sj("別"));
    EXPECT_EQ(editor.unit(), 1);
    EXPECT_EQ(editor.insertionPosition(), 1);
    EXPECT_EQ(markedCount(), 0);
    editor.gridFocused();
    EXPECT_TRUE(editor.marked(2, 1));
    type("a");
    EXPECT_EQ(cellsText(0, 5), "かかくけこ");

    editor.chooseSlot(12, other);
    EXPECT_EQ(editor.slot(), 9);
    editor.resetSlot();
    EXPECT_EQ(editor.slot(), 0);
}

TEST_F(ProblemEditorTest, ReenteringShowsTheStoredTextAgain) {
    editor.enter(content(0, {"ＡＢ"}));
    type("xyz");
    editor.enter(content(0, {"ＡＢ"}));
    EXPECT_EQ(cellsText(0, 3), "ＡＢ.");
    EXPECT_EQ(editor.insertionPosition(), 0);
}

TEST_F(ProblemEditorTest, ConfirmedNamesFitTheNameField) {
    editor.confirmName("abc");
    EXPECT_EQ(editor.confirmedName(), "abc");
    editor.confirmName(std::string(30, 'x'));
    EXPECT_EQ(editor.confirmedName(), std::string(24, 'x'));
    // 23 bytes and a two-byte character: the character does not fit whole.
    editor.confirmName(std::string(23, 'x') + sj("あい"));
    EXPECT_EQ(editor.confirmedName(), std::string(23, 'x'));
    editor.confirmName(sj("あいうえおかきくけこさしすせそ"));
    EXPECT_EQ(editor.confirmedName(), sj("あいうえおかきくけこさし"));
}

TEST_F(ProblemEditorTest, StoredRowsStopAtTheFirstEmptyCell) {
    editor.enter(content(0, {"", "", "ＡＢＣＤＥＦＧＨＩＪ"}));
    editor.selectCell(12, 3);
    type("klmno");
    const ProblemRows rows = editor.storedText().rows;
    EXPECT_EQ(hex(rows[2]), hex(sj("ＡＢＣＤＥＦＧＨＩＪ")));
    EXPECT_EQ(rows[0], "");
    EXPECT_EQ(editor.storedText().count, 10);

    editor.enter(content(0));
    EXPECT_EQ(editor.storedText().count, 0);

    editor.enter(content(0));
    for (int i = 0; i < 2000; ++i) type("w");
    EXPECT_EQ(editor.storedText().count, 2000);
    EXPECT_EQ(editor.storedText().rows[49].size(), 80u);
}

TEST_F(ProblemEditorTest, DeletingAProblemEmptiesEveryRow) {
    editor.enter(content(0, {"ＡＢＣ", "", "ＤＥＦ"}));
    editor.selectCell(5, 3);
    editor.emptyAfterDelete();
    for (int i = 0; i < ProblemEditor::kCells; ++i)
        ASSERT_EQ(editor.cells()[static_cast<std::size_t>(i)], "") << i;
    EXPECT_EQ(editor.insertionPosition(), 0);
    EXPECT_EQ(view.current, std::make_pair(1, 1));
    EXPECT_TRUE(editor.marked(1, 1));
    EXPECT_EQ(markedCount(), 1);
}

TEST_F(ProblemEditorTest, AnImportReplacesTheWholeGrid) {
    editor.enter(content(0));
    for (int i = 0; i < 300; ++i) type("q");
    std::vector<std::string> imported(100, sj("Ａ"));
    editor.fillFromImport(imported);
    EXPECT_EQ(cellsText(98, 3), "ＡＡ.");
    for (int i = 100; i < ProblemEditor::kCells; ++i)
        ASSERT_EQ(editor.cells()[static_cast<std::size_t>(i)], "") << i;
    EXPECT_EQ(editor.insertionPosition(), 0);
    EXPECT_EQ(markedCount(), 1);
    EXPECT_GE(view.scrolls, 2);

    // More than the grid holds is cut; nothing but whole characters goes in.
    editor.fillFromImport(std::vector<std::string>(2500, sj("ｚ")));
    EXPECT_EQ(editor.storedText().count, 2000);
    editor.fillFromImport({"a", sj("Ａ"), "\x82"});
    EXPECT_EQ(cellsText(0, 2), "Ａ.");
}

TEST_F(ProblemEditorTest, CellLooks) {
    editor.enter(content(1, {"かがぽぱぼを"}));
    editor.gridFocused();
    const ProblemEditor::CellLook first = editor.cellLook(1, 1);
    EXPECT_EQ(first.background, colour::kYellow);
    EXPECT_EQ(first.textColour, colour::kBlue);
    EXPECT_FALSE(first.voicedKanaFont);
    EXPECT_EQ(editor.cellLook(2, 1).background, colour::kWhite);
    EXPECT_TRUE(editor.cellLook(2, 1).voicedKanaFont);
    EXPECT_TRUE(editor.cellLook(3, 1).voicedKanaFont);
    EXPECT_TRUE(editor.cellLook(4, 1).voicedKanaFont);
    EXPECT_TRUE(editor.cellLook(5, 1).voicedKanaFont);
    EXPECT_FALSE(editor.cellLook(6, 1).voicedKanaFont);
    EXPECT_FALSE(editor.cellLook(7, 1).voicedKanaFont);
    EXPECT_EQ(editor.cellLook(7, 1).text, "");

    EXPECT_EQ(editor.textRaise(1), 0);
    editor.kindClicked(2);
    EXPECT_EQ(editor.textRaise(1), 2);
    EXPECT_EQ(editor.textRaise(0), 0);
}

TEST(EditorHelpersTest, TextsOfTheEditorScreen) {
    EXPECT_EQ(editorHeaderText(1), " 1");
    EXPECT_EQ(editorHeaderText(40), "40");
    EXPECT_EQ(editorCursorText(7, 12), "  7 :  12 ");
    EXPECT_EQ(hex(std::string(keyHintFor(EditorControl::SlotList))),
              hex(sj("【Ｅｎｔｅｒ】で問題名入力へ、【ＥＳＣ】で中止")));
    EXPECT_EQ(hex(std::string(keyHintFor(EditorControl::NameField))),
              hex(sj("【Ｅｎｔｅｒ】で問題入力へ、【ＥＳＣ】で中止")));
    EXPECT_EQ(hex(std::string(keyHintFor(EditorControl::Grid))),
              hex(sj("【Ｆ１０】で登録、【ＥＳＣ】で中止")));
}

TEST(EditorHelpersTest, LetterCaseFollowsTheKind) {
    for (int current : {0, 1}) {
        EXPECT_EQ(letterCaseForKind(0, current), 0);
        EXPECT_EQ(letterCaseForKind(1, current), current);
        EXPECT_EQ(letterCaseForKind(2, current), 1);
        EXPECT_EQ(letterCaseForKind(3, current), current);
    }
}

}  // namespace
}  // namespace hayate
