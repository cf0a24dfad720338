// What a file chosen for the import holds as text: its encoding, decided by
// the whole of what was read, and its characters as Shift-JIS, the form every
// rule of the import works on.
#pragma once

#include <string>
#include <string_view>

namespace hayate {

enum class TextEncoding { ShiftJis, Utf8, Utf16LE, Utf16BE };

// By the byte-order mark when there is one (UTF-8, UTF-16 in either order).
// Otherwise UTF-8 when the bytes hold UTF-8 sequences of more than one byte
// and at most one stray byte for every four of them, so that a UTF-8 file
// with a few damaged bytes stays UTF-8 while Shift-JIS text, which breaks
// UTF-8 at nearly every character, never reads as it. A sequence cut off at
// the very end (by the read limit) counts neither way. Shift-JIS otherwise;
// plain ASCII reads the same either way.
TextEncoding detectTextEncoding(std::string_view bytes);

// UTF-8 to Shift-JIS for what an import can take: ASCII (byte for byte; the
// yen sign and the overline become 5C and 7E, as JIS X 0201 has them),
// half-width katakana, hiragana, katakana, full-width digits and letters and
// the JIS X 0208 punctuation row. Any other character, and any malformed
// sequence, becomes 〓 (81 AC), which no problem kind accepts.
std::string utf8ToShiftJis(std::string_view utf8);

struct DecodedText {
    // False for what is no text file: NUL bytes without a byte-order mark,
    // or too many characters that are control characters (other than tab,
    // line ends, form feed and Ctrl+Z) or no character at all in the
    // encoding (a malformed sequence, a lone surrogate, a byte that Shift-JIS
    // does not use): more than half of them, or more than one in eight once
    // there are more than three.
    bool isText = true;
    // Without its byte-order mark; characters of no encoding are 〓.
    std::string sjis;
};
DecodedText decodeImportText(std::string_view bytes);

}  // namespace hayate
