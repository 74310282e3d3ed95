#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#if defined(__linux__)
#include <sys/mman.h>
#endif

// Storage for a result's large arrays. The C library hands out blocks past its largest
// reuse size as freshly mapped memory, a small page at a time, each page faulting on its
// first touch: reading a year of salaries would cost tens of thousands of faults, every time.
// Where the system grants huge pages on request, the whole huge pages inside such a block ask
// for them, one fault for 512 small pages. Smaller blocks are left alone: they are mostly
// reused memory, and a huge page costs more to get than it saves there. Every block is an
// ordinary one, of the size asked for.
template <typename T> class HugePageAllocator {
public:
    using value_type = T;

    HugePageAllocator() = default;
    template <typename U> HugePageAllocator(const HugePageAllocator<U> &) {}

    T *allocate(std::size_t count) {
        T *block = std::allocator<T>().allocate(count);
        askForHugePages(block, count * sizeof(T));
        return block;
    }
    void deallocate(T *block, std::size_t count) { std::allocator<T>().deallocate(block, count); }

    template <typename U> bool operator==(const HugePageAllocator<U> &) const { return true; }

private:
    static void askForHugePages([[maybe_unused]] void *block, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__)
        // glibc's largest size below which freed blocks stay for reuse, on 64-bit systems.
        constexpr std::size_t alwaysFresh = std::size_t(32) << 20;
        constexpr std::uintptr_t hugePage = std::uintptr_t(2) << 20;
        if (bytes < alwaysFresh)
            return;
        const auto start = reinterpret_cast<std::uintptr_t>(block);
        const std::uintptr_t first = (start + hugePage - 1) / hugePage * hugePage;
        const std::uintptr_t end = (start + bytes) / hugePage * hugePage;
        if (first < end)
            madvise(reinterpret_cast<void *>(first), end - first, MADV_HUGEPAGE);
#endif
    }
};
