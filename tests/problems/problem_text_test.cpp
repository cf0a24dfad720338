#include "problems/problem_text.h"

#include <gtest/gtest.h>

#include <set>

#include "support/sjis_test_support.h"
#include "support/temp_dir.h"
#include "text/user_texts.h"
#include "text/width_conversion.h"

namespace hayate {
namespace {

using test::sj;

// Draws 0, 1, 2, ... in turn, so that every entry is drawn in order.
class CountingSource : public RandomSource {
  public:
    void reseed() override {
        ++reseeds;
        next = 0;
    }
    int below(int n) override { return next++ % n; }
    int reseeds = 0;
    int next = 0;
};

class ProblemTextTest : public ::testing::Test {
  protected:
    // Stores the rows into slot 0 and builds the practice text of course 5.
    PracticeTextResult build(int kind, int unit, const std::vector<std::string>& utf8Rows,
                             int spacing, int letterCase = 0) {
        StoredText text;
        for (std::size_t r = 0; r < utf8Rows.size(); ++r) {
            text.rows[r] = sj(utf8Rows[r]);
            text.count += static_cast<int>(text.rows[r].size() / 2);
        }
        EXPECT_NE(problems.storeProblem(0, text, "p", kind, unit), StoreResult::Failed);
        const TextSettings settings{kFirstProblemCourse, spacing, letterCase, kind == kKindRomaji};
        return buildPracticeText(grid, tables, settings, random, &practice);
    }
    // The cell texts from `from`, `n` of them, as UTF-8 with "_" for a space cell.
    std::string texts(int from, int n) {
        std::string out;
        for (int i = from; i < from + n; ++i) {
            const PracticeCell& c = grid.cell(i);
            out += c.kanaIndex == 150 && c.input == " " ? "_" : test::utf8(c.text);
        }
        return out;
    }
    bool isSpace(int i) { return grid.cell(i).kanaIndex == 150 && grid.cell(i).input == " "; }

