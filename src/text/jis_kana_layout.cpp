#include "text/jis_kana_layout.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "text/sjis.h"

namespace hayate {

namespace {

constexpr unsigned char kFirstByte = 0xA1;
constexpr unsigned char kLastByte = 0xDF;
constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

// The kana of the bytes A1..DF in byte order, as hiragana: the practice text
// holds hiragana, while the layout's bytes are katakana.
constexpr std::u8string_view kKanaInByteOrder =
    u8"。「」、・をぁぃぅぇぉゃゅょっーあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"
    u8"まみむめもやゆよらりるれろわん゛゜";

struct KeyEntry {
    int keycode;
    unsigned char base;
    unsigned char shifted;  // 0: the key types its base kana with Shift too
    std::u8string_view legend;
};

// Row by row from the digit row down, as the keys sit.
constexpr KeyEntry kKeys[] = {
    {10, 0xC7, 0, u8"１"},     // ぬ
    {11, 0xCC, 0, u8"２"},     // ふ
    {12, 0xB1, 0xA7, u8"３"},  // あ ぁ
    {13, 0xB3, 0xA9, u8"４"},  // う ぅ
    {14, 0xB4, 0xAA, u8"５"},  // え ぇ
    {15, 0xB5, 0xAB, u8"６"},  // お ぉ
    {16, 0xD4, 0xAC, u8"７"},  // や ゃ
    {17, 0xD5, 0xAD, u8"８"},  // ゆ ゅ
    {18, 0xD6, 0xAE, u8"９"},  // よ ょ
    {19, 0xDC, 0xA6, u8"０"},  // わ を
    {20, 0xCE, 0, u8"－"},     // ほ
    {21, 0xCD, 0, u8"＾"},     // へ
    {132, 0xB0, 0, u8"￥"},    // ー
    {24, 0xC0, 0, u8"Ｑ"},     // た
    {25, 0xC3, 0, u8"Ｗ"},     // て
    {26, 0xB2, 0xA8, u8"Ｅ"},  // い ぃ
    {27, 0xBD, 0, u8"Ｒ"},     // す
    {28, 0xB6, 0, u8"Ｔ"},     // か
    {29, 0xDD, 0, u8"Ｙ"},     // ん
    {30, 0xC5, 0, u8"Ｕ"},     // な
    {31, 0xC6, 0, u8"Ｉ"},     // に
    {32, 0xD7, 0, u8"Ｏ"},     // ら
    {33, 0xBE, 0, u8"Ｐ"},     // せ
    {34, 0xDE, 0, u8"＠"},     // ゛
    {35, 0xDF, 0xA2, u8"［"},  // ゜ 「
    {38, 0xC1, 0, u8"Ａ"},     // ち
    {39, 0xC4, 0, u8"Ｓ"},     // と
    {40, 0xBC, 0, u8"Ｄ"},     // し
    {41, 0xCA, 0, u8"Ｆ"},     // は
    {42, 0xB7, 0, u8"Ｇ"},     // き
    {43, 0xB8, 0, u8"Ｈ"},     // く
    {44, 0xCF, 0, u8"Ｊ"},     // ま
    {45, 0xC9, 0, u8"Ｋ"},     // の
    {46, 0xD8, 0, u8"Ｌ"},     // り
    {47, 0xDA, 0, u8"；"},     // れ
    {48, 0xB9, 0, u8"："},     // け
    {51, 0xD1, 0xA3, u8"］"},  // む 」
    {52, 0xC2, 0xAF, u8"Ｚ"},  // つ っ
    {53, 0xBB, 0, u8"Ｘ"},     // さ
    {54, 0xBF, 0, u8"Ｃ"},     // そ
    {55, 0xCB, 0, u8"Ｖ"},     // ひ
    {56, 0xBA, 0, u8"Ｂ"},     // こ
    {57, 0xD0, 0, u8"Ｎ"},     // み
    {58, 0xD3, 0, u8"Ｍ"},     // も
    {59, 0xC8, 0xA4, u8"，"},  // ね 、
    {60, 0xD9, 0xA1, u8"．"},  // る 。
    {61, 0xD2, 0xA5, u8"／"},  // め ・
    {97, 0xDB, 0, u8"＼"},     // ろ
};

// Kana whose voiced form follows them directly in the code order, and those
// whose semi-voiced form follows that.
constexpr std::u8string_view kVoicedBases = u8"かきくけこさしすせそたちつてとはひふへほ";
constexpr std::u8string_view kSemiVoicedBases = u8"はひふへほ";

std::vector<std::string> splitCharacters(std::u8string_view utf8) {
    const std::string sjis = sjisLiteral(utf8);
    std::vector<std::string> out;
    for (std::size_t i = 0; i + 1 < sjis.size(); i += 2) out.push_back(sjis.substr(i, 2));
    return out;
}

unsigned codeOf(std::string_view ch) {
    return static_cast<unsigned>(static_cast<unsigned char>(ch[0])) << 8 |
           static_cast<unsigned char>(ch[1]);
}

struct Layout {
    std::array<std::string, kLastByte - kFirstByte + 1> kana;
    // Per byte, the key that types it; keycode 0 for none.
    std::array<KanaStroke, kLastByte - kFirstByte + 1> strokes{};
    std::vector<std::string> legends;  // parallel to kKeys
    // Two-byte code -> keys, sorted by code.
    std::vector<std::pair<unsigned, KanaStrokes>> byKana;

