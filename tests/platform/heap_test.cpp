#include "platform/heap.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace hayate {
namespace {

#if !defined(__SANITIZE_ADDRESS__)
// The VmFlags of the mapping that holds `address`, from /proc/self/smaps.
std::string vmFlagsAt(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t begin = 0, end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> begin >> dash >> end && dash == '-') {
            inside = begin <= at && at < end;
        } else if (inside && line.rfind("VmFlags:", 0) == 0) {
            return line;
        }
    }
    return {};
}
#endif

// A window-sized block, asked for after the reservation, lands in memory the
// kernel may back with large pages, not in a mapping of its own. Once the
// reservation ends, what is left of it goes back to the system.
TEST(Heap, WindowSizedBlocksLandInTheReservedStretchUntilItEnds) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator takes no tuning";
#else
    const std::size_t reserve = std::size_t{16} << 20;
    // keepcost: the free top of the heap, what a trim can give back.
    HeapReservation r = reserveHeapForWindow(reserve);
    if (r.reservedBytes == 0) GTEST_SKIP() << "no glibc heap to tune here";
    EXPECT_GE(mallinfo2().keepcost, reserve);
    endHeapReservation();
    void* volatile top = std::malloc(256 * 1024);  // volatile: kept by the optimiser
    std::free(top);  // a free at the top trims it
    EXPECT_LT(mallinfo2().keepcost, std::size_t{1} << 20);

    r = reserveHeapForWindow(reserve);
    ASSERT_GE(r.largePageBytes, std::size_t{12} << 20);
    void* backingStore = std::malloc(std::size_t{8} << 20);
    ASSERT_NE(backingStore, nullptr);
    const std::string flags = vmFlagsAt(backingStore);
    std::free(backingStore);
    endHeapReservation();
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
#endif
}

}  // namespace
}  // namespace hayate
