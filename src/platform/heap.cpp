#include "platform/heap.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif

namespace hayate {

HeapReservation reserveHeapForWindow(std::size_t bytes) {
    HeapReservation result;
#if defined(__linux__) && defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    // Blocks up to the reservation come from the heap, not from mappings of
    // their own, and freed memory stays: returning it would throw the
    // reservation away. The thresholds also stop glibc from adjusting them.
    // glibc caps the threshold at 32 MiB.
    const std::size_t keep = bytes + kLargePage;
    if (bytes == 0 || keep > (std::size_t{32} << 20) ||
        mallopt(M_MMAP_THRESHOLD, static_cast<int>(keep)) != 1 ||
        mallopt(M_TRIM_THRESHOLD, static_cast<int>(keep)) != 1)
        return result;
    void* block = std::malloc(bytes);
    if (!block) return result;
    // The whole block is advised: the kernel uses large pages where a whole
    // aligned 2 MiB fits and small ones at the ends.
    constexpr std::uintptr_t kPage = 4096;
    const auto begin = reinterpret_cast<std::uintptr_t>(block) & ~(kPage - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(kPage - 1);
    // The block is the top of the heap and untouched past its header; freed,
    // it stays there for the allocations that follow.
    std::free(block);
    result.reservedBytes = bytes;
    if (madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE) == 0) {
        const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
        const std::uintptr_t last = end & ~(kLargePage - 1);
        result.largePageBytes = last > first ? last - first : 0;
    }
#else
    (void)bytes;
#endif
    return result;
}

void endHeapReservation() {
#if defined(__linux__) && defined(__GLIBC__)
    // glibc's own starting values.
    constexpr int kDefaultThreshold = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kDefaultThreshold);
    mallopt(M_TRIM_THRESHOLD, kDefaultThreshold);
#endif
}

}  // namespace hayate
