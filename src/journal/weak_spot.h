// Weak-spot practice: how often each character of a built-in course comes up,
// from what the journal knows about the learner.
#pragma once

#include <string>
#include <vector>

#include "journal/journal.h"

namespace hayate::journal {

// Exercises of a course the journal needs before weak-spot practice means anything.
inline constexpr int kWeakSpotMinimumExercises = 3;

// One integer weight (at least kWeakSpotBaseWeight) per character of
// `characters` (Shift-JIS, in draw order), from the statistics `stats`:
// characters missed often or typed slowly weigh more. A character the journal
// never saw weighs like an average one, and none weighs less than the base,
// so every character still comes up.
std::vector<int> weakSpotWeights(const std::vector<CharStat>& stats,
                                 const std::vector<std::string>& characters);

inline constexpr int kWeakSpotBaseWeight = 100;

}  // namespace hayate::journal
