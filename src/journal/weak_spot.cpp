#include "journal/weak_spot.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace hayate::journal {

namespace {

// A few sightings say little: the rate of a character seen rarely is pulled
// towards the learner's overall rate as if it had been seen this many more times.
constexpr double kPriorCells = 5.0;
constexpr double kMissFactor = 8.0;  // a character missed every time weighs 9 times the base
constexpr double kSlowFactor = 2.0;  // twice the usual time adds twice the base
constexpr double kMaxSlowness = 3.0;

}  // namespace

std::vector<int> weakSpotWeights(const std::vector<CharStat>& stats,
                                 const std::vector<std::string>& characters) {
    std::map<std::string, const CharStat*> byCharacter;
    for (const CharStat& s : stats) byCharacter[s.character] = &s;

    // The learner's overall rate and pace over the course's own characters.
    double seen = 0, missed = 0, ms = 0;
    for (const std::string& c : characters) {
        const auto it = byCharacter.find(c);
        if (it == byCharacter.end()) continue;
        seen += it->second->seen;
        missed += it->second->missedCells;
        ms += it->second->meanMs * it->second->seen;
    }
    const double overallRate = seen > 0 ? missed / seen : 0.0;
    const double overallMs = seen > 0 ? ms / seen : 0.0;

    std::vector<int> weights;
    weights.reserve(characters.size());
    for (const std::string& c : characters) {
        const auto it = byCharacter.find(c);
        const CharStat* s = it == byCharacter.end() ? nullptr : it->second;
        const double n = s ? s->seen : 0.0;
        const double rate =
            ((s ? s->missedCells : 0.0) + kPriorCells * overallRate) / (n + kPriorCells);
        double slowness = 0.0;
        if (s && s->seen > 0 && overallMs > 0)
            slowness = std::clamp(s->meanMs / overallMs - 1.0, 0.0, kMaxSlowness);
        const double w = 1.0 + kMissFactor * rate + kSlowFactor * slowness;
        weights.push_back(static_cast<int>(std::lround(w * kWeakSpotBaseWeight)));
    }
    return weights;
}

}  // namespace hayate::journal
