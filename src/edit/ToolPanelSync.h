#pragma once
// The values the tool panel shows for a selection. Reading them never
// changes an object: the panel shows rounded millimetres, and only a value
// the user edits is applied back (ApplyToolParameter).

#include "edit/ToolParameters.h"
#include "model/ObjectList.h"

#include <cstdint>

namespace kestrel {

// One panel value over the selected objects that carry it.
struct PanelValue {
    enum class State : uint8_t { None, Common, Mixed };
    State state = State::None;
    int32_t value = 0; // meaningful when Common

    bool common() const { return state == State::Common; }
    void take(int32_t v);
    bool operator==(const PanelValue&) const = default;
};

struct ToolPanelValues {
    PanelValue widthUnits;       // lines, zones, tracks
    PanelValue outerRadiusUnits; // pads and circles
    PanelValue innerRadiusUnits; // pads and circles
    PanelValue padShape;         // pads; a shape outside 1..9 counts as round
    bool lastPadIsVia = false;   // the last selected pad has a partner
    PanelValue clearanceUnits;   // every selected object
    bool operator==(const ToolPanelValues&) const = default;
};

ToolPanelValues SyncToolPanel(const ObjectList& list);

// Takes the common values over as the tool parameters for new objects, at
// full precision; mixed and absent values leave them as they are. A common
// pad shape brings the via state of the last pad with it. Returns whether
// a parameter changed.
bool AdoptToolPanelValues(ToolParameters& tools, const ToolPanelValues& values);

} // namespace kestrel
