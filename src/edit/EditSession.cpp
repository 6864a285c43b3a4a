#include "edit/EditSession.h"

#include <algorithm>

namespace kestrel {

void EditSession::setUndoDepth(int depth)
{
    UndoDepth = std::max(1, depth);
    ++historySerial;
    while (undo_.size() > static_cast<size_t>(UndoDepth))
        undo_.pop_front();
    // Redo steps only exist above depth 1; at depth 1 Undo itself toggles.
    if (UndoDepth == 1)
        redo_.clear();
    while (redo_.size() > static_cast<size_t>(UndoDepth))
        redo_.pop_front();
}

void EditSession::objectsWillChange()
{
    if (EndPointerOperation)
        EndPointerOperation();
}

} // namespace kestrel
