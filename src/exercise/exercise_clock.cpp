#include "exercise/exercise_clock.h"

namespace hayate {

void ExerciseClock::arm() {
    timer_.setRunning(false);
    state_ = State::Waiting;
    counted_ = false;
    elapsedAtStop_ = 1;
}

void ExerciseClock::startCounting() {
    startTick_ = ticks_.tickCount();
    state_ = State::Running;
    counted_ = true;
    nextTickMs_ = kIntervalMs;
    timer_.setRunning(true);
}

bool ExerciseClock::tickDue() {
    const int elapsed = elapsedNow();
    if (elapsed < nextTickMs_) {
        timer_.fireIn(static_cast<int>(nextTickMs_ - elapsed));
        return false;
    }
    // A late tick does not push the later ones back: they stay on whole seconds.
    nextTickMs_ = (elapsed / kIntervalMs + 1LL) * kIntervalMs;
    timer_.fireIn(static_cast<int>(nextTickMs_ - elapsed));
    return true;
}

void ExerciseClock::stop() {
    if (state_ == State::Running) elapsedAtStop_ = elapsedNow();
    state_ = State::Off;
    timer_.setRunning(false);
}

std::int64_t ExerciseClock::startTick() const {
    switch (state_) {
        case State::Waiting:
            return -1;
        case State::Running:
            return startTick_;
        case State::Off:
            break;
    }
    return 0;
}

int ExerciseClock::elapsedMilliseconds() {
    if (state_ == State::Running) return elapsedNow();
    return counted_ ? elapsedAtStop_ : 1;
}

int ExerciseClock::elapsedNow() {
    const auto diff = static_cast<std::int32_t>(ticks_.tickCount() - startTick_);
    return diff < 1 ? 1 : diff;
}

}  // namespace hayate
