#pragma once
// Vias: a pad and its twin on the other copper layer, linked as partners.

#include "model/ObjectList.h"

namespace kestrel {

// Gives a pad without a partner its twin on the other side, appended to the
// list. The twin starts without rubber bands: a band is recorded in both of
// its pads, and the far pads know nothing of the twin. Returns the twin, or
// nullptr when the pad already has a partner or is no pad.
LayoutObject* MakeVia(ObjectList& list, LayoutObject& pad);

} // namespace kestrel
