#include "text/user_texts.h"

#include <gtest/gtest.h>

#include "platform/file_names.h"
#include "support/sjis_test_support.h"

namespace hayate {
namespace {

using test::hex;

// What the files already written by the program hold; a different byte would
// lose the user's settings or change the problem file.
TEST(UserTextsTest, TextsThatGoIntoFilesKeepTheirBytes) {
    const struct {
        UserText text;
        const char* bytes;
    } cases[] = {
        {UserText::SettingsSection, "49 6E 69 74"},
        {UserText::SettingsCourseKey, "83 52 81 5B 83 58"},
        {UserText::SettingsTimeLimitKey, "90 A7 8C C0 8E 9E 8A D4"},
        {UserText::SettingsSpacingKey, "8B F3 94 92 97 4C 96 B3"},
        {UserText::SettingsCursorColourKey, "93 FC 97 CD 83 4A 81 5B 83 5C 83 8B 90 46"},
        {UserText::SettingsLetterCaseKey, "89 70 91 E5 95 B6 8E 9A 8F AC 95 B6 8E 9A"},
        {UserText::SettingsProblemFileKey, "96 E2 91 E8 83 74 83 40 83 43 83 8B 96 BC"},
        {UserText::SettingsRomajiExtendedKey, "83 8D 81 5B 83 7D 8E 9A 8A 67 92 A3"},
        {UserText::DefaultProblemFileName, "4B 62 64 6F 6A 6F 2E 55 53 52"},
        {UserText::DefaultProblemName, "83 86 81 5B 83 55 81 5B"},
    };
    for (const auto& c : cases) EXPECT_EQ(hex(sjisText(c.text)), c.bytes) << utf8Text(c.text);
}

// A character that code page 932 lacks, or one it maps to another, would show
// wrongly in the window.
TEST(UserTextsTest, EveryTextReadsBackAsWritten) {
    for (int i = 0; i < kUserTextCount; ++i) {
        const auto text = static_cast<UserText>(i);
        ASSERT_FALSE(sjisText(text).empty()) << i;
        EXPECT_EQ(utf8FromSjis(sjisText(text)).value_or("<invalid>"), utf8Text(text)) << i;
    }
}

}  // namespace
}  // namespace hayate
