// What the journal learns from one exercise, gathered while typing: per
// completed cell the keys that completed it, the misses on it and the time it
// took. Recording is appending to strings kept from the previous exercise, so
// the key path neither allocates nor looks anything up.
#pragma once

#include <string>
#include <vector>

namespace hayate {

struct CapturedCell {
    int cellIndex = 0;
    int msSincePrevious = 0;   // since the previous completion, or the first key press
    std::string typed;         // the keys that were accepted for the cell
    std::string wrongKeys;     // one byte per miss
    std::string expectedKeys;  // the byte that was expected at each miss
};

class ExerciseCapture {
  public:
    void reset();

    void accept(unsigned char key) { current_.typed.push_back(static_cast<char>(key)); }
    // `expected` 0: the matcher had no letter to offer at that point.
    void miss(unsigned char wrong, unsigned char expected) {
        current_.wrongKeys.push_back(static_cast<char>(wrong));
        current_.expectedKeys.push_back(static_cast<char>(expected));
    }
    // The cell at `cellIndex` is done, `elapsedMs` after the first key press.
    void complete(int cellIndex, int elapsedMs);
    // Like complete, but only the first `keep` keys were the cell's: the rest
    // begin the next cell (a syllable typed across two cells, as cha).
    void completeKeeping(int cellIndex, int elapsedMs, std::size_t keep);

    const std::vector<CapturedCell>& cells() const { return cells_; }
    // The cell being typed when the exercise ended: keys and misses so far.
    const CapturedCell& pending() const { return current_; }

  private:
    std::vector<CapturedCell> cells_;
    CapturedCell current_;
    int lastElapsedMs_ = 0;
};

}  // namespace hayate
