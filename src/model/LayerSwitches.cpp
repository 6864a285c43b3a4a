#include "model/LayerSwitches.h"

#include <unordered_set>

namespace kestrel {

namespace {

bool isSwitchableLayer(int layer) { return layer >= 1 && layer <= 4; }

} // namespace

bool IsLayerVisible(const BoardSettings& settings, int layer)
{
    if (!isSwitchableLayer(layer))
        return true;
    return settings.LayerVisible[static_cast<size_t>(layer - 1)] != 0;
}

bool SetActiveLayer(BoardSettings& settings, ObjectList& objects, int layer)
{
    if (!isSwitchableLayer(layer) || static_cast<int>(settings.ActiveLayer) == layer)
        return false;
    for (auto& o : objects)
        o->Selected = 0;
    if (!IsLayerVisible(settings, layer))
        SetViewLayer(settings, objects, layer);
    settings.ActiveLayer = static_cast<uint32_t>(layer);
    return true;
}

bool SetViewLayer(BoardSettings& settings, ObjectList& objects, int layer)
{
    if (!isSwitchableLayer(layer) || static_cast<int>(settings.ActiveLayer) == layer)
        return false;
    // What goes with an object of the layer goes too, its via twin and its
    // group: a command on what stays selected would move or delete half of
    // them.
    std::unordered_set<int32_t> groups;
    auto deselect = [](LayoutObject& o) {
        o.Selected = 0;
        if (o.Partner)
            o.Partner->Selected = 0;
    };
    for (auto& o : objects)
        if (o->Layer == layer) {
            if (o->Selected && o->outerGroup() != -1)
                groups.insert(o->outerGroup());
            deselect(*o);
        }
    if (!groups.empty())
        for (auto& o : objects)
            if (groups.count(o->outerGroup()))
                deselect(*o);
    uint8_t& visible = settings.LayerVisible[static_cast<size_t>(layer - 1)];
    visible = visible ? 0 : 1;
    return true;
}

void ShowLayersOf(BoardSettings& settings, const ObjectList& objects, size_t first)
{
    for (size_t i = first; i < objects.size(); ++i)
        if (isSwitchableLayer(objects[i].Layer))
            settings.LayerVisible[objects[i].Layer - 1] = 1;
}

bool groundPlaneOn(const BoardSettings& settings, int layer)
{
    return settings.groundPlaneOfSide(Layer::isSide1(layer)) != 0;
}

void setGroundPlaneOfActiveSide(BoardSettings& settings, bool on)
{
    if (Layer::isSide1(static_cast<int>(settings.ActiveLayer)))
        settings.GroundPlane1 = on ? 1 : 0;
    else
        settings.GroundPlane2 = on ? 1 : 0;
}

void SetGroundPlane(LayoutDocument& doc, bool on)
{
    if (groundPlaneOn(doc.Working, static_cast<int>(doc.Working.ActiveLayer)) != on)
        doc.Modified = true;
    setGroundPlaneOfActiveSide(doc.Working, on);
}

} // namespace kestrel
