// The practice text of a user problem: its characters laid into the 2000
// practice cells one by one, as words, or as written.
#pragma once

#include <string_view>

#include "exercise/practice_grid.h"
#include "exercise/practice_text.h"
#include "exercise/random_source.h"
#include "problems/problem_file.h"
#include "text/char_tables.h"

namespace hayate {

// Characters or words drawn from; later ones in reading order are left out.
inline constexpr int kMaxProblemEntries = 1000;

// The letter case and case mode a problem kind asks for; the course selection
// applies the same rule. Kinds 1 and 3 (and unknown ones) keep the letter case.
void adoptProblemKind(int kind, int& letterCase, int& caseMode);

// Lays `rows` into the cleared `grid` by the unit and kind of `head`. Returns
// false, touching nothing, when the problem yields no characters to type.
bool layOutProblem(PracticeGrid& grid, const CharTables& tables, RandomSource& random,
                   const ProblemHead& head, const ProblemRows& rows, int spacing);

class ProblemPractice final : public ProblemTextBuilder {
  public:
    ProblemPractice(ProblemFile& problems, const CharTables& tables, RandomSource& random);

    // Loads slot course - 5 and lays it out. A failed load uses the text of an
    // earlier load of the same slot; without one the start is refused.
    bool buildProblemText(PracticeGrid& grid, const TextSettings& settings,
                          PracticeTextResult& result) override;

    // Why the last build was refused (Shift-JIS), empty after a successful one.
    std::string_view refusalMessage() const { return refusal_; }

  private:
    ProblemFile& problems_;
    const CharTables& tables_;
    RandomSource& random_;
    std::string_view refusal_;
};

}  // namespace hayate
