// Reading a plain text file into the problem editor: which characters of it a
// problem of each kind takes, in what order they fill the grid, and how much of
// the file is read at all.
//
// Files may be Shift-JIS or UTF-8 (with or without a byte-order mark); lines
// may end in CR LF, CR or LF. UTF-8 text is turned into Shift-JIS first, so
// that both encodings go through the same rules.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

struct ImportResult {
    // The file held no non-empty line: "テキストファイルが空です".
    bool empty = true;
    // The accepted characters in order, two Shift-JIS bytes each, at most 2000.
    std::vector<std::string> characters;
};

enum class TextEncoding { ShiftJis, Utf8 };

// UTF-8 when the bytes start with its byte-order mark, or when they are valid
// UTF-8 and hold at least one multi-byte sequence (a sequence cut off by the
// read limit at the very end still counts as valid); Shift-JIS otherwise.
// Plain ASCII reads the same either way.
TextEncoding detectTextEncoding(std::string_view bytes);

// UTF-8 to Shift-JIS for what an import can take: ASCII (byte for byte; the
// yen sign and the overline become 5C and 7E, as JIS X 0201 has them),
// half-width katakana, hiragana, katakana, full-width digits and letters and
// the JIS X 0208 punctuation row. Any other character, and any malformed
// sequence, becomes 〓 (81 AC), which no problem kind accepts.
std::string utf8ToShiftJis(std::string_view utf8);

// Whether a problem of `kind` takes the two-byte character `ch`; on
// acceptance `ch` holds the form that goes into the grid (a letter in the case
// kinds 0 and 2 ask for). `tables` must hold the bracket forms of `kind`.
bool acceptImportCharacter(const CharTables& tables, int kind, std::string& ch);

// The whole import from the file's bytes to the characters of the grid.
// The bracket forms follow `kind` whatever `tables` holds.
ImportResult parseImportText(const CharTables& tables, int kind, std::string_view fileBytes);

// The first kImportReadLimit bytes of a regular file, or nothing when it
// cannot be read (a folder, a device or a pipe counts as unreadable).
std::optional<std::string> readImportFile(const std::filesystem::path& path);

}  // namespace hayate
