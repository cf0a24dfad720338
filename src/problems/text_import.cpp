#include "problems/text_import.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <system_error>

#include "text/sjis.h"
#include "text/width_conversion.h"

namespace hayate {

namespace {

constexpr unsigned kGetaMark = 0x81AC;  // 〓, the usual stand-in for a missing character
constexpr char kEndOfFile = 0x1A;       // Ctrl+Z
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool inRange(std::string_view ch, std::string_view first, std::string_view last) {
    return ch.size() == 2 && ch >= first && ch <= last;
}

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

// Kana index of a two-byte character by its code: the import tests each
// character of a file that may be megabytes long. Every two-byte entry of the
// kana table has the lead byte 81 or 82.
class KanaIndexTable {
  public:
    explicit KanaIndexTable(const CharTables& tables) {
        index_.fill(-1);
        for (int k = CharTables::kLastKanaIndex; k >= 0; --k) {  // the lowest index wins
            const std::string& kana = tables.kana(k);
            if (kana.size() == 2 && slot(kana) >= 0)
                index_[static_cast<std::size_t>(slot(kana))] = static_cast<std::int16_t>(k);
        }
    }
    int operator()(std::string_view ch) const {
        if (ch.size() != 2) return -1;
        const int s = slot(ch);
        return s >= 0 ? index_[static_cast<std::size_t>(s)] : -1;
    }

  private:
    static int slot(std::string_view ch) {
        const int lead = static_cast<unsigned char>(ch[0]);
        if (lead != 0x81 && lead != 0x82) return -1;
        return (lead - 0x81) * 256 + static_cast<unsigned char>(ch[1]);
    }
    std::array<std::int16_t, 512> index_;
};

bool accept(const CharTables& tables, int kind, int kanaIndex, std::string& ch) {
    static const std::string kUpperA = sjisLiteral(u8"Ａ"), kUpperZ = sjisLiteral(u8"Ｚ");
    static const std::string kLowerA = sjisLiteral(u8"ａ"), kLowerZ = sjisLiteral(u8"ｚ");
    if (kind == 1) return kanaIndex >= 0;
    // Kana syllables take indexes below 127; punctuation, digits, symbols
    // and the full-width space come after them.
    if (kanaIndex >= 0) return kanaIndex >= 127;
    auto changeCase = [&](bool upper) {
        std::string half = toHalfWidth(tables, ch);
        for (char& c : half) {
            if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        ch = toFullWidth(tables, half);
    };
    if (kind == 0) {
        if (inRange(ch, kLowerA, kLowerZ)) changeCase(true);
        return inRange(ch, kUpperA, kUpperZ);
    }
    if (kind == 2) {
        if (inRange(ch, kUpperA, kUpperZ)) changeCase(false);
        return inRange(ch, kLowerA, kLowerZ);
    }
    return inRange(ch, kLowerA, kLowerZ) || inRange(ch, kUpperA, kUpperZ);
}

}  // namespace

TextEncoding detectTextEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return TextEncoding::Utf8;
    bool multiByte = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const int length = utf8SequenceLength(bytes, i);
        if (length < 0) break;  // cut off at the end
        if (length == 0) return TextEncoding::ShiftJis;
        if (length > 1) multiByte = true;
        i += static_cast<std::size_t>(length);
    }
    return multiByte ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

std::string utf8ToShiftJis(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const int length = utf8SequenceLength(utf8, i);
        if (length <= 0) {
            // One stand-in per malformed byte, so that nothing is joined.
            out += sjisChar(kGetaMark);
            ++i;
            continue;
        }
        appendShiftJis(
            out, length == 1 ? static_cast<unsigned char>(utf8[i]) : decodeUtf8(utf8, i, length));
        i += static_cast<std::size_t>(length);
    }
    return out;
}

bool acceptImportCharacter(const CharTables& tables, int kind, std::string& ch) {
    return accept(tables, kind, kanaIndexOf(tables, ch), ch);
}

namespace {

ImportResult parse(const CharTables& tables, int kind, std::string_view fileBytes) {
    const KanaIndexTable kanaIndex(tables);

    const bool utf8 = detectTextEncoding(fileBytes) == TextEncoding::Utf8;
    std::string_view rest = fileBytes;
    if (utf8 && rest.starts_with(kUtf8Bom)) rest.remove_prefix(kUtf8Bom.size());
    if (const std::size_t eof = rest.find(kEndOfFile); eof != std::string_view::npos) {
        rest = rest.substr(0, eof);
    }

    ImportResult result;
    int lines = 0;
    while (!rest.empty() && lines < kImportMaxLines) {
        const std::size_t end = rest.find_first_of("\r\n");
        const std::string_view raw = rest.substr(0, end);
        if (end == std::string_view::npos) {
            rest = {};
        } else {
            const bool crLf = rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n';
            rest.remove_prefix(end + (crLf ? 2 : 1));
        }
        if (raw.empty()) continue;
        ++lines;
        result.empty = false;

        std::string cleaned;
        for (char c : utf8 ? utf8ToShiftJis(raw) : std::string(raw)) {
            if (static_cast<unsigned char>(c) >= 0x20) cleaned.push_back(c);
        }
        // A line of nothing but control characters ends the text; lines after
        // it, like lines after a full grid, are never used.
        if (cleaned.empty()) break;
        const std::string wide = toFullWidth(tables, cleaned);
        for (std::size_t i = 0; i < wide.size();) {
            const std::size_t n = charLengthAt(wide, i);
            // Walking by characters, a byte without a full-width form is
            // dropped alone instead of pairing the bytes after it wrongly.
            if (n == 2) {
                std::string ch = wide.substr(i, 2);
                if (accept(tables, kind, kanaIndex(ch), ch)) {
                    result.characters.push_back(std::move(ch));
                    if (result.characters.size() == kImportMaxCharacters) return result;
                }
            }
            i += n;
        }
    }
    return result;
}

}  // namespace

ImportResult parseImportText(const CharTables& tables, int kind, std::string_view fileBytes) {
    const auto forms = kind == 1 ? CharTables::Brackets::Corner : CharTables::Brackets::Square;
    // The editor keeps the forms of its kind, so a copy is seldom needed.
    if (tables.brackets() == forms) return parse(tables, kind, fileBytes);
    CharTables own = tables;
    own.setBrackets(forms);
    return parse(own, kind, fileBytes);
}

std::optional<std::string> readImportFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(kImportReadLimit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

}  // namespace hayate
