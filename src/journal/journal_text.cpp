#include "journal/journal_text.h"

#include <utility>

#include "platform/file_names.h"
#include "text/sjis.h"

namespace hayate::journal {

std::string shiftJisToUtf8(std::string_view sjis) {
    // Problem names hold any character of code page 932, kanji above all.
    if (auto whole = utf8FromSjis(sjis)) return *std::move(whole);
    // A name with a broken byte keeps every character around it.
    std::string out;
    for (std::size_t i = 0; i < sjis.size();) {
        const auto b = static_cast<unsigned char>(sjis[i]);
        const std::size_t length = isLeadByte(b) && i + 1 < sjis.size() ? 2 : 1;
        out += utf8FromSjis(sjis.substr(i, length)).value_or("\xEF\xBF\xBD");  // U+FFFD
        i += length;
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
