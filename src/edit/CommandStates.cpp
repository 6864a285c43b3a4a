#include "edit/CommandStates.h"

#include "edit/EditSession.h"
#include "edit/Undo.h"

#include <algorithm>
#include <vector>

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
    case CommandRule::Select: return objects;
    case CommandRule::Undo: return undo;
    case CommandRule::Redo: return redo;
    }
    return false;
}

CommandStates UpdateCommandStates(const ObjectList& objects, bool clipboardHasObjects, long shownOnly)
{
    CommandStates s;
    s.paste = clipboardHasObjects;
    s.objects = !objects.empty();
    size_t ungrouped = 0;
    std::vector<int32_t> outerGroups;
    // The object shown under the pointer is selected with its group and
    // their via twins, as a selected object is.
    const LayoutObject* shown =
        shownOnly >= 0 && static_cast<size_t>(shownOnly) < objects.size() ? &objects[static_cast<size_t>(shownOnly)]
                                                                           : nullptr;
    const int32_t shownGroup = shown ? shown->outerGroup() : -1;
    const auto isShown = [&](const LayoutObject* o) {
        return o && (o == shown || (shownGroup != -1 && o->outerGroup() == shownGroup));
    };
    for (const auto& o : objects) {
        if (o->is(ObjectKind::Pad) && !o->Connections.empty())
            s.bands = true;
        if (!o->Selected || isShown(o.get()) || isShown(o->Partner))
            continue;
        s.any = true;
        if (o->is(ObjectKind::Circle))
            s.circle = true;
        if (o->Groups.empty()) {
            ++ungrouped;
            continue;
        }
        s.ungroup = true;
        outerGroups.push_back(o->outerGroup());
    }
    std::sort(outerGroups.begin(), outerGroups.end());
    outerGroups.erase(std::unique(outerGroups.begin(), outerGroups.end()), outerGroups.end());
    // A group counts as one member however many objects it holds, so a
    // selection that is exactly one group has one member.
    s.group = ungrouped + outerGroups.size() > 1;
    return s;
}

CommandStates UpdateCommandStates(const ObjectList& objects, const EditSession& session, long shownOnly)
{
    CommandStates s = UpdateCommandStates(objects, !session.Clipboard.empty(), shownOnly);
    s.undo = UndoApplies(session, objects);
    s.redo = RedoApplies(session, objects);
    return s;
}

} // namespace kestrel
