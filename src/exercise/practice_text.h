// The practice text of an exercise: random characters for the built-in
// courses, or a user problem laid out by the problem subsystem.
#pragma once

#include <string>
#include <vector>

#include "exercise/practice_grid.h"
#include "exercise/random_source.h"
#include "text/char_tables.h"

namespace hayate {

// Built-in course indexes; 5..14 are the user-problem slots 0..9.
enum Course : int {
    kCourseAlphabet = 0,
    kCourseDigits = 1,
    kCourseAlphanumeric = 2,
    kCourseRomaji = 3,
    kCourseKeyTouch = 4,
    kFirstProblemCourse = 5,
    kCourseCount = 15,
};

// Case mode 2 compares letters case-sensitively; any other value ignores case.
constexpr int kCaseSensitive = 2;

struct TextSettings {
    int courseIndex = 0;
    int spacing = 0;     // 0 = with spaces, 1 = without
    int letterCase = 0;  // 0 = upper case, 1 = lower case
    bool kanaMode = false;
};

struct PracticeTextResult {
    enum class Outcome {
        Built,            // all 2000 cells hold practice text
        ProblemRefused,   // the user problem gives no cells; nothing to practise
        NoProblemSource,  // a user-problem course without a problem builder
    };
    Outcome outcome = Outcome::Built;
    int caseMode = 0;
    int letterCase = 0;  // a user problem's kind may change it
};

// Lays out a user problem; the problem subsystem implements it.
class ProblemTextBuilder {
  public:
    virtual ~ProblemTextBuilder() = default;
    // Fills every cell of `grid` from the problem of course `settings.courseIndex`
    // (5..14) and sets `result.caseMode` and `result.letterCase`. Returns false,
    // leaving the grid cleared, when the problem cannot fill the grid.
    virtual bool buildProblemText(PracticeGrid& grid, const TextSettings& settings,
                                  PracticeTextResult& result) = 0;
};

// Clears the grid, sets the bracket forms for the mode and fills every cell.
// `problems` may be null when no user-problem course can be chosen.
PracticeTextResult buildPracticeText(PracticeGrid& grid, CharTables& tables,
                                     const TextSettings& settings, RandomSource& random,
                                     ProblemTextBuilder* problems);

// Weak-spot practice on a built-in course: like buildPracticeText, but draw g
// comes up with a chance proportional to weights[g] (integers of at least 1,
// one per draw of the course, see practiceDrawRange). Spaces, letter case and
// case mode follow the course as usual. False, leaving the grid cleared, for
// a user-problem course or weights of the wrong size.
bool buildWeightedPracticeText(PracticeGrid& grid, CharTables& tables, const TextSettings& settings,
                               RandomSource& random, const std::vector<int>& weights,
                               PracticeTextResult& result);

// How many different draws a built-in course has (26 letters, 10 digits, ...).
int practiceDrawRange(int course);

// The character a built-in course shows for draw g (its cell text), in the
// letter case of `settings`; the key-touch course shows letters in lower case.
std::string practiceCharacter(CharTables& tables, const TextSettings& settings, int g);

// With spaces on, every sixth cell in reading order is a space cell.
constexpr bool isSpaceCellIndex(int index, int spacing) { return spacing == 0 && index % 6 == 5; }

}  // namespace hayate
