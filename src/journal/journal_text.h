// Text helpers of the CSV export: the journal keeps Shift-JIS, spreadsheets
// want UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace hayate::journal {

// Shift-JIS (code page 932, 5C the backslash) to UTF-8; a byte that is no
// valid Shift-JIS becomes U+FFFD and the characters around it are kept.
std::string shiftJisToUtf8(std::string_view sjis);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text);

}  // namespace hayate::journal
