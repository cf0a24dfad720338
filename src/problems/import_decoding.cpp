#include "problems/import_decoding.h"

#include <cstddef>

#include "text/sjis.h"

namespace hayate {

namespace {

constexpr unsigned kGetaMark = 0x81AC;  // 〓, the usual stand-in for a missing character
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// Length of the well-formed UTF-8 sequence at `i`, 0 when it is malformed,
// -1 when it is cut off by the end of the bytes.
int utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        if (b == 0xE0) low = 0xA0;   // no overlong forms
        if (b == 0xED) high = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    for (int k = 1; k < length; ++k) {
        if (i + static_cast<std::size_t>(k) >= s.size()) return -1;
        const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        const unsigned char lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
        if (c < lo || c > hi) return 0;
    }
    return length;
}

char32_t decodeUtf8(std::string_view s, std::size_t i, int length) {
    const auto b = static_cast<unsigned char>(s[i]);
    char32_t cp = length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < length; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0x3F);
    return cp;
}

// Shift-JIS code of a code point outside ASCII, or 0.
unsigned shiftJisCodeOf(char32_t cp) {
    // Code points that JIS and Microsoft's code page map to the same
    // character differently; files from either side may hold them.
    switch (cp) {
        case 0x301C:
            return 0x8160;  // wave dash ～
        case 0x2212:
            return 0x817C;  // minus sign －
        case 0x2014:
            return 0x815C;  // em dash ―
        case 0x2016:
            return 0x8161;  // double vertical line ∥
        case 0x00A2:
            return 0x8191;  // cent sign ￠
        case 0x00A3:
            return 0x8192;  // pound sign ￡
        default:
            break;
    }
    // The known repertoire lies below the CJK ideographs (apart from 仝 in
    // the punctuation row) and in the full-width forms; skipping everything
    // else keeps long runs of kanji cheap.
    if (cp < 0x3400 || cp == 0x4EDD || (cp >= 0xFF00 && cp <= 0xFFEF)) return sjisCodeFor(cp);
    return 0;
}

void appendShiftJis(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp == 0x00A5) {
        out.push_back('\x5C');  // yen sign
    } else if (cp == 0x203E) {
        out.push_back('\x7E');  // overline
    } else if (cp >= 0xFF61 && cp <= 0xFF9F) {
        out.push_back(static_cast<char>(0xA1 + (cp - 0xFF61)));  // half-width katakana
    } else {
        const unsigned code = shiftJisCodeOf(cp);
        out += sjisChar(code != 0 ? code : kGetaMark);
    }
}

// The decoded text with the number of characters in it that no encoding
// has: malformed sequences, lone surrogates, bytes Shift-JIS does not use.
struct Decoding {
    std::string sjis;
    std::size_t malformed = 0;
};

Decoding fromUtf8(std::string_view utf8) {
    Decoding d;
    d.sjis.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const int length = utf8SequenceLength(utf8, i);
        if (length <= 0) {
            // One stand-in per malformed byte, so that nothing is joined.
            d.sjis += sjisChar(kGetaMark);
            if (length == 0) ++d.malformed;  // a cut-off end is no fault of the file
            ++i;
            continue;
        }
        appendShiftJis(d.sjis, length == 1 ? static_cast<unsigned char>(utf8[i])
                                           : decodeUtf8(utf8, i, length));
        i += static_cast<std::size_t>(length);
    }
    return d;
}

Decoding fromUtf16(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    Decoding d;
    d.sjis.reserve(bytes.size());
    // An odd last byte is a unit cut off by the read limit.
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        char32_t cp = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 &&
            unitAt(i + 2) <= 0xDFFF) {
            cp = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
            i += 2;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            if (i + 3 < bytes.size()) ++d.malformed;  // not cut off at the end
            d.sjis += sjisChar(kGetaMark);
            continue;
        }
        appendShiftJis(d.sjis, cp);
    }
    return d;
}

// Shift-JIS is taken as it is; only its unused bytes are counted.
std::size_t malformedShiftJis(std::string_view s) {
    std::size_t malformed = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (isLeadByte(b)) {
            if (i + 1 == s.size()) break;  // cut off at the end
            const auto t = static_cast<unsigned char>(s[i + 1]);
            if (t >= 0x40 && t <= 0xFC && t != 0x7F) {
                i += 2;
                continue;
            }
            ++malformed;
        } else if (b == 0x80 || b == 0xA0 || b >= 0xFD) {
            ++malformed;
        }
        ++i;
    }
    return malformed;
}

// Control characters that plain text holds: tab, line feed, vertical tab,
// form feed, carriage return, and Ctrl+Z at its end.
bool isTextControl(unsigned char b) { return (b >= 0x09 && b <= 0x0D) || b == 0x1A; }

}  // namespace

TextEncoding detectTextEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return TextEncoding::Utf8;
    if (bytes.starts_with(kUtf16LeBom)) return TextEncoding::Utf16LE;
    if (bytes.starts_with(kUtf16BeBom)) return TextEncoding::Utf16BE;
    std::size_t sequences = 0, stray = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const int length = utf8SequenceLength(bytes, i);
        if (length < 0) break;  // cut off at the end
        if (length == 0) {
            ++stray;
            ++i;
            continue;
        }
        if (length > 1) ++sequences;
        i += static_cast<std::size_t>(length);
    }
    return sequences > 0 && stray * 4 <= sequences ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

std::string utf8ToShiftJis(std::string_view utf8) { return fromUtf8(utf8).sjis; }

DecodedText decodeImportText(std::string_view bytes) {
    Decoding d;
    bool marked = true;
    const TextEncoding encoding = detectTextEncoding(bytes);
    switch (encoding) {
        case TextEncoding::Utf8:
            if (bytes.starts_with(kUtf8Bom)) {
                bytes.remove_prefix(kUtf8Bom.size());
            } else {
                marked = false;
            }
            d = fromUtf8(bytes);
            break;
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            d = fromUtf16(bytes.substr(kUtf16LeBom.size()), encoding == TextEncoding::Utf16BE);
            break;
        case TextEncoding::ShiftJis:
            marked = false;
            d.sjis = std::string(bytes);
            d.malformed = malformedShiftJis(bytes);
            break;
    }
    std::size_t characters = 0, suspicious = d.malformed;
    for (std::size_t i = 0; i < d.sjis.size(); i += charLengthAt(d.sjis, i)) ++characters;
    // Byte by byte: a control byte is never the second byte of a character.
    for (const char c : d.sjis) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && !isTextControl(b)) || b == 0x7F) ++suspicious;
    }
    const bool nul = !marked && bytes.find('\0') != std::string_view::npos;
    // Mostly such characters is never text; past a stray few, neither is one
    // in eight, which random bytes come to and no text does.
    const bool garbled =
        suspicious * 2 > characters || (suspicious > 3 && suspicious * 8 > characters);
    return {!nul && !garbled, std::move(d.sjis)};
}

}  // namespace hayate
