// Shift-JIS byte strings: the program keeps every text exactly as its files
// store it, so these helpers work on bytes, never on decoded characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hayate {

// A byte in 81..9F or E0..FC starts a two-byte character.
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the character that starts at `pos`: 2 for a lead byte
// with a byte after it, otherwise 1 (a lead byte at the very end stands alone).
inline std::size_t charLengthAt(std::string_view text, std::size_t pos) {
    return (isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
}

// One two-byte character from its code, e.g. sjisChar(0x82A0) is あ.
inline std::string sjisChar(unsigned code) {
    return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// Turns UTF-8 source text into Shift-JIS, so that tables and fixed texts can be
// written with the kana and symbols a reader recognises. It knows ASCII, the
// hiragana and katakana blocks, the full-width digits and letters and the
// punctuation row of JIS X 0208 (81 40..81 FC); anything else is a programming
// error and throws std::invalid_argument.
std::string sjisLiteral(std::u8string_view utf8);

// The two-byte Shift-JIS code of a code point in that same repertoire (hiragana,
// katakana, full-width digits and letters, JIS X 0208 row 1), or 0 outside it.
unsigned sjisCodeFor(char32_t cp);

}  // namespace hayate
