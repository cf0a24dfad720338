// Exercises typed on the JIS kana layout: kana cells by the physical key,
// everything else by its character, with the desktop's layout giving US
// characters (or none) for the keys.
#include <gtest/gtest.h>

#include <optional>

#include "exercise_fakes.h"

namespace hayate {
namespace {

using test::Harness;
using test::sj;

// A key as the window hands it over under a US layout.
struct Press {
    int keycode;
    bool shift = false;
    int virtualKey = 0;
    std::optional<unsigned char> byte;
};

// X keycodes of the keys used below, with what a US layout types on them.
Press key(int keycode, bool shift = false) {
    switch (keycode) {
        case 12: return {12, shift, '3', shift ? '#' : '3'};
        case 10: return {10, shift, '1', shift ? '!' : '1'};
        case 24: return {24, shift, 'Q', shift ? 'Q' : 'q'};
        case 28: return {28, shift, 'T', shift ? 'T' : 't'};
        case 34: return {34, shift, 219, shift ? '{' : '['};
        case 38: return {38, shift, 'A', shift ? 'A' : 'a'};
        case 45: return {45, shift, 'K', shift ? 'K' : 'k'};
        case 65: return {65, shift, vk::kSpace, ' '};
        case 97: return {97, shift, 0, std::nullopt};   // no such key on US: ろ
        case 132: return {132, shift, 0, std::nullopt}; // nor this one: ー
        default: return {keycode, shift, 0, std::nullopt};
    }
}
const Press kShift{50, true, vk::kShift, std::nullopt};
const Press kEnter{36, false, vk::kEnter, '\r'};
const Press kKeypad1{87, false, vk::kNumpad0 + 1, '1'};

struct Harnessed : Harness {
    Harnessed() { shared.inputMethod = InputMethod::Kana; }
    void press(const Press& p) {
        session.gridKey(p.virtualKey, p.byte, JisKey{p.keycode, p.shift});
    }
};

struct Typing {
    const char* what;
    std::vector<std::string> cells;
    std::vector<Press> keys;
    int chars, keystrokes, misses;
};

TEST(KanaInput, KanaCellsGoByTheKeyOtherCellsByTheCharacter) {
    const Typing cases[] = {
        {"one key", {"た"}, {key(24)}, 1, 1, 0},
        {"Shift on a key of one kana", {"た"}, {key(24, true)}, 1, 1, 0},
        {"voiced: base then ゛", {"が"}, {key(28), key(34)}, 1, 2, 0},
        {"the base alone", {"が"}, {key(28)}, 0, 1, 0},
        {"wrong base", {"が"}, {key(24)}, 0, 0, 1},
        {"wrong second key", {"が"}, {key(28), key(24), key(34)}, 1, 2, 1},
        {"small kana needs Shift", {"ぁ"}, {key(12), key(12, true)}, 1, 1, 1},
        {"a key without a code on US", {"ろ"}, {key(97)}, 1, 1, 0},
        {"long vowel on the yen key", {"ー"}, {key(132)}, 1, 1, 0},
        {"romaji is a miss per key", {"か"}, {key(45), key(38)}, 0, 0, 2},
        {"space on a kana cell", {"た"}, {key(65)}, 0, 0, 1},
        {"Shift and Enter are no key press", {"た"}, {kShift, kEnter}, 0, 0, 0},
        {"digit by its character", {"１"}, {key(10)}, 1, 1, 0},
        {"digit by a wrong character", {"１"}, {key(24)}, 0, 0, 1},
        {"a key typing nothing on a digit", {"１"}, {key(97)}, 0, 0, 1},
        {"space cell", {"　"}, {key(65)}, 1, 1, 0},
        {"two cells", {"が", "た"}, {key(28), key(34), key(24)}, 2, 3, 0},
    };
    for (const Typing& t : cases) {
        SCOPED_TRACE(t.what);
        Harnessed h;
        h.startProblem(t.cells, true);
        for (const Press& p : t.keys) h.press(p);
        EXPECT_EQ(h.chars(), t.chars);
        EXPECT_EQ(h.keystrokes(), t.keystrokes);
        EXPECT_EQ(h.misses(), t.misses);
        EXPECT_EQ(h.position(), t.chars);
    }
}

TEST(KanaInput, TheHintShowsTheKeysAndFollowsThem) {
    Harnessed h;
    h.startProblem({"が", "ぁ", "１"}, true);
    EXPECT_EQ(h.label(Label::RomajiHint1).text, sj("Ｔ"));
    EXPECT_EQ(h.label(Label::RomajiHint2).text, sj("＠"));
    EXPECT_EQ(h.label(Label::RomajiHintRest).text, "");
    h.press(key(28));
    EXPECT_TRUE(h.label(Label::RomajiHint1).underline);
    h.press(key(24));
    EXPECT_EQ(h.label(Label::RomajiHint2).colour, colour::kRed);
    h.press(key(34));
    EXPECT_EQ(h.label(Label::RomajiHint1).text, "Shift+" + sj("３"));
    EXPECT_EQ(h.label(Label::RomajiHint2).text, "");
    EXPECT_FALSE(h.label(Label::RomajiHint1).underline);
    h.press(key(12, true));
    EXPECT_EQ(h.label(Label::RomajiHint1).text, "1");
}

TEST(KanaInput, TheLastCellEndsTheExerciseOnce) {
    Harnessed h;
    h.problems.filler = "た";
    h.startProblem({"た"}, true);
    for (int i = 0; i < PracticeGrid::kCells + 3; ++i) h.press(key(24));
    ASSERT_EQ(h.completion.calls.size(), 1u);
    EXPECT_EQ(h.completion.calls[0].charactersTyped, PracticeGrid::kCells);
    EXPECT_EQ(h.completion.calls[0].keystrokeCount, PracticeGrid::kCells);
}

TEST(KanaInput, TheMethodIsFixedAtTheStartAndOnlyForKanaCourses) {
    Harnessed builtIn;
    builtIn.start(kCourseRomaji, true);
    builtIn.setCells(0, {"１"});
    builtIn.press(kKeypad1);  // the keypad stays out of built-in courses
    EXPECT_EQ(builtIn.misses() + builtIn.chars(), 0);

    Harnessed h;
    h.startProblem({"か"}, true);
    EXPECT_EQ(h.session.keys().inputMethod, InputMethod::Kana);
    h.shared.inputMethod = InputMethod::Romaji;  // chosen while it runs
    h.press(key(45));
    EXPECT_EQ(h.misses(), 1) << "k is の on the kana layout";

    h.startProblem({"A"}, false);
    EXPECT_EQ(h.session.keys().inputMethod, InputMethod::Romaji);
    h.shared.inputMethod = InputMethod::Kana;
    h.startProblem({"A"}, false);
    EXPECT_EQ(h.session.keys().inputMethod, InputMethod::Romaji) << "no kana cells to type";
    h.press(key(38));
    EXPECT_EQ(h.chars(), 1);
}

TEST(KanaInput, RomajiInputThroughTheSameCallIsUnchanged) {
    Harnessed h;
    h.shared.inputMethod = InputMethod::Romaji;
    h.startProblem({"か"}, true);
    h.press(key(45));
    h.press(key(38));
    EXPECT_EQ(h.chars(), 1);
    EXPECT_EQ(h.keystrokes(), 2);
    EXPECT_EQ(h.label(Label::RomajiHint1).text, "a");  // the filler's romaji
}

}  // namespace
}  // namespace hayate
