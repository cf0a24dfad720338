#include "text/width_conversion.h"

#include <gtest/gtest.h>

#include "support/sjis_test_support.h"

namespace hayate {
namespace {

using test::hex;
using test::sj;

class WidthConversionTest : public ::testing::Test {
  protected:
    CharTables tables = buildCharTables();
};

TEST_F(WidthConversionTest, ToFullWidthJoinsVoicedMarksWhereAKatakanaExists) {
    EXPECT_EQ(hex(toFullWidth(tables, "A-1")), hex(sj("Ａー１")));
    EXPECT_EQ(hex(toFullWidth(tables, "\xB6\xDE")), hex(sj("ガ")));
    EXPECT_EQ(hex(toFullWidth(tables, "\xCA\xDF")), hex(sj("パ")));
    EXPECT_EQ(hex(toFullWidth(tables, "\xB3\xDE")), hex(sj("ヴ")));
    EXPECT_EQ(hex(toFullWidth(tables, "\xB1\xDE")), hex(sj("ア゛")));  // no voiced ア
    EXPECT_EQ(hex(toFullWidth(tables, "\xB6\xDF")), hex(sj("カ゜")));  // no semi-voiced カ
    EXPECT_EQ(hex(toFullWidth(tables, "\xDE")), hex(sj("゛")));
    EXPECT_EQ(hex(toFullWidth(tables, "[")), hex(sj("「")));
    tables.setBrackets(CharTables::Brackets::Square);
    EXPECT_EQ(hex(toFullWidth(tables, "[]")), hex(sj("［］")));
}

TEST_F(WidthConversionTest, ToFullWidthKeepsTwoByteCharactersAndBytesWithoutAForm) {
    EXPECT_EQ(hex(toFullWidth(tables, sj("あ") + "a")), hex(sj("あａ")));
    EXPECT_EQ(toFullWidth(tables, "\x01\x7F\x80\xA0\xFD\xFE\xFF"), "\x01\x7F\x80\xA0\xFD\xFE\xFF");
    // A lead byte at the very end is copied alone and nothing is read past it.
    EXPECT_EQ(hex(toFullWidth(tables, "a\x82")), hex(sj("ａ") + "\x82"));
    EXPECT_EQ(toFullWidth(tables, ""), "");
}

TEST_F(WidthConversionTest, ToHalfWidthTakesTheLowestSlot) {
    EXPECT_EQ(hex(toHalfWidth(tables, sj("ガ"))), "B6 DE");
    EXPECT_EQ(hex(toHalfWidth(tables, sj("パ"))), "CA DF");
    EXPECT_EQ(hex(toHalfWidth(tables, sj("ヴ"))), "B3 DE");
    EXPECT_EQ(toHalfWidth(tables, sj("「ー」")), "[-]");
    EXPECT_EQ(toHalfWidth(tables, sj("あ")), " ");
    EXPECT_EQ(toHalfWidth(tables, sj("Ａ")), "A");
    EXPECT_EQ(hex(toHalfWidth(tables, sj("、。・"))), "A4 A1 A5");
    EXPECT_EQ(toHalfWidth(tables, sj("　￥～‘’”")), " \\~`'\"");
    EXPECT_EQ(hex(toHalfWidth(tables, sj("ア"))), "B1");
    EXPECT_EQ(toHalfWidth(tables, sj("｀－漢")), "   ");
    EXPECT_EQ(toHalfWidth(tables, "x"), "x");
}

TEST_F(WidthConversionTest, ToHalfWidthNeverReadsPastTheEnd) {
    // A lone lead byte is looked up as a one-byte character; no slot holds it
    // as a full-width form except its own, so it maps to itself.
    EXPECT_EQ(hex(toHalfWidth(tables, "A\x82")), "41 82");
    EXPECT_EQ(hex(toHalfWidth(tables, "\xE0")), "E0");
    // Invalid trail bytes are taken as they come and find no form.
    EXPECT_EQ(toHalfWidth(tables, std::string_view("\x81\x00", 2)), " ");
    EXPECT_EQ(toHalfWidth(tables, "\x9F\xFF"), " ");
}

TEST_F(WidthConversionTest, PrintableAsciiSurvivesARoundTrip) {
    for (auto brackets : {CharTables::Brackets::Corner, CharTables::Brackets::Square}) {
        tables.setBrackets(brackets);
        for (int c = 0x20; c <= 0x7E; ++c) {
            const std::string s(1, static_cast<char>(c));
            EXPECT_EQ(toHalfWidth(tables, toFullWidth(tables, s)), s) << c;
        }
    }
    tables.setBrackets(CharTables::Brackets::Corner);
    EXPECT_EQ(toHalfWidth(tables, toFullWidth(tables, "\xB0")),
              "-");  // half-width ｰ comes back as hyphen
    EXPECT_EQ(toHalfWidth(tables, toFullWidth(tables, "\xA2\xA3")), "[]");
}

TEST_F(WidthConversionTest, KanaIndexOf) {
    EXPECT_EQ(kanaIndexOf(tables, sj("あ")), 0);
    EXPECT_EQ(kanaIndexOf(tables, sj("ん")), 45);
    EXPECT_EQ(kanaIndexOf(tables, sj("ぽ")), 70);
    EXPECT_EQ(kanaIndexOf(tables, sj("，")), 173);
    EXPECT_EQ(kanaIndexOf(tables, sj("ゃ")), 76);
    EXPECT_EQ(kanaIndexOf(tables, sj("しゃ")), 83);
    EXPECT_EQ(kanaIndexOf(tables, sj("ア")), -1);
    EXPECT_EQ(kanaIndexOf(tables, ""), -1);
}

TEST_F(WidthConversionTest, RomajiIndexOfSearchesRowByRow) {
    int row = -7;
    EXPECT_EQ(romajiIndexOf(tables, "shi", row), 11);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(romajiIndexOf(tables, "cha", row), 87);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(romajiIndexOf(tables, ",", row), 127);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(romajiIndexOf(tables, " ", row), 150);
    EXPECT_EQ(row, 0);
    row = -7;
    EXPECT_EQ(romajiIndexOf(tables, "wi", row), -1);
    EXPECT_EQ(row, -7);
    // Empty entries take part: the first one is row 1, index 0.
    EXPECT_EQ(romajiIndexOf(tables, "", row), 0);
    EXPECT_EQ(row, 1);
}

}  // namespace
}  // namespace hayate
