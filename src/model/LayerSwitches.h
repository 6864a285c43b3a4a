#pragma once
// The active layer, the visible layers and the ground-plane flag of the
// active side, as the status-line buttons, the layer menu and F1..F8 change
// them. The state lives in the board's working settings.

#include "model/Board.h"
#include "model/LayoutDocument.h"

namespace kestrel {

// Layers 5 and 6 (macro layers) are always visible.
bool IsLayerVisible(const BoardSettings& settings, int layer);

// Makes layer 1..4 active: deselects every object, shows the layer when it
// was hidden (an active layer is always visible). Returns false and changes
// nothing when the layer is already active or out of range.
bool SetActiveLayer(BoardSettings& settings, ObjectList& objects, int layer);

// Toggles the visibility of layer 1..4 and deselects the objects on it.
// The active layer is never toggled; returns false then.
bool SetViewLayer(BoardSettings& settings, ObjectList& objects, int layer);

// Shows every layer 1..4 that an object from index first on lies on: the
// objects a paste or a macro has just added are selected, and must not be
// out of sight where a command would then move or delete them unseen.
void ShowLayersOf(BoardSettings& settings, const ObjectList& objects, size_t first);

// The ground-plane flag of the side a layer belongs to (1, 2: side 1).
bool groundPlaneOn(const BoardSettings& settings, int layer);
// The buttons and the menu act on the side of the active layer.
void setGroundPlaneOfActiveSide(BoardSettings& settings, bool on);
// The same on the active board's working state. The plane is part of the
// board (it shapes the copper): a change marks the document modified.
void SetGroundPlane(LayoutDocument& doc, bool on);

} // namespace kestrel
