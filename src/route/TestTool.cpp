#include "route/TestTool.h"

#include "edit/HitTest.h"
#include "route/Connectivity.h"

namespace kestrel {

ConnectionTestResult TestConnectionAt(ObjectList& objects, const ObjectIndex& index, const BoardSettings& view,
                                      Point p)
{
    ConnectionTestResult result;
    const std::vector<uint8_t> before = SelectionFlags(objects);
    result.picked = FindObjectAt(index, view, p);
    result.connected = TestConnection(objects, result.picked);
    result.change = SelectionChange(objects, before);
    return result;
}

} // namespace kestrel
