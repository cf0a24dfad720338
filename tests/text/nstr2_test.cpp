#include "text/nstr2.h"

#include <gtest/gtest.h>

#include <climits>

namespace hayate {
namespace {

TEST(Nstr2Test, MidStr) {
    EXPECT_EQ(midStr("abcdef", 3, 0), "cdef");
    EXPECT_EQ(midStr("abcdef", 3, 2), "cd");
    EXPECT_EQ(midStr("abc", 0, 2), "");
    EXPECT_EQ(midStr("abc", 5, 0), "");
    EXPECT_EQ(midStr("abc", 4, 0), "");
    EXPECT_EQ(midStr("abc", 2, 100), "bc");
    EXPECT_EQ(midStr("abc", 1, -1), "");
    EXPECT_EQ(midStr("abc", INT_MIN, INT_MAX), "");
    EXPECT_EQ(midStr("abc", INT_MAX, 0), "");
}

TEST(Nstr2Test, LeftStr) {
    EXPECT_EQ(leftStr("abcdef", 2), "ab");
    EXPECT_EQ(leftStr("ab", 5), "ab");
    EXPECT_EQ(leftStr("ab", 0), "");
    EXPECT_EQ(leftStr("ab", -3), "");
}

TEST(Nstr2Test, PosFrom) {
    EXPECT_EQ(posFrom(3, "abcabc", "bc"), 5);
    EXPECT_EQ(posFrom(1, "abcabc", "bc"), 2);
    EXPECT_EQ(posFrom(0, "abcabc", "bc"), 0);
    EXPECT_EQ(posFrom(-4, "abcabc", "a"), 0);
    EXPECT_EQ(posFrom(1, "abcabc", "x"), 0);
    EXPECT_EQ(posFrom(6, "abcabc", "c"), 6);
    EXPECT_EQ(posFrom(7, "abcabc", "c"), 0);
    EXPECT_EQ(posFrom(1, "abc", ""), 0);
}

TEST(Nstr2Test, TodayDateNumberFromAnInjectedClock) {
    EXPECT_EQ(todayDateNumber([] { return CivilDate{2026, 12, 8}; }), "20261208");
    EXPECT_EQ(todayDateNumber([] { return CivilDate{1999, 1, 31}; }), "19990131");
    // A year below 1000 loses its leading zeros, as the number would.
    EXPECT_EQ(todayDateNumber([] { return CivilDate{999, 5, 6}; }), "9990506");
    const std::string real = todayDateNumber();
    ASSERT_EQ(real.size(), 8u);
    EXPECT_GE(std::stoi(real), 20000101);
}

}  // namespace
}  // namespace hayate
