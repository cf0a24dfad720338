#include "platform/heap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33)) && \
    !defined(__SANITIZE_ADDRESS__)
#define HAYATE_TEST_GLIBC_HEAP 1
#include <malloc.h>
#endif

namespace hayate {
namespace {

#if defined(HAYATE_TEST_GLIBC_HEAP)
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
// reservation ends, what is left of it goes back to the system, and glibc
// still keeps such blocks in the heap rather than mapping each anew.
TEST(Heap, WindowSizedBlocksLandInTheReservedStretchUntilItEnds) {
#if !defined(HAYATE_TEST_GLIBC_HEAP)
    GTEST_SKIP() << "glibc's own allocator only";
#else
    std::ifstream thp("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    std::getline(thp, modes);
    if (modes.find("[never]") != std::string::npos || modes.empty())
        GTEST_SKIP() << "the kernel gives no large pages here";
    const std::size_t reserve = std::size_t{16} << 20;
    const HeapReservation r = reserveHeapForWindow(reserve);
    ASSERT_EQ(r.reservedBytes, reserve);
    ASSERT_GE(r.largePageBytes, std::size_t{12} << 20);
    // keepcost: the free top of the heap, what a trim can give back.
    EXPECT_GE(mallinfo2().keepcost, reserve);
    void* backingStore = std::malloc(std::size_t{8} << 20);
    ASSERT_NE(backingStore, nullptr);
    const std::string flags = vmFlagsAt(backingStore);
    std::free(backingStore);
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;

    endHeapReservation();
    EXPECT_LT(mallinfo2().keepcost, std::size_t{1} << 20);
    void* volatile later = std::malloc(std::size_t{4} << 20);  // volatile: kept by the optimiser
    EXPECT_EQ(mallinfo2().hblks, 0u) << "a 4 MiB block got a mapping of its own";
    std::free(later);
#endif
}

}  // namespace
}  // namespace hayate
