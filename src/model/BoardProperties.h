#pragma once
// The active board's size and name, as Board > Properties sets them.

#include "model/LayoutDocument.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrel {

// How many objects of the active board lie on it now but wholly outside a
// board of the new size: the next save deletes them, so they are told of
// before the size changes.
size_t ObjectsLeftOffBySize(const LayoutDocument& doc, int32_t width, int32_t height);

// Sets the active board's size and its name, cut to kBoardNameMax
// characters; a change marks the document modified.
void SetBoardProperties(LayoutDocument& doc, int32_t width, int32_t height, const std::string& name);

} // namespace kestrel
