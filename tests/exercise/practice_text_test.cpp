#include "exercise/practice_text.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/sjis_test_support.h"
#include "text/width_conversion.h"

namespace hayate {
namespace {

using test::hex;
using test::sj;

class PracticeTextTest : public ::testing::Test {
  protected:
    PracticeTextResult build(int course, int spacing = 0, int letterCase = 0) {
        settings = TextSettings{course, spacing, letterCase, course == kCourseRomaji};
        return buildPracticeText(grid, tables, settings, random, nullptr);
    }
    CharTables tables = buildCharTables();
    PracticeGrid grid;
    Mt19937Source random{12345};
    TextSettings settings;
};

TEST_F(PracticeTextTest, WithSpacesEverySixthCellIsASpaceAcrossRowEnds) {
    for (int course = 0; course <= 4; ++course) {
        build(course, 0);
        for (int i = 0; i < PracticeGrid::kCells; ++i) {
            const bool space = grid.cell(i).kanaIndex == 150 && grid.cell(i).input == " ";
            ASSERT_EQ(space, i % 6 == 5) << "course " << course << " cell " << i;
        }
    }
    build(kCourseAlphabet, 0);
    std::vector<int> row1, row2;
    for (int col = 1; col <= 40; ++col) {
        if (grid.at(col, 1).input == " ") row1.push_back(col);
        if (grid.at(col, 2).input == " ") row2.push_back(col);
    }
    EXPECT_EQ(row1, (std::vector<int>{6, 12, 18, 24, 30, 36}));
    EXPECT_EQ(row2, (std::vector<int>{2, 8, 14, 20, 26, 32, 38}));
}

TEST_F(PracticeTextTest, WithoutSpacesNoCourseProducesASpaceCell) {
    for (int course = 0; course <= 4; ++course) {
        build(course, 1);
        for (int i = 0; i < PracticeGrid::kCells; ++i) {
            ASSERT_NE(grid.cell(i).input, " ") << course << "/" << i;
            ASSERT_FALSE(grid.cell(i).text.empty());
            ASSERT_EQ(grid.cell(i).colour, colour::kNone);
        }
    }
}

// Each course draws only from its own characters, and reaches all of them.
TEST_F(PracticeTextTest, CoursesDrawTheirRanges) {
    struct Expect {
        int course;
        std::string chars;
    };
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string digits = "0123456789";
    for (const Expect& e : {Expect{kCourseAlphabet, letters}, Expect{kCourseDigits, digits},
                            Expect{kCourseAlphanumeric, letters + digits}}) {
        build(e.course, 1);
        std::set<char> seen;
        for (int i = 0; i < PracticeGrid::kCells; ++i) {
            const PracticeCell& c = grid.cell(i);
            ASSERT_EQ(c.input.size(), 1u);
            ASSERT_NE(e.chars.find(c.input[0]), std::string::npos)
                << e.course << " drew " << c.input;
            EXPECT_EQ(c.text, toFullWidth(tables, c.input));
            seen.insert(c.input[0]);
        }
        EXPECT_EQ(seen.size(), e.chars.size()) << "course " << e.course;
    }
}

TEST_F(PracticeTextTest, RomajiCourseDrawsBasicAndVoicedHiragana) {
    const PracticeTextResult r = build(kCourseRomaji, 1);
    EXPECT_EQ(r.caseMode, 0);
    std::set<int> seen;
    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        const PracticeCell& c = grid.cell(i);
        ASSERT_GE(c.kanaIndex, 0);
        ASSERT_LE(c.kanaIndex, 70);
        EXPECT_EQ(c.text, tables.kana(c.kanaIndex));
        EXPECT_EQ(c.input, tables.romaji(0, c.kanaIndex));
        seen.insert(c.kanaIndex);
    }
    EXPECT_EQ(seen.size(), 71u);
    EXPECT_EQ(tables.brackets(), CharTables::Brackets::Corner);
}

// The key-touch course draws twice below 36, so symbols dominate: each symbol
// has probability 1/59 + 36/59 * 1/59, each letter or digit 36/59 * 1/59.
TEST_F(PracticeTextTest, KeyTouchFavoursSymbolsAndMostlyLowerCaseLetters) {
    int symbols = 0, letters = 0, lowerLetters = 0, digits = 0;
    std::map<char, int> perChar;
    std::set<std::string> texts;
    for (int run = 0; run < 10; ++run) {
        // A seed per run: a fixed source reseeds to the same text every time.
        Mt19937Source source(1000 + static_cast<std::uint32_t>(run));
        settings = TextSettings{kCourseKeyTouch, 1, /*letterCase=*/1, false};
        const PracticeTextResult r = buildPracticeText(grid, tables, settings, source, nullptr);
        EXPECT_EQ(r.caseMode, kCaseSensitive);
        std::string text;
        for (int i = 0; i < PracticeGrid::kCells; ++i) {
            const PracticeCell& c = grid.cell(i);
            const char ch = c.input[0];
            text += c.input;
            ++perChar[ch];
            // The letter-case setting does not apply: text shows what is typed.
            EXPECT_EQ(c.text, toFullWidth(tables, c.input));
            if (std::isalpha(static_cast<unsigned char>(ch))) {
                ++letters;
                lowerLetters += std::islower(static_cast<unsigned char>(ch)) ? 1 : 0;
            } else if (std::isdigit(static_cast<unsigned char>(ch))) {
                ++digits;
            } else {
                ++symbols;
                EXPECT_NE(std::string("!\"#$%&'()=-@:;+*.,/<>?\\").find(ch), std::string::npos)
                    << ch;
            }
        }
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 10u);
    const double n = 20000;
    const double pSymbols = 23.0 / 59 + 36.0 / 59 * 23.0 / 59;  // ~0.628
    const double pLetters = 36.0 / 59 * 26.0 / 59;              // ~0.269
    EXPECT_NEAR(symbols / n, pSymbols, 0.02);
    EXPECT_NEAR(letters / n, pLetters, 0.02);
    EXPECT_NEAR(digits / n, 36.0 / 59 * 10.0 / 59, 0.015);
    EXPECT_NEAR(static_cast<double>(lowerLetters) / letters, 0.9, 0.03);
    EXPECT_EQ(perChar.count('['), 0u);
    EXPECT_EQ(perChar.count(']'), 0u);
    EXPECT_EQ(tables.brackets(), CharTables::Brackets::Square);
}

TEST_F(PracticeTextTest, LowerCaseShowsLowerCaseButExpectsUpperCase) {
    const PracticeTextResult r = build(kCourseAlphanumeric, 1, /*letterCase=*/1);
    EXPECT_EQ(r.caseMode, 0);
    int checkedLetters = 0;
    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        const PracticeCell& c = grid.cell(i);
        const char ch = c.input[0];
        if (ch >= 'A' && ch <= 'Z') {
            ++checkedLetters;
            EXPECT_EQ(hex(c.text),
                      hex(toFullWidth(tables, std::string(1, static_cast<char>(ch - 'A' + 'a')))));
        } else {
            EXPECT_EQ(c.text, toFullWidth(tables, c.input));
        }
    }
    EXPECT_GT(checkedLetters, 1000);
}

