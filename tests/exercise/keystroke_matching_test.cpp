// Whole exercises typed key by key through the session: what is accepted,
// what is a miss, and what the counters, cells and romaji hint show.
#include <gtest/gtest.h>

#include "exercise_fakes.h"

namespace hayate {
namespace {

using test::Harness;
using test::sj;

struct Typing {
    std::vector<std::string> cells;
    std::string keys;
    int chars;
    int keystrokes;
    int misses;
};

std::string describe(const Typing& t) {
    std::string s;
    for (const std::string& c : t.cells) s += c + " ";
    return s + "typed \"" + t.keys + "\"";
}

// Kana cells of a user problem, typed; the counters afterwards.
void expectKana(const std::vector<Typing>& cases, int course = kFirstProblemCourse) {
    for (const Typing& t : cases) {
        Harness h;
        if (course >= kFirstProblemCourse) {
            h.startProblem(t.cells, true);
        } else {
            h.start(course, true);
            h.setCells(0, t.cells);
            h.setCells(static_cast<int>(t.cells.size()), {"あ"});
        }
        h.type(t.keys);
        EXPECT_EQ(h.chars(), t.chars) << describe(t);
        EXPECT_EQ(h.keystrokes(), t.keystrokes) << describe(t);
        EXPECT_EQ(h.misses(), t.misses) << describe(t);
        EXPECT_EQ(h.position(), t.chars) << describe(t);
    }
}

TEST(KanaMatching, WorkedExampleKaSmallTsuTa) {
    Harness h;
    h.startProblem({"か", "っ", "た"}, true);
    h.type("kat");
    EXPECT_EQ(h.position(), 2) << "the t after ka completes the small tsu";
    EXPECT_EQ(h.session.matcher().expectedRomaji(), "ta");
    h.type("ta");
    EXPECT_EQ(h.keystrokes(), 5);
    EXPECT_EQ(h.chars(), 3);
    EXPECT_EQ(h.misses(), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(h.cell(i).colour, colour::kBlue);
    EXPECT_EQ(h.cell(3).colour, colour::kNone);

    Harness chi;
    chi.startProblem({"か", "っ", "ち"}, true);
    chi.type("kac");
    EXPECT_EQ(chi.position(), 2);
    EXPECT_EQ(chi.session.matcher().expectedRomaji(), "chi")
        << "c chose the chi row for the next cell";
    EXPECT_EQ(chi.session.matcher().alternativeIndex(), 1);
    chi.type("chi");
    EXPECT_EQ(chi.chars(), 3);
    EXPECT_EQ(chi.keystrokes(), 6);
    EXPECT_EQ(chi.misses(), 0);
}

TEST(KanaMatching, EveryAlternativeSpellingOfOneKana) {
    expectKana({
        {{"あ"}, "a", 1, 1, 0},
        {{"あ"}, "b", 0, 0, 1},
        {{"し"}, "si", 1, 2, 0},
        {{"し"}, "shi", 1, 3, 0},
        {{"ち"}, "ti", 1, 2, 0},
        {{"ち"}, "chi", 1, 3, 0},
        {{"つ"}, "tu", 1, 2, 0},
        {{"つ"}, "tsu", 1, 3, 0},
        {{"ふ"}, "hu", 1, 2, 0},
        {{"ふ"}, "fu", 1, 2, 0},
        {{"じ"}, "zi", 1, 2, 0},
        {{"じ"}, "ji", 1, 2, 0},
        {{"ぁ"}, "la", 1, 2, 0},
        {{"ぁ"}, "xa", 1, 2, 0},
        {{"ゃ"}, "xya", 1, 3, 0},
        {{"っ", "あ"}, "xtu", 1, 3, 0},
        {{"を"}, "wo", 1, 2, 0},
        {{"ぢ", "づ"}, "didu", 2, 4, 0},
        {{"ー"}, "-", 1, 1, 0},
        {{"　"}, " ", 1, 1, 0},
        {{"、", "。", "？"}, ",.?", 3, 3, 0},
        {{"・"}, "\xA5", 1, 1, 0},
        {{"し"}, "sha", 0, 2, 1},  // no ゃ follows: the a is a miss
        {{"ち"}, "ts", 0, 1, 1},   // tsu's s does not belong to ち
        {{"ふ"}, "fi", 0, 1, 1},
    });
}

TEST(KanaMatching, SmallKanaJoinedWithTheKanaBefore) {
    expectKana({
        {{"ち", "ゃ"}, "tya", 2, 3, 0},
        {{"ち", "ゃ"}, "cya", 2, 3, 0},
        {{"ち", "ゃ"}, "cha", 0, 2, 1},  // ch is the start of chi: the a is a miss
        {{"ち", "ぇ"}, "che", 0, 2, 1},
        {{"ち", "ゃ"}, "chilya", 2, 6, 0},
        {{"し", "ゃ"}, "sya", 2, 3, 0},
        {{"し", "ゃ"}, "sha", 2, 3, 0},
        {{"し", "ゅ"}, "shu", 2, 3, 0},
        {{"じ", "ゃ"}, "ja", 2, 2, 0},
        {{"じ", "ゃ"}, "jya", 2, 3, 0},
        {{"じ", "ゃ"}, "zya", 2, 3, 0},
        {{"じ", "ょ"}, "jo", 2, 2, 0},
        {{"ふ", "ぇ"}, "fe", 2, 2, 0},
        {{"ふ", "ぁ"}, "fa", 0, 1, 1},  // ぁ is not among the joining kana
        {{"ふ", "ぁ"}, "fula", 2, 4, 0},
        {{"き", "ゃ"}, "kya", 2, 3, 0},
        {{"ひ", "ぃ"}, "hyi", 2, 3, 0},
        {{"て", "ゃ"}, "ty", 0, 1, 1},  // no kana てゃ: nothing joins
    });
    Harness h;
    h.startProblem({"し", "ゃ", "か"}, true);
    h.type("sh");
    EXPECT_EQ(h.position(), 1);
    EXPECT_EQ(h.cell(1).input, "sha") << "the small kana's cell takes the joined syllable";
    EXPECT_EQ(h.cell(1).kanaIndex, kanaIndexOf(h.tables, sj("しゃ")));
    EXPECT_EQ(h.cell(1).text, sj("ゃ"));
    h.type("aka");
    EXPECT_EQ(h.chars(), 3);
}

TEST(KanaMatching, SingleNOnlyInUserProblemsAndBeforeAConsonantSyllable) {
    expectKana({
        {{"ん", "か"}, "nka", 2, 3, 0},
        {{"ん", "や"}, "nya", 2, 3, 0},
        {{"ん", "ち"}, "nchi", 2, 4, 0},
        {{"ん", "し"}, "nshi", 2, 4, 0},
        {{"ん", "か"}, "nnka", 2, 4, 0},
        {{"ん", "あ"}, "na", 0, 1, 1},
        {{"ん", "あ"}, "nna", 2, 3, 0},
        {{"ん", "　"}, "n ", 0, 1, 1},
        {{"ん", "、"}, "n,", 0, 1, 1},
        {{"ん", "に"}, "nni", 1, 2, 1},  // the second n is ん's; the i is a miss on に
    });
    // The built-in romaji course always wants nn.
    expectKana({{{"ん", "か"}, "nk", 0, 1, 1}, {{"ん", "か"}, "nnka", 2, 4, 0}}, kCourseRomaji);

    Harness h;
    h.startProblem({"ん", "ち"}, true);
    h.type("nc");
    EXPECT_EQ(h.position(), 1);
    EXPECT_EQ(h.session.matcher().expectedRomaji(), "chi");
    EXPECT_EQ(h.session.matcher().romajiPosition(), 2);
    EXPECT_EQ(h.session.matcher().typedLetters(), "c");
}

TEST(KanaMatching, SmallTsuBeforeEveryRowAndWithCapsLock) {
    expectKana({
        {{"っ", "さ"}, "ssa", 2, 3, 0},
        {{"っ", "し"}, "ssi", 2, 3, 0},
        {{"っ", "し"}, "sshi", 2, 4, 0},
        {{"っ", "ち"}, "tti", 2, 3, 0},
        {{"っ", "ち"}, "cchi", 2, 4, 0},
        {{"っ", "ち"}, "ccha", 1, 3, 1},
        {{"っ", "つ"}, "ttsu", 2, 4, 0},
        {{"っ", "ふ"}, "ffu", 2, 3, 0},
        {{"っ", "じ"}, "jji", 2, 3, 0},
        {{"っ", "じ"}, "zzi", 2, 3, 0},
        {{"っ", "さ"}, "ltusa", 2, 5, 0},
        {{"っ", "さ"}, "xtusa", 2, 5, 0},
        {{"っ", "か"}, "LTUKA", 2, 5, 0},  // Caps Lock: letter by letter still works
        {{"っ", "か"}, "K", 0, 0, 1},      // but doubling compares exactly
        {{"っ", "か"}, "q", 0, 0, 1},
    });
}

TEST(KanaMatching, UFollowedBySmallVowel) {
    expectKana({
        {{"う", "ぁ"}, "wha", 2, 3, 0},
        {{"う", "ぉ"}, "who", 2, 3, 0},
        {{"う", "ぃ"}, "whi", 2, 3, 0},
        {{"う", "ぁ"}, "ula", 2, 3, 0},
        {{"う", "ぃ"}, "wi", 1, 1, 1},  // wi is not whi
        {{"う", "ぇ"}, "we", 1, 1, 1},
        {{"う", "ぅ"}, "w", 0, 0, 1},  // ぅ does not join
        {{"う", "ぁ"}, "W", 0, 0, 1},  // an exact w only
    });
    Harness h;
    h.startProblem({"う", "ぇ"}, true);
    h.key('w');
    EXPECT_EQ(h.position(), 1);
    EXPECT_EQ(h.cell(0).colour, colour::kBlue);
    EXPECT_EQ(h.cell(1).input, "whe");
    EXPECT_EQ(h.cell(1).kanaIndex, kanaIndexOf(h.tables, sj("うぇ")));
}

TEST(KanaMatching, HintLabelsFollowTheLetters) {
    Harness h;
    h.startProblem({"し", "か"}, true);
    auto hint = [&] {
        return h.label(Label::RomajiHint1).text + "|" + h.label(Label::RomajiHint2).text + "|" +
               h.label(Label::RomajiHintRest).text;
    };
    EXPECT_EQ(hint(), "s|i|");
    for (Label l : {Label::RomajiHint1, Label::RomajiHint2, Label::RomajiHintRest}) {
        EXPECT_EQ(h.label(l).colour, colour::kBlue);
        EXPECT_TRUE(h.label(l).bold);
        EXPECT_FALSE(h.label(l).underline);
    }

    h.key('s');
    EXPECT_TRUE(h.label(Label::RomajiHint1).underline);
    EXPECT_FALSE(h.label(Label::RomajiHint2).underline);
    EXPECT_EQ(h.cell(0).colour, colour::kNone);

    h.key('x');  // a miss on letter 2
    EXPECT_EQ(h.label(Label::RomajiHint2).colour, colour::kRed);
    EXPECT_FALSE(h.label(Label::RomajiHint2).underline);
    EXPECT_EQ(h.cell(0).colour, colour::kRed);
    EXPECT_EQ(h.label(Label::MissCount).text, "    1");

    h.key('h');  // shi, through the alternative
    EXPECT_EQ(hint(), "s|h|i");
    EXPECT_EQ(h.label(Label::RomajiHint2).colour, colour::kBlue);
    EXPECT_TRUE(h.label(Label::RomajiHint1).underline);
    EXPECT_TRUE(h.label(Label::RomajiHint2).underline);
    EXPECT_EQ(h.cell(0).colour, colour::kRed) << "an alternative leaves the colour";

    h.key('u');  // a miss on the last letter: red, style kept
    EXPECT_EQ(h.label(Label::RomajiHintRest).colour, colour::kRed);
    EXPECT_EQ(h.misses(), 2);

    h.key('i');
    EXPECT_EQ(h.cell(0).colour, colour::kBlue);
    EXPECT_EQ(h.label(Label::CharactersTyped).text, "    1");
    EXPECT_EQ(hint(), "k|a|");
    EXPECT_EQ(h.window.current, (std::pair<int, int>{2, 1}));
    for (Label l : {Label::RomajiHint1, Label::RomajiHint2, Label::RomajiHintRest}) {
        EXPECT_EQ(h.label(l).colour, colour::kBlue);
        EXPECT_FALSE(h.label(l).underline);
    }
    EXPECT_EQ(h.keystrokes(), 3);

    Harness n;
    n.startProblem({"ん", "か"}, true);
    n.type("nk");
    EXPECT_EQ(n.label(Label::RomajiHint1).text, "k");
    EXPECT_EQ(n.label(Label::RomajiHint2).text, "a");
    EXPECT_TRUE(n.label(Label::RomajiHint1).underline);
    EXPECT_FALSE(n.label(Label::RomajiHint2).underline);

    Harness j;
    j.startProblem({"じ", "ゃ"}, true);
    j.type("jy");
    EXPECT_EQ(j.label(Label::RomajiHint1).text + j.label(Label::RomajiHint2).text +
                  j.label(Label::RomajiHintRest).text,
              "jya");
    EXPECT_TRUE(j.label(Label::RomajiHint2).underline);
    EXPECT_FALSE(j.label(Label::RomajiHintRest).underline);
}

// What each hint label looks like after a miss while a kana is partly typed:
// inside the romaji the missed letter turns red in plain bold, on its last
// letter only its colour changes; letters already typed stay underlined.
TEST(KanaMatching, TheHintAfterAMissOnAPartlyTypedKana) {
    struct Look {
        Colour colour;
        bool underline;
    };
    constexpr Colour B = colour::kBlue, R = colour::kRed;
    struct Case {
        const char* kana;
        const char* keys;  // the last one is the miss
        Look roma1, roma2, roma3;
    };
    for (const Case& c : {
             Case{"し", "sx", {B, true}, {R, false}, {B, false}},    // s|i, inside
             Case{"きゃ", "kx", {B, true}, {R, false}, {B, false}},  // k|y|a, letter 2
             Case{"きゃ", "kyx", {B, true}, {B, true}, {R, false}},  // letter 3, the last
             Case{"か", "kx", {B, true}, {R, false}, {B, false}},    // k|a, the last
             Case{"か", "x", {R, false}, {B, false}, {B, false}},    // nothing typed yet
             Case{"っ", "lx", {B, true}, {R, false}, {B, false}},    // l|t|u, inside
             Case{"っ", "ltx", {B, true}, {B, true}, {R, false}},    // the last letter
         }) {
        Harness h;
        h.startProblem({c.kana, "あ"}, true);
        h.type(c.keys);
        ASSERT_EQ(h.misses(), 1) << c.kana << " " << c.keys;
        const Look want[] = {c.roma1, c.roma2, c.roma3};
        const Label labels[] = {Label::RomajiHint1, Label::RomajiHint2, Label::RomajiHintRest};
        for (int i = 0; i < 3; ++i) {
            const auto& got = h.label(labels[i]);
            EXPECT_EQ(got.colour, want[i].colour) << c.kana << " " << c.keys << " label " << i + 1;
            EXPECT_EQ(got.underline, want[i].underline)
                << c.kana << " " << c.keys << " label " << i + 1;
            EXPECT_TRUE(got.bold) << c.kana << " " << c.keys << " label " << i + 1;
        }
    }
}

TEST(CharacterMatching, CaseModeDecidesWhetherLetterCaseCounts) {
    Harness keyTouch;  // case mode 2
    keyTouch.start(kCourseKeyTouch, false);
    keyTouch.setCells(0, {"A", "b"});
    keyTouch.type("aABb");
    EXPECT_EQ(keyTouch.chars(), 2);
    EXPECT_EQ(keyTouch.misses(), 2);
    EXPECT_EQ(keyTouch.keystrokes(), 0) << "keystrokes are counted in kana mode only";

    Harness lower;
    lower.shared.letterCase = 1;
    lower.start(kCourseAlphabet, false);
    ASSERT_NE(lower.shared.caseMode, 2);
    const std::string input = lower.cell(0).input;
    ASSERT_TRUE(input[0] >= 'A' && input[0] <= 'Z');
    // Full-width lower-case letters are U+FF41.., in UTF-8 EF BD 81..
    const std::string fullWidthLower = {'\xEF', '\xBD', static_cast<char>(0x81 + (input[0] - 'A'))};
    EXPECT_EQ(lower.cell(0).text, sj(fullWidthLower));
    lower.key(static_cast<unsigned char>(input[0] + 32));
    lower.key(static_cast<unsigned char>(lower.cell(1).input[0]));
    EXPECT_EQ(lower.chars(), 2);
    EXPECT_EQ(lower.misses(), 0);
}

TEST(CharacterMatching, NumericKeypadCountsOnlyInUserProblems) {
    Harness builtIn;
    builtIn.start(kCourseDigits, false);
    builtIn.setCells(0, {"5", "6"});
    builtIn.key(vk::kNumpad0 + 5, '5');
    builtIn.key(vk::kNumpad0 + 1, '1');
    builtIn.key(vk::kMultiply, '*');
    EXPECT_EQ(builtIn.chars(), 0);
    EXPECT_EQ(builtIn.misses(), 0);
    builtIn.key('5');
    EXPECT_EQ(builtIn.chars(), 1);

    Harness problem;
    problem.problems.filler = "6";
    problem.startProblem({"5", "*"}, false);
    problem.key(vk::kNumpad0 + 5, '5');
    problem.key(vk::kNumpad0 + 1, '1');
    problem.key(vk::kMultiply, '*');
    EXPECT_EQ(problem.chars(), 2);
    EXPECT_EQ(problem.misses(), 1);
}

TEST(CharacterMatching, KeyGateDecidesWhichPressesAreJudged) {
    Harness h;
    h.problems.filler = "A";
    h.startProblem({"A"}, false);
    h.key(vk::kEnter, '\r');  // starts the clock and nothing else
    EXPECT_EQ(h.session.state(), ExerciseSession::State::Running);
    EXPECT_TRUE(h.window.timerRunning);
    EXPECT_EQ(h.session.clock().startTick(), 5000);
    EXPECT_EQ(h.chars() + h.misses(), 0);

    h.session.gridKeyPress('A');  // no key went down for it
    h.key(9, 'A');                // Tab
    h.key(vk::kF10, 'A');
    h.key(vk::kProcessKey, 'A');  // the input method's key
    h.key(vk::kLetterA, 0x01);    // an open gate, but a control character
    EXPECT_EQ(h.chars() + h.misses(), 0);

    h.key(vk::kShift, 'A');       // Shift opens the gate for the letter that follows
    h.key(vk::kSemicolon, 0xB1);  // a half-width kana byte is a miss
    h.key(228, '!');
    h.key(166, '!');
    EXPECT_EQ(h.chars(), 1);
    EXPECT_EQ(h.misses(), 3);
}

TEST(Completion, TheLastCellEndsTheExerciseAtOnce) {
    Harness h;
    h.problems.filler = "A";
    h.startProblem({"A"}, false);
    for (int i = 0; i < PracticeGrid::kCells - 1; ++i) h.key('A');
    EXPECT_EQ(h.position(), 1999);
    EXPECT_TRUE(h.completion.calls.empty());
    EXPECT_EQ(h.window.current, (std::pair<int, int>{40, 50}));
    h.key('A');
    ASSERT_EQ(h.completion.calls.size(), 1u);
    EXPECT_EQ(h.completion.calls[0].kind, ExerciseEnd::LastCell);
    EXPECT_EQ(h.completion.calls[0].charactersTyped, 2000);
    EXPECT_EQ(h.position(), 2000);
    EXPECT_EQ(h.cell(1999).colour, colour::kBlue);
    EXPECT_EQ(h.window.current, (std::pair<int, int>{40, 50}))
        << "the cursor stays on the last cell";
    EXPECT_EQ(h.session.state(), ExerciseSession::State::Idle);
    for (int b = 0; b < 256; ++b) h.key(static_cast<unsigned char>(b));
    EXPECT_EQ(h.completion.calls.size(), 1u);
    EXPECT_EQ(h.chars(), 2000);
    EXPECT_EQ(h.misses(), 0);
}

TEST(Completion, KeysAfterTheEndAreNeverJudgedEvenIfTheGridStaysOpen) {
    Harness h;
    h.completion.stopsExercise = false;
    h.problems.filler = "か";
    h.startProblem({"か"}, true);
    for (int i = 0; i < PracticeGrid::kCells; ++i) h.type("ka");
    ASSERT_EQ(h.completion.calls.size(), 1u);
    EXPECT_EQ(h.completion.calls[0].keystrokeCount, 4000) << "the last key counts too";
    for (int b = 0; b < 256; ++b) h.key(vk::kLetterA, static_cast<unsigned char>(b));  // gate open
    EXPECT_EQ(h.chars(), 2000);
    EXPECT_EQ(h.keystrokes(), 4000);
    EXPECT_EQ(h.misses(), 0);
    EXPECT_EQ(h.position(), 2000);
}

TEST(Completion, NoLookAheadFromTheLastCell) {
    for (const char* last : {"っ", "ん", "う", "し"}) {
        Harness h;
        h.problems.filler = "あ";
        h.problems.cells.assign(1999, "あ");
        h.problems.cells.push_back(last);
        h.start(kFirstProblemCourse, true);
        h.type(std::string(1999, 'a'));
        ASSERT_EQ(h.position(), 1999);
        // Each key reaches its look-ahead rule: y after s, a consonant after a
        // single n, the first letter of a next syllable on っ.
        const std::string keys = std::string(last) == "し"   ? "sy"
                                 : std::string(last) == "ん" ? "nk"
                                                             : "tw";
        h.type(keys);
        EXPECT_TRUE(h.completion.calls.empty()) << last;
        EXPECT_GE(h.misses(), 1) << last;
    }
}

}  // namespace
}  // namespace hayate
