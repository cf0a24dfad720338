#include "exercise/exercise_capture.h"

#include <algorithm>

#include "exercise/practice_grid.h"

namespace hayate {

void ExerciseCapture::reset() {
    // Keeps the capacity: the next exercise fills the same storage.
    cells_.clear();
    cells_.reserve(PracticeGrid::kCells);
    current_ = CapturedCell{};
    lastElapsedMs_ = 0;
}

void ExerciseCapture::complete(int cellIndex, int elapsedMs) {
    current_.cellIndex = cellIndex;
    current_.msSincePrevious = elapsedMs > lastElapsedMs_ ? elapsedMs - lastElapsedMs_ : 0;
    lastElapsedMs_ = elapsedMs;
    cells_.push_back(std::move(current_));
    current_ = CapturedCell{};
}

void ExerciseCapture::completeKeeping(int cellIndex, int elapsedMs, std::size_t keep) {
    std::string rest = keep < current_.typed.size() ? current_.typed.substr(keep) : std::string();
    current_.typed.resize(std::min(keep, current_.typed.size()));
    complete(cellIndex, elapsedMs);
    current_.typed = std::move(rest);
}

}  // namespace hayate
