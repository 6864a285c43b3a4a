#pragma once
// Group numbers: stacks of numbers on each object, the last entry being the
// outermost group.

#include "model/ObjectList.h"

namespace kestrel {

// Renumbers the group numbers in use to 1..n without gaps, keeping their order.
void compactGroups(ObjectList& list);

// Appends a new group number to every selected object unless the selection
// is empty, a single object or already exactly one group. Returns whether
// a group was made.
bool groupSelection(ObjectList& list);

// Turns the single group numbers of version-1 objects (LegacyGroup) into
// groups: objects sharing a number become one group.
void convertLegacyGroups(ObjectList& list);

} // namespace kestrel
