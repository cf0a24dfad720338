#include "problems/romaji_composer.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "support/sjis_test_support.h"
#include "text/sjis.h"

namespace hayate {
namespace {

using test::hex;
using test::sj;

// One typing sequence: the keys, what each key gives (in UTF-8, "|" between
// keys) and the romaji left pending at the end.
struct KeyCase {
    const char* keys;
    const char* perKey;
    const char* pending;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << '"' << c.keys << '"'; }

std::vector<std::string> split(const std::string& s) {
    std::vector<std::string> parts(1);
    for (char c : s) {
        if (c == '|') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

class RomajiComposerTest : public ::testing::TestWithParam<KeyCase> {
  protected:
    CharTables tables = buildCharTables();
};

TEST_P(RomajiComposerTest, GivesTheKanaOfEachKey) {
    const KeyCase& c = GetParam();
    RomajiComposer composer(tables);
    const std::string keys = c.keys;
    const std::vector<std::string> expected = split(c.perKey);
    ASSERT_EQ(expected.size(), keys.size()) << "bad case " << c.keys;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(hex(composer.type(static_cast<unsigned char>(keys[i]))), hex(sj(expected[i])))
            << "key " << i + 1 << " of \"" << c.keys << "\"";
    }
    EXPECT_EQ(composer.pending(), c.pending) << c.keys;
}

// The editor's own examples first, then the rest of its rules.
INSTANTIATE_TEST_SUITE_P(
    EditorExamples, RomajiComposerTest,
    ::testing::Values(KeyCase{"ka", "|か", ""}, KeyCase{"kya", "||きゃ", ""},
                      KeyCase{"kka", "||っか", ""}, KeyCase{"kkya", "|||っきゃ", ""},
                      KeyCase{"nka", "|ん|か", ""}, KeyCase{"nn", "|ん", ""},
                      KeyCase{"n,", "|ん", ","},
                      // The four characters that match nothing are dropped with the fourth.
                      KeyCase{"qwx", "||", "qwx"}, KeyCase{"qwxv", "|||", ""},
                      KeyCase{"[", "「", ""}, KeyCase{"]", "」", ""}));

INSTANTIATE_TEST_SUITE_P(Alternatives, RomajiComposerTest,
                         ::testing::Values(KeyCase{"shi", "||し", ""}, KeyCase{"chi", "||ち", ""},
                                           KeyCase{"tsu", "||つ", ""}, KeyCase{"fu", "|ふ", ""},
                                           KeyCase{"ji", "|じ", ""}, KeyCase{"sha", "||しゃ", ""},
                                           KeyCase{"cha", "||ちゃ", ""}, KeyCase{"ja", "|じゃ", ""},
                                           KeyCase{"zya", "||じゃ", ""}, KeyCase{"xtu", "||っ", ""},
                                           KeyCase{"ltu", "||っ", ""}, KeyCase{"wo", "|を", ""},
                                           KeyCase{"whi", "||うぃ", ""}));

INSTANTIATE_TEST_SUITE_P(
    DoubledConsonants, RomajiComposerTest,
    ::testing::Values(KeyCase{"tta", "||った", ""},
                      // "tts" is no romaji yet, but three keys do not clear it.
                      KeyCase{"ttsu", "|||っつ", ""}, KeyCase{"sshi", "|||っし", ""},
                      KeyCase{"ccha", "|||っちゃ", ""}, KeyCase{"ppyo", "|||っぴょ", ""},
                      // A doubled key followed by nothing that forms a kana.
                      KeyCase{"kkq", "||", "kkq"}, KeyCase{"kkqz", "|||", ""}));

INSTANTIATE_TEST_SUITE_P(TheSingleN, RomajiComposerTest,
                         ::testing::Values(KeyCase{"na", "|な", ""}, KeyCase{"nya", "||にゃ", ""},
                                           KeyCase{"nni", "|ん|い", ""},
                                           KeyCase{"nnka", "|ん||か", ""},
                                           KeyCase{"n1", "|ん", "1"}, KeyCase{"n ", "|ん", " "},
                                           KeyCase{"nz", "|ん", "z"}, KeyCase{"ny", "|", "ny"},
                                           // After the forced ん the waiting key only ever joins
                                           // romaji that start with it.
                                           KeyCase{"nsa", "|ん|さ", ""},
                                           KeyCase{"nsha", "|ん||しゃ", ""}));

INSTANTIATE_TEST_SUITE_P(
    SymbolsAndCase, RomajiComposerTest,
    ::testing::Values(KeyCase{"1", "１", ""}, KeyCase{" ", "　", ""}, KeyCase{",", "、", ""},
                      KeyCase{".", "。", ""}, KeyCase{"-", "ー", ""}, KeyCase{"?", "？", ""},
                      KeyCase{"@", "＠", ""}, KeyCase{"\\", "￥", ""},
                      // Not a romaji of the table: the full-width form of the key.
                      KeyCase{"`", "‘", ""}, KeyCase{"KA", "|か", ""}, KeyCase{"Kya", "||きゃ", ""},
                      // A symbol after a letter waits with it.
                      KeyCase{"k1", "|", "k1"}, KeyCase{"k1a", "||", "k1a"},
                      KeyCase{"k1ab", "|||", ""}));

// The extended mode: the input methods' spellings, and every spelling of the
// table gives its kana with its last key.
class ExtendedRomajiComposerTest : public RomajiComposerTest {};

TEST_P(ExtendedRomajiComposerTest, GivesTheKanaOfEachKey) {
    const KeyCase& c = GetParam();
    RomajiComposer composer(tables);
    composer.setSpellings(&romajiSpellings());
    const std::vector<std::string> expected = split(c.perKey);
    for (std::size_t i = 0; c.keys[i] != 0; ++i) {
        EXPECT_EQ(hex(composer.type(static_cast<unsigned char>(c.keys[i]))), hex(sj(expected.at(i))))
            << "key " << i + 1 << " of \"" << c.keys << "\"";
    }
    EXPECT_EQ(composer.pending(), c.pending) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    InputMethodSpellings, ExtendedRomajiComposerTest,
    ::testing::Values(KeyCase{"KKA", "||っか", ""}, KeyCase{"cchi", "|||っち", ""},
                      KeyCase{"nka", "|ん|か", ""}, KeyCase{"nna", "|ん|あ", ""},
                      KeyCase{"n'", "|ん", ""}, KeyCase{"'", "’", ""}));

TEST(ExtendedRomajiComposer, EverySpellingGivesItsKana) {
    const CharTables tables = buildCharTables();
    RomajiComposer composer(tables);
    composer.setSpellings(&romajiSpellings());
    for (const auto& [romaji, kana] : romajiSpellings().all()) {
        std::string out;
        for (char c : romaji) out += composer.type(static_cast<unsigned char>(c));
        EXPECT_EQ(hex(out), hex(kana)) << romaji;
        EXPECT_EQ(composer.pending(), "") << romaji;
        if (std::string_view("aiueon").find(romaji[0]) != std::string_view::npos) continue;
        out.clear();
        for (char c : romaji[0] + romaji) out += composer.type(static_cast<unsigned char>(c));
        EXPECT_EQ(hex(out), hex(sj("っ") + kana)) << "doubled " << romaji;
        EXPECT_EQ(composer.pending(), "") << "doubled " << romaji;
        composer.clear();
    }
    composer.setSpellings(nullptr);
    EXPECT_EQ(composer.type('n'), "");
    EXPECT_EQ(hex(composer.type('\'')), hex(sj("ん")));
    EXPECT_EQ(composer.pending(), "'") << "the standard editor keeps its own way";
}

class RomajiComposerBytesTest : public ::testing::Test {
  protected:
    CharTables tables = buildCharTables();
    RomajiComposer composer{tables};
};

TEST_F(RomajiComposerBytesTest, HalfWidthKatakanaBecomesFullWidth) {
    EXPECT_EQ(hex(composer.type(0xB1)), hex(sj("ア")));  // ｱ is no romaji
    EXPECT_EQ(hex(composer.type(0xA5)), hex(sj("・")));  // ･ is the romaji of ・
    EXPECT_EQ(hex(composer.type(0xA1)), hex(sj("。")));
    EXPECT_EQ(composer.pending(), "");
}

TEST_F(RomajiComposerBytesTest, ControlAndHalfCharacterBytesLeaveThePendingRomaji) {
    EXPECT_EQ(composer.type('k'), "");
    for (unsigned char b : {0x01, 0x09, 0x0D, 0x1B, 0x7F, 0x80, 0x82, 0xA0, 0xE0, 0xFD, 0xFF}) {
        EXPECT_EQ(composer.type(b), "") << int(b);
        EXPECT_EQ(composer.pending(), "k") << int(b);
    }
    EXPECT_EQ(hex(composer.type('a')), hex(sj("か")));
}

TEST_F(RomajiComposerBytesTest, AnyKeyStreamKeepsItsBounds) {
    std::mt19937 random(7);
    const std::string keys = "aiueokstnhmyrwgzdbpfjlxcvq,.-[]1 ;:@^\\/'";
    for (int i = 0; i < 20000; ++i) {
        const unsigned char key = i % 17 == 0 ? static_cast<unsigned char>(random() & 0xFF)
                                              : keys[random() % keys.size()];
        const std::string out = composer.type(key);
        ASSERT_LE(composer.pending().size(), 4u);
        ASSERT_EQ(out.size() % 2, 0u);
        ASSERT_LE(out.size(), 6u);
        for (std::size_t k = 0; k < out.size(); k += 2)
            ASSERT_TRUE(isLeadByte(static_cast<unsigned char>(out[k]))) << hex(out);
    }
}

TEST_F(RomajiComposerBytesTest, ClearForgetsThePendingRomaji) {
    composer.type('k');
    composer.type('y');
    composer.clear();
    EXPECT_EQ(hex(composer.type('a')), hex(sj("あ")));
}

}  // namespace
}  // namespace hayate
