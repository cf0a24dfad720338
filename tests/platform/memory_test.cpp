#include "platform/memory.h"

#include <gtest/gtest.h>

namespace hayate {
namespace {

TEST(MemoryFigures, HalfOfTheMemoryFreeIsFiftyPercent) {
    const MemoryFigures f = memoryFigures({523744ull * 1024, 261872ull * 1024});
    EXPECT_EQ(f.totalKb, 523744u);
    EXPECT_EQ(f.availableKb, 261872u);
    EXPECT_EQ(f.loadPercent, 50u);
    EXPECT_EQ(groupDigits(f.totalKb), "523,744");
    EXPECT_EQ(groupDigits(f.availableKb), "261,872");
}

TEST(MemoryFigures, LoadRoundsHalfUpAndSurvivesOddReports) {
    EXPECT_EQ(memoryFigures({200 * 1024, 199 * 1024}).loadPercent, 1u);   // 0.5 -> 1
    EXPECT_EQ(memoryFigures({1000 * 1024, 996 * 1024}).loadPercent, 0u);  // 0.4 -> 0
    EXPECT_EQ(memoryFigures({0, 0}).loadPercent, 0u);
    EXPECT_EQ(memoryFigures({1024, 4096}).loadPercent, 0u);  // more free than total
    // Beyond 32 bits: 64 GiB.
    const MemoryFigures big = memoryFigures({64ull << 30, 16ull << 30});
    EXPECT_EQ(groupDigits(big.totalKb), "67,108,864");
    EXPECT_EQ(big.loadPercent, 75u);
}

TEST(MemoryFigures, DigitsGroupByThree) {
    EXPECT_EQ(groupDigits(0), "0");
    EXPECT_EQ(groupDigits(999), "999");
    EXPECT_EQ(groupDigits(1000), "1,000");
    EXPECT_EQ(groupDigits(18446744073709551615ull), "18,446,744,073,709,551,615");
}

TEST(Meminfo, ReadsTotalAndAvailableInBytes) {
    const auto m = parseMeminfo(
        "MemTotal:       16318412 kB\nMemFree:         1000000 kB\nMemAvailable:   8000000 kB\n");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->totalBytes, 16318412ull * 1024);
    EXPECT_EQ(m->availableBytes, 8000000ull * 1024);
    const auto old = parseMeminfo("MemFree: 5 kB\nMemTotal: 10 kB");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->availableBytes, 5u * 1024);
    EXPECT_FALSE(parseMeminfo("garbage\n:\nMemTotal: x kB\n"));
    EXPECT_FALSE(parseMeminfo(""));
}

TEST(Meminfo, ThisMachineReportsSomething) {
    const PhysicalMemory m = physicalMemoryStatus();
    EXPECT_GT(m.totalBytes, 0u);
    EXPECT_LE(m.availableBytes, m.totalBytes);
}

}  // namespace
}  // namespace hayate