    test::TempDir dir;
    ProblemFile problems{dir / "Kbdojo.USR"};
    CharTables tables = buildCharTables();
    CountingSource random;
    ProblemPractice practice{problems, tables, random};
    PracticeGrid grid;
};

TEST_F(ProblemTextTest, AsWrittenRepeatsWithASpaceBetweenPasses) {
    build(kKindUpperCase, kUnitAsWritten, {"ＡＢＣ"}, 0);
    EXPECT_EQ(texts(0, 12), "ＡＢＣ_ＡＢＣ_ＡＢＣ_");
    EXPECT_EQ(texts(1992, 8), "ＡＢＣ_ＡＢＣ_");
    EXPECT_EQ(grid.cell(0).input, "A");
    EXPECT_EQ(grid.cell(0).kanaIndex, 1);
    EXPECT_EQ(grid.cell(2).text, sj("Ｃ"));
    EXPECT_EQ(random.reseeds, 0);  // nothing is drawn

    build(kKindUpperCase, kUnitAsWritten, {"ＡＢＣ"}, 1);
    EXPECT_EQ(texts(0, 9), "ＡＢＣＡＢＣＡＢＣ");
    EXPECT_EQ(texts(1997, 3), "ＣＡＢ");  // 2000 = 666 x 3 + 2
}

TEST_F(ProblemTextTest, APassEndingOnTheLastCellGetsNoSpaceAfterIt) {
    // 22 characters and a space: the 87th pass ends exactly on cell 1999.
    const std::string line = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶ";
    build(kKindUpperCase, kUnitAsWritten, {line}, 0);
    EXPECT_EQ(texts(0, 24), line + "_Ａ");
    EXPECT_TRUE(isSpace(1977));
    EXPECT_EQ(texts(1978, 22), line);
    for (int i = 0; i < PracticeGrid::kCells; ++i) ASSERT_FALSE(grid.cell(i).text.empty()) << i;
}

TEST_F(ProblemTextTest, AsWrittenStopsAtTheFirstEmptyLineAndRunsOverLineEnds) {
    build(kKindUpperCase, kUnitAsWritten, {"ＡＢ", "", "ＣＤ"}, 1);
    EXPECT_EQ(texts(0, 6), "ＡＢＡＢＡＢ");

    build(kKindUpperCase, kUnitAsWritten, {"ＡＢ", "１"}, 0);
    EXPECT_EQ(texts(0, 8), "ＡＢ１_ＡＢ１_");
    EXPECT_EQ(grid.cell(2).input, "1");
}

TEST_F(ProblemTextTest, RomajiKindTypesKanaAndTurnsOtherCharactersIntoSpaces) {
    const PracticeTextResult r = build(kKindRomaji, kUnitAsWritten, {"かＡし"}, 1, 1);
    EXPECT_EQ(r.outcome, PracticeTextResult::Outcome::Built);
    EXPECT_EQ(r.caseMode, -1);
    EXPECT_EQ(r.letterCase, 1);
    const int ka = kanaIndexOf(tables, sj("か"));
    ASSERT_GE(ka, 0);
    EXPECT_EQ(grid.cell(0).kanaIndex, ka);
    EXPECT_EQ(grid.cell(0).text, sj("か"));
    EXPECT_EQ(grid.cell(0).input, tables.romaji(0, ka));
    EXPECT_EQ(grid.cell(0).input, "ka");
    EXPECT_TRUE(isSpace(1));
    EXPECT_EQ(grid.cell(1).text, sj("　"));
    EXPECT_EQ(grid.cell(2).input, "si");
}

TEST_F(ProblemTextTest, KindsSetLetterCaseAndCaseMode) {
    struct Expect {
        int kind, letterCaseBefore, letterCase, caseMode;
    };
    for (const Expect& e : {Expect{0, 1, 0, 0}, Expect{1, 1, 1, -1}, Expect{2, 0, 1, 1},
                            Expect{3, 1, 1, 2}, Expect{3, 0, 0, 2}}) {
        const PracticeTextResult r = build(e.kind, kUnitAsWritten, {"ａＢ"}, 0, e.letterCaseBefore);
        EXPECT_EQ(r.letterCase, e.letterCase) << "kind " << e.kind;
        EXPECT_EQ(r.caseMode, e.caseMode) << "kind " << e.kind;
    }
    // The letters keep the case they were written in; the input is their half-width form.
    EXPECT_EQ(grid.cell(0).text, sj("ａ"));
    EXPECT_EQ(grid.cell(0).input, "a");
}

TEST_F(ProblemTextTest, SingleCharactersAreDrawnWithoutTheFullWidthSpace) {
    build(kKindUpperCase, kUnitCharacter, {"Ａ　Ｂ", "", "Ｃ"}, 0);
    EXPECT_EQ(random.reseeds, 1);
    // Entries Ａ Ｂ Ｃ, drawn in turn; every sixth cell a space.
    EXPECT_EQ(texts(0, 12), "ＡＢＣＡＢ_ＣＡＢＣＡ_");
    std::set<std::string> seen;
    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        ASSERT_EQ(isSpace(i), i % 6 == 5) << i;
        seen.insert(grid.cell(i).text);
    }
    EXPECT_EQ(seen, (std::set<std::string>{sj("Ａ"), sj("Ｂ"), sj("Ｃ"), sj("　")}));

