// Every romaji spelling that the common Japanese input methods turn into the
// kana of the trainer, for the extended romaji mode: one kana typed on its own
// (し: si, shi, ci) and a kana with the small kana after it typed as one
// syllable (ち＋ゃ: tya, cya, cha). The two spellings that depend on what
// follows (a doubled consonant for っ, a single n for ん) are rules of the
// judge, not entries here.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/char_tables.h"

namespace hayate {

class RomajiSpellings {
  public:
    // Kana indexes of the small kana ぁ..っ, the only second halves of a pair.
    static constexpr int kFirstSmall = 71;
    static constexpr int kLastSmall = 79;
    static constexpr int kSmallTsu = 79;
    static constexpr int kN = 45;  // ん

    // Spellings of the kana (or symbol) at `kanaIndex` typed on its own; the
    // primary one first. Empty outside the kana table.
    std::span<const std::string> single(int kanaIndex) const;
    // Spellings of the kana at `first` and the small kana at `second` typed as
    // one syllable; empty when the input methods have none.
    std::span<const std::string> pair(int first, int second) const;

    // The kana that a complete spelling gives, as Shift-JIS (one kana or a
    // pair), or null.
    const std::string* kanaFor(std::string_view romaji) const;

    // Every spelling with the kana it gives, for checks against other lists.
    const std::unordered_map<std::string, std::string>& all() const { return byRomaji_; }

    explicit RomajiSpellings(const CharTables& tables);

  private:
    static constexpr int kSmallCount = kLastSmall - kFirstSmall + 1;
    std::array<std::vector<std::string>, CharTables::kLastKanaIndex + 1> singles_;
    std::array<std::vector<std::string>, kFirstSmall * kSmallCount> pairs_;
    std::unordered_map<std::string, std::string> byRomaji_;
};

// The table, built on first use from the trainer's own kana table; the program
// asks for it once at start-up so that no key ever waits for it.
const RomajiSpellings& romajiSpellings();

}  // namespace hayate
