#include "problems/problem_text.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "text/user_texts.h"
#include "text/width_conversion.h"

namespace hayate {

namespace {

constexpr std::string_view kFullWidthSpace = "\x81\x40";

// One problem character made ready for a cell.
struct Converted {
    bool space = false;
    int kanaIndex = 0;
    std::string text;
    std::string input;
};

Converted convertOne(const CharTables& tables, int kind, std::string_view ch) {
    Converted c;
    if (kind == kKindRomaji) {
        const int k = kanaIndexOf(tables, ch);
        if (k == -1) {
            c.space = true;
        } else {
            c.kanaIndex = k;
            c.text = std::string(ch);
            c.input = tables.romaji(0, k);
        }
        return c;
    }
    c.kanaIndex = 1;
    c.text = std::string(ch);
    c.input = toHalfWidth(tables, ch);
    return c;
}

// Problems repeat their characters; each is looked up in the tables once.
class Converter {
  public:
    Converter(const CharTables& tables, int kind) : tables_(tables), kind_(kind) {}
    // The map's entries stay where they are, so callers may keep pointers.
    const Converted* operator()(std::string_view ch) {
        auto it = seen_.find(std::string(ch));
        if (it == seen_.end())
            it = seen_.emplace(std::string(ch), convertOne(tables_, kind_, ch)).first;
        return &it->second;
    }

  private:
    const CharTables& tables_;
    int kind_;
    std::unordered_map<std::string, Converted> seen_;
};

void put(PracticeGrid& grid, int i, const Converted* c) {
    if (c->space) {
        grid.setSpaceCell(i);
    } else {
        grid.place(i, c->kanaIndex, c->text, c->input);
    }
}

// Character k (1-based) of a line is bytes 2k-1 and 2k; a line of odd length,
// which only a damaged file has, ends in a one-byte character.
template <typename Fn>
void forEachCharacter(const std::string& line, Fn fn) {
    for (std::size_t at = 0; at < line.size() && at < 2 * kProblemColumns; at += 2) {
        fn(std::string_view(line).substr(at, 2));
    }
}

// Whether the line reaches character position 40, so that no position past
// its end closes the word being read.
bool reachesLastColumn(const std::string& line) { return line.size() > 2 * (kProblemColumns - 1); }

bool layOutAsWritten(PracticeGrid& grid, const CharTables& tables, const ProblemHead& head,
                     const ProblemRows& rows, int spacing) {
    Converter convert(tables, head.kind);
    std::vector<const Converted*> pass;
    for (const std::string& line : rows) {
        if (line.empty()) break;
        forEachCharacter(line, [&](std::string_view ch) { pass.push_back(convert(ch)); });
    }
    if (pass.empty()) return false;
    int i = 0;
    while (i < PracticeGrid::kCells) {
        for (const Converted* c : pass) {
            put(grid, i++, c);
            if (i == PracticeGrid::kCells) return true;
        }
        if (spacing == 0) grid.setSpaceCell(i++);
    }
    return true;
}

bool layOutCharacters(PracticeGrid& grid, const CharTables& tables, RandomSource& random,
                      const ProblemHead& head, const ProblemRows& rows, int spacing) {
    Converter convert(tables, head.kind);
    std::vector<const Converted*> entries;
    for (const std::string& line : rows) {
        forEachCharacter(line, [&](std::string_view ch) {
            if (ch != kFullWidthSpace && entries.size() < kMaxProblemEntries)
                entries.push_back(convert(ch));
        });
    }
    if (entries.empty()) return false;
    random.reseed();
    const int n = static_cast<int>(entries.size());
    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        if (isSpaceCellIndex(i, spacing)) {
            grid.setSpaceCell(i);
        } else {
            put(grid, i, entries[static_cast<std::size_t>(random.below(n))]);
        }
    }
    return true;
}

bool layOutWords(PracticeGrid& grid, const CharTables& tables, RandomSource& random,
                 const ProblemHead& head, const ProblemRows& rows, int spacing) {
    Converter convert(tables, head.kind);
    std::vector<std::vector<const Converted*>> words;
    std::vector<const Converted*> word;
    auto endWord = [&] {
        if (!word.empty() && words.size() < kMaxProblemEntries) words.push_back(std::move(word));
        word.clear();
    };
    for (const std::string& line : rows) {
        if (line.empty()) continue;  // skipped, and a word runs on across it
        forEachCharacter(line, [&](std::string_view ch) {
            if (ch == kFullWidthSpace) {
                endWord();
            } else {
                word.push_back(convert(ch));
            }
        });
        // Reaching a position past the line's end closes the word; a full line does not.
        if (!reachesLastColumn(line)) endWord();
    }
    endWord();
    if (words.empty()) return false;
    random.reseed();
    const int n = static_cast<int>(words.size());
    int i = 0;
    while (i < PracticeGrid::kCells) {
        for (const Converted* c : words[static_cast<std::size_t>(random.below(n))]) {
            put(grid, i++, c);
            if (i == PracticeGrid::kCells) return true;
        }
        if (spacing == 0) grid.setSpaceCell(i++);
    }
    return true;
}

}  // namespace

void adoptProblemKind(int kind, int& letterCase, int& caseMode) {
    switch (kind) {
        case kKindUpperCase:
            letterCase = 0;
            caseMode = 0;
            break;
        case kKindRomaji:
            caseMode = -1;
            break;
        case kKindLowerCase:
            letterCase = 1;
            caseMode = 1;
            break;
        case kKindMixedCase:
            caseMode = kCaseSensitive;
            break;
        default:
            break;
    }
}

bool layOutProblem(PracticeGrid& grid, const CharTables& tables, RandomSource& random,
                   const ProblemHead& head, const ProblemRows& rows, int spacing) {
    switch (head.unit) {
        case kUnitCharacter:
            return layOutCharacters(grid, tables, random, head, rows, spacing);
        case kUnitWord:
            return layOutWords(grid, tables, random, head, rows, spacing);
        case kUnitAsWritten:
            return layOutAsWritten(grid, tables, head, rows, spacing);
        default:
            return false;
    }
}

ProblemPractice::ProblemPractice(ProblemFile& problems, const CharTables& tables,
                                 RandomSource& random)
    : problems_(problems), tables_(tables), random_(random) {}

bool ProblemPractice::buildProblemText(PracticeGrid& grid, const TextSettings& settings,
                                       PracticeTextResult& result) {
    const int slot = settings.courseIndex - kFirstProblemCourse;
    refusal_ = {};
    if (!problems_.loadSlot(slot) && problems_.loadedSlot() != slot) {
        refusal_ = sjisText(UserText::ProblemUnreadableMessage);
        return false;
    }
    const ProblemHead& head = problems_.head(slot);
    result.letterCase = settings.letterCase;
    adoptProblemKind(head.kind, result.letterCase, result.caseMode);
    if (!layOutProblem(grid, tables_, random_, head, problems_.loadedText(), settings.spacing)) {
        refusal_ = sjisText(UserText::ProblemGivesNoTextMessage);
        return false;
    }
    return true;
}

}  // namespace hayate
