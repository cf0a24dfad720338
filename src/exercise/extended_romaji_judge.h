// The extended romaji judge: follows the practice text the way an input method
// would, keeping at each key every spelling of the text ahead that is still
// possible (し as si, shi or ci; ち＋ゃ as cha; っ by a doubled consonant; ん
// as a single n before a consonant or a symbol). It only decides; the
// keystroke matcher keeps the counters and talks to the display.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "exercise/practice_grid.h"
#include "exercise/romaji_spellings.h"

namespace hayate {

class ExtendedRomajiJudge {
  public:
    explicit ExtendedRomajiJudge(const RomajiSpellings& spellings) : spellings_(spellings) {}

    // A freshly filled grid, typed from cell 0.
    void reset(const PracticeGrid& grid);

    struct Step {
        bool accepted = false;
        bool finished = false;  // the last cell is typed
        int completed = 0;      // cells completed by this key
        // The first cell of the stretch the key was typed for: cells before
        // it are done before the key, the rest of `completed` by it.
        int keyCell = 0;
    };
    // One key; a key that fits no spelling changes nothing. Letters are taken
    // in either case.
    Step key(unsigned char key);

    // The cell the next letters belong to (PracticeGrid::kCells once finished).
    int cell() const { return cell_; }
    // The shortest spelling that continues what has been typed for the
    // current cell, and how many of its letters are typed.
    std::string_view hint() const;
    int hintTyped() const;

  private:
    // Spellings of one stretch that are still open: the letters of `spelling`
    // before `typed` are in.
    struct Path {
        std::string_view spelling;
        std::int16_t cell = 0;   // first cell of the stretch
        std::uint8_t cells = 1;  // cells the stretch covers
        std::uint8_t typed = 0;
        // What the stretch after this one must start with: 0 anything, a
        // letter (a doubled consonant), or kConsonant (after a single n).
        unsigned char require = 0;
    };
    static constexpr unsigned char kConsonant = 1;
    static constexpr int kMaxPaths = 64;

    struct PathSet {
        std::array<Path, kMaxPaths> paths;
        int size = 0;
        void push(const Path& p) {
            if (size < kMaxPaths) paths[static_cast<std::size_t>(size++)] = p;
        }
    };

    // Adds every way to begin typing at `cell`; true when `cell` is the end
    // of the text and nothing more is required.
    bool open(PathSet& into, int cell, unsigned char require) const;
    const Path* hintPath() const;

    const RomajiSpellings& spellings_;
    const PracticeGrid* grid_ = nullptr;
    // Letters a complete typing from each cell can start with (bit 0 = a).
    std::array<std::uint32_t, PracticeGrid::kCells + 1> firstLetters_{};
    // The open spellings, and room for the next key's; they take turns.
    std::array<PathSet, 2> sets_;
    int active_ = 0;
    int cell_ = 0;
};

}  // namespace hayate
