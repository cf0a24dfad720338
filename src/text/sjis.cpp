#include "text/sjis.h"

#include <stdexcept>

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

int indexInRow(std::u8string_view row, char32_t wanted) {
    std::size_t i = 0;
    int n = 0;
    while (i < row.size()) {
        if (decodeOne(row, i) == wanted) return n;
        ++n;
    }
    return -1;
}

unsigned sjisCodeOf(char32_t cp) {
    if (cp >= 0x3041 && cp <= 0x3093) return 0x829F + (cp - 0x3041);  // ぁ..ん
    if (cp >= 0x30A1 && cp <= 0x30F6) {                               // ァ..ヶ, 83 7F unused
        unsigned code = 0x8340 + (cp - 0x30A1);
        return code >= 0x837F ? code + 1 : code;
    }
    if (cp >= 0xFF10 && cp <= 0xFF19) return 0x824F + (cp - 0xFF10);  // ０..９
    if (cp >= 0xFF21 && cp <= 0xFF3A) return 0x8260 + (cp - 0xFF21);  // Ａ..Ｚ
    if (cp >= 0xFF41 && cp <= 0xFF5A) return 0x8281 + (cp - 0xFF41);  // ａ..ｚ
    if (int k = indexInRow(kRow1Low, cp); k >= 0) return 0x8140 + k;
    if (int k = indexInRow(kRow1High, cp); k >= 0) return 0x8180 + k;
    throw std::invalid_argument("character outside the Shift-JIS literal repertoire");
}

}  // namespace

std::string sjisLiteral(std::u8string_view utf8) {
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = decodeOne(utf8, i);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else {
            out += sjisChar(sjisCodeOf(cp));
        }
    }
    return out;
}

}  // namespace hayate
