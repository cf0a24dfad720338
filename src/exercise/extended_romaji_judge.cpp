#include "exercise/extended_romaji_judge.h"

#include <bit>

namespace hayate {

namespace {

constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz";

// Every key that is not a letter (a symbol, a digit) shares one bit.
constexpr std::uint32_t kNotALetter = std::uint32_t{1} << 26;

constexpr std::uint32_t bitOf(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? std::uint32_t{1} << (c - 'a') : kNotALetter;
}

constexpr std::uint32_t kVowels = bitOf('a') | bitOf('i') | bitOf('u') | bitOf('e') | bitOf('o');
constexpr std::uint32_t kAllLetters = kNotALetter - 1;
// Input methods double any consonant but n for っ; nn is ん.
constexpr std::uint32_t kDoublable = kAllLetters & ~kVowels & ~bitOf('n');
// A single n stands for ん wherever na.., ya.. and the vowels cannot follow:
// before a consonant, a symbol or a digit (n, → ん、).
constexpr std::uint32_t kAfterSingleN = (kDoublable & ~bitOf('y')) | kNotALetter;

unsigned char foldCase(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

}  // namespace

void ExtendedRomajiJudge::reset(const PracticeGrid& grid) {
    grid_ = &grid;
    firstLetters_[PracticeGrid::kCells] = 0;
    for (int c = PracticeGrid::kCells - 1; c >= 0; --c) {
        const int k = grid.cell(c).kanaIndex;
        const std::uint32_t after = firstLetters_[static_cast<std::size_t>(c + 1)];
        std::uint32_t mask = 0;
        for (const std::string& f : spellings_.single(k)) mask |= bitOf(f[0]);
        if (c + 1 < PracticeGrid::kCells) {
            for (const std::string& f : spellings_.pair(k, grid.cell(c + 1).kanaIndex))
                mask |= bitOf(f[0]);
        }
        if (k == RomajiSpellings::kSmallTsu) mask |= after & kDoublable;
        if (k == RomajiSpellings::kN && (after & kAfterSingleN)) mask |= bitOf('n');
        firstLetters_[static_cast<std::size_t>(c)] = mask;
    }
    active_ = 0;
    sets_[0].size = 0;
    open(sets_[0], 0, 0);
    cell_ = 0;
}

bool ExtendedRomajiJudge::open(PathSet& into, int cell, unsigned char require) const {
    if (cell >= PracticeGrid::kCells) return require == 0;
    auto fits = [require](unsigned char first) {
        if (require == 0) return true;
        if (require == kConsonant) return (bitOf(first) & kAfterSingleN) != 0;
        return first == require;
    };
    const int k = grid_->cell(cell).kanaIndex;
    const auto at = static_cast<std::int16_t>(cell);
    for (const std::string& f : spellings_.single(k)) {
        if (fits(static_cast<unsigned char>(f[0]))) into.push({f, at, 1, 0, 0});
    }
    if (cell + 1 >= PracticeGrid::kCells) return false;
    for (const std::string& f : spellings_.pair(k, grid_->cell(cell + 1).kanaIndex)) {
        if (fits(static_cast<unsigned char>(f[0]))) into.push({f, at, 2, 0, 0});
    }
    const std::uint32_t after = firstLetters_[static_cast<std::size_t>(cell + 1)];
    if (k == RomajiSpellings::kSmallTsu) {
        // The doubled letter of the next kana's primary spelling comes first,
        // so that the hint shows it.
        std::uint32_t m = after & kDoublable;
        const std::span<const std::string> next = spellings_.single(grid_->cell(cell + 1).kanaIndex);
        const auto primary = static_cast<unsigned char>(next.empty() ? 0 : next[0][0]);
        if ((m & bitOf(primary)) && fits(primary)) {
            into.push({kLetters.substr(static_cast<std::size_t>(primary - 'a'), 1), at, 1, 0, primary});
            m &= ~bitOf(primary);
        }
        for (; m != 0; m &= m - 1) {
            const auto i = static_cast<std::size_t>(std::countr_zero(m));
            const auto letter = static_cast<unsigned char>(kLetters[i]);
            if (fits(letter)) into.push({kLetters.substr(i, 1), at, 1, 0, letter});
        }
    } else if (k == RomajiSpellings::kN && (after & kAfterSingleN) && fits('n')) {
        into.push({kLetters.substr('n' - 'a', 1), at, 1, 0, kConsonant});
    }
    return false;
}

ExtendedRomajiJudge::Step ExtendedRomajiJudge::key(unsigned char key) {
    Step step;
    if (cell_ >= PracticeGrid::kCells) return step;
    key = foldCase(key);
    const PathSet& from = sets_[static_cast<std::size_t>(active_)];
    PathSet& to = sets_[static_cast<std::size_t>(1 - active_)];
    to.size = 0;
    bool finished = false;
    int keyCell = PracticeGrid::kCells;
    for (int i = 0; i < from.size; ++i) {
        Path p = from.paths[static_cast<std::size_t>(i)];
        if (static_cast<unsigned char>(p.spelling[p.typed]) != key) continue;
        if (p.cell < keyCell) keyCell = p.cell;
        if (++p.typed < static_cast<int>(p.spelling.size())) {
            to.push(p);
        } else if (open(to, p.cell + p.cells, p.require)) {
            finished = true;
        }
    }
    if (to.size == 0 && !finished) return step;
    step.accepted = true;
    active_ = 1 - active_;
    int next = PracticeGrid::kCells;
    if (finished) {
        to.size = 0;
    } else {
        for (int i = 0; i < to.size; ++i) {
            const int c = to.paths[static_cast<std::size_t>(i)].cell;
            if (c < next) next = c;
        }
    }
    step.completed = next - cell_;
    step.keyCell = keyCell;
    step.finished = finished;
    cell_ = next;
    return step;
}

const ExtendedRomajiJudge::Path* ExtendedRomajiJudge::hintPath() const {
    const PathSet& set = sets_[static_cast<std::size_t>(active_)];
    const Path* best = nullptr;
    for (int i = 0; i < set.size; ++i) {
        const Path& p = set.paths[static_cast<std::size_t>(i)];
        if (p.cell == cell_ && (!best || p.spelling.size() < best->spelling.size())) best = &p;
    }
    return best;
}

std::string_view ExtendedRomajiJudge::hint() const {
    const Path* p = hintPath();
    return p ? p->spelling : std::string_view();
}

int ExtendedRomajiJudge::hintTyped() const {
    const Path* p = hintPath();
    return p ? p->typed : 0;
}

}  // namespace hayate
