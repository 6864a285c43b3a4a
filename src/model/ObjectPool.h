#pragma once
// Storage for board objects: slots of one size carved from blocks of a
// thousand, so an object costs no malloc header and loading or freeing a
// board makes no call into malloc per object. Each thread keeps its own
// list of free slots, so taking and returning one needs no lock; a slot may
// be returned on another thread than the one that took it. A thread that
// ends hands its free slots to the threads that go on. Blocks are kept for
// the life of the process. Under AddressSanitizer every object has its own
// allocation again, so the sanitizer still sees each one freed and reused.

#include "model/AddressSanitizer.h"

#include <cstddef>

namespace kestrel::objectpool {

constexpr bool kPooled = !kAddressSanitizer;

// A slot for one LayoutObject; bytes is always sizeof(LayoutObject).
void* take(size_t bytes);
void give(void* slot) noexcept;

// Bytes of the slots held free for later objects: the calling thread's and
// those left by threads that have ended. Memory statistics subtract them.
size_t spareBytes();

} // namespace kestrel::objectpool
