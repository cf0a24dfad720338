#include "exercise/romaji_spellings.h"

#include <stdexcept>

#include "text/sjis.h"
#include "text/width_conversion.h"

namespace hayate {

namespace {

struct Entry {
    std::u8string_view kana;      // one kana, or a kana and a small kana
    std::string_view spellings;  // blank-separated, the trainer's primary one first
};

// What the input methods in common use (Mozc and Google 日本語入力, Microsoft
// IME, ATOK, Kotoeri) accept for these kana. ゐ, ゑ, ゎ and ゔ are left out:
// the trainer's kana table has none of them, so no cell can hold them.
constexpr Entry kEntries[] = {
    {u8"あ", "a"}, {u8"い", "i yi"}, {u8"う", "u wu whu"}, {u8"え", "e"}, {u8"お", "o"},
    {u8"か", "ka ca"}, {u8"き", "ki"}, {u8"く", "ku cu qu"}, {u8"け", "ke"}, {u8"こ", "ko co"},
    {u8"さ", "sa"}, {u8"し", "si shi ci"}, {u8"す", "su"}, {u8"せ", "se ce"}, {u8"そ", "so"},
    {u8"た", "ta"}, {u8"ち", "ti chi"}, {u8"つ", "tu tsu"}, {u8"て", "te"}, {u8"と", "to"},
    {u8"な", "na"}, {u8"に", "ni"}, {u8"ぬ", "nu"}, {u8"ね", "ne"}, {u8"の", "no"},
    {u8"は", "ha"}, {u8"ひ", "hi"}, {u8"ふ", "hu fu"}, {u8"へ", "he"}, {u8"ほ", "ho"},
    {u8"ま", "ma"}, {u8"み", "mi"}, {u8"む", "mu"}, {u8"め", "me"}, {u8"も", "mo"},
    {u8"や", "ya"}, {u8"ゆ", "yu"}, {u8"よ", "yo"},
    {u8"ら", "ra"}, {u8"り", "ri"}, {u8"る", "ru"}, {u8"れ", "re"}, {u8"ろ", "ro"},
    {u8"わ", "wa"}, {u8"を", "wo"}, {u8"ん", "nn xn n'"},
    {u8"が", "ga"}, {u8"ぎ", "gi"}, {u8"ぐ", "gu"}, {u8"げ", "ge"}, {u8"ご", "go"},
    {u8"ざ", "za"}, {u8"じ", "zi ji"}, {u8"ず", "zu"}, {u8"ぜ", "ze"}, {u8"ぞ", "zo"},
    {u8"だ", "da"}, {u8"ぢ", "di"}, {u8"づ", "du"}, {u8"で", "de"}, {u8"ど", "do"},
    {u8"ば", "ba"}, {u8"び", "bi"}, {u8"ぶ", "bu"}, {u8"べ", "be"}, {u8"ぼ", "bo"},
    {u8"ぱ", "pa"}, {u8"ぴ", "pi"}, {u8"ぷ", "pu"}, {u8"ぺ", "pe"}, {u8"ぽ", "po"},
    {u8"ぁ", "la xa"}, {u8"ぃ", "li xi lyi xyi"}, {u8"ぅ", "lu xu"},
    {u8"ぇ", "le xe lye xye"}, {u8"ぉ", "lo xo"},
    {u8"ゃ", "lya xya"}, {u8"ゅ", "lyu xyu"}, {u8"ょ", "lyo xyo"},
    {u8"っ", "ltu xtu ltsu xtsu"},

    {u8"きゃ", "kya"}, {u8"きぃ", "kyi"}, {u8"きゅ", "kyu"}, {u8"きぇ", "kye"}, {u8"きょ", "kyo"},
    {u8"くぁ", "qa kwa qwa"}, {u8"くぃ", "qi kwi qwi qyi"}, {u8"くぅ", "qwu"},
    {u8"くぇ", "qe kwe qwe qye"}, {u8"くぉ", "qo kwo qwo"},
    {u8"くゃ", "qya"}, {u8"くゅ", "qyu"}, {u8"くょ", "qyo"},
    {u8"ぎゃ", "gya"}, {u8"ぎぃ", "gyi"}, {u8"ぎゅ", "gyu"}, {u8"ぎぇ", "gye"}, {u8"ぎょ", "gyo"},
    {u8"ぐぁ", "gwa"}, {u8"ぐぃ", "gwi"}, {u8"ぐぅ", "gwu"}, {u8"ぐぇ", "gwe"}, {u8"ぐぉ", "gwo"},
    {u8"しゃ", "sya sha"}, {u8"しぃ", "syi"}, {u8"しゅ", "syu shu"},
    {u8"しぇ", "sye she"}, {u8"しょ", "syo sho"},
    {u8"すぁ", "swa"}, {u8"すぃ", "swi"}, {u8"すぅ", "swu"}, {u8"すぇ", "swe"}, {u8"すぉ", "swo"},
    {u8"じゃ", "ja jya zya"}, {u8"じぃ", "jyi zyi"}, {u8"じゅ", "ju jyu zyu"},
    {u8"じぇ", "je jye zye"}, {u8"じょ", "jo jyo zyo"},
    {u8"ちゃ", "tya cya cha"}, {u8"ちぃ", "tyi cyi"}, {u8"ちゅ", "tyu cyu chu"},
    {u8"ちぇ", "tye cye che"}, {u8"ちょ", "tyo cyo cho"},
    {u8"つぁ", "tsa"}, {u8"つぃ", "tsi"}, {u8"つぇ", "tse"}, {u8"つぉ", "tso"},
    {u8"てゃ", "tha"}, {u8"てぃ", "thi t'i"}, {u8"てゅ", "thu t'yu"}, {u8"てぇ", "the"}, {u8"てょ", "tho"},
    {u8"とぁ", "twa"}, {u8"とぃ", "twi"}, {u8"とぅ", "twu t'u"}, {u8"とぇ", "twe"}, {u8"とぉ", "two"},
    {u8"ぢゃ", "dya"}, {u8"ぢぃ", "dyi"}, {u8"ぢゅ", "dyu"}, {u8"ぢぇ", "dye"}, {u8"ぢょ", "dyo"},
    {u8"でゃ", "dha"}, {u8"でぃ", "dhi d'i"}, {u8"でゅ", "dhu d'yu"}, {u8"でぇ", "dhe"}, {u8"でょ", "dho"},
    {u8"どぁ", "dwa"}, {u8"どぃ", "dwi"}, {u8"どぅ", "dwu d'u"}, {u8"どぇ", "dwe"}, {u8"どぉ", "dwo"},
    {u8"にゃ", "nya"}, {u8"にぃ", "nyi"}, {u8"にゅ", "nyu"}, {u8"にぇ", "nye"}, {u8"にょ", "nyo"},
    {u8"ひゃ", "hya"}, {u8"ひぃ", "hyi"}, {u8"ひゅ", "hyu"}, {u8"ひぇ", "hye"}, {u8"ひょ", "hyo"},
    {u8"ふぁ", "fa fwa hwa"}, {u8"ふぃ", "fi fwi fyi hwi"}, {u8"ふぅ", "fwu"},
    {u8"ふぇ", "fe fwe fye hwe"}, {u8"ふぉ", "fo fwo hwo"},
    {u8"ふゃ", "fya"}, {u8"ふゅ", "fyu hwyu"}, {u8"ふょ", "fyo"},
    {u8"みゃ", "mya"}, {u8"みぃ", "myi"}, {u8"みゅ", "myu"}, {u8"みぇ", "mye"}, {u8"みょ", "myo"},
    {u8"りゃ", "rya"}, {u8"りぃ", "ryi"}, {u8"りゅ", "ryu"}, {u8"りぇ", "rye"}, {u8"りょ", "ryo"},
    {u8"びゃ", "bya"}, {u8"びぃ", "byi"}, {u8"びゅ", "byu"}, {u8"びぇ", "bye"}, {u8"びょ", "byo"},
    {u8"ぴゃ", "pya"}, {u8"ぴぃ", "pyi"}, {u8"ぴゅ", "pyu"}, {u8"ぴぇ", "pye"}, {u8"ぴょ", "pyo"},
    {u8"うぁ", "wha"}, {u8"うぃ", "whi wi"}, {u8"うぇ", "whe we"}, {u8"うぉ", "who"},
    {u8"いぇ", "ye"},
};

// Symbols the input methods also give from letters; every symbol keeps its
// own key first. Without z/ a ・ could only be typed on a kana layout.
constexpr Entry kSymbolEntries[] = {
    {u8"・", "z/"},
};

std::vector<std::string> splitSpellings(std::string_view text) {
    std::vector<std::string> out;
    while (!text.empty()) {
        const std::size_t blank = text.find(' ');
        out.emplace_back(text.substr(0, blank));
        text = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
    }
    return out;
}

}  // namespace

RomajiSpellings::RomajiSpellings(const CharTables& tables) {
    // Symbols and the full-width space keep the one key the trainer gives them.
    for (int k = 127; k <= CharTables::kLastKanaIndex; ++k)
        singles_[static_cast<std::size_t>(k)] = {tables.romaji(0, k)};
    for (const Entry& e : kSymbolEntries) {
        const std::string symbol = sjisLiteral(e.kana);
        const int k = kanaIndexOf(tables, symbol);
        if (k < 127) throw std::logic_error("romaji spellings: not a symbol of the kana table");
        for (std::string& f : splitSpellings(e.spellings)) {
            byRomaji_.emplace(f, symbol);
            singles_[static_cast<std::size_t>(k)].push_back(std::move(f));
        }
    }
    for (const Entry& e : kEntries) {
        const std::string kana = sjisLiteral(e.kana);
        std::vector<std::string> forms = splitSpellings(e.spellings);
        for (const std::string& f : forms) byRomaji_.emplace(f, kana);
        const int first = kanaIndexOf(tables, kana.substr(0, 2));
        if (first < 0) throw std::logic_error("romaji spellings: kana outside the kana table");
        if (kana.size() == 2) {
            singles_[static_cast<std::size_t>(first)] = std::move(forms);
            continue;
        }
        const int second = kanaIndexOf(tables, kana.substr(2, 2));
        if (first >= kFirstSmall || second < kFirstSmall || second > kLastSmall)
            throw std::logic_error("romaji spellings: a pair must end in a small kana");
        pairs_[static_cast<std::size_t>(first * kSmallCount + second - kFirstSmall)] =
            std::move(forms);
    }
}

std::span<const std::string> RomajiSpellings::single(int kanaIndex) const {
    if (kanaIndex < 0 || kanaIndex > CharTables::kLastKanaIndex) return {};
    return singles_[static_cast<std::size_t>(kanaIndex)];
}

std::span<const std::string> RomajiSpellings::pair(int first, int second) const {
    if (first < 0 || first >= kFirstSmall || second < kFirstSmall || second > kLastSmall)
        return {};
    return pairs_[static_cast<std::size_t>(first * kSmallCount + second - kFirstSmall)];
}

const std::string* RomajiSpellings::kanaFor(std::string_view romaji) const {
    const auto it = byRomaji_.find(std::string(romaji));
    return it == byRomaji_.end() ? nullptr : &it->second;
}

const RomajiSpellings& romajiSpellings() {
    static const RomajiSpellings table(buildCharTables());
    return table;
}

}  // namespace hayate
