#pragma once
// Bytes the process holds for live data: malloc's chunks in use plus the
// blocks it mapped on their own, less the object pool's free slots, so
// memory pooled in large blocks is counted and spare slots are not.

#include "model/ObjectPool.h"

#include <cstddef>
#include <malloc.h>

namespace kestrel::bench {

inline size_t heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd - objectpool::spareBytes();
}

} // namespace kestrel::bench
