// The exercise's clock: it waits after a start, starts counting at the first
// key press and is stopped by the stop operation. Ticks are 32-bit and wrap.
#pragma once

#include <cstdint>

#include "exercise/exercise_ports.h"

namespace hayate {

class ExerciseClock {
  public:
    enum class State {
        Off,      // idle: never started, or stopped
        Waiting,  // an exercise has started; the first key press starts counting
        Running,  // counting; the one-second timer ticks
    };

    static constexpr int kIntervalMs = 1000;

    ExerciseClock(TickSource& ticks, ExerciseTimer& timer) : ticks_(ticks), timer_(timer) {}

    // A new exercise: wait for its first key press, with the timer off.
    void arm();
    // The first key press: take the tick and switch the timer on.
    void startCounting();
    // Timer off. The elapsed time is kept as it was at this moment.
    void stop();
    // Timer off, state unchanged: for a tick that should not have come.
    void silenceTimer() { timer_.setRunning(false); }
    // A timer tick while running: true when a whole second has passed since
    // the last tick that counted. The timer is asked for the next tick either
    // way; a tick that came early (timers may fire early) does not count.
    bool tickDue();

    State state() const { return state_; }
    bool running() const { return state_ == State::Running; }

    // -1 while waiting, the tick of the first key press while running, 0 once
    // stopped (what the rest of the program has always seen).
    std::int64_t startTick() const;

    // Current tick minus start tick as a signed 32-bit difference, so that the
    // counter's wrap at 2^32 does not matter. Never below 1: a counter that
    // stood still or went back reads as 1 ms. After a stop, the time at the
    // stop; before the first key press, 1.
    int elapsedMilliseconds();

  private:
    int elapsedNow();

    TickSource& ticks_;
    ExerciseTimer& timer_;
    State state_ = State::Off;
    std::uint32_t startTick_ = 0;
    bool counted_ = false;  // the clock ran since the last arm
    int elapsedAtStop_ = 1;
    long long nextTickMs_ = kIntervalMs;
};

}  // namespace hayate
