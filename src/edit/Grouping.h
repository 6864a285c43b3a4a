#pragma once
// The group commands on the active board's selection. Neither takes an undo
// snapshot; both mark the document modified when they change it.

#include "model/LayoutDocument.h"

namespace kestrel {

// Makes the selection one new group (a new outermost number on every
// selected object), unless it is empty, a single object or already exactly
// one group. Returns whether a group was made.
bool GroupSelection(LayoutDocument& doc);

// Every selected object leaves its outermost group; nested groups fall back
// to their next inner group. Returns whether any object had a group.
bool Ungroup(LayoutDocument& doc);

} // namespace kestrel
