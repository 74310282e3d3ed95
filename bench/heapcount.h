#pragma once

#include <cstddef>
#include <cstdint>

// What the heap holds and how many blocks were asked of it, counting every malloc, calloc
// and realloc of the process (Qt's, SQLite's, the program's), not only C++ `new`.
namespace HeapCount {

// False where the counting allocator cannot be installed (a sanitizer build owns malloc).
bool countsAllocations();
std::uint64_t allocations();
// Bytes in use in the heap, mapped large blocks included.
std::size_t bytesInUse();

} // namespace HeapCount
