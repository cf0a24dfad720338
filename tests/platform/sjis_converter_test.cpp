#include "platform/sjis_converter.h"

#include <gtest/gtest.h>

#include "support/sjis_test_support.h"

namespace hayate {
namespace {

TEST(SjisConverterTest, ConvertsBothWaysAndStandsInForWhatIsMissing) {
    SjisConverter converter;
    const struct {
        std::string utf8, sjis;
    } cases[] = {
        {"東京都の天気", test::sj("東京都の天気")},
        {"abc ～", "abc " + test::sj("～")},
        {"a😀b", "a\x81\xAC" "b"},  // no code in Shift-JIS
        {"\xE3\x81", "\x81\xAC" "\x81\xAC"},  // cut-off UTF-8
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(converter.toSjis(c.utf8), c.sjis) << c.utf8;
    EXPECT_EQ(converter.toUtf8(test::sj("漢字かな")), "漢字かな");
    // A lead byte with no valid trail: only it is lost.
    EXPECT_EQ(converter.toUtf8("\x88\x20" "a"), "〓 a");
    // A failure leaves nothing behind for the next call.
    EXPECT_EQ(converter.toSjis("東"), test::sj("東"));
}

}  // namespace
}  // namespace hayate
