#pragma once
// Memory for the large arrays of copper indexes. Blocks of 64 KiB or more
// are mapped on their own and, when given back, kept for the next index:
// the next index of the same board asks for blocks of the same sizes, and
// fresh memory costs a page fault per page (a cold flood of a dense board
// spent a fifth of its time in them). Blocks of 2 MiB or more are offered
// for transparent huge pages, which also spares the lookups of random
// access over tens of megabytes. Smaller blocks come from the heap.

#include "model/AddressSanitizer.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace kestrel {

namespace indexmemory {
// The address sanitizer sees into heap blocks only.
constexpr size_t kMappedFrom = kAddressSanitizer ? SIZE_MAX : size_t{64} << 10;
void* allocate(size_t bytes);
void deallocate(void* p, size_t bytes);
} // namespace indexmemory

template <class T>
struct IndexAllocator {
    using value_type = T;

    IndexAllocator() = default;
    template <class U>
    IndexAllocator(const IndexAllocator<U>&) noexcept
    {
    }

    T* allocate(size_t n)
    {
        if (n > SIZE_MAX / sizeof(T))
            throw std::bad_array_new_length();
        const size_t bytes = n * sizeof(T);
        if (bytes < indexmemory::kMappedFrom)
            return static_cast<T*>(::operator new(bytes, std::align_val_t{alignof(T)}));
        return static_cast<T*>(indexmemory::allocate(bytes));
    }

    void deallocate(T* p, size_t n) noexcept
    {
        const size_t bytes = n * sizeof(T);
        if (bytes < indexmemory::kMappedFrom)
            ::operator delete(p, std::align_val_t{alignof(T)});
        else
            indexmemory::deallocate(p, bytes);
    }

    friend bool operator==(const IndexAllocator&, const IndexAllocator&) { return true; }
};

template <class T>
using IndexVector = std::vector<T, IndexAllocator<T>>;

} // namespace kestrel