TEST_F(PracticeTextTest, AFixedSeedRepeatsTheTextAndTheClockSeedVaries) {
    build(kCourseAlphabet, 1);
    const PracticeGrid first = grid;
    build(kCourseAlphabet, 1);
    for (int i = 0; i < PracticeGrid::kCells; ++i)
        ASSERT_EQ(grid.cell(i).input, first.cell(i).input);

    Mt19937Source clockSeeded;
    PracticeGrid a, b;
    settings = TextSettings{kCourseAlphabet, 1, 0, false};
    buildPracticeText(a, tables, settings, clockSeeded, nullptr);
    buildPracticeText(b, tables, settings, clockSeeded, nullptr);
    int differing = 0;
    for (int i = 0; i < PracticeGrid::kCells; ++i) differing += a.cell(i).input != b.cell(i).input;
    EXPECT_GT(differing, 1000);
}

TEST_F(PracticeTextTest, UserProblemCoursesGoThroughTheProblemBuilder) {
    struct FakeProblems : ProblemTextBuilder {
        bool accept = true;
        int calls = 0;
        bool buildProblemText(PracticeGrid& g, const TextSettings& s,
                              PracticeTextResult& r) override {
            ++calls;
            EXPECT_EQ(s.courseIndex, 9);
            EXPECT_TRUE(g.cell(0).text.empty()) << "grid must be cleared first";
            r.caseMode = -1;
            r.letterCase = 1;
            return accept;
        }
    } problems;
    grid.cell(0).text = "x";
    settings = TextSettings{9, 0, 0, true};
    PracticeTextResult r = buildPracticeText(grid, tables, settings, random, &problems);
    EXPECT_EQ(r.outcome, PracticeTextResult::Outcome::Built);
    EXPECT_EQ(r.caseMode, -1);
    EXPECT_EQ(r.letterCase, 1);
    problems.accept = false;
    r = buildPracticeText(grid, tables, settings, random, &problems);
    EXPECT_EQ(r.outcome, PracticeTextResult::Outcome::ProblemRefused);
    EXPECT_EQ(buildPracticeText(grid, tables, settings, random, nullptr).outcome,
              PracticeTextResult::Outcome::NoProblemSource);
    EXPECT_EQ(problems.calls, 2);
}

}  // namespace
}  // namespace hayate
