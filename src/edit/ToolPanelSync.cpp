#include "edit/ToolPanelSync.h"

namespace kestrel {

namespace {

uint8_t knownShapeOrRound(uint8_t shape)
{
    return shape >= 1 && shape <= 9 ? shape : static_cast<uint8_t>(PadShape::Round);
}

template <class T>
bool adopt(T& target, const PanelValue& v)
{
    if (!v.common() || target == static_cast<T>(v.value))
        return false;
    target = static_cast<T>(v.value);
    return true;
}

} // namespace

void PanelValue::take(int32_t v)
{
    if (state == State::None) {
        state = State::Common;
        value = v;
    } else if (state == State::Common && value != v) {
        state = State::Mixed;
    }
}

ToolPanelValues SyncToolPanel(const ObjectList& list)
{
    ToolPanelValues out;
    for (const auto& item : list) {
        const LayoutObject& o = *item;
        if (!o.Selected)
            continue;
        switch (o.kind()) {
        case ObjectKind::Line:
        case ObjectKind::Zone:
        case ObjectKind::Track:
            out.widthUnits.take(o.widthUnits());
            break;
        case ObjectKind::Pad:
            out.padShape.take(knownShapeOrRound(o.Shape));
            out.lastPadIsVia = o.Partner != nullptr;
            [[fallthrough]];
        case ObjectKind::Circle:
            out.outerRadiusUnits.take(o.X2);
            out.innerRadiusUnits.take(o.Y2);
            break;
        case ObjectKind::Text:
            break;
        }
        out.clearanceUnits.take(o.Clearance);
    }
    return out;
}

bool AdoptToolPanelValues(ToolParameters& tools, const ToolPanelValues& values)
{
    bool changed = adopt(tools.CurrentTrackWidth, values.widthUnits);
    changed |= adopt(tools.CurrentPadOuter, values.outerRadiusUnits);
    changed |= adopt(tools.CurrentPadInner, values.innerRadiusUnits);
    // A hole never exceeds its pad: a common value taken over moves the
    // other one, which the selection left as it was.
    if (tools.CurrentPadInner > tools.CurrentPadOuter) {
        if (values.innerRadiusUnits.common() && !values.outerRadiusUnits.common())
            setCurrentPadInner(tools, tools.CurrentPadInner);
        else
            setCurrentPadOuter(tools, tools.CurrentPadOuter);
    }
    if (values.padShape.common() &&
        (tools.CurrentPadShape != values.padShape.value || tools.ViaMode != values.lastPadIsVia)) {
        tools.CurrentPadShape = static_cast<uint8_t>(values.padShape.value);
        tools.ViaMode = values.lastPadIsVia;
        changed = true;
    }
    changed |= adopt(tools.CurrentClearance, values.clearanceUnits);
    return changed;
}

} // namespace kestrel
