#include "text/char_tables.h"

#include <string_view>
#include <utility>

#include "text/sjis.h"
#include "text/width_conversion.h"

namespace hayate {

namespace {

const std::string kEmpty;

// Printable ASCII symbols and their full-width forms. The hyphen becomes the
// long-vowel mark and the backslash the yen sign: that is what the keys print
// on a Japanese keyboard.
constexpr std::pair<char, std::u8string_view> kSymbolForms[] = {
    {' ', u8"　"},  {'!', u8"！"}, {'"', u8"”"},  {'#', u8"＃"}, {'$', u8"＄"}, {'%', u8"％"},
    {'&', u8"＆"},  {'\'', u8"’"}, {'(', u8"（"}, {')', u8"）"}, {'*', u8"＊"}, {'+', u8"＋"},
    {',', u8"，"},  {'-', u8"ー"}, {'.', u8"．"}, {'/', u8"／"}, {':', u8"："}, {';', u8"；"},
    {'<', u8"＜"},  {'=', u8"＝"}, {'>', u8"＞"}, {'?', u8"？"}, {'@', u8"＠"}, {'[', u8"「"},
    {'\\', u8"￥"}, {']', u8"」"}, {'^', u8"＾"}, {'_', u8"＿"}, {'`', u8"‘"},  {'{', u8"｛"},
    {'|', u8"｜"},  {'}', u8"｝"}, {'~', u8"～"},
};

// Half-width katakana A1..DF in JIS X 0201 order and their full-width forms.
constexpr std::u8string_view kHalfKatakanaForms =
    u8"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    u8"ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

constexpr std::u8string_view kVoicedKaToTo = u8"ガギグゲゴザジズゼゾダヂヅデド";  // ｶ..ﾄ
constexpr std::u8string_view kVoicedHaToHo = u8"バビブベボ";                      // ﾊ..ﾎ
constexpr std::u8string_view kSemiVoicedHaToHo = u8"パピプペポ";                  // ﾊ..ﾎ

struct KanaRow {
    std::u8string_view kana;  // characters separated by blanks
    std::string_view romaji;  // primary romaji, separated by blanks
};

// Kana indexes 0..126 in index order; entries 80..126 are kana pairs.
constexpr KanaRow kKanaRows[] = {
    {u8"あ い う え お", "a i u e o"},
    {u8"か き く け こ", "ka ki ku ke ko"},
    {u8"さ し す せ そ", "sa si su se so"},
    {u8"た ち つ て と", "ta ti tu te to"},
    {u8"な に ぬ ね の", "na ni nu ne no"},
    {u8"は ひ ふ へ ほ", "ha hi hu he ho"},
    {u8"ま み む め も", "ma mi mu me mo"},
    {u8"や ゆ よ", "ya yu yo"},
    {u8"ら り る れ ろ", "ra ri ru re ro"},
    {u8"わ を ん", "wa wo nn"},
    {u8"が ぎ ぐ げ ご", "ga gi gu ge go"},
    {u8"ざ じ ず ぜ ぞ", "za zi zu ze zo"},
    {u8"だ ぢ づ で ど", "da di du de do"},
    {u8"ば び ぶ べ ぼ", "ba bi bu be bo"},
    {u8"ぱ ぴ ぷ ぺ ぽ", "pa pi pu pe po"},
    {u8"ぁ ぃ ぅ ぇ ぉ", "la li lu le lo"},
    {u8"ゃ ゅ ょ っ", "lya lyu lyo ltu"},
    {u8"きゃ きゅ きょ", "kya kyu kyo"},
    {u8"しゃ しゅ しぇ しょ", "sya syu sye syo"},
    {u8"ちゃ ちゅ ちぇ ちょ", "tya tyu tye tyo"},
    {u8"にゃ にゅ にょ", "nya nyu nyo"},
    {u8"ひゃ ひゅ ひょ", "hya hyu hyo"},
    {u8"ふぁ ふぃ ふぇ ふぉ", "fa fi fe fo"},
    {u8"みゃ みゅ みょ", "mya myu myo"},
    {u8"りゃ りゅ りょ", "rya ryu ryo"},
    {u8"ぎゃ ぎゅ ぎょ", "gya gyu gyo"},
    {u8"じゃ じゅ じぇ じょ", "ja ju je jo"},
    {u8"びゃ びゅ びょ", "bya byu byo"},
    {u8"ぴゃ ぴゅ ぴょ", "pya pyu pyo"},
    {u8"うぁ うぃ うぇ うぉ", "wha whi whe who"},
    {u8"ひぃ びぃ ぴぃ", "hyi byi pyi"},
};

// Punctuation 127..130 is typed with the ASCII keys, written by hand because
// the half-width forms of 、 and 。 are katakana punctuation.
constexpr std::u8string_view kPunctuationKana = u8"、 。 ？ ！";
constexpr std::string_view kPunctuationRomaji = ", . ? !";

// Symbols 131..173; their romaji is derived as their half-width form.
constexpr std::u8string_view kSymbolKana =
    u8"１ ２ ３ ４ ５ ６ ７ ８ ９ ０ ー ＾ ￥ ＠ 「 ； ： 」 ・ 　 ” ＃ ＄ ％ ＆ ’ （ ） ＝ ～ ｜ "
    u8"｀ ｛ ＋ ＊ ｝ ＜ ＞ ＿ ／ － ． ，";

struct Alternative {
    int index;
    std::string_view romaji;
};

constexpr Alternative kRow1[] = {
    {11, "shi"}, {16, "chi"},  {17, "tsu"},  {27, "fu"},   {52, "ji"},   {71, "xa"},  {72, "xi"},
    {73, "xu"},  {74, "xe"},   {75, "xo"},   {76, "xya"},  {77, "xyu"},  {78, "xyo"}, {79, "xtu"},
    {83, "sha"}, {84, "shu"},  {85, "she"},  {86, "sho"},  {87, "cya"},  {88, "cyu"}, {89, "cye"},
    {90, "cyo"}, {110, "jya"}, {111, "jyu"}, {112, "jye"}, {113, "jyo"},
};

constexpr Alternative kRow2[] = {
    {87, "cha"},  {88, "chu"},  {89, "che"},  {90, "cho"},
    {110, "zya"}, {111, "zyu"}, {112, "zye"}, {113, "zyo"},
};

// Calls `take` for each blank-separated word of `list`.
template <typename View, typename Take>
void forEachWord(View list, Take take) {
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(' ', start);
        if (end == View::npos) end = list.size();
        take(list.substr(start, end - start));
        start = end + 1;
    }
}

// Words of kana in UTF-8, handed over in Shift-JIS. Only the ASCII blank
// separates, so the full-width space can be a word of its own.
template <typename Take>
void forEachKana(std::u8string_view list, Take take) {
    forEachWord(list, [&](std::u8string_view word) { take(sjisLiteral(word)); });
}

std::string oneByte(int b) { return std::string(1, static_cast<char>(b)); }

}  // namespace

