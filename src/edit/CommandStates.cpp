#include "edit/CommandStates.h"

namespace kestrel {

bool CommandStates::allows(CommandRule rule) const
{
    switch (rule) {
    case CommandRule::Always: return true;
    case CommandRule::Any: return any;
    case CommandRule::Paste: return paste;
    case CommandRule::Group: return group;
    case CommandRule::Ungroup: return ungroup;
    case CommandRule::Bands: return bands;
    case CommandRule::Circle: return circle;
    case CommandRule::Objects: return objects;
    }
    return false;
}

CommandStates UpdateCommandStates(const ObjectList& objects, bool clipboardHasObjects)
{
    CommandStates s;
    s.paste = clipboardHasObjects;
    s.objects = !objects.empty();
    size_t ungrouped = 0;
    size_t grouped = 0;
    bool oneOuterGroup = true;
    int32_t firstOuter = -1;
    for (const auto& o : objects) {
        if (o->is(ObjectKind::Pad) && !o->Connections.empty())
            s.bands = true;
        if (!o->Selected)
            continue;
        s.any = true;
        if (o->is(ObjectKind::Circle))
            s.circle = true;
        if (o->Groups.empty()) {
            ++ungrouped;
            continue;
        }
        s.ungroup = true;
        if (grouped == 0)
            firstOuter = o->outerGroup();
        else if (o->outerGroup() != firstOuter)
            oneOuterGroup = false;
        ++grouped;
    }
    const bool isOneGroup = ungrouped == 0 && grouped > 0 && oneOuterGroup;
    const size_t members = ungrouped + (grouped > 0 ? grouped - 1 : 0);
    s.group = !isOneGroup && members > 1;
    return s;
}

} // namespace kestrel
