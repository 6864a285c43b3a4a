#pragma once
// Deep copies of objects and of whole lists with their references re-linked:
// via partners, rubber bands and the end pads of autorouted tracks point
// into the copy, never back into the source.

#include "model/ObjectList.h"

#include <memory>

namespace kestrel {

// A copy of the object for another list: own points, groups and band list
// (still naming the source's pads), route ends copied, Partner copied as a
// reference. Sets CopiedMark on the source.
std::unique_ptr<LayoutObject> CopyObject(LayoutObject& source);

// Replaces dest by copies of every object of src, unselected, with every
// reference re-linked into dest (references to objects outside src are
// dropped). src's CopiedMark flags are all set afterwards.
void CopyList(ObjectList& dest, ObjectList& src);

// Re-links the rubber bands and route ends of dest[base..] that still name
// objects of src: the n-th object of src that carries CopiedMark was copied
// to dest[base + n]. References to objects not in src or not marked are
// dropped. Partners are left to the caller, who knows which pad was copied
// with which.
void RelinkCopies(const ObjectList& src, ObjectList& dest, size_t base);

} // namespace kestrel
