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
        const std::size_t n = charLengthAt(text, i);
        const std::string_view ch = text.substr(i, n);
        i += n;
        auto findIn = [&](auto entry) -> int {
            for (int slot = 0; slot < 256; ++slot)
                if (entry(static_cast<unsigned char>(slot)) == ch) return slot;
            return -1;
        };
        if (int s =
                findIn([&](unsigned char k) -> const std::string& { return tables.fullWidth(k); });
            s >= 0) {
            out.push_back(static_cast<char>(s));
        } else if (int v = findIn(
                       [&](unsigned char k) -> const std::string& { return tables.voiced(k); });
                   v >= 0) {
            out.push_back(static_cast<char>(v));
            out.push_back(static_cast<char>(kVoicedMark));
        } else if (int p = findIn(
                       [&](unsigned char k) -> const std::string& { return tables.semiVoiced(k); });
                   p >= 0) {
            out.push_back(static_cast<char>(p));
            out.push_back(static_cast<char>(kSemiVoicedMark));
        } else {
            out.push_back(' ');
        }
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
