// The clock's arithmetic and the statistics texts, without a session.
#include "exercise/exercise_clock.h"

#include <gtest/gtest.h>

#include <limits>

#include "exercise/exercise_stats.h"
#include "exercise_fakes.h"

namespace hayate {
namespace {

using test::sj;

TEST(ExerciseStats, SpeedRoundsHalvesUp) {
    EXPECT_EQ(perMinute(30, 20000), 90);
    EXPECT_EQ(perMinute(1, 7000), 9);    // 8.57 + 0.5
    EXPECT_EQ(perMinute(1, 120000), 1);  // 0.5 + 0.5
    EXPECT_EQ(perMinute(1, 240001), 0);
    EXPECT_EQ(perMinute(0, 1000), 0);
    EXPECT_EQ(perMinute(2000, 400000), 300);
    EXPECT_EQ(perMinute(3, 0), 180000) << "no division by zero";
    EXPECT_EQ(perMinute(3, -5), 180000);
}

TEST(ExerciseStats, ElapsedTextSwitchesFormAfterSixtySeconds) {
    EXPECT_EQ(elapsedText(0), "    0");
    EXPECT_EQ(elapsedText(999), "    0");
    EXPECT_EQ(elapsedText(59999), "   59");
    EXPECT_EQ(elapsedText(60000), "   60");
    EXPECT_EQ(elapsedText(60999), "   60");
    EXPECT_EQ(elapsedText(61000), " 1'1\"");
    EXPECT_EQ(elapsedText(125000), " 2'5\"");
    EXPECT_EQ(elapsedText(43200000), " 720'0\"");
}

TEST(ExerciseStats, FixedTexts) {
    EXPECT_EQ(formatCount(7), "    7");
    EXPECT_EQ(formatCount(0), "    0");
    EXPECT_EQ(formatCount(2000), " 2000");
    EXPECT_EQ(formatCount(123456), "123456");
    EXPECT_EQ(formatCount(-42), "  -42");
    EXPECT_EQ(formatCount(std::numeric_limits<int>::min()), "-2147483648");
    EXPECT_EQ(keystrokeSpeedText(123), " 123 " + sj("／分"));
    EXPECT_EQ(timeLimitLabelText(0), "   30");
    EXPECT_EQ(timeLimitLabelText(1), "   60");
    EXPECT_EQ(timeLimitLabelText(2), sj("なし"));
    EXPECT_EQ(timeLimitStatusText(0), sj("制限時間 30秒"));
    EXPECT_EQ(timeLimitStatusText(1), sj("制限時間 60秒"));
    EXPECT_EQ(timeLimitStatusText(2), sj("制限時間 なし"));
    EXPECT_EQ(spacingStatusText(0), sj("空白有り"));
    EXPECT_EQ(spacingStatusText(1), sj("空白無し"));
    EXPECT_EQ(escToStopText(), sj("【ＥＳＣ】で中止"));
}

class ClockTest : public ::testing::Test {
  protected:
    test::FakeWindow window;
    ExerciseClock clock{window, window};
};

TEST_F(ClockTest, WaitsThenCountsThenStops) {
    EXPECT_EQ(clock.state(), ExerciseClock::State::Off);
    clock.arm();
    EXPECT_EQ(clock.startTick(), -1);
    EXPECT_FALSE(window.timerRunning);
    EXPECT_EQ(clock.elapsedMilliseconds(), 1);

    window.now = 70000;
    clock.startCounting();
    EXPECT_TRUE(window.timerRunning);
    EXPECT_EQ(clock.startTick(), 70000);
    window.now = 72500;
    EXPECT_EQ(clock.elapsedMilliseconds(), 2500);

    clock.stop();
    EXPECT_FALSE(window.timerRunning);
    EXPECT_EQ(clock.startTick(), 0);
    window.now = 99000;
    EXPECT_EQ(clock.elapsedMilliseconds(), 2500) << "the time at the stop";
}

TEST_F(ClockTest, TickDifferenceIsThirtyTwoBitAndNeverBelowOne) {
    clock.arm();
    window.now = std::numeric_limits<std::uint32_t>::max() - 999;  // 1000 ms before the wrap
    clock.startCounting();
    EXPECT_EQ(clock.elapsedMilliseconds(), 1) << "no time has passed yet";
    window.now = 29000;
    EXPECT_EQ(clock.elapsedMilliseconds(), 30000);
    window.now = std::numeric_limits<std::uint32_t>::max() - 2000;  // the counter went back
    EXPECT_EQ(clock.elapsedMilliseconds(), 1);
}

}  // namespace
}  // namespace hayate
