#include "platform/heap.h"

#include <cstdint>
#include <cstdlib>

// mallinfo2 came with glibc 2.33.
#if defined(__linux__) && defined(__GLIBC__) && \
    (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
#define HAYATE_GLIBC_HEAP 1
#include <malloc.h>
#include <sys/mman.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define HAYATE_OWN_ALLOCATOR 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define HAYATE_OWN_ALLOCATOR 0
#endif
#endif
#ifndef HAYATE_OWN_ALLOCATOR
#define HAYATE_OWN_ALLOCATOR 1
#endif

namespace hayate {

#if defined(HAYATE_GLIBC_HEAP)
namespace {
bool reserved = false;
}
#endif

HeapReservation reserveHeapForWindow(std::size_t bytes) {
    HeapReservation result;
#if defined(HAYATE_GLIBC_HEAP) && defined(MADV_HUGEPAGE) && HAYATE_OWN_ALLOCATOR
    if (reserved || bytes == 0 || bytes > (std::size_t{32} << 20)) return result;
    // A block this large gets a mapping of its own; freeing it raises glibc's
    // mapping and trim thresholds to its size, as glibc does for any program
    // that frees such a block. Only then does the next one come from the heap.
    void* volatile teacher = std::malloc(bytes);  // volatile: the pair must not be optimised away
    std::free(teacher);
    void* block = std::malloc(bytes);
    if (!block) return result;
    // Still a mapping of its own (thresholds fixed by the user): no heap to keep.
    if (mallinfo2().hblkhd >= bytes) {
        std::free(block);
        return result;
    }
    // The whole block is advised: the kernel uses large pages where a whole
    // aligned 2 MiB fits and small ones at the ends.
    constexpr std::uintptr_t kPage = 4096;
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(block) & ~(kPage - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(kPage - 1);
    // The block is the top of the heap and untouched past its header; freed,
    // it stays there (under the raised trim threshold) for what follows.
    std::free(block);
    reserved = true;
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
#if defined(HAYATE_GLIBC_HEAP)
    if (!reserved) return;
    reserved = false;
    malloc_trim(0);
#endif
}

}  // namespace hayate
