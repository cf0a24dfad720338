#include "journal/weak_spot.h"

#include <gtest/gtest.h>

#include <map>

#include "exercise/practice_text.h"
#include "support/sjis_test_support.h"

namespace hayate::journal {
namespace {

using test::sj;

CharStat stat(const std::string& ch, int seen, int missedCells, double meanMs) {
    return {ch, seen, missedCells, missedCells, meanMs};
}

TEST(WeakSpotWeights, MissesAndSlownessWeighMoreAndNothingFallsBelowTheBase) {
    const std::vector<std::string> chars = {sj("Ａ"), sj("Ｂ"), sj("Ｃ"), sj("Ｄ"), sj("Ｅ")};
    const std::vector<CharStat> stats = {
        stat(sj("Ａ"), 200, 0, 300),    // sure and quick
        stat(sj("Ｂ"), 200, 100, 300),  // missed half the time
        stat(sj("Ｃ"), 200, 0, 900),    // sure but slow
        stat(sj("Ｄ"), 2, 2, 300),      // missed, but seen twice only
        // Ｅ never seen
    };
    const std::vector<int> w = weakSpotWeights(stats, chars);
    ASSERT_EQ(w.size(), chars.size());
    for (int x : w) EXPECT_GE(x, kWeakSpotBaseWeight);
    EXPECT_GT(w[1], 3 * w[0]);
    EXPECT_GT(w[2], 2 * w[0]);
    EXPECT_GT(w[3], w[4]) << "two misses in two still count";
    EXPECT_LT(w[3], w[1]) << "but less than a hundred in two hundred";
    EXPECT_GT(w[4], w[0]) << "an unseen character weighs like an average one";

    const std::vector<int> none = weakSpotWeights({}, chars);
    EXPECT_EQ(none, std::vector<int>(chars.size(), kWeakSpotBaseWeight));
}

// The draw itself, with a fixed seed: over 2000 cells the weak letter comes up
// about as often as its weight says, and every letter comes up.
TEST(WeakSpotDraw, WeakLettersComeUpMoreOftenAndEveryLetterCanAppear) {
    CharTables tables = buildCharTables();
    const TextSettings settings{kCourseAlphabet, 1, 0, false};
    std::vector<std::string> chars;
    for (int g = 0; g < practiceDrawRange(kCourseAlphabet); ++g)
        chars.push_back(practiceCharacter(tables, settings, g));
    ASSERT_EQ(chars.size(), 26u);
    EXPECT_EQ(chars[16], sj("Ｑ"));

    std::vector<CharStat> stats;
    for (const std::string& c : chars) stats.push_back(stat(c, 300, c == sj("Ｑ") ? 150 : 3, 250));
    const std::vector<int> weights = weakSpotWeights(stats, chars);

    Mt19937Source random{20261208};
    PracticeGrid grid;
    PracticeTextResult result;
    ASSERT_TRUE(buildWeightedPracticeText(grid, tables, settings, random, weights, result));
    std::map<std::string, int> count;
    for (int i = 0; i < PracticeGrid::kCells; ++i) count[grid.cell(i).text] += 1;

    int total = 0;
    for (int w : weights) total += w;
    EXPECT_EQ(count.size(), 26u) << "every letter appears";
    for (std::size_t g = 0; g < chars.size(); ++g) {
        const double expected = 2000.0 * weights[g] / total;
        // Five standard deviations of a binomial count: a fault, not chance.
        const double sd = std::sqrt(expected * (1 - expected / 2000.0));
        EXPECT_NEAR(count[chars[g]], expected, 5 * sd) << test::utf8(chars[g]);
    }
    EXPECT_GT(count[sj("Ｑ")], 4 * count[sj("Ａ")]);
    EXPECT_EQ(grid.cell(0).input,
              std::string(1, static_cast<char>('A' + (grid.cell(0).kanaIndex))));

    // Spacing and the wrong number of weights behave as for the normal text.
    const TextSettings spaced{kCourseAlphabet, 0, 0, false};
    ASSERT_TRUE(buildWeightedPracticeText(grid, tables, spaced, random, weights, result));
    EXPECT_EQ(grid.cell(5).input, " ");
    EXPECT_FALSE(buildWeightedPracticeText(grid, tables, spaced, random, {1, 2}, result));
    const TextSettings problem{5, 0, 0, false};
    EXPECT_FALSE(
        buildWeightedPracticeText(grid, tables, problem, random, std::vector<int>(26, 1), result));
}

}  // namespace
}  // namespace hayate::journal
