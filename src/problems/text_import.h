// Reading a plain text file into the problem editor: which characters of it a
// problem of each kind takes, in what order they fill the grid, and how much of
// the file is read at all.
//
// Files may be Shift-JIS, UTF-8 (with or without a byte-order mark) or UTF-16
// with its byte-order mark; lines may end in CR LF, CR or LF. The text is
// turned into Shift-JIS first, so that every encoding goes through the same
// rules.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problems/import_decoding.h"
#include "text/char_tables.h"

namespace hayate {

// At most this many non-empty lines are taken from a file.
constexpr int kImportMaxLines = 999;
// At most this many characters fill the grid.
constexpr std::size_t kImportMaxCharacters = 2000;
// More than the line and grid limits can reasonably use: 999 lines of a few
// thousand bytes. The rest of a larger file is never read, so a binary or huge
// file cannot hold the program up.
constexpr std::size_t kImportReadLimit = std::size_t{4} << 20;

enum class ImportOutcome {
    Filled,  // the characters fill the grid (none at all empties it)
    Empty,   // nothing but line ends and control characters: "テキストファイルが空です"
    NotText,  // a binary file, or text in no encoding the import reads
};

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Empty;
    // The accepted characters in order, two Shift-JIS bytes each, at most 2000.
    std::vector<std::string> characters;
};

// Whether a problem of `kind` takes the two-byte character `ch`; on
// acceptance `ch` holds the form that goes into the grid (a letter in the case
// kinds 0 and 2 ask for). `tables` must hold the bracket forms of `kind`.
bool acceptImportCharacter(const CharTables& tables, int kind, std::string& ch);

// The whole import from the file's bytes to the characters of the grid.
// The bracket forms follow `kind` whatever `tables` holds.
// What an import of `text` (the decoded Shift-JIS, cut at Ctrl+Z) comes to
// before its lines are read: Empty when nothing but control characters is
// there, NotText when the file is no text, else Filled.
ImportOutcome importOutcomeOf(const DecodedText& decoded, std::string_view text);

// The next line of an import's text with its control characters taken out:
// empty lines are skipped, at most kImportMaxLines are counted in `lines`,
// and a line of control characters only ends the text (nothing then).
std::optional<std::string> nextImportLine(std::string_view& rest, int& lines);

ImportResult parseImportText(const CharTables& tables, int kind, std::string_view fileBytes);

enum class ImportFileStatus {
    Read,
    NotAFile,    // a folder, a pipe, a device: nothing is read from it
    Unreadable,  // missing, not permitted, or a read failed
};
struct ImportFile {
    ImportFileStatus status = ImportFileStatus::Unreadable;
    std::string bytes;  // the first kImportReadLimit bytes
};
// Never waits: the type is checked before the file is opened and again on
// what was opened, so a pipe or device put in its place in between is not
// read either.
ImportFile readImportFile(const std::filesystem::path& path);

}  // namespace hayate
