// Conversions through the character tables: half-width to full-width and back,
// and the lookups of kana and romaji by content.
#pragma once

#include <string>
#include <string_view>

#include "text/char_tables.h"

namespace hayate {

// Every character in its full-width form; half-width katakana followed by a
// voiced or semi-voiced mark join into one katakana where one exists.
std::string toFullWidth(const CharTables& tables, std::string_view text);

// Every two-byte character in its half-width form: the lowest table slot
// holding it wins; a character without one becomes an ASCII space.
std::string toHalfWidth(const CharTables& tables, std::string_view text);

// Kana index 0..173 of an exact kana-table entry, or -1.
int kanaIndexOf(const CharTables& tables, std::string_view text);

// Kana index of the first romaji-table entry equal to `text`, searching rows
// 0, 1, 2 in turn; `row` receives the row. -1 (row untouched) when none is.
int romajiIndexOf(const CharTables& tables, std::string_view text, int& row);

}  // namespace hayate