    Layout() {
        const std::vector<std::string> inOrder = splitCharacters(kKanaInByteOrder);
        std::copy(inOrder.begin(), inOrder.end(), kana.begin());
        for (const KeyEntry& k : kKeys) legends.push_back(sjisLiteral(k.legend));
        for (std::size_t i = 0; i < std::size(kKeys); ++i) {
            const KeyEntry& k = kKeys[i];
            strokes[k.base - kFirstByte] = {k.base, k.keycode, false, legends[i]};
            if (k.shifted) strokes[k.shifted - kFirstByte] = {k.shifted, k.keycode, true, legends[i]};
        }
        for (int b = kFirstByte; b <= kLastByte; ++b) {
            KanaStrokes s;
            s.keys[0] = strokes[static_cast<std::size_t>(b - kFirstByte)];
            s.count = 1;
            byKana.emplace_back(codeOf(kana[static_cast<std::size_t>(b - kFirstByte)]), s);
        }
        addMarked(kVoicedBases, kVoicedMark, 1);
        addMarked(kSemiVoicedBases, kSemiVoicedMark, 2);
        std::sort(byKana.begin(), byKana.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
    }

    // が is か + 1 and ぱ is は + 2 in Shift-JIS as in Unicode.
    void addMarked(std::u8string_view bases, unsigned char mark, unsigned offset) {
        for (const std::string& base : splitCharacters(bases)) {
            KanaStrokes s = *find(codeOf(base));
            s.keys[1] = strokes[mark - kFirstByte];
            s.count = 2;
            byKana.emplace_back(codeOf(base) + offset, s);
        }
    }

    const KanaStrokes* find(unsigned code) const {
        for (const auto& [c, s] : byKana)
            if (c == code) return &s;
        return nullptr;
    }
};

const Layout& layout() {
    static const Layout l;
    return l;
}

const KeyEntry* entryOf(int keycode, std::size_t* index = nullptr) {
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        if (kKeys[i].keycode == keycode) {
            if (index) *index = i;
            return &kKeys[i];
        }
    }
    return nullptr;
}

}  // namespace

unsigned char kanaByteOfKey(JisKey key) {
    const KeyEntry* e = entryOf(key.keycode);
    if (!e) return 0;
    return key.shift && e->shifted ? e->shifted : e->base;
}

const std::string& kanaOfByte(unsigned char byte) {
    static const std::string kNone;
    if (byte < kFirstByte || byte > kLastByte) return kNone;
    return layout().kana[byte - kFirstByte];
}

const std::string& kanaOfKey(JisKey key) { return kanaOfByte(kanaByteOfKey(key)); }

KanaStroke strokeOfByte(unsigned char byte) {
    if (byte < kFirstByte || byte > kLastByte) return {};
    return layout().strokes[byte - kFirstByte];
}

KanaStrokes strokesForKana(std::string_view sjisCharacter) {
    if (sjisCharacter.size() != 2) return {};
    const auto& byKana = layout().byKana;
    const unsigned code = codeOf(sjisCharacter);
    const auto it = std::lower_bound(byKana.begin(), byKana.end(), code,
                                     [](const auto& e, unsigned c) { return e.first < c; });
    return it != byKana.end() && it->first == code ? it->second : KanaStrokes{};
}

std::string_view keyLegend(int keycode) {
    std::size_t i = 0;
    if (!entryOf(keycode, &i)) return {};
    return layout().legends[i];
}

std::string strokeText(const KanaStroke& stroke) {
    std::string text = stroke.shift ? "Shift+" : "";
    text += stroke.legend;
    return text;
}

std::string withSoundMark(std::string_view kana, unsigned char mark) {
    const KanaStrokes base = strokesForKana(kana);
    if (base.count != 1 || (mark != kVoicedMark && mark != kSemiVoicedMark)) return {};
    for (const auto& [code, s] : layout().byKana) {
        if (s.count == 2 && s.keys[0].byte == base.keys[0].byte && s.keys[1].byte == mark)
            return sjisChar(code);
    }
    return {};
}

}  // namespace hayate
