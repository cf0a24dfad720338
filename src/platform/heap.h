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
// a few faults instead of one per 4 KiB page. Nothing where the C library or
// the kernel offers no such control. Call once, early, before other threads.
HeapReservation reserveHeapForWindow(std::size_t bytes);

// Once the first frame is out: large blocks get mappings of their own again
// and freed memory goes back to the system, as before the reservation, so
// the run's peak memory does not grow by what the start kept.
void endHeapReservation();

}  // namespace hayate
