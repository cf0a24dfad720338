#include "records/record_format.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/sjis_test_support.h"

namespace hayate {
namespace {

std::string le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

TEST(RecordFormatTest, CourseBestIsSixScoresThenSixDatesLittleEndian) {
    CourseBest best;
    best.score[0] = 2400;
    best.score[5] = -7;
    best.date[0] = 20261208;
    best.date[5] = 1;
    const std::string bytes = encode(best);
    ASSERT_EQ(bytes.size(), kCourseBestSize);
    EXPECT_EQ(bytes.substr(0, 4), le32(2400));
    EXPECT_EQ(test::hex(bytes.substr(20, 4)), "F9 FF FF FF");
    EXPECT_EQ(bytes.substr(24, 4), le32(20261208));
    EXPECT_EQ(bytes.substr(44, 4), le32(1));
    EXPECT_EQ(bytes.substr(4, 16), std::string(16, '\0'));
    EXPECT_EQ(decodeCourseBest(bytes), best);
}

TEST(RecordFormatTest, CourseHistoryKeepsScoresAndDatesInTwoBlocks) {
    CourseHistory history;
    history.score[2][0] = 300;
    history.score[2][14] = INT_MIN;
    history.date[2][0] = 20261208;
    history.date[5][14] = -1;
    const std::string bytes = encode(history);
    ASSERT_EQ(bytes.size(), kCourseHistorySize);
    EXPECT_EQ(bytes.substr(120, 4), le32(300));                 // 60 x 2 + 4 x 0
    EXPECT_EQ(test::hex(bytes.substr(176, 4)), "00 00 00 80");  // 60 x 2 + 4 x 14
    EXPECT_EQ(bytes.substr(480, 4), le32(20261208));            // 360 + 60 x 2
    EXPECT_EQ(test::hex(bytes.substr(716, 4)), "FF FF FF FF");  // 360 + 60 x 5 + 4 x 14
    EXPECT_EQ(decodeCourseHistory(bytes), history);
    // Any bytes decode and encode back unchanged.
    std::string garbage(kCourseHistorySize, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 37 + 11);
    EXPECT_EQ(encode(decodeCourseHistory(garbage)), garbage);
}

TEST(RecordFormatTest, HistoryKeepsOneEntryPerDayNewestFirst) {
    CourseHistory history;
    history.score[1][0] = 55;  // another setting's list must not move
    history.date[1][0] = 20261201;

    history.addBest(3, 100, 20261207);
    history.addBest(3, 120, 20261207);  // same day: overwritten in place
    EXPECT_EQ(history.score[3][0], 120);
    EXPECT_EQ(history.date[3][1], 0);

    history.addBest(3, 130, 20261208);  // next day: the list moves down
    EXPECT_EQ(history.score[3][0], 130);
    EXPECT_EQ(history.date[3][0], 20261208);
    EXPECT_EQ(history.score[3][1], 120);
    EXPECT_EQ(history.date[3][1], 20261207);

    // Sixteen days of bests: the oldest two (counting the two above) fall out.
    for (int day = 1; day <= 16; ++day) history.addBest(3, 200 + day, 20270100 + day);
    for (int k = 0; k < kHistoryLength; ++k) {
        EXPECT_EQ(history.score[3][static_cast<std::size_t>(k)], 216 - k);
        EXPECT_EQ(history.date[3][static_cast<std::size_t>(k)], 20270116 - k);
    }
    EXPECT_EQ(history.score[1][0], 55);
    EXPECT_EQ(history.date[1][0], 20261201);
    EXPECT_EQ(history.date[1][1], 0);
}

TEST(RecordFormatTest, DateTextsAreCutFromTheDigits) {
    EXPECT_EQ(longDateText(20261208), "2026/12/08");
    EXPECT_EQ(shortDateText(20261208), "26/12/08");
    // Stored values are shown as they are, never refused.
    EXPECT_EQ(longDateText(0), "0//");
    EXPECT_EQ(shortDateText(0), "//");
    EXPECT_EQ(longDateText(19990), "1999/0/");
    EXPECT_EQ(longDateText(2026120899), "2026/12/08");
    EXPECT_EQ(longDateText(-20240315), "-202/40/31");
    EXPECT_EQ(shortDateText(-20240315), "02/40/31");
    EXPECT_EQ(longDateText(INT_MIN), "-214/74/83");
    EXPECT_EQ(shortDateText(INT_MIN), "14/74/83");
}

TEST(RecordFormatTest, SettingTitlesInSettingOrder) {
    EXPECT_EQ(settingTitle(0), test::sj("３０秒空白有り"));
    EXPECT_EQ(settingTitle(1), test::sj("３０秒空白無し"));
    EXPECT_EQ(settingTitle(2), test::sj("６０秒空白有り"));
    EXPECT_EQ(settingTitle(3), test::sj("６０秒空白無し"));
    EXPECT_EQ(settingTitle(4), test::sj("無制限空白有り"));
    EXPECT_EQ(settingTitle(5), test::sj("無制限空白無し"));
    EXPECT_EQ(settingTitle(6), "");
}

TEST(RecordFormatTest, RecordCellTextRightAlignsTheScoreInFour) {
    EXPECT_EQ(recordCellText(300, 20261208), " 300 (26/12/08)");
    EXPECT_EQ(recordCellText(12345, 20261208), "12345 (26/12/08)");
    EXPECT_EQ(recordCellText(-5, 7), "  -5 (//)");
    EXPECT_EQ(recordCellText(INT_MIN, INT_MAX), "-2147483648 (47/48/36)");
}

}  // namespace
}  // namespace hayate
