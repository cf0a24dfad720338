#include "text/char_tables.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/sjis_test_support.h"
#include "text/width_conversion.h"

namespace hayate {
namespace {

using test::hex;
using test::sj;

std::vector<std::string> words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

class CharTablesTest : public ::testing::Test {
  protected:
    CharTables tables = buildCharTables();
};

// Kana 0..130 with their primary romaji, as the trainer's course lists them.
TEST_F(CharTablesTest, KanaAndPrimaryRomajiOfTheSyllables) {
    const std::string kana =
        "あ い う え お か き く け こ さ し す せ そ た ち つ て と な に ぬ ね の は ひ ふ へ ほ "
        "ま み む め も や ゆ よ ら り る れ ろ わ を ん が ぎ ぐ げ ご ざ じ ず ぜ ぞ だ ぢ づ で "
        "ど "
        "ば び ぶ べ ぼ ぱ ぴ ぷ ぺ ぽ ぁ ぃ ぅ ぇ ぉ ゃ ゅ ょ っ きゃ きゅ きょ しゃ しゅ しぇ "
        "しょ "
        "ちゃ ちゅ ちぇ ちょ にゃ にゅ にょ ひゃ ひゅ ひょ ふぁ ふぃ ふぇ ふぉ みゃ みゅ みょ りゃ "
        "りゅ りょ "
        "ぎゃ ぎゅ ぎょ じゃ じゅ じぇ じょ びゃ びゅ びょ ぴゃ ぴゅ ぴょ うぁ うぃ うぇ うぉ ひぃ "
        "びぃ ぴぃ "
        "、 。 ？ ！";
    const std::string romaji =
        "a i u e o ka ki ku ke ko sa si su se so ta ti tu te to na ni nu ne no ha hi hu he ho "
        "ma mi mu me mo ya yu yo ra ri ru re ro wa wo nn ga gi gu ge go za zi zu ze zo da di du de "
        "do "
        "ba bi bu be bo pa pi pu pe po la li lu le lo lya lyu lyo ltu kya kyu kyo sya syu sye syo "
        "tya tyu tye tyo nya nyu nyo hya hyu hyo fa fi fe fo mya myu myo rya ryu ryo "
        "gya gyu gyo ja ju je jo bya byu byo pya pyu pyo wha whi whe who hyi byi pyi , . ? !";
    const auto k = words(kana);
    const auto r = words(romaji);
    ASSERT_EQ(k.size(), 131u);
    ASSERT_EQ(r.size(), 131u);
    for (int i = 0; i <= 130; ++i) {
        EXPECT_EQ(hex(tables.kana(i)), hex(sj(k[i]))) << "kana " << i << " " << k[i];
        EXPECT_EQ(tables.romaji(0, i), r[i]) << "romaji " << i;
    }
}

// Symbols 131..173 by their Shift-JIS codes and the key that types them.
TEST_F(CharTablesTest, SymbolsAndTheKeysThatTypeThem) {
    struct Symbol {
        int index;
        unsigned code;
        std::string typed;
    };
    const std::vector<Symbol> symbols = {
        {131, 0x8250, "1"},  {132, 0x8251, "2"}, {133, 0x8252, "3"},    {134, 0x8253, "4"},
        {135, 0x8254, "5"},  {136, 0x8255, "6"}, {137, 0x8256, "7"},    {138, 0x8257, "8"},
        {139, 0x8258, "9"},  {140, 0x824F, "0"}, {141, 0x815B, "-"},    {142, 0x814F, "^"},
        {143, 0x818F, "\\"}, {144, 0x8197, "@"}, {145, 0x8175, "["},    {146, 0x8147, ";"},
        {147, 0x8146, ":"},  {148, 0x8176, "]"}, {149, 0x8145, "\xA5"}, {150, 0x8140, " "},
        {151, 0x8168, "\""}, {152, 0x8194, "#"}, {153, 0x8190, "$"},    {154, 0x8193, "%"},
        {155, 0x8195, "&"},  {156, 0x8166, "'"}, {157, 0x8169, "("},    {158, 0x816A, ")"},
        {159, 0x8181, "="},  {160, 0x8160, "~"}, {161, 0x8162, "|"},    {162, 0x814D, " "},
        {163, 0x816F, "{"},  {164, 0x817B, "+"}, {165, 0x8196, "*"},    {166, 0x8170, "}"},
        {167, 0x8183, "<"},  {168, 0x8184, ">"}, {169, 0x8151, "_"},    {170, 0x815E, "/"},
        {171, 0x817C, " "},  {172, 0x8144, "."}, {173, 0x8143, ","},
    };
    ASSERT_EQ(symbols.size(), 43u);
    for (const Symbol& s : symbols) {
        const std::string code{static_cast<char>(s.code >> 8), static_cast<char>(s.code & 0xFF)};
        EXPECT_EQ(hex(tables.kana(s.index)), hex(code)) << "kana " << s.index;
        EXPECT_EQ(hex(tables.romaji(0, s.index)), hex(s.typed)) << "romaji " << s.index;
    }
    for (int i = 174; i < CharTables::kKanaSlots; ++i) {
        EXPECT_TRUE(tables.kana(i).empty()) << i;
        for (int row = 0; row < 3; ++row)
            EXPECT_TRUE(tables.romaji(row, i).empty()) << row << "/" << i;
    }
    EXPECT_TRUE(tables.kana(-1).empty());
    EXPECT_TRUE(tables.romaji(3, 0).empty());
}

TEST_F(CharTablesTest, AlternativeRowsHoldExactlyTheListedSpellings) {
    const std::map<int, std::string> row1 = {
        {11, "shi"},  {16, "chi"}, {17, "tsu"}, {27, "fu"},  {52, "ji"},   {71, "xa"},
        {72, "xi"},   {73, "xu"},  {74, "xe"},  {75, "xo"},  {76, "xya"},  {77, "xyu"},
        {78, "xyo"},  {79, "xtu"}, {83, "sha"}, {84, "shu"}, {85, "she"},  {86, "sho"},
        {87, "cya"},  {88, "cyu"}, {89, "cye"}, {90, "cyo"}, {110, "jya"}, {111, "jyu"},
        {112, "jye"}, {113, "jyo"}};
    const std::map<int, std::string> row2 = {{87, "cha"},  {88, "chu"},  {89, "che"},
                                             {90, "cho"},  {110, "zya"}, {111, "zyu"},
                                             {112, "zye"}, {113, "zyo"}};
    ASSERT_EQ(row1.size(), 26u);
    ASSERT_EQ(row2.size(), 8u);
    for (int i = 0; i < CharTables::kKanaSlots; ++i) {
        const auto r1 = row1.find(i);
        const auto r2 = row2.find(i);
        EXPECT_EQ(tables.romaji(1, i), r1 == row1.end() ? "" : r1->second) << i;
        EXPECT_EQ(tables.romaji(2, i), r2 == row2.end() ? "" : r2->second) << i;
        // A search through the rows may stop at the first empty entry.
        if (!tables.romaji(2, i).empty()) {
            EXPECT_FALSE(tables.romaji(1, i).empty()) << i;
        }
        if (i <= CharTables::kLastKanaIndex) {
            EXPECT_FALSE(tables.romaji(0, i).empty()) << i;
        }
    }
}

TEST_F(CharTablesTest, FullWidthFormsOfEveryByte) {
    // The full-width forms listed for printable ASCII; the square brackets are
    // the corner brackets after building.
    const std::string ascii =
        " !\"#$%&'()*+,-./"
        "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
    const std::string forms =
        "　！”＃＄％＆’（）＊＋，ー．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧＨＩＪＫＬＭ"
        "ＮＯＰＱＲＳＴＵＶＷＸＹＺ"
        "「￥」＾＿‘ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～";
    const std::string formsSj = sj(forms);
    ASSERT_EQ(formsSj.size(), ascii.size() * 2);
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        const auto b = static_cast<unsigned char>(ascii[i]);
        EXPECT_EQ(hex(tables.fullWidth(b)), hex(formsSj.substr(i * 2, 2)))
            << "'" << ascii[i] << "'";
    }
    // Half-width katakana A1..DF.
    const std::string kataSj =
        sj("。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒ"
           "フヘホマミムメモヤユヨラリルレロワン゛゜");
    ASSERT_EQ(kataSj.size(), 63u * 2);
    for (int b = 0xA1; b <= 0xDF; ++b)
        EXPECT_EQ(hex(tables.fullWidth(static_cast<unsigned char>(b))),
                  hex(kataSj.substr((b - 0xA1) * 2, 2)))
            << b;
    // Everything else maps to itself.
    for (int b = 0; b < 256; ++b) {
        if ((b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF)) continue;
        EXPECT_EQ(tables.fullWidth(static_cast<unsigned char>(b)),
                  std::string(1, static_cast<char>(b)))
            << b;
    }
}

TEST_F(CharTablesTest, VoicedAndSemiVoicedKatakana) {
    const std::string voiced = sj("ガギグゲゴザジズゼゾダヂヅデド");
    const std::string voicedH = sj("バビブベボ");
    const std::string semi = sj("パピプペポ");
    for (int b = 0; b < 256; ++b) {
        const auto u = static_cast<unsigned char>(b);
        std::string v, s;
        if (b >= 0xB6 && b <= 0xC4) v = voiced.substr((b - 0xB6) * 2, 2);
        if (b >= 0xCA && b <= 0xCE)
            v = voicedH.substr((b - 0xCA) * 2, 2), s = semi.substr((b - 0xCA) * 2, 2);
        if (b == 0xB3) v = sj("ヴ");
        EXPECT_EQ(hex(tables.voiced(u)), hex(v)) << b;
        EXPECT_EQ(hex(tables.semiVoiced(u)), hex(s)) << b;
    }
}

TEST_F(CharTablesTest, BracketSlotsFollowTheModeAndChangeTheHalfWidthLookup) {
    EXPECT_EQ(tables.brackets(), CharTables::Brackets::Corner);
    EXPECT_EQ(hex(toHalfWidth(tables, sj("「"))), "5B");

    tables.setBrackets(CharTables::Brackets::Square);
    EXPECT_EQ(hex(tables.fullWidth('[')), hex(sj("［")));
    EXPECT_EQ(hex(tables.fullWidth(']')), hex(sj("］")));
    EXPECT_EQ(hex(toHalfWidth(tables, sj("「」"))), "A2 A3");  // the half-width corner brackets
    EXPECT_EQ(toHalfWidth(tables, sj("［］")), "[]");
    // The derived romaji were fixed at build time and do not follow.
    EXPECT_EQ(tables.romaji(0, 145), "[");

    tables.setBrackets(CharTables::Brackets::Corner);
    EXPECT_EQ(toHalfWidth(tables, sj("「」")), "[]");
    EXPECT_EQ(hex(toHalfWidth(tables, sj("［"))), "20");
}

}  // namespace
}  // namespace hayate
