// Long random key sequences, mixed with the right keys so that exercises get
// to their end, thrown at the session in every state: whatever arrives, the
// counters never go back, the cell position stays in 0..2000, completed
// cells stay completed and an exercise ends at most once.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "exercise_fakes.h"

namespace hayate {
namespace {

using test::FakeWindow;
using test::Harness;

struct Config {
    const char* name;
    int course;
    bool kanaMode;
};

class InvariantRun {
  public:
    InvariantRun(const Config& config, std::uint32_t seed) : config_(config), rng_(seed) {
        // Every look-ahead case, in a user problem that repeats it.
        h_.problems.cells = {"か", "っ", "た", "ん", "か", "う", "ぁ", "し", "ゃ", "ち", "ゃ", "じ",
                             "ゃ", "ふ", "ぇ", "っ", "ち", "ん", "あ", "ん", "　", "ー", "、", "う",
                             "ぃ", "ゃ", "っ", "っ", "ん", "や", "ひ", "ぃ", "つ", "ぢ", "ん"};
        if (!config.kanaMode) h_.problems.cells = {"A", "b", "1", "!", " ", "z", "[", "-"};
        h_.problems.cycle = true;
        h_.problems.caseMode = config.kanaMode ? 0 : 2;
    }

    void run(int events) {
        restart();
        for (int i = 0; i < events; ++i) {
            step();
            check(i % 400 == 0);
            if (::testing::Test::HasFailure()) return;
        }
    }

    int exercisesFinished() const { return finished_; }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    void restart() {
        // Half the exercises are left alone by Esc, restarts and time limits,
        // so that their texts get finished.
        stops_ = pick(2) == 0;
        h_.shared.timeLimitIndex = stops_ ? pick(3) : 2;
        h_.shared.courseIndex = config_.course;
        h_.shared.kanaMode = config_.kanaMode;
        const auto r = h_.session.buttonKeyDown(ExerciseSession::Button::Start, vk::kF10);
        ASSERT_TRUE(r.start);
        ASSERT_EQ(r.start->outcome, ExerciseSession::StartResult::Outcome::Started);
        newExercise();
    }

    void newExercise() {
        last_ = {};
        wasIdle_ = false;
        callsAtStart_ = h_.completion.calls.size();
        idleFor_ = 0;
    }

    void step() {
        if (h_.session.state() == ExerciseSession::State::Idle && ++idleFor_ > 40) {
            restart();
            return;
        }
        const int roll = pick(10000);
        if (roll < 6500) {
            typeRightKey();
        } else if (roll < 8800) {
            h_.key(anyKeyButEsc(), static_cast<unsigned char>(pick(256)));
        } else if (roll < 9200) {
            h_.session.gridKeyPress(static_cast<unsigned char>(pick(256)));
        } else if (roll < 9500) {
            h_.session.gridKeyDown(anyKeyButEsc());
        } else if (roll < 9800) {
            h_.tickAt(h_.window.now + static_cast<std::uint32_t>(pick(4000)));
        } else if (roll < 9950) {
            static constexpr FakeWindow::Focus kTargets[] = {FakeWindow::Focus::Grid,
                                                             FakeWindow::Focus::CourseList,
                                                             FakeWindow::Focus::StartButton};
            h_.window.moveFocus(kTargets[pick(3)]);
        } else if (roll < 9990) {
            // Space, Enter and Up on the buttons, and presses of the visible ones.
            const int vkCode =
                std::array{vk::kSpace, vk::kEnter, vk::kUp}[static_cast<std::size_t>(pick(3))];
            const bool idle = h_.session.state() == ExerciseSession::State::Idle;
            const auto b = pick(2) == 0 ? ExerciseSession::Button::End
                           : idle       ? ExerciseSession::Button::Start
                                        : ExerciseSession::Button::Stop;
            auto r = h_.session.buttonKeyDown(b, vkCode);
            if ((idle || stops_) && pick(2) == 0) r = h_.session.buttonPressed(b);
            if (r.start && r.start->outcome == ExerciseSession::StartResult::Outcome::Started)
                newExercise();
        } else if (stops_) {
            const int what = pick(3);
            if (what == 0) h_.key(vk::kEscape, 0x1B);
            if (what == 1) h_.session.buttonPressed(ExerciseSession::Button::Stop);
            if (what == 2) {
                const auto r = h_.session.courseListKeyDown(vk::kF10);
                if (r.start && r.start->outcome == ExerciseSession::StartResult::Outcome::Started)
                    newExercise();
            }
        }
    }

