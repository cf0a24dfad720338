#include "journal/jis_keys.h"

#include <gtest/gtest.h>

#include "support/sjis_test_support.h"

namespace hayate::jis {
namespace {

using test::sj;

int idOfBase(char c) {
    for (const Key& k : keys())
        if (k.base == c && k.zone == Zone::Main) return k.id;
    return -1;
}

TEST(JisKeys, HundredAndNineKeysThatDoNotOverlap) {
    ASSERT_EQ(keys().size(), static_cast<std::size_t>(kKeyCount));
    for (const Key& k : keys()) {
        EXPECT_EQ(keyById(k.id), &k);
        EXPECT_TRUE(k.typesCharacters() || !k.name.empty()) << "key " << k.id << " has no legend";
        for (const Key& o : keys()) {
            if (&o == &k) continue;
            // Row by row, so that the L of Enter counts with its own shape.
            for (int row = o.row; row < o.row + o.height; ++row) {
                if (row < k.row || row >= k.row + k.height) continue;
                const double kx = k.x + (row > k.row ? k.lowerInset : 0.0);
                const double ox = o.x + (row > o.row ? o.lowerInset : 0.0);
                const double kw = k.width - (row > k.row ? k.lowerInset : 0.0);
                const double ow = o.width - (row > o.row ? o.lowerInset : 0.0);
                EXPECT_FALSE(kx < ox + ow && ox < kx + kw) << "keys " << k.id << " and " << o.id;
            }
        }
    }
    EXPECT_EQ(keyById(kKeyCount), nullptr);
    EXPECT_EQ(keyById(kSpaceKeyId)->base, ' ');
    EXPECT_EQ(keyById(kEnterKeyId)->height, 2.0);
}

TEST(JisKeys, EveryCharacterOfTheCoursesHasItsKey) {
    // The typing block's rows stay within 15 units, as on the keyboard.
    for (const Key& k : keys())
        if (k.zone == Zone::Main) {
            EXPECT_LE(k.x + k.width, 15.0) << k.id;
        }
    const std::string typed =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 "
        "!\"#$%&'()=-@:;+*.,/<>?\\_|^~`[]{}";
    for (char c : typed) {
        const int id = keyIdForByte(static_cast<unsigned char>(c));
        ASSERT_GE(id, 0) << c;
        EXPECT_NE(keyById(id)->zone, Zone::Keypad) << c;
    }
}

TEST(JisKeys, LookupFollowsTheJapaneseLayout) {
    struct Case {
        std::string character;  // Shift-JIS
        char keyBase;
        bool shift;
    } cases[] = {
        {"a", 'a', false},      {"A", 'a', false},      {"@", '@', false},
        {"\"", '2', true},      {"(", '8', true},       {"=", '-', true},
        {"+", ';', true},       {"*", ':', true},       {"_", 0, true},  // the ろ key
        {"\\", '\\', false},    {sj("Ｑ"), 'q', false}, {sj("ｑ"), 'q', false},
        {sj("７"), '7', false}, {sj("＠"), '@', false}, {sj("？"), '/', true},
        {sj("　"), ' ', false}, {sj("ﾁ"), 'a', false},  {sj("ﾛ"), 0, false},
    };
    for (const Case& c : cases) {
        const int id = keyIdForCharacter(c.character);
        ASSERT_GE(id, 0) << test::hex(c.character);
        if (c.keyBase != 0) {
            EXPECT_EQ(id, idOfBase(c.keyBase)) << test::hex(c.character);
        }
        if (c.character.size() == 1) {
            EXPECT_EQ(needsShift(static_cast<unsigned char>(c.character[0])), c.shift)
                << c.character;
        }
    }
    EXPECT_EQ(keyIdForCharacter(sj("_")), keyIdForCharacter(sj("ﾛ")));
    EXPECT_EQ(keyIdForCharacter(sj("し")), -1);  // a kana is several keys in romaji
    EXPECT_EQ(keyIdForCharacter(""), -1);
}

}  // namespace
}  // namespace hayate::jis