const std::string& CharTables::kana(int index) const {
    return index >= 0 && index < kKanaSlots ? kana_[index] : kEmpty;
}

const std::string& CharTables::romaji(int row, int index) const {
    if (row < 0 || row >= kRomajiRows || index < 0 || index >= kKanaSlots) return kEmpty;
    return romaji_[row][index];
}

const std::string* CharTables::halfWidthOf(std::uint16_t code) const {
    const auto it = halfWidthIndex_.find(code);
    return it == halfWidthIndex_.end() ? nullptr : &it->second;
}

void CharTables::rebuildHalfWidthIndex() {
    halfWidthIndex_.clear();
    auto add = [&](const std::string& entry, std::string half) {
        if (entry.size() != 2) return;
        const auto code = static_cast<std::uint16_t>(static_cast<unsigned char>(entry[0]) << 8 |
                                                     static_cast<unsigned char>(entry[1]));
        halfWidthIndex_.try_emplace(code, std::move(half));  // the first, lowest slot wins
    };
    for (int b = 0; b < 256; ++b) add(fullWidth_[b], oneByte(b));
    for (int b = 0; b < 256; ++b) add(voiced_[b], oneByte(b) + '\xDE');
    for (int b = 0; b < 256; ++b) add(semiVoiced_[b], oneByte(b) + '\xDF');
}

