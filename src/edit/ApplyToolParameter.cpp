#include "edit/ApplyToolParameter.h"

#include "edit/Undo.h"
#include "edit/Vias.h"

#include <algorithm>
#include <unordered_set>

namespace kestrel {

namespace {

bool assign(int32_t& field, int32_t value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

bool hasRadii(const LayoutObject& o)
{
    return o.is(ObjectKind::Pad) || o.is(ObjectKind::Circle);
}

bool applyToObject(LayoutObject& o, const ToolParameters& tools, ToolParameter which)
{
    switch (which) {
    case ToolParameter::Width:
        if (o.is(ObjectKind::Line) || o.is(ObjectKind::Zone) || o.is(ObjectKind::Track))
            return assign(o.Width, tools.CurrentTrackWidth);
        return false;
    case ToolParameter::OuterRadius:
        if (!hasRadii(o))
            return false;
        // Pads and circles share the fields: X2 outer, Y2 inner radius.
        {
            const bool outer = assign(o.X2, tools.CurrentPadOuter);
            const bool inner = assign(o.Y2, std::min(o.Y2, tools.CurrentPadOuter));
            return outer || inner;
        }
    case ToolParameter::InnerRadius:
        if (!hasRadii(o))
            return false;
        {
            const bool inner = assign(o.Y2, tools.CurrentPadInner);
            const bool outer = assign(o.X2, std::max(o.X2, tools.CurrentPadInner));
            return inner || outer;
        }
    case ToolParameter::PadShape:
        if (!o.is(ObjectKind::Pad) || o.Shape == tools.CurrentPadShape)
            return false;
        o.Shape = tools.CurrentPadShape;
        return true;
    case ToolParameter::Via:
        return false;
    }
    return false;
}

bool makeVias(EditSession& session, ObjectList& objects)
{
    std::vector<LayoutObject*> pads;
    for (auto& o : objects)
        if (o->Selected && o->is(ObjectKind::Pad) && !o->Partner)
            pads.push_back(o.get());
    if (pads.empty())
        return false;
    session.objectsWillChange();
    for (LayoutObject* pad : pads)
        MakeVia(objects, *pad);
    return true;
}

// Each selected via keeps the pad on the active side and loses the other.
bool dropViaPartners(EditSession& session, LayoutDocument& doc, ObjectList& objects)
{
    const bool activeSide1 = Layer::isSide1(static_cast<int>(doc.Working.ActiveLayer));
    std::unordered_set<const LayoutObject*> handled, doomed;
    for (const auto& o : objects) {
        if (!o->Selected || !o->is(ObjectKind::Pad) || !o->Partner || handled.count(o.get()))
            continue;
        handled.insert(o.get());
        handled.insert(o->Partner);
        const bool onActiveSide = Layer::isSide1(o->Layer) == activeSide1;
        doomed.insert(onActiveSide ? o->Partner : o.get());
    }
    if (doomed.empty())
        return false;
    session.objectsWillChange();
    // The dropped pads take rubber bands with them; Undo brings them back.
    TakeUndoSnapshot(session, doc);
    // Removing a pad clears its partner's link and its peers' bands.
    objects.removeIf([&](const LayoutObject& o) { return doomed.count(&o) > 0; });
    return true;
}

} // namespace

bool ApplyToolParameter(EditSession& session, LayoutDocument& doc, const ToolParameters& tools, ToolParameter which)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return false;
    bool changed = false;
    if (which == ToolParameter::Via) {
        changed = tools.ViaMode ? makeVias(session, *objects) : dropViaPartners(session, doc, *objects);
    } else {
        for (auto& o : *objects)
            if (o->Selected)
                changed |= applyToObject(*o, tools, which);
    }
    if (changed)
        doc.Modified = true;
    return changed;
}

} // namespace kestrel
