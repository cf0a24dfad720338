#include "text/jis_kana_layout.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "support/sjis_test_support.h"
#include "text/char_tables.h"
#include "text/sjis.h"
#include "text/width_conversion.h"

namespace hayate {
namespace {

using test::hex;
using test::sj;

// The layout as the X keyboard database and X's keysym list define it.
constexpr const char* kKeycodesFile = "/usr/share/X11/xkb/keycodes/evdev";
constexpr const char* kSymbolsFile = "/usr/share/X11/xkb/symbols/jp";
constexpr const char* kKeysymFile = "/usr/include/X11/keysymdef.h";

std::optional<std::string> slurp(const char* path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string utf8Of(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

struct Keysym {
    unsigned value = 0;
    char32_t unicode = 0;
};

class XkbFiles {
  public:
    bool load() {
        const auto keycodes = slurp(kKeycodesFile);
        const auto symbols = slurp(kSymbolsFile);
        const auto keysyms = slurp(kKeysymFile);
        if (!keycodes || !symbols || !keysyms) return false;
        std::map<std::string, std::string> aliases;
        const std::regex code(R"(<(\w+)>\s*=\s*(\d+)\s*;)");
        for (std::sregex_iterator i(keycodes->begin(), keycodes->end(), code), e; i != e; ++i)
            codes_[(*i)[1]] = std::stoi((*i)[2]);
        const std::regex alias(R"(alias\s*<(\w+)>\s*=\s*<(\w+)>)");
        for (std::sregex_iterator i(keycodes->begin(), keycodes->end(), alias), e; i != e; ++i)
            aliases[(*i)[1]] = (*i)[2];
        for (const auto& [name, target] : aliases)
            if (codes_.contains(target)) codes_[name] = codes_[target];
        // A deprecated name has no code point of its own: its value's first one counts.
        std::map<unsigned, char32_t> unicodeOfValue;
        const std::regex def(R"(#define XK_(\w+)\s+0x([0-9a-fA-F]+)(?:\s*/\*\s*U\+([0-9A-Fa-f]+))?)");
        for (std::sregex_iterator i(keysyms->begin(), keysyms->end(), def), e; i != e; ++i) {
            const unsigned v = static_cast<unsigned>(std::stoul((*i)[2], nullptr, 16));
            if ((*i)[3].matched) unicodeOfValue.emplace(v, std::stoul((*i)[3], nullptr, 16));
            keysyms_[(*i)[1]].value = v;
        }
        for (auto& [name, k] : keysyms_) {
            const auto it = unicodeOfValue.find(k.value);
            if (it != unicodeOfValue.end()) k.unicode = it->second;
        }
        symbols_ = *symbols;
        return true;
    }

    // Keycode -> the symbols of its levels, for one variant of the jp file.
    std::map<int, std::vector<std::string>> variant(const std::string& name) const {
        std::map<int, std::vector<std::string>> keys;
        const std::size_t start = symbols_.find("xkb_symbols \"" + name + "\"");
        if (start == std::string::npos) return keys;
        const std::string block = symbols_.substr(start, symbols_.find("\n};", start) - start);
        const std::regex key(R"(key\s*<(\w+)>\s*\{([^}]*)\})");
        for (std::sregex_iterator i(block.begin(), block.end(), key), e; i != e; ++i) {
            // The last bracket holds the symbols ("type[Group1]=" comes first).
            const std::string body = (*i)[2];
            const std::size_t open = body.rfind('[');
            std::string list = body.substr(open + 1, body.find(']', open) - open - 1);
            std::vector<std::string> levels;
            std::istringstream in(std::regex_replace(list, std::regex(","), " "));
            for (std::string s; in >> s;) levels.push_back(s);
            // Names of other keycode sets (NFER, XFER) are no kana keys;
            // a kana key lost here fails the count of kana below.
            const auto code = codes_.find((*i)[1]);
            if (code != codes_.end()) keys[code->second] = levels;
        }
        return keys;
    }

    Keysym keysym(const std::string& name) const {
        const auto it = keysyms_.find(name);
        return it == keysyms_.end() ? Keysym{} : it->second;
    }

  private:
    std::map<std::string, int> codes_;
    std::map<std::string, Keysym> keysyms_;
    std::string symbols_;
};

bool isKanaKeysym(unsigned v) { return v >= 0x4A1 && v <= 0x4DF; }

// The practice text writes katakana letters as hiragana; marks stay.
std::string practiceFormOf(char32_t cp) {
    return sj(utf8Of(cp >= 0x30A1 && cp <= 0x30F3 ? cp - 0x60 : cp));
}

class JisKanaLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!xkb.load()) GTEST_SKIP() << "xkb data or X keysym list not installed";
    }
    XkbFiles xkb;
};

TEST_F(JisKanaLayoutTest, EveryKeyTypesWhatTheXkbKanaVariantSays) {
    const auto kana = xkb.variant("kana");
    ASSERT_GT(kana.size(), 40u);
    std::set<unsigned char> bytes;
    for (int keycode = 0; keycode < 256; ++keycode) {
        const auto it = kana.find(keycode);
        for (bool shift : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "keycode " << keycode << " shift " << shift);
            Keysym sym;
            if (it != kana.end() && !it->second.empty()) {
                // A key of one level types it with Shift as well.
                const auto& levels = it->second;
                sym = xkb.keysym(levels[shift && levels.size() > 1 ? 1 : 0]);
            }
            if (!isKanaKeysym(sym.value)) {
                EXPECT_EQ(kanaByteOfKey({keycode, shift}), 0);
                EXPECT_EQ(kanaOfKey({keycode, shift}), "");
                continue;
            }
            EXPECT_EQ(kanaByteOfKey({keycode, shift}), sym.value & 0xFF);
            // Back from the byte to the key, Shift only where the key has two kana.
            const KanaStroke back = strokeOfByte(static_cast<unsigned char>(sym.value & 0xFF));
            EXPECT_EQ(back.keycode, keycode);
            EXPECT_EQ(back.shift, shift && it->second.size() > 1);
            ASSERT_NE(sym.unicode, 0u);
            EXPECT_EQ(hex(kanaOfKey({keycode, shift})), hex(practiceFormOf(sym.unicode)));
            bytes.insert(static_cast<unsigned char>(sym.value & 0xFF));
        }
    }
    // Every byte of JIS X 0201 katakana has its key.
    EXPECT_EQ(bytes.size(), 0xDFu - 0xA1u + 1u);
}