void CharTables::setBrackets(Brackets forms) {
    brackets_ = forms;
    const bool corner = forms == Brackets::Corner;
    fullWidth_['['] = sjisLiteral(corner ? u8"「" : u8"［");
    fullWidth_[']'] = sjisLiteral(corner ? u8"」" : u8"］");
    rebuildHalfWidthIndex();
}

CharTables buildCharTables() {
    CharTables t;

    // 1. Every byte is its own form until replaced; all other tables empty.
    for (int b = 0; b < 256; ++b) t.fullWidth_[b] = oneByte(b);

    // 2. Full-width forms.
    for (int d = 0; d < 10; ++d) t.fullWidth_['0' + d] = sjisChar(0x824F + d);
    for (int l = 0; l < 26; ++l) {
        t.fullWidth_['A' + l] = sjisChar(0x8260 + l);
        t.fullWidth_['a' + l] = sjisChar(0x8281 + l);
    }
    for (const auto& [ascii, form] : kSymbolForms)
        t.fullWidth_[static_cast<unsigned char>(ascii)] = sjisLiteral(form);
    {
        const std::string forms = sjisLiteral(kHalfKatakanaForms);
        for (int b = 0xA1; b <= 0xDF; ++b) t.fullWidth_[b] = forms.substr((b - 0xA1) * 2, 2);
    }
    t.brackets_ = CharTables::Brackets::Corner;

    // 3. and 4. Voiced and semi-voiced katakana.
    {
        const std::string kaToTo = sjisLiteral(kVoicedKaToTo);
        for (int b = 0xB6; b <= 0xC4; ++b) t.voiced_[b] = kaToTo.substr((b - 0xB6) * 2, 2);
        const std::string haToHo = sjisLiteral(kVoicedHaToHo);
        const std::string semi = sjisLiteral(kSemiVoicedHaToHo);
        for (int b = 0xCA; b <= 0xCE; ++b) {
            t.voiced_[b] = haToHo.substr((b - 0xCA) * 2, 2);
            t.semiVoiced_[b] = semi.substr((b - 0xCA) * 2, 2);
        }
        t.voiced_[0xB3] = sjisLiteral(u8"ヴ");
    }

    // 5. and 6. Kana 0..173 and the primary romaji of 0..130.
    int index = 0;
    for (const KanaRow& row : kKanaRows) {
        int k = index;
        forEachKana(row.kana, [&](std::string kana) { t.kana_[k++] = std::move(kana); });
        k = index;
        forEachWord(row.romaji, [&](std::string_view r) { t.romaji_[0][k++] = std::string(r); });
        index = k;
    }
    {
        int k = index;
        forEachKana(kPunctuationKana, [&](std::string kana) { t.kana_[k++] = std::move(kana); });
        k = index;
        forEachWord(kPunctuationRomaji,
                    [&](std::string_view r) { t.romaji_[0][k++] = std::string(r); });
        index = k;
    }
    forEachKana(kSymbolKana, [&](std::string kana) { t.kana_[index++] = std::move(kana); });

    t.rebuildHalfWidthIndex();

    // 7. Symbols are typed with the key of their half-width form.
    for (int i = 131; i <= CharTables::kLastKanaIndex; ++i)
        t.romaji_[0][i] = toHalfWidth(t, t.kana_[i]);
    // 8.
    t.romaji_[0][CharTables::kSpaceKanaIndex] = " ";

    // 9. Alternative spellings.
    for (const Alternative& a : kRow1) t.romaji_[1][a.index] = std::string(a.romaji);
    for (const Alternative& a : kRow2) t.romaji_[2][a.index] = std::string(a.romaji);
    return t;
}

}  // namespace hayate
