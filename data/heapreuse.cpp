#include "heapreuse.h"

#include <cstddef>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Blocks from 32 MB up are mapped apart and unmapped when freed, always (the largest
    // threshold glibc would reach by itself): the huge pages of hugepageallocator.h rely on it.
    constexpr int mappedApart = 32 << 20;
    // Freed memory at the top of the heap goes back to the system only past this much: more
    // than a year's answer from the server takes.
    constexpr int keptAtMost = 256 << 20;
    mallopt(M_MMAP_THRESHOLD, mappedApart);
    mallopt(M_TRIM_THRESHOLD, keptAtMost);
#endif
}
