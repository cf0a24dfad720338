#include "exercise/practice_text.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "text/width_conversion.h"

namespace hayate {

namespace {

// The symbols of the key-touch course, drawn as entries 36..58.
constexpr std::string_view kKeyTouchSymbols = "!\"#$%&'()=-@:;+*.,/<>?\\";
static_assert(kKeyTouchSymbols.size() == 23);

constexpr int drawRange(int course) {
    switch (course) {
        case kCourseAlphabet:
            return 26;
        case kCourseDigits:
            return 10;
        case kCourseAlphanumeric:
            return 36;
        case kCourseRomaji:
            return 71;  // あ..ん and が..ぽ
        default:
            return 59;  // key touch
    }
}

// Letter, digit or symbol for draw g of the character courses.
char characterFor(int course, int g) {
    if (course == kCourseDigits) return static_cast<char>('0' + g);
    if (g < 26) return static_cast<char>('A' + g);
    if (g < 36) return static_cast<char>('0' + (g - 26));
    return kKeyTouchSymbols[static_cast<std::size_t>(g - 36)];
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

int practiceDrawRange(int course) { return drawRange(course); }

std::string practiceCharacter(CharTables& tables, const TextSettings& settings, int g) {
    const int course = settings.courseIndex;
    if (course == kCourseRomaji) return tables.kana(g);
    const char c = characterFor(course, g);
    const bool lowerText =
        course == kCourseKeyTouch || (settings.letterCase == 1 && !settings.kanaMode);
    return toFullWidth(tables, std::string(1, lowerText ? lower(c) : c));
}

bool buildWeightedPracticeText(PracticeGrid& grid, CharTables& tables, const TextSettings& settings,
                               RandomSource& random, const std::vector<int>& weights,
                               PracticeTextResult& result) {
    result = PracticeTextResult{};
    result.letterCase = settings.letterCase;
    grid.clear();
    const int course = settings.courseIndex;
    if (course < 0 || course >= kFirstProblemCourse ||
        static_cast<int>(weights.size()) != drawRange(course))
        return false;
    tables.setBrackets(settings.kanaMode ? CharTables::Brackets::Corner
                                         : CharTables::Brackets::Square);
    result.caseMode = course == kCourseKeyTouch ? kCaseSensitive : 0;

    std::vector<int> cumulative;
    cumulative.reserve(weights.size());
    int total = 0;
    for (int w : weights) cumulative.push_back(total += std::max(w, 1));
    random.reseed();

    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        if (isSpaceCellIndex(i, settings.spacing)) {
            grid.setSpaceCell(i);
            continue;
        }
        const int r = random.below(total);
        const int g = static_cast<int>(std::upper_bound(cumulative.begin(), cumulative.end(), r) -
                                       cumulative.begin());
        if (course == kCourseRomaji) {
            grid.place(i, g, tables.kana(g), tables.romaji(0, g));
            continue;
        }
        char c = characterFor(course, g);
        // The key-touch course keeps its occasional capital.
        if (course == kCourseKeyTouch && g < 26 && random.below(10) != 0) c = lower(c);
        const bool lowerText =
            settings.letterCase == 1 && !settings.kanaMode && course != kCourseKeyTouch;
        grid.place(i, g, toFullWidth(tables, std::string(1, lowerText ? lower(c) : c)),
                   std::string(1, c));
    }
    return true;
}

PracticeTextResult buildPracticeText(PracticeGrid& grid, CharTables& tables,
                                     const TextSettings& settings, RandomSource& random,
                                     ProblemTextBuilder* problems) {
    PracticeTextResult result;
    result.letterCase = settings.letterCase;

    grid.clear();
    tables.setBrackets(settings.kanaMode ? CharTables::Brackets::Corner
                                         : CharTables::Brackets::Square);
    result.caseMode = 0;

    const int course = settings.courseIndex;
    if (course >= kFirstProblemCourse) {
        if (!problems) {
            result.outcome = PracticeTextResult::Outcome::NoProblemSource;
        } else if (!problems->buildProblemText(grid, settings, result)) {
            result.outcome = PracticeTextResult::Outcome::ProblemRefused;
        }
        return result;
    }

    const int range = drawRange(course);
    if (course == kCourseKeyTouch) result.caseMode = kCaseSensitive;
    random.reseed();

    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        if (isSpaceCellIndex(i, settings.spacing)) {
            grid.setSpaceCell(i);
            continue;
        }
        int g = random.below(range);
        if (course == kCourseKeyTouch && g < 36) g = random.below(range);  // favours the symbols

        if (course == kCourseRomaji) {
            grid.place(i, g, tables.kana(g), tables.romaji(0, g));
            continue;
        }
        char c = characterFor(course, g);
        if (course == kCourseKeyTouch && g < 26 && random.below(10) != 0) c = lower(c);
        const std::string input(1, c);
        std::string text;
        if (settings.letterCase == 1 && !settings.kanaMode && course != kCourseKeyTouch) {
            text = toFullWidth(tables, std::string(1, lower(c)));
        } else {
            text = toFullWidth(tables, input);
        }
        grid.place(i, g, std::move(text), input);
    }
    return result;
}

}  // namespace hayate
