#pragma once
// Applying a tool-panel value to the active board's selection, as the spin
// edits, the pad-shape menu and the via command do after the user changed
// the value. Only that: showing a selection's values (SyncToolPanel) never
// calls it.

#include "edit/EditSession.h"
#include "edit/ToolParameters.h"
#include "model/LayoutDocument.h"

namespace kestrel {

enum class ToolParameter : uint8_t { Width = 1, OuterRadius = 2, InnerRadius = 3, PadShape = 4, Via = 5 };

// Width: lines, zones and tracks. Outer and inner radius: pads and circles,
// each object keeping its inner radius within its outer one. Pad shape:
// pads. Via: with ViaMode on, selected pads become vias; off, each via keeps
// its pad on the active side and loses the other one, after an undo snapshot
// so the dropped pad and its bands come back with Undo. Returns whether an
// object changed.
bool ApplyToolParameter(EditSession& session, LayoutDocument& doc, const ToolParameters& tools,
                        ToolParameter which);

} // namespace kestrel
