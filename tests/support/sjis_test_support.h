// Test helpers: an independent UTF-8 to Shift-JIS (code page 932) converter
// from the C library, so that expectations are not computed by the code under
// test, and readable dumps of byte strings.
#pragma once

#include <string>
#include <string_view>

namespace hayate::test {

// UTF-8 to Shift-JIS through iconv (CP932); fails the test on bytes it cannot convert.
std::string sj(std::string_view utf8);

// Shift-JIS to UTF-8 through iconv, for messages.
std::string utf8(std::string_view sjis);

// "82 A0 41" style dump.
std::string hex(std::string_view bytes);

}  // namespace hayate::test
