#include "text/sjis.h"

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

namespace hayate {

namespace {

// JIS X 0208 row 1 in code order: 81 40..81 7E, then 81 80..81 AC.
constexpr std::u8string_view kRow1Low =
    u8"　、。，．・：；？！゛゜´｀¨＾￣＿ヽヾゝゞ〃仝々〆〇ー―‐／＼～∥｜…‥‘’“”（）〔〕［］｛｝〈〉"
    u8"《》「」『』【】＋－±×";
constexpr std::u8string_view kRow1High =
    u8"÷＝≠＜＞≦≧∞∴♂♀°′″℃￥＄￠￡％＃＆＊＠§☆★○●◎◇◆□■△▲▽▼※〒→←↑↓〓";

char32_t decodeOne(std::u8string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
    char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    if (i + extra >= s.size()) throw std::invalid_argument("truncated UTF-8");
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += 1 + extra;
    return cp;
}

// Code points of the punctuation row with their codes, sorted for lookup.
const std::vector<std::pair<char32_t, unsigned>>& row1Codes() {
    static const std::vector<std::pair<char32_t, unsigned>> codes = [] {
        std::vector<std::pair<char32_t, unsigned>> t;
        auto add = [&](std::u8string_view row, unsigned code) {
            for (std::size_t i = 0; i < row.size();) t.emplace_back(decodeOne(row, i), code++);
        };
        add(kRow1Low, 0x8140);
        add(kRow1High, 0x8180);
        std::sort(t.begin(), t.end());
        return t;
    }();
    return codes;
}

}  // namespace

unsigned sjisCodeFor(char32_t cp) {
    if (cp >= 0x3041 && cp <= 0x3093) return 0x829F + (cp - 0x3041);  // ぁ..ん
    if (cp >= 0x30A1 && cp <= 0x30F6) {                               // ァ..ヶ, 83 7F unused
        unsigned code = 0x8340 + (cp - 0x30A1);
        return code >= 0x837F ? code + 1 : code;
    }
    if (cp >= 0xFF10 && cp <= 0xFF19) return 0x824F + (cp - 0xFF10);  // ０..９
    if (cp >= 0xFF21 && cp <= 0xFF3A) return 0x8260 + (cp - 0xFF21);  // Ａ..Ｚ
    if (cp >= 0xFF41 && cp <= 0xFF5A) return 0x8281 + (cp - 0xFF41);  // ａ..ｚ
    const auto& codes = row1Codes();
    const auto it =
        std::lower_bound(codes.begin(), codes.end(), std::pair<char32_t, unsigned>{cp, 0});
    return it != codes.end() && it->first == cp ? it->second : 0;
}

std::string sjisLiteral(std::u8string_view utf8) {
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = decodeOne(utf8, i);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else {
            const unsigned code = sjisCodeFor(cp);
            if (code == 0)
                throw std::invalid_argument("character outside the Shift-JIS literal repertoire");
            out += sjisChar(code);
        }
    }
    return out;
}

}  // namespace hayate