    // Esc comes only as one of the rare stops above.
    int anyKeyButEsc() {
        const int code = pick(255);
        return code >= vk::kEscape ? code + 1 : code;
    }

    void typeRightKey() {
        const std::string r = h_.session.matcher().expectedRomaji();
        const auto p = static_cast<std::size_t>(h_.session.matcher().romajiPosition());
        if (p < 1 || p > r.size()) {
            h_.key(static_cast<unsigned char>(pick(256)));
            return;
        }
        unsigned char c = static_cast<unsigned char>(r[p - 1]);
        if (pick(20) == 0 && c >= 'a' && c <= 'z')
            c = static_cast<unsigned char>(c - 32);  // Caps Lock
        h_.window.now += static_cast<std::uint32_t>(pick(300));
        h_.key(c);
    }

    struct Counters {
        int chars = 0, misses = 0, keystrokes = 0, position = 0;
    };

    void check(bool wholeGrid) {
        const KeystrokeMatcher& m = h_.session.matcher();
        const Counters now{m.charactersTyped(), m.missCount(), m.keystrokeCount(),
                           m.cellPosition()};
        ASSERT_GE(now.chars, last_.chars);
        ASSERT_GE(now.misses, last_.misses);
        ASSERT_GE(now.keystrokes, last_.keystrokes);
        ASSERT_GE(now.position, last_.position);
        ASSERT_GE(now.position, 0);
        ASSERT_LE(now.position, PracticeGrid::kCells);
        ASSERT_EQ(now.chars, now.position);
        if (!config_.kanaMode) {
            ASSERT_EQ(now.keystrokes, 0);
        }
        ASSERT_EQ(m.typedLetters().size() + 1, static_cast<std::size_t>(m.romajiPosition()));
        ASSERT_GE(m.alternativeIndex(), 0);
        ASSERT_LE(m.alternativeIndex(), 2);
        const bool idle = h_.session.state() == ExerciseSession::State::Idle;
        if (idle) {
            ASSERT_FALSE(h_.window.timerRunning);
        }
        if (idle && wasIdle_) {
            ASSERT_TRUE(now.chars == last_.chars && now.misses == last_.misses &&
                        now.keystrokes == last_.keystrokes)
                << "nothing counts between exercises";
        }
        wasIdle_ = idle;

        const std::size_t ends = h_.completion.calls.size() - callsAtStart_;
        ASSERT_LE(ends, 1u) << "an exercise ends once";
        if (now.position == PracticeGrid::kCells) {
            ASSERT_EQ(ends, 1u);
            ASSERT_EQ(h_.completion.calls.back().kind, ExerciseEnd::LastCell);
            if (now.position != last_.position) ++finished_;
        }

        const int from = wholeGrid ? 0 : std::max(0, now.position - 3);
        const int to =
            wholeGrid ? PracticeGrid::kCells : std::min(PracticeGrid::kCells, now.position + 3);
        for (int i = from; i < to; ++i) {
            const Colour c = h_.cell(i).colour;
            if (i < now.position) {
                ASSERT_EQ(c, colour::kBlue) << "cell " << i << " was completed";
            } else if (i == now.position) {
                ASSERT_NE(c, colour::kBlue);
            } else {
                ASSERT_EQ(c, colour::kNone) << "cell " << i << " is not reached yet";
            }
        }
        last_ = now;
    }

    Config config_;
    std::mt19937 rng_;
    Harness h_;
    Counters last_;
    std::size_t callsAtStart_ = 0;
    int idleFor_ = 0;
    bool wasIdle_ = false;
    bool stops_ = false;
    int finished_ = 0;
};

TEST(ExerciseInvariants, RandomKeysInEveryStateAndMode) {
    const Config configs[] = {
        {"kana user problem", kFirstProblemCourse, true},
        {"romaji course", kCourseRomaji, true},
        {"key touch", kCourseKeyTouch, false},
        {"character user problem", kFirstProblemCourse + 9, false},
    };
    for (const Config& config : configs) {
        int finished = 0;
        for (std::uint32_t seed : {1u, 2u, 3u}) {
            SCOPED_TRACE(std::string(config.name) + ", seed " + std::to_string(seed));
            InvariantRun run(config, seed);
            run.run(config.kanaMode ? 30000 : 15000);
            finished += run.exercisesFinished();
            if (HasFailure()) return;
        }
        // The right keys outnumber the rest, so some texts must get finished.
        EXPECT_GT(finished, 0) << config.name;
        RecordProperty(std::string("finished ") + config.name, finished);
    }
}

}  // namespace
}  // namespace hayate
