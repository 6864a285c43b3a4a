#include "model/ObjectPool.h"

#include "model/LayoutObject.h"

#include <cassert>
#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

namespace kestrel::objectpool {

namespace {

constexpr size_t kSlotBytes = sizeof(LayoutObject);
constexpr size_t kSlotsPerBlock = 1000;

struct FreeSlot {
    FreeSlot* next;
};
static_assert(kSlotBytes >= sizeof(FreeSlot) && kSlotBytes % alignof(LayoutObject) == 0);
static_assert(alignof(LayoutObject) <= alignof(std::max_align_t));

struct FreeList {
    FreeSlot* head = nullptr;
    size_t count = 0;
};

thread_local FreeList tFree;

// Free lists of threads that have ended, waiting for a thread that needs slots.
struct LeftOver {
    std::mutex lock;
    std::vector<FreeList> lists;
};

LeftOver& leftOver()
{
    static auto* shared = new LeftOver; // never destroyed: threads may end after static destruction
    return *shared;
}

struct HandOverAtThreadEnd {
    ~HandOverAtThreadEnd()
    {
        if (!tFree.head)
            return;
        LeftOver& shared = leftOver();
        const std::lock_guard guard(shared.lock);
        shared.lists.push_back(tFree);
        tFree = {};
    }
};

// Makes sure the thread's free slots are handed over when it ends; called
// whenever its list goes from empty to holding slots.
void handOverAtThreadEnd()
{
    thread_local HandOverAtThreadEnd handOver;
    static_cast<void>(handOver);
}

void refill()
{
    handOverAtThreadEnd();
    {
        LeftOver& shared = leftOver();
        const std::lock_guard guard(shared.lock);
        if (!shared.lists.empty()) {
            tFree = shared.lists.back();
            shared.lists.pop_back();
            return;
        }
    }
    auto* block = static_cast<char*>(std::malloc(kSlotBytes * kSlotsPerBlock));
    if (!block)
        throw std::bad_alloc();
    // Linked in address order, so a fresh board lies in memory as in its list.
    for (size_t i = kSlotsPerBlock; i-- > 0;) {
        auto* slot = reinterpret_cast<FreeSlot*>(block + i * kSlotBytes);
        slot->next = tFree.head;
        tFree.head = slot;
    }
    tFree.count = kSlotsPerBlock;
}

} // namespace

void* take(size_t bytes)
{
    assert(bytes == kSlotBytes);
    if constexpr (!kPooled)
        return ::operator new(bytes);
    if (!tFree.head)
        refill();
    FreeSlot* slot = tFree.head;
    tFree.head = slot->next;
    --tFree.count;
    return slot;
}

void give(void* slot) noexcept
{
    if constexpr (!kPooled) {
        ::operator delete(slot);
        return;
    }
    if (!slot)
        return;
    if (!tFree.head)
        handOverAtThreadEnd(); // a thread that only frees objects must not lose their slots
    auto* freed = static_cast<FreeSlot*>(slot);
    freed->next = tFree.head;
    tFree.head = freed;
    ++tFree.count;
}

size_t spareBytes()
{
    size_t slots = tFree.count;
    LeftOver& shared = leftOver();
    const std::lock_guard guard(shared.lock);
    for (const FreeList& list : shared.lists)
        slots += list.count;
    return slots * kSlotBytes;
}

} // namespace kestrel::objectpool
