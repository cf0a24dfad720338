#include "problems/reading_import.h"

#include <algorithm>

#include "platform/sjis_converter.h"
#include "problems/import_decoding.h"
#include "reading/kana_reading.h"
#include "text/sjis.h"
#include "text/user_texts.h"
#include "text/width_conversion.h"

namespace hayate {

namespace {

constexpr char kEndOfFile = 0x1A;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kGeta = "\xE3\x80\x93";  // 〓
// A reading source is given a long line in pieces of about this size, so
// that the grid, once full, stops the reading early.
constexpr std::size_t kPieceBytes = 1024;
// Ten grids' worth of text is read at most, however little of it the kind
// takes (letters in the romaji kind), so that the preview stays a list a
// user can look through and a long file is not read to its end.
constexpr std::size_t kReadCharacterLimit = 10 * kImportMaxCharacters;

// Well-formed UTF-8 for the reading source: each malformed byte becomes 〓,
// as the plain import has it.
std::string wellFormedUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
        if (n > 1) {
            const auto second = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
            const unsigned char low = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
            const unsigned char high = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
            if (i + n > s.size() || second < low || second > high) n = 0;
            for (std::size_t k = 2; n && k < n; ++k)
                if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) n = 0;
        }
        if (n == 0) {
            out += kGeta;
            ++i;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string utf8FromUtf16(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 &&
            unitAt(i + 2) <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00));
            i += 2;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out += kGeta;
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::string utf8TextOf(std::string_view bytes) {
    switch (detectTextEncoding(bytes)) {
        case TextEncoding::Utf8:
            if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
            return wellFormedUtf8(bytes.substr(0, bytes.find(kEndOfFile)));
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE: {
            std::string text = utf8FromUtf16(bytes.substr(2), detectTextEncoding(bytes) == TextEncoding::Utf16BE);
            return text.substr(0, text.find(kEndOfFile));
        }
        case TextEncoding::ShiftJis:
            break;
    }
    // 1A is never the second byte of a Shift-JIS character.
    return SjisConverter().toUtf8(bytes.substr(0, bytes.find(kEndOfFile)));
}

std::size_t charactersIn(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::size_t sjisCharactersIn(std::string_view sjis) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < sjis.size(); i += charLengthAt(sjis, i)) ++n;
    return n;
}

// The tables with the bracket forms of `kind`, as the plain import uses.
CharTables tablesFor(const CharTables& tables, int kind) {
    CharTables own = tables;
    own.setBrackets(kind == 1 ? CharTables::Brackets::Corner : CharTables::Brackets::Square);
    return own;
}

// Appends what the import takes from one reading; false once the grid is full.
bool takeReading(const CharTables& tables, int kind, std::string_view reading,
                 std::vector<std::string>& characters) {
    const std::string wide = toFullWidth(tables, reading);
    for (std::size_t i = 0; i < wide.size();) {
        const std::size_t n = charLengthAt(wide, i);
        if (n == 2) {
            std::string ch = wide.substr(i, 2);
            if (acceptImportCharacter(tables, kind, ch)) {
                characters.push_back(std::move(ch));
                if (characters.size() == kImportMaxCharacters) return false;
            }
        }
        i += n;
    }
    return true;
}

// The end of the next piece of `line` from `start`: after the last 。 or
// white space within the piece size, else at a character boundary.
std::size_t pieceEnd(std::string_view line, std::size_t start) {
    if (line.size() - start <= kPieceBytes) return line.size();
    std::size_t end = start + kPieceBytes;
    while (end > start && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
    const std::string_view piece = line.substr(start, end - start);
    for (std::string_view stop : {std::string_view("。"), std::string_view(" "), std::string_view("、")}) {
        const std::size_t at = piece.rfind(stop);
        if (at != std::string_view::npos && at > 0) return start + at + stop.size();
    }
    return end;
}

}  // namespace

ImportLines importLinesOf(std::string_view fileBytes) {
    ImportLines result;
    const DecodedText decoded = decodeImportText(fileBytes);
    std::string_view sjis = decoded.sjis;
    sjis = sjis.substr(0, sjis.find(kEndOfFile));
    result.outcome = importOutcomeOf(decoded, sjis);
    if (result.outcome != ImportOutcome::Filled) return result;

    const std::string text = utf8TextOf(fileBytes);
    std::string_view rest = text;
    int lines = 0;
    while (std::optional<std::string> cleaned = nextImportLine(rest, lines))
        result.lines.push_back(std::move(*cleaned));
    return result;
}

bool hasCharactersToRead(const ImportLines& text) {
    return std::any_of(text.lines.begin(), text.lines.end(),
                       [](const std::string& line) { return containsCharacterToRead(line); });
}

ReadText readForGrid(ReadingSource& source, const CharTables& tables, int kind,
                     const ImportLines& text) {
    const CharTables own = tablesFor(tables, kind);
    ReadText read;
    std::vector<std::string> characters;
    std::size_t readCharacters = 0;
    bool full = false;
    for (const std::string& line : text.lines) {
        read.totalCharacters += charactersIn(line);
        if (full) continue;
        auto& words = read.lines.emplace_back();
        for (std::size_t start = 0; start < line.size() && !full;) {
            const std::size_t end = pieceEnd(line, start);
            const std::string_view piece = std::string_view(line).substr(start, end - start);
            for (ReadingWord& w : source.wordsOfLine(piece)) {
                if (!full) full = !takeReading(own, kind, w.reading, characters);
                words.push_back(std::move(w));
            }
            readCharacters += charactersIn(piece);
            full = full || readCharacters >= kReadCharacterLimit;
            start = end;
        }
    }
    return read;
}

ReadingFill fillFromReadings(const CharTables& tables, int kind, const ReadingLines& lines,
                             std::size_t totalCharacters) {
    const CharTables own = tablesFor(tables, kind);
    ReadingFill fill;
    fill.totalCharacters = totalCharacters;
    for (const auto& line : lines) {
        for (const ReadingWord& w : line) {
            fill.takenCharacters += sjisCharactersIn(w.surface);
            if (!takeReading(own, kind, w.reading, fill.characters)) return fill;
        }
    }
    return fill;
}

std::string takenNotice(const ReadingFill& fill) {
    if (fill.takenCharacters >= fill.totalCharacters) return {};
    return std::string(utf8Text(UserText::TakenPartLead)) + std::to_string(fill.totalCharacters) +
           std::string(utf8Text(UserText::TakenPartMiddle)) + std::to_string(fill.takenCharacters) +
           std::string(utf8Text(UserText::TakenPartEnd));
}

}  // namespace hayate
