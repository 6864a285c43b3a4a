#include "edit/Vias.h"

#include "edit/CopyList.h"

namespace kestrel {

LayoutObject* MakeVia(ObjectList& list, LayoutObject& pad)
{
    if (!pad.is(ObjectKind::Pad) || pad.Partner)
        return nullptr;
    std::unique_ptr<LayoutObject> twin = CopyObject(pad);
    twin->Connections.clear();
    twin->Layer = static_cast<uint8_t>(Layer::partnerLayer(pad.Layer));
    LayoutObject& added = list.append(std::move(twin));
    added.Partner = &pad;
    pad.Partner = &added;
    return &added;
}

} // namespace kestrel
