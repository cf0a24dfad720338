#include "reading/kana_reading.h"

#include <cstddef>

namespace hayate {

namespace {

// Malformed bytes read as U+FFFD one at a time; they are only passed on.
char32_t nextCodePoint(std::string_view s, std::size_t& i, std::size_t& length) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
    char32_t cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    if (n == 0 || i + n > s.size()) n = 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            n = 0;
            break;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    length = n == 0 ? 1 : n;
    i += length;
    return n == 0 ? 0xFFFD : cp;
}


// U+FF66..U+FF9D in order.
constexpr char16_t kHalfWidthKatakana[] =
    u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
static_assert(sizeof kHalfWidthKatakana / sizeof kHalfWidthKatakana[0] == 0xFF9D - 0xFF66 + 2);

constexpr char32_t kVoicedMark = 0xFF9E, kSemiVoicedMark = 0xFF9F;

bool takesVoicedMark(char32_t k) {
    // カ..チ alternate with their voiced forms; ッ breaks the pattern before ツ.
    return (k >= U'カ' && k <= U'チ' && k % 2 == 1) || k == U'ツ' || k == U'テ' || k == U'ト' ||
           k == U'ウ' || (k >= U'ハ' && k <= U'ホ' && (k - U'ハ') % 3 == 0);
}

char32_t hiraganaFor(char32_t k) {
    if (k >= U'ァ' && k <= U'ン') return k - 0x60;
    if (k == U'ヽ' || k == U'ヾ') return k - 0x60;
    return k;
}

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool needsReading(char32_t cp) {
    const bool kanji = (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0x3400 && cp <= 0x4DBF) ||
                       (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0x20000 && cp <= 0x3FFFF) ||
                       cp == U'々' || cp == U'〆' || cp == U'〇';
    const bool katakana = (cp >= U'ァ' && cp <= U'ヺ') || cp == U'ヽ' || cp == U'ヾ' ||
                          (cp >= 0x31F0 && cp <= 0x31FF) ||
                          (cp >= 0xFF66 && cp <= 0xFF9D && cp != 0xFF70);
    return kanji || katakana;
}

bool containsCharacterToRead(std::string_view utf8) {
    for (std::size_t i = 0, n = 0; i < utf8.size();)
        if (needsReading(nextCodePoint(utf8, i, n))) return true;
    return false;
}

bool containsKanji(std::string_view utf8) {
    for (std::size_t i = 0, n = 0; i < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, i, n);
        if (needsReading(cp) && !(cp >= U'ァ' && cp <= U'ヾ') && !(cp >= 0x31F0 && cp <= 0x31FF) &&
            !(cp >= 0xFF66 && cp <= 0xFF9D))
            return true;
    }
    return false;
}

std::string hiraganaOf(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0, n = 0; i < utf8.size();) {
        const std::size_t start = i;
        char32_t cp = nextCodePoint(utf8, i, n);
        if (cp == 0xFFFD) {
            out.append(utf8.substr(start, n));  // passed on as it came
            continue;
        }
        if (cp >= 0xFF66 && cp <= 0xFF9D) {
            cp = kHalfWidthKatakana[cp - 0xFF66];
            if (i < utf8.size()) {
                std::size_t j = i, m = 0;
                const char32_t mark = nextCodePoint(utf8, j, m);
                if (mark == kVoicedMark && takesVoicedMark(cp)) {
                    cp = cp == U'ウ' ? U'ヴ' : cp + 1;
                    i = j;
                } else if (mark == kSemiVoicedMark && cp >= U'ハ' && cp <= U'ホ') {
                    cp += 2;
                    i = j;
                }
            }
        }
        appendUtf8(out, hiraganaFor(cp));
    }
    return out;
}

}  // namespace hayate
