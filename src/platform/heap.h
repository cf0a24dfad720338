// The process's heap, set up before the first window.
#pragma once

#include <cstddef>

namespace hayate {

struct HeapReservation {
    std::size_t reservedBytes = 0;   // kept at the top of the heap for what follows
    std::size_t largePageBytes = 0;  // of which the kernel may back with 2 MiB pages
};

// Keeps the window's large blocks (its backing store, glyph caches) in one
// reserved stretch of the heap that the kernel may back with 2 MiB pages:
// a few faults instead of one per 4 KiB page. glibc is taught, as it teaches
// itself, that blocks of that size belong in the heap; its thresholds stay
// its own and keep adapting. Nothing where the C library or the kernel
// offers no such control (or a sanitizer replaces the allocator). Call once,
// early, while the process has one thread. At most 32 MiB.
HeapReservation reserveHeapForWindow(std::size_t bytes);

// Once the first frame is out: what the start left unused goes back to the
// system, so the run's peak memory does not grow by it. Nothing when no
// reservation was made.
void endHeapReservation();

}  // namespace hayate
