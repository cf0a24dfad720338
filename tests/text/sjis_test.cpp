#include "text/sjis.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/sjis_test_support.h"

namespace hayate {
namespace {

using test::hex;
using test::sj;

TEST(SjisTest, LeadBytes) {
    for (int b = 0; b < 256; ++b) {
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(isLeadByte(static_cast<unsigned char>(b)), lead) << b;
    }
    EXPECT_EQ(charLengthAt("\x82\xA0", 0), 2u);
    EXPECT_EQ(charLengthAt("a\x82", 1), 1u);
    EXPECT_EQ(charLengthAt("\xB1", 0), 1u);
}

// The literal converter must agree with the platform's code page 932 on every
// character it claims to know.
TEST(SjisTest, LiteralsAgreeWithCodePage932) {
    const char* samples[] = {
        "あいうえおかがぱぽぁっゃん",
        "アイウエオヴヵヶァッャンミムメ",
        "０１９ＡＺａｚ",
        "　、。，．・：；？！゛゜´｀¨＾￣＿ヽヾゝゞ〃仝々〆〇ー―‐／＼～∥｜…‥‘’“”（）〔〕［］｛｝〈"
        "〉《》「」『』【】＋－±×",
        "÷＝≠＜＞≦≧∞∴♂♀°′″℃￥＄￠￡％＃＆＊＠§☆★○●◎◇◆□■△▲▽▼※〒→←↑↓〓",
        "ユーザー１０ abc",
    };
    for (const char* s : samples) {
        const std::u8string_view u8(reinterpret_cast<const char8_t*>(s));
        EXPECT_EQ(hex(sjisLiteral(u8)), hex(sj(s))) << s;
    }
}

TEST(SjisTest, LiteralsRejectWhatTheyDoNotKnow) {
    EXPECT_THROW(sjisLiteral(u8"漢"), std::invalid_argument);
    EXPECT_THROW(sjisLiteral(std::u8string_view(u8"あ", 2)), std::invalid_argument);
}

}  // namespace
}  // namespace hayate
