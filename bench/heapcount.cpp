#include "heapcount.h"

#include <atomic>
#include <malloc.h>

namespace {
std::atomic<std::uint64_t> counted{0};
}

// The sanitizers replace malloc themselves; there only the bytes are measured.
#if defined(__SANITIZE_ADDRESS__)
bool HeapCount::countsAllocations() {
    return false;
}
#else
extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *block, std::size_t size);

// Defined in the executable, these take the place of the C library's for every library the
// process loads; the blocks still come from, and go back to, the C library's allocator.
void *malloc(std::size_t size) {
    counted.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void *calloc(std::size_t count, std::size_t size) {
    counted.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void *realloc(void *block, std::size_t size) {
    counted.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(block, size);
}
}

bool HeapCount::countsAllocations() {
    return true;
}
#endif

std::uint64_t HeapCount::allocations() {
    return counted.load(std::memory_order_relaxed);
}

std::size_t HeapCount::bytesInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}
