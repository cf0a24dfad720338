#include "journal/journal_text.h"

#include <utility>
#include <vector>

#include "platform/file_names.h"
#include "text/sjis.h"

namespace hayate::journal {

namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Code point per two-byte code, built once from the forward table.
const std::vector<char16_t>& twoByteTable() {
    static const std::vector<char16_t> table = [] {
        std::vector<char16_t> t(0x10000, 0);
        for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
            const unsigned code = sjisCodeFor(cp);
            if (code != 0 && code < 0x10000 && t[code] == 0) t[code] = static_cast<char16_t>(cp);
        }
        return t;
    }();
    return table;
}

}  // namespace

std::string shiftJisToUtf8(std::string_view sjis) {
    // Problem names hold any character of code page 932, kanji above all.
    if (auto whole = utf8FromSjis(sjis)) return *std::move(whole);
    // A name with a broken byte keeps every character around it.
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    for (std::size_t i = 0; i < sjis.size();) {
        const auto b = static_cast<unsigned char>(sjis[i]);
        if (isLeadByte(b) && i + 1 < sjis.size()) {
            const unsigned code = b * 256u + static_cast<unsigned char>(sjis[i + 1]);
            if (const char16_t cp = twoByteTable()[code]; cp != 0) {
                appendUtf8(out, cp);
            } else if (auto one = utf8FromSjis(sjis.substr(i, 2))) {
                out += *one;
            } else {
                appendUtf8(out, 0xFFFD);
            }
            i += 2;
            continue;
        }
        if (b < 0x80) {
            appendUtf8(out, b);
        } else if (b >= 0xA1 && b <= 0xDF) {
            appendUtf8(out, 0xFF61 + (b - 0xA1));
        } else {
            appendUtf8(out, 0xFFFD);
        }
        ++i;
    }
    return out;
}

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

}  // namespace hayate::journal
