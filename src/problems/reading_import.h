// The import of the romaji kind with readings: the text's kanji and katakana
// become the hiragana a reading source finds for them, the words are shown
// to the user, and what the user confirmed goes through the import's rules
// into the grid, like the kana of a plain import.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "problems/text_import.h"
#include "reading/reading_source.h"
#include "text/char_tables.h"

namespace hayate {

// The lines the import takes from a file (the same lines, limits and end
// of text as the plain import), as UTF-8 with the control characters
// removed; kanji survive here, whatever the file's encoding.
struct ImportLines {
    ImportOutcome outcome = ImportOutcome::Empty;
    std::vector<std::string> lines;
};
ImportLines importLinesOf(std::string_view fileBytes);

// Whether any line holds kanji or katakana, which only a reading makes
// typeable.
bool hasCharactersToRead(const ImportLines& text);

using ReadingLines = std::vector<std::vector<ReadingWord>>;

struct ReadText {
    // The words of the lines, read only as far as their readings fill the
    // grid: the rest could never reach it.
    ReadingLines lines;
    // Characters of all the lines, read or not.
    std::size_t totalCharacters = 0;
};
ReadText readForGrid(ReadingSource& source, const CharTables& tables, int kind,
                     const ImportLines& text);

struct ReadingFill {
    // At most 2000 characters, two Shift-JIS bytes each, as the plain import
    // gives them.
    std::vector<std::string> characters;
    // Characters of the original text up to and including the word that
    // filled the grid, and of the whole text.
    std::size_t takenCharacters = 0;
    std::size_t totalCharacters = 0;
};
// By the readings of `lines` (as the user confirmed them).
ReadingFill fillFromReadings(const CharTables& tables, int kind, const ReadingLines& lines,
                             std::size_t totalCharacters);

// How much of the text went into the grid (UTF-8, for the window); empty
// when all of it did.
std::string takenNotice(const ReadingFill& fill);

}  // namespace hayate
