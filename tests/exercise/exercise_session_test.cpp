// Start, stop, the keys of the buttons and the course list, focus, and the
// clock tick with its time-limit end, driven through the session.
#include "exercise/exercise_session.h"

#include <gtest/gtest.h>

#include <limits>

#include "exercise/exercise_stats.h"
#include "exercise_fakes.h"

namespace hayate {
namespace {

using test::FakeWindow;
using test::Harness;
using test::sj;
using Action = ExerciseSession::KeyAction;
using Button = ExerciseSession::Button;
using Outcome = ExerciseSession::StartResult::Outcome;
using State = ExerciseSession::State;

TEST(ExerciseStart, PreparesGridCountersLabelsAndFocus) {
    Harness h;
    h.window.labels[Label::KeystrokeSpeed].text = "old";
    h.window.labels[Label::RomajiHint2].underline = true;
    const auto result = h.start(kCourseRomaji, true);
    EXPECT_EQ(result.outcome, Outcome::Started);
    EXPECT_FALSE(result.letterCaseChanged);
    EXPECT_EQ(h.session.state(), State::Started);
    EXPECT_FALSE(h.window.startVisible);
    EXPECT_TRUE(h.window.gridEnabled);
    EXPECT_EQ(h.window.focus, FakeWindow::Focus::Grid);
    EXPECT_EQ(h.session.inputMode(), InputMode::Practice);
    EXPECT_TRUE(h.session.keyGateClosed());
    EXPECT_EQ(h.label(Label::Message).text, sj("【ＥＳＣ】で中止"));
    for (Label l : {Label::ElapsedTime, Label::CharactersTyped, Label::Speed, Label::MissCount})
        EXPECT_EQ(h.label(l).text, "    0");
    EXPECT_EQ(h.label(Label::KeystrokeSpeed).text, "");
    const std::string first = h.cell(0).input;
    EXPECT_EQ(h.label(Label::RomajiHint1).text, first.substr(0, 1));
    EXPECT_EQ(h.label(Label::RomajiHint2).text + h.label(Label::RomajiHintRest).text,
              first.substr(1));
    EXPECT_FALSE(h.label(Label::RomajiHint2).underline);
    EXPECT_EQ(h.window.current, (std::pair<int, int>{1, 1}));
    EXPECT_EQ(h.window.scrolledToTop, 1);
    EXPECT_EQ(h.window.pointerMoves, 1);
    EXPECT_EQ(h.session.clock().startTick(), -1);
    EXPECT_FALSE(h.window.timerRunning);
    EXPECT_FALSE(h.session.stoppedFlag());
}

TEST(ExerciseStart, EveryCounterStartsAtZeroWhateverCameBefore) {
    Harness h;
    h.startProblem({"か"}, true);
    h.type("kaxx");
    ASSERT_GT(h.keystrokes(), 0);
    h.key(vk::kEscape, 0x1B);
    h.start(kCourseAlphabet, false);  // character mode after kana mode
    EXPECT_EQ(h.chars() + h.misses() + h.keystrokes() + h.position(), 0);
    for (int i = 0; i < PracticeGrid::kCells; ++i) ASSERT_EQ(h.cell(i).colour, colour::kNone);
    EXPECT_FALSE(h.session.matcher().mode().kanaMode);
}

TEST(ExerciseStart, ARefusedProblemRollsBackToIdle) {
    Harness h;
    h.problems.refuse = true;
    const auto refused = h.startProblem({"あ"}, true);
    EXPECT_EQ(refused.outcome, Outcome::ProblemRefused);
    EXPECT_EQ(h.session.state(), State::Idle);
    EXPECT_TRUE(h.window.startVisible);
    EXPECT_FALSE(h.window.gridEnabled);
    EXPECT_FALSE(h.window.timerRunning);
    EXPECT_EQ(h.window.focus, FakeWindow::Focus::StartButton);
    h.key('a');
    EXPECT_EQ(h.session.clock().state(), ExerciseClock::State::Off);

    Harness none;
    ExerciseSession bare{none.shared, none.tables, none.random, nullptr,
                         none.window, none.window, none.window, none.completion};
    none.shared.courseIndex = kFirstProblemCourse + 3;
    EXPECT_EQ(bare.startExercise().outcome, Outcome::NoProblemSource);
    EXPECT_EQ(bare.state(), State::Idle);
}

TEST(ExerciseStart, AProblemSetsCaseModeAndLetterCase) {
    Harness h;
    h.problems.caseMode = 2;
    h.problems.letterCase = 1;
    h.problems.filler = "a";
    const auto result = h.startProblem({"A"}, false);
    EXPECT_TRUE(result.letterCaseChanged);
    EXPECT_EQ(h.shared.letterCase, 1);
    EXPECT_EQ(h.shared.caseMode, 2);
    h.type("aAA");
    EXPECT_EQ(h.chars(), 1);
    EXPECT_EQ(h.misses(), 2);
}

TEST(ExerciseStart, TheModeStaysFixedWhenTheCourseChangesMidway) {
    Harness h;
    h.start(kCourseRomaji, true);
    h.setCells(0, {"し"});
    h.shared.kanaMode = false;  // the course list and spacing were clicked
    h.shared.courseIndex = kCourseAlphabet;
    h.shared.spacing = 1;
    h.type("shi");
    EXPECT_EQ(h.chars(), 1);
    EXPECT_EQ(h.keystrokes(), 3);
    // The record goes to what was typed.
    const ExerciseKeys keys = h.session.keys();
    EXPECT_EQ(keys.courseIndex, kCourseRomaji);
    EXPECT_EQ(keys.spacing, 0);
    EXPECT_TRUE(keys.kanaMode);
}

TEST(ExerciseStop, EscStopsAtOnceWithoutAResult) {
    Harness h;
    h.startProblem({"か", "き"}, true);
    h.type("kaq");
    h.key(vk::kEscape, 0x1B);
    EXPECT_TRUE(h.completion.calls.empty());
    EXPECT_EQ(h.session.state(), State::Idle);
    EXPECT_TRUE(h.window.startVisible);
    EXPECT_FALSE(h.window.gridEnabled);
    EXPECT_FALSE(h.window.timerRunning);
    EXPECT_EQ(h.window.focus, FakeWindow::Focus::StartButton);
    EXPECT_FALSE(h.session.stoppedFlag()) << "the start button's focus clears it again";
    EXPECT_EQ(h.label(Label::Message).text, "");
    EXPECT_EQ(h.session.inputMode(), InputMode::Idle);
    EXPECT_EQ(h.chars(), 1);
    EXPECT_EQ(h.misses(), 1);
    EXPECT_EQ(h.cell(0).colour, colour::kBlue);
    EXPECT_EQ(h.cell(1).colour, colour::kRed);

    // Nothing reaches a disabled grid.
    for (int b = 0; b < 256; ++b) h.key(vk::kLetterA, static_cast<unsigned char>(b));
    EXPECT_EQ(h.chars(), 1);
    EXPECT_EQ(h.misses(), 1);

    const auto again = h.session.buttonKeyDown(Button::Start, vk::kF10);
    EXPECT_EQ(again.action, Action::Consumed);
    ASSERT_TRUE(again.start);
    EXPECT_EQ(again.start->outcome, Outcome::Started);
    EXPECT_EQ(h.chars() + h.misses(), 0);
    EXPECT_EQ(h.cell(1).colour, colour::kNone);
}

TEST(ExerciseStart, NothingCountsBeforeTheFirstStart) {
    Harness h;
    for (int code = 0; code < 256; ++code) {
        h.key(code, static_cast<unsigned char>(code));
        h.session.gridKeyPress(static_cast<unsigned char>(255 - code));
    }
    EXPECT_EQ(h.session.state(), State::Idle);
    EXPECT_EQ(h.session.clock().state(), ExerciseClock::State::Off);
    EXPECT_EQ(h.chars() + h.misses() + h.keystrokes() + h.position(), 0);
    EXPECT_TRUE(h.completion.calls.empty());
    EXPECT_TRUE(h.window.redraws.empty());
}

TEST(ExerciseStop, StopWhileTheStopFlagWouldBeLeftSet) {
    Harness h;
    h.start(kCourseAlphabet, false);
    h.window.session = nullptr;  // a window that does not report focus changes
    h.session.stopExercise();
    EXPECT_TRUE(h.session.stoppedFlag());
    h.session.startButtonFocusGained();
    EXPECT_FALSE(h.session.stoppedFlag());
}

TEST(ButtonKeys, SpaceNeverPressesAButton) {
    Harness h;
    EXPECT_EQ(h.session.buttonKeyDown(Button::Start, vk::kSpace).action, Action::PlatformDefault);
    EXPECT_TRUE(h.session.spaceKeyGuard());
    const auto suppressed = h.session.buttonPressed(Button::Start);
    EXPECT_FALSE(suppressed.start);
    EXPECT_FALSE(h.session.spaceKeyGuard());
    EXPECT_EQ(h.session.state(), State::Idle);

    // Another key after the Space clears the guard: Enter presses.
    h.session.buttonKeyDown(Button::Start, vk::kSpace);
    EXPECT_EQ(h.session.buttonKeyDown(Button::Start, vk::kEnter).action, Action::PlatformDefault);
    const auto pressed = h.session.buttonPressed(Button::Start);
    ASSERT_TRUE(pressed.start);
    EXPECT_EQ(pressed.start->outcome, Outcome::Started);

    // The stop button: a Space press is swallowed, the next press stops.
    h.session.buttonKeyDown(Button::Stop, vk::kSpace);
    h.session.buttonPressed(Button::Stop);
    EXPECT_NE(h.session.state(), State::Idle);
    h.session.buttonPressed(Button::Stop);
    EXPECT_EQ(h.session.state(), State::Idle);

    h.session.buttonKeyDown(Button::End, vk::kSpace);
    EXPECT_EQ(h.session.buttonPressed(Button::End).action, Action::Consumed);
    EXPECT_EQ(h.session.buttonPressed(Button::End).action, Action::RunEndCommand);
    EXPECT_FALSE(h.session.takeSpaceKeyGuard());
    h.session.buttonKeyDown(Button::Start, vk::kSpace);
    EXPECT_TRUE(h.session.takeSpaceKeyGuard()) << "the end command does nothing this once";
    EXPECT_FALSE(h.session.spaceKeyGuard());

    // A guard left over from a Space whose press never came swallows one start.
    h.session.buttonKeyDown(Button::Start, vk::kSpace);
    EXPECT_EQ(h.session.courseListKeyDown(vk::kF10).start->outcome, Outcome::SpaceSuppressed);
    EXPECT_EQ(h.session.courseListKeyDown(vk::kF10).start->outcome, Outcome::Started);
}

TEST(ButtonKeys, EscAndTheEndsStopEvenWithASpaceGuardLeftOver) {
    Harness h;
    h.start(kCourseAlphabet, false);
    h.session.buttonKeyDown(Button::Stop, vk::kSpace);  // the focus wandered off and back
    h.key(vk::kEscape, 0x1B);
    EXPECT_EQ(h.session.state(), State::Idle);
}

TEST(ButtonKeys, KeyTablesOfButtonsCourseListAndGrid) {
    Harness h;
    for (Button b : {Button::Start, Button::Stop, Button::End}) {
        EXPECT_EQ(h.session.buttonKeyDown(b, vk::kF1).action, Action::RunEndCommand);
        EXPECT_EQ(h.session.buttonKeyDown(b, vk::kEscape).action, Action::PlatformDefault);
    }
    EXPECT_EQ(h.session.buttonKeyDown(Button::Start, vk::kUp).action, Action::FocusCourseList);
    EXPECT_EQ(h.session.buttonKeyDown(Button::Stop, vk::kUp).action, Action::PlatformDefault);
    EXPECT_EQ(h.session.buttonKeyDown(Button::End, vk::kUp).action, Action::PlatformDefault);
    EXPECT_EQ(h.session.courseListKeyDown(vk::kF1).action, Action::RunEndCommand);
    EXPECT_EQ(h.session.courseListKeyDown(vk::kUp).action, Action::PlatformDefault);
    EXPECT_EQ(h.session.courseListKeyDown(vk::kSpace).action, Action::PlatformDefault);
    EXPECT_EQ(h.session.courseListKeyDown(vk::kEnter).action, Action::FocusStartButton);
    EXPECT_EQ(h.session.state(), State::Idle);

    const auto f10 = h.session.courseListKeyDown(vk::kF10);
    EXPECT_EQ(f10.action, Action::Consumed);
    ASSERT_TRUE(f10.start);
    EXPECT_EQ(h.session.state(), State::Started);
    EXPECT_EQ(h.session.courseListKeyDown(vk::kEnter).action, Action::FocusStopButton);

    h.key(vk::kF1, 'A');
    h.key(vk::kF10, 'A');
    EXPECT_EQ(h.session.state(), State::Running) << "F1 and F10 in the grid only close the gate";
    EXPECT_EQ(h.chars() + h.misses(), 0);
}

TEST(GridFocus, TheGridKeepsTheKeyboardWhileTheGateIsClosed) {
    Harness h;
    h.start(kCourseAlphabet, false);
    h.window.moveFocus(FakeWindow::Focus::CourseList);
    EXPECT_EQ(h.window.focus, FakeWindow::Focus::Grid);
    EXPECT_EQ(h.session.inputMode(), InputMode::Practice);

    h.session.gridKeyDown(vk::kShift);  // opens the gate; no character follows
    h.window.moveFocus(FakeWindow::Focus::CourseList);
    EXPECT_EQ(h.window.focus, FakeWindow::Focus::CourseList);
    EXPECT_EQ(h.session.inputMode(), InputMode::Idle);
    EXPECT_EQ(h.label(Label::Message).text, "");
    EXPECT_EQ(h.session.state(), State::Started);

    h.window.moveFocus(FakeWindow::Focus::Grid);
    EXPECT_EQ(h.session.inputMode(), InputMode::Practice);
    EXPECT_TRUE(h.session.keyGateClosed());
}

class TimeLimitTest : public ::testing::Test {
  protected:
    // Starts a character exercise and types the first key at `firstKey`.
    void begin(int timeLimitIndex, std::uint32_t firstKey) {
        h.shared.timeLimitIndex = timeLimitIndex;
        h.problems.filler = "A";
        h.startProblem({"A"}, false);
        h.window.now = firstKey;
        h.key('A');
        ASSERT_EQ(h.session.state(), State::Running);
        ASSERT_TRUE(h.window.timerRunning);
    }
    Harness h;
};

TEST_F(TimeLimitTest, EndsAtExactlyThirtySecondsNotBefore) {
    begin(0, 10000);
    h.tickAt(11000);
    EXPECT_EQ(h.label(Label::ElapsedTime).text, "    1");
    EXPECT_EQ(h.label(Label::Speed).text, "   60");
    for (int i = 0; i < 14; ++i) h.key('A');
    h.tickAt(10000 + 29999);
    EXPECT_TRUE(h.completion.calls.empty());
    EXPECT_EQ(h.label(Label::ElapsedTime).text, "   29");
    EXPECT_EQ(h.label(Label::Speed).text, "   30");
    h.tickAt(10000 + 30000);
    ASSERT_EQ(h.completion.calls.size(), 1u);
    EXPECT_EQ(h.completion.calls[0].kind, ExerciseEnd::TimeLimit);
    EXPECT_EQ(h.completion.calls[0].charactersTyped, 15);
    EXPECT_EQ(h.label(Label::ElapsedTime).text, "   30");
    EXPECT_EQ(h.session.state(), State::Idle);
    EXPECT_FALSE(h.window.timerRunning);

    h.window.labels[Label::ElapsedTime].text = "kept";
    h.tickAt(10000 + 31000);
    EXPECT_EQ(h.completion.calls.size(), 1u);
    EXPECT_EQ(h.label(Label::ElapsedTime).text, "kept");
}

TEST_F(TimeLimitTest, TheTickCounterWrapsDuringTheExercise) {
    const std::uint32_t first = std::numeric_limits<std::uint32_t>::max() - 9999;
    begin(0, first);
    h.tickAt(first + 20000u);  // 10000 after the wrap
    EXPECT_EQ(h.label(Label::ElapsedTime).text, "   20");
    h.tickAt(first + 29999u);
    EXPECT_TRUE(h.completion.calls.empty());
    h.tickAt(first + 30000u);
    EXPECT_EQ(h.completion.calls.size(), 1u);
}

TEST_F(TimeLimitTest, SixtySecondsAndNoLimit) {
    begin(1, 0);
    h.tickAt(59999);
    EXPECT_TRUE(h.completion.calls.empty());
    h.tickAt(60000);
    EXPECT_EQ(h.completion.calls.size(), 1u);

    Harness none;
    none.shared.timeLimitIndex = 2;
    none.problems.filler = "A";
    none.startProblem({"A"}, false);
    none.window.now = 100;
    none.key('A');
    none.tickAt(100 + 61000);
    EXPECT_EQ(none.label(Label::ElapsedTime).text, " 1'1\"");
    none.tickAt(100 + 120000);
    EXPECT_EQ(none.label(Label::Speed).text, "    1") << "1 character in 120 s: 0.5 rounds up";
    none.tickAt(100 + 43199999);
    EXPECT_TRUE(none.completion.calls.empty());
    none.tickAt(100 + 43200000);
    EXPECT_EQ(none.completion.calls.size(), 1u);
}

TEST_F(TimeLimitTest, ANewTimeLimitCountsFromTheNextTick) {
    begin(2, 1000);
    h.tickAt(1000 + 35000);
    EXPECT_TRUE(h.completion.calls.empty());
    h.session.selectTimeLimit(0, false);
    h.tickAt(1000 + 36000);
    EXPECT_EQ(h.completion.calls.size(), 1u);
}

TEST_F(TimeLimitTest, EarlyTicksWaitForTheirSecondAndLateOnesDoNotDrift) {
    begin(0, 10000);
    EXPECT_EQ(h.window.timerDueIn, 1000);
    struct Step {
        std::uint32_t at;  // ms after the first key
        const char* time;  // 経過時間 afterwards
        int dueIn;         // the timer's next request
    };
    // A timer may fire up to 5 % early; a tick then counts only once its
    // second is complete, and the next one is asked for on the whole second.
    for (const Step& s :
         {Step{951, "    0", 49}, Step{1000, "    1", 1000}, Step{2300, "    2", 700},
          Step{2999, "    2", 1}, Step{3000, "    3", 1000}, Step{29950, "   29", 50}}) {
        h.tickAt(10000 + s.at);
        EXPECT_EQ(h.label(Label::ElapsedTime).text, s.time) << s.at;
        EXPECT_EQ(h.window.timerDueIn, s.dueIn) << s.at;
    }
    EXPECT_NE(h.label(Label::Speed).text, "  442");  // one key in 951 ms must not show
    h.tickAt(10000 + 29990);
    EXPECT_TRUE(h.completion.calls.empty());
    h.tickAt(10000 + 30000);
    EXPECT_EQ(h.completion.calls.size(), 1u);
}

TEST_F(TimeLimitTest, SpeedRoundingOnTheTick) {
    begin(1, 0);
    h.tickAt(7000);
    EXPECT_EQ(h.label(Label::Speed).text, "    9");
    for (int i = 0; i < 29; ++i) h.key('A');
    h.tickAt(20000);
    EXPECT_EQ(h.label(Label::Speed).text, "   90");
}

TEST(ClockTick, KeystrokeLabelOnlyInKanaMode) {
    Harness kana;
    kana.startProblem({"か"}, true);
    kana.window.now = 0;
    kana.type("ka");
    kana.tickAt(1000);
    EXPECT_EQ(kana.label(Label::KeystrokeSpeed).text, " 120 " + sj("／分"));

    Harness chars;
    chars.start(kCourseAlphabet, false);
    chars.window.labels[Label::KeystrokeSpeed].text = "untouched";
    chars.window.now = 0;
    chars.key(static_cast<unsigned char>(chars.cell(0).input[0]));
    chars.tickAt(1000);
    chars.tickAt(2000);
    EXPECT_EQ(chars.label(Label::KeystrokeSpeed).text, "untouched");
    EXPECT_EQ(chars.label(Label::Speed).text, "   30");
}

TEST(ClockTick, StrayTicksChangeNothing) {
    Harness h;
    h.tickAt(100000);  // before any start
    h.start(kCourseAlphabet, false);
    h.tickAt(200000);  // started, no key yet
    EXPECT_EQ(h.session.state(), State::Started);
    h.key(vk::kEscape, 0x1B);
    h.tickAt(300000);  // after a stop
    EXPECT_TRUE(h.completion.calls.empty());
    EXPECT_EQ(h.label(Label::ElapsedTime).text, "    0");
    EXPECT_FALSE(h.window.timerRunning);
}

TEST(ClockTick, ARestartSwitchesARunningTimerOff) {
    Harness h;
    h.start(kCourseAlphabet, false);
    h.key(static_cast<unsigned char>(h.cell(0).input[0]));
    ASSERT_TRUE(h.window.timerRunning);
    const auto again = h.session.buttonKeyDown(Button::Stop, vk::kF10);
    ASSERT_TRUE(again.start);
    EXPECT_FALSE(h.window.timerRunning);
    EXPECT_EQ(h.session.clock().startTick(), -1);
    h.tickAt(h.window.now + 100000);
    EXPECT_TRUE(h.completion.calls.empty());
}

TEST(TextEnd, TheCompletionSeesTheElapsedTimeAndCounters) {
    Harness h;
    h.problems.filler = "A";
    h.startProblem({"A"}, false);
    h.window.now = 1000;
    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        h.window.now = 1000 + static_cast<std::uint32_t>(i) * 25;
        h.key('A');
    }
    ASSERT_EQ(h.completion.calls.size(), 1u);
    EXPECT_EQ(h.completion.calls[0].elapsedMs, 1999 * 25);
    EXPECT_EQ(h.completion.calls[0].charactersTyped, 2000);
    EXPECT_EQ(h.session.elapsedMilliseconds(), 1999 * 25) << "kept after the stop";
}

TEST(Selections, TimeLimitAndSpacingTextsAndFocus) {
    Harness h;
    auto t = h.session.selectTimeLimit(1, false);
    EXPECT_EQ(h.shared.timeLimitIndex, 1);
    EXPECT_EQ(h.session.timeLimitSeconds(), 60);
    EXPECT_EQ(h.label(Label::TimeLimit).text, "   60");
    EXPECT_EQ(t.statusPanel, 1);
    EXPECT_EQ(t.statusText, sj("制限時間 60秒"));
    EXPECT_EQ(t.focus, ExerciseSession::Focus::StartButton);
    t = h.session.selectTimeLimit(2, true);
    EXPECT_EQ(h.label(Label::TimeLimit).text, sj("なし"));
    EXPECT_EQ(t.statusText, sj("制限時間 なし"));
    EXPECT_EQ(t.focus, ExerciseSession::Focus::EditorGrid);
    EXPECT_EQ(h.session.timeLimitSeconds(), 43200);
    h.session.selectTimeLimit(7, false);
    EXPECT_EQ(h.shared.timeLimitIndex, 2) << "out of range keeps to the three items";

    h.start(kCourseAlphabet, false);
    const auto s = h.session.selectSpacing(1, false);
    EXPECT_EQ(h.shared.spacing, 1);
    EXPECT_EQ(s.statusPanel, 2);
    EXPECT_EQ(s.statusText, sj("空白無し"));
    EXPECT_EQ(s.focus, ExerciseSession::Focus::StopButton);
    EXPECT_EQ(h.session.selectSpacing(0, false).statusText, sj("空白有り"));
}

}  // namespace
}  // namespace hayate