TEST_F(JisKanaLayoutTest, LegendsAreTheCapsOfTheJisKeyboard) {
    auto caps = xkb.variant("common");
    for (const auto& [code, levels] : xkb.variant("OADG109A")) caps[code] = levels;
    for (const auto& [keycode, levels] : xkb.variant("kana")) {
        if (!isKanaKeysym(xkb.keysym(levels.at(0)).value)) continue;
        SCOPED_TRACE(keycode);
        char32_t cp = xkb.keysym(caps.at(keycode).at(0)).unicode;
        if (cp >= 'a' && cp <= 'z') cp -= 0x20;
        cp = cp == 0xA5 ? 0xFFE5 : cp + 0xFEE0;  // full-width forms
        EXPECT_EQ(hex(std::string(keyLegend(keycode))), hex(sj(utf8Of(cp))));
    }
    EXPECT_EQ(keyLegend(65), "");  // the space bar
}

TEST(JisKanaStrokesTest, TheHintNamesTheKeysOfAKana) {
    // The keys themselves are checked against xkb above; here what is shown.
    const KanaStrokes ga = strokesForKana(sj("が"));
    ASSERT_EQ(ga.count, 2);
    EXPECT_EQ(strokeText(ga.keys[0]) + strokeText(ga.keys[1]), sj("Ｔ＠"));
    EXPECT_EQ(strokeText(strokesForKana(sj("ぁ")).keys[0]), "Shift+" + sj("３"));
    EXPECT_EQ(strokeText(strokesForKana(sj("ぽ")).keys[0]), sj("－"));  // ほ, then ゜
    // Katakana, digits, symbols and one-byte text are not typed on the layout.
    for (const std::string& text : {sj("ア"), sj("１"), sj("？"), sj("　"), std::string("a"),
                                    std::string()})
        EXPECT_EQ(strokesForKana(text).count, 0) << hex(text);
}

TEST(JisKanaStrokesTest, EveryKanaOfTheRomajiCourseTypesAsItsKatakana) {
    // The keys' bytes, joined as the width conversion joins half-width
    // katakana, give the katakana of the practised hiragana.
    const CharTables tables = buildCharTables();
    for (int i = 0; i <= 79; ++i) {
        const std::string& kana = tables.kana(i);
        SCOPED_TRACE(test::utf8(kana));
        const KanaStrokes s = strokesForKana(kana);
        ASSERT_GE(s.count, 1);
        std::string typed;
        for (int k = 0; k < s.count; ++k) typed += static_cast<char>(s.keys[k].byte);
        const unsigned code = static_cast<unsigned char>(kana[0]) << 8 | static_cast<unsigned char>(kana[1]);
        const unsigned katakana = code - 0x829F + 0x8340 + (code >= 0x82DE ? 1 : 0);
        EXPECT_EQ(hex(toFullWidth(tables, typed)), hex(sjisChar(katakana)));
    }
}

TEST(JisKanaStrokesTest, MarksCombineOnlyWhereAVoicedKanaExists) {
    struct Case {
        const char* kana;
        unsigned char mark;
        const char* result;
    };
    const Case cases[] = {
        {"か", 0xDE, "が"}, {"と", 0xDE, "ど"}, {"は", 0xDE, "ば"}, {"ほ", 0xDF, "ぽ"},
        {"つ", 0xDE, "づ"}, {"あ", 0xDE, ""},   {"か", 0xDF, ""},   {"が", 0xDE, ""},
        {"う", 0xDE, ""},   {"は", 0xB1, ""},   {"", 0xDE, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kana);
        EXPECT_EQ(hex(withSoundMark(sj(c.kana), c.mark)), hex(sj(c.result)));
    }
}

}  // namespace
}  // namespace hayate