    build(kKindUpperCase, kUnitCharacter, {"Ａ　Ｂ", "", "Ｃ"}, 1);
    EXPECT_EQ(texts(0, 7), "ＡＢＣＡＢＣＡ");
}

TEST_F(ProblemTextTest, OnlyTheFirstThousandCharactersAreEntries) {
    std::vector<std::string> rows;
    std::string a, b;
    for (int c = 0; c < 40; ++c) {
        a += "Ａ";
        b += "Ｂ";
    }
    for (int r = 0; r < 50; ++r) rows.push_back(r < 25 ? a : b);
    build(kKindUpperCase, kUnitCharacter, rows, 1);
    for (int i = 0; i < PracticeGrid::kCells; ++i) ASSERT_EQ(grid.cell(i).text, sj("Ａ")) << i;
}

TEST_F(ProblemTextTest, WordsAreDrawnWithASpaceAfterEach) {
    build(kKindUpperCase, kUnitWord, {"ＡＢ　　ＣＤＥ", "", "Ｆ"}, 0);
    EXPECT_EQ(random.reseeds, 1);
    EXPECT_EQ(texts(0, 16), "ＡＢ_ＣＤＥ_Ｆ_ＡＢ_ＣＤＥ_");
    build(kKindUpperCase, kUnitWord, {"ＡＢ　　ＣＤＥ", "", "Ｆ"}, 1);
    EXPECT_EQ(texts(0, 10), "ＡＢＣＤＥＦＡＢＣＤ");
}

TEST_F(ProblemTextTest, AFullLineContinuesItsWordIntoTheNextNonEmptyLine) {
    std::string full;
    for (int c = 0; c < 40; ++c) full += "Ａ";
    build(kKindUpperCase, kUnitWord, {full, "", "ＢＣ　Ｄ"}, 0);
    // Two words: 40 Ａ with ＢＣ, and Ｄ.
    EXPECT_EQ(texts(0, 46), full + "ＢＣ_Ｄ_Ａ");
    EXPECT_EQ(texts(42, 4), "_Ｄ_Ａ");

    // One character short of full: the line's end closes the word.
    build(kKindUpperCase, kUnitWord, {full.substr(0, 39 * 3), "ＢＣ"}, 0);
    EXPECT_TRUE(isSpace(39));
    EXPECT_EQ(texts(40, 3), "ＢＣ_");
}

TEST_F(ProblemTextTest, AWordRunningPastTheLastCellIsCut) {
    std::string full;
    for (int c = 0; c < 40; ++c) full += "Ｗ";
    std::vector<std::string> rows(50, full);
    build(kKindUpperCase, kUnitWord, rows, 0);  // a single word of 2000 characters
    for (int i = 0; i < PracticeGrid::kCells; ++i) ASSERT_EQ(grid.cell(i).text, sj("Ｗ")) << i;
}

TEST_F(ProblemTextTest, ProblemsWithoutCharactersAreRefusedAndLeaveTheGridCleared) {
    struct Case {
        int unit;
        std::vector<std::string> rows;
        int spacing;
    };
    for (const Case& c :
         {Case{kUnitAsWritten, {"", "ＡＢ"}, 1}, Case{kUnitAsWritten, {"", "ＡＢ"}, 0},
          Case{kUnitWord, {"　　", "", "　"}, 1}, Case{kUnitWord, {}, 0},
          Case{kUnitCharacter, {"　　　"}, 0}, Case{7, {"ＡＢ"}, 0}}) {
        const PracticeTextResult r = build(kKindUpperCase, c.unit, c.rows, c.spacing);
        EXPECT_EQ(r.outcome, PracticeTextResult::Outcome::ProblemRefused) << "unit " << c.unit;
        EXPECT_EQ(practice.refusalMessage(), sjisText(UserText::ProblemGivesNoTextMessage));
        for (int i = 0; i < PracticeGrid::kCells; ++i) {
            ASSERT_TRUE(grid.cell(i).text.empty()) << i;
            ASSERT_EQ(grid.cell(i).input, " ");
        }
    }
    EXPECT_EQ(build(kKindUpperCase, kUnitWord, {"Ａ"}, 0).outcome,
              PracticeTextResult::Outcome::Built);
    EXPECT_TRUE(practice.refusalMessage().empty());
}

TEST_F(ProblemTextTest, AFailedLoadUsesTheSameSlotsEarlierTextOrRefuses) {
    build(kKindUpperCase, kUnitAsWritten, {"ＸＹ"}, 1);
    std::filesystem::remove(problems.path());
    EXPECT_EQ(
        buildPracticeText(grid, tables, TextSettings{5, 1, 0, false}, random, &practice).outcome,
        PracticeTextResult::Outcome::Built);
    EXPECT_EQ(texts(0, 4), "ＸＹＸＹ");

    EXPECT_EQ(
        buildPracticeText(grid, tables, TextSettings{6, 1, 0, false}, random, &practice).outcome,
        PracticeTextResult::Outcome::ProblemRefused);
    EXPECT_EQ(practice.refusalMessage(), sjisText(UserText::ProblemUnreadableMessage));
}

TEST_F(ProblemTextTest, DamagedRowsOfOddLengthDoNotBreakTheLayout) {
    ProblemHead head;
    ProblemRows rows;
    rows[0] = std::string("AB\x82", 3);  // a lone lead byte at the end
    rows[1] = std::string(80, '\xff');
    for (int kind = 0; kind <= 4; ++kind) {
        for (int unit = 0; unit <= 2; ++unit) {
            head.kind = kind;
            head.unit = unit;
            grid.clear();
            ASSERT_TRUE(layOutProblem(grid, tables, random, head, rows, 0)) << kind << "/" << unit;
            for (int i = 0; i < PracticeGrid::kCells; ++i) ASSERT_FALSE(grid.cell(i).input.empty());
        }
    }
}

}  // namespace
}  // namespace hayate
