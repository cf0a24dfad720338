#include "text/width_conversion.h"

#include "text/sjis.h"

namespace hayate {

namespace {
constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;
}  // namespace

std::string toFullWidth(const CharTables& tables, std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (isLeadByte(b)) {
            const std::size_t n = charLengthAt(text, i);
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        const int next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : -1;
        if (next == kVoicedMark && !tables.voiced(b).empty()) {
            out += tables.voiced(b);
            i += 2;
        } else if (next == kSemiVoicedMark && !tables.semiVoiced(b).empty()) {
            out += tables.semiVoiced(b);
            i += 2;
        } else {
            out += tables.fullWidth(b);
            i += 1;
        }
    }
    return out;
}

std::string toHalfWidth(const CharTables& tables, std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (!isLeadByte(b)) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        if (i + 1 >= text.size()) {
            // A lead byte at the very end: only its own slot can hold it.
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        const auto code = static_cast<std::uint16_t>(b << 8 | static_cast<unsigned char>(text[i + 1]));
        i += 2;
        const std::string* half = tables.halfWidthOf(code);
        out += half ? *half : std::string(" ");
    }
    return out;
}

int kanaIndexOf(const CharTables& tables, std::string_view text) {
    for (int k = 0; k <= CharTables::kLastKanaIndex; ++k)
        if (tables.kana(k) == text) return k;
    return -1;
}

int romajiIndexOf(const CharTables& tables, std::string_view text, int& row) {
    for (int r = 0; r < CharTables::kRomajiRows; ++r) {
        for (int k = 0; k <= CharTables::kLastKanaIndex; ++k) {
            if (tables.romaji(r, k) == text) {
                row = r;
                return k;
            }
        }
    }
    return -1;
}

}  // namespace hayate
