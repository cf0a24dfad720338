// Text helpers of the CSV export: the journal keeps Shift-JIS, spreadsheets
// want UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace hayate::journal {

// Shift-JIS to UTF-8 for the repertoire the trainer uses (ASCII with 5C as
// the backslash, half-width katakana, kana, full-width letters, digits and
// punctuation); anything else becomes U+FFFD.
std::string shiftJisToUtf8(std::string_view sjis);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text);

}  // namespace hayate::journal
