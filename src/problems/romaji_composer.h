// Turns the letters typed into the problem editor's romaji kind into kana, one
// key at a time, the way the editor has always done it: the whole pending
// romaji is looked up after every key, a doubled consonant gives a small っ,
// and an "n" before anything that cannot follow it becomes ん at once.
#pragma once

#include <string>

#include "exercise/romaji_spellings.h"
#include "text/char_tables.h"

namespace hayate {

class RomajiComposer {
  public:
    static constexpr int kMaxPending = 4;
    // The input methods' spellings run to four letters (xtsu, hwyu), five doubled.
    static constexpr int kMaxPendingExtended = 5;

    explicit RomajiComposer(const CharTables& tables) : tables_(tables) {}

    // The kana (or symbol) that one typed byte completes, as Shift-JIS: one
    // two-byte character per cell, at most three (っ and a kana pair); empty
    // while the romaji is still pending. An "n" followed by a key that cannot
    // continue it gives ん, and that key stays pending on its own.
    // Control bytes and bytes without a full-width form (lead bytes among
    // them) give nothing and leave the pending romaji as it was.
    std::string type(unsigned char ch);

    const std::string& pending() const { return pending_; }
    void clear() { pending_.clear(); }

    // With a table, every spelling the input methods accept is taken as well
    // (cha, fa, xtsu, n' ...); null keeps the editor's own spellings only.
    void setSpellings(const RomajiSpellings* extended) { extended_ = extended; }

  private:
    // The kana of a complete spelling, or null.
    const std::string* kanaOf(std::string_view romaji) const;

    const CharTables& tables_;
    const RomajiSpellings* extended_ = nullptr;
    std::string pending_;  // lower-cased, at most kMaxPending(Extended) bytes
};

}  // namespace hayate
