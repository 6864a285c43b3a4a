#include "route/IndexMemory.h"

#include <mutex>
#include <sys/mman.h>

namespace kestrel::indexmemory {

namespace {

constexpr size_t kPage = size_t{4} << 10;
constexpr size_t kHugePage = size_t{2} << 20;
// Blocks kept for reuse at most, in bytes; the oldest go first.
constexpr size_t kKeptLimit = size_t{64} << 20;

// Blocks of a huge page or more are made of whole huge pages.
size_t mappedSize(size_t bytes)
{
    const size_t unit = bytes >= kHugePage ? kHugePage : kPage;
    return (bytes + unit - 1) & ~(unit - 1);
}

struct KeptBlocks {
    struct Block {
        void* start;
        size_t size;
    };
    std::mutex mutex;
    std::vector<Block> blocks; // oldest first
    size_t bytes = 0;
};

KeptBlocks& kept()
{
    static auto* blocks = new KeptBlocks; // never destroyed: indexes may be freed during exit
    return *blocks;
}

void* mapBlock(size_t size)
{
    if (size < kHugePage) {
        void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED)
            throw std::bad_alloc();
        return block;
    }
    // One huge page more than needed, so that the block can start on a
    // huge-page boundary; the spare ends are handed back at once.
    void* raw = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
    if (aligned > start)
        ::munmap(raw, aligned - start);
    if (const size_t tail = start + kHugePage - aligned; tail > 0)
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
#ifdef MADV_HUGEPAGE
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE); // a hint: failure only costs speed
#endif
    return reinterpret_cast<void*>(aligned);
}

} // namespace

void* allocate(size_t bytes)
{
    const size_t size = mappedSize(bytes);
    KeptBlocks& cache = kept();
    {
        const std::lock_guard lock(cache.mutex);
        for (size_t k = cache.blocks.size(); k-- > 0;)
            if (cache.blocks[k].size == size) {
                void* start = cache.blocks[k].start;
                cache.blocks.erase(cache.blocks.begin() + static_cast<std::ptrdiff_t>(k));
                cache.bytes -= size;
                return start;
            }
    }
    return mapBlock(size);
}

void deallocate(void* p, size_t bytes)
{
    const size_t size = mappedSize(bytes);
    if (size > kKeptLimit) {
        ::munmap(p, size);
        return;
    }
    KeptBlocks& cache = kept();
    const std::lock_guard lock(cache.mutex);
    cache.blocks.push_back({p, size});
    cache.bytes += size;
    while (cache.bytes > kKeptLimit) {
        ::munmap(cache.blocks.front().start, cache.blocks.front().size);
        cache.bytes -= cache.blocks.front().size;
        cache.blocks.erase(cache.blocks.begin());
    }
}

} // namespace kestrel::indexmemory
