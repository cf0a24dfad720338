#include "reading/kana_reading.h"

#include <gtest/gtest.h>

#include <string>

namespace hayate {
namespace {

TEST(KanaReadingTest, KatakanaBecomeHiragana) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"カタカナ", "かたかな"},
        {"コンピューター", "こんぴゅーたー"},  // the long-vowel mark stays
        {"ァィゥェォッャュョヮン", "ぁぃぅぇぉっゃゅょゎん"},
        {"ヴァイオリン", "ヴぁいおりん"},  // no ゔ in Shift-JIS
        {"ヵヶ", "ヵヶ"},
        {"ヽヾ", "ゝゞ"},
        {"ｶﾞｷﾞｸﾞ", "がぎぐ"},
        {"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟﾂﾞﾃﾞﾄﾞｳﾞ", "ぱぴぷぺぽづでどヴ"},
        {"ｱﾞ", "あﾞ"},  // no voiced form: the mark stays alone
        {"ｰ", "ー"},
        {"Qtアプリ 2.0", "Qtあぷり 2.0"},
        {"漢字とかな・", "漢字とかな・"},
        {"\xFF" "ア", "\xFF" "あ"},  // a malformed byte is passed on
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(hiraganaOf(c.in), c.out) << c.in;
}

TEST(KanaReadingTest, WhatNeedsAReading) {
    const struct {
        std::string text;
        bool toRead, kanji;
    } cases[] = {
        {"ひらがな", false, false}, {"ー・、。", false, false}, {"ABC １２３", false, false},
        {"ｰ", false, false},       {"カ", true, false},       {"ｶ", true, false},
        {"漢", true, true},        {"々", true, true},        {"𠮷", true, true},
        {"あア", true, false},     {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(containsCharacterToRead(c.text), c.toRead) << c.text;
        EXPECT_EQ(containsKanji(c.text), c.kanji) << c.text;
    }
}

}  // namespace
}  // namespace hayate
