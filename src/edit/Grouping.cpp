#include "edit/Grouping.h"

#include "model/Groups.h"

namespace kestrel {

bool GroupSelection(LayoutDocument& doc)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects || !groupSelection(*objects))
        return false;
    doc.Modified = true;
    return true;
}

bool Ungroup(LayoutDocument& doc)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return false;
    bool any = false;
    for (auto& o : *objects) {
        if (o->Selected && !o->Groups.empty()) {
            o->Groups.pop_back();
            any = true;
        }
    }
    if (any)
        doc.Modified = true;
    return any;
}

} // namespace kestrel
