#include "edit/Undo.h"

#include "edit/CopyList.h"

namespace kestrel {

namespace {

void unselectAll(ObjectList& list)
{
    for (auto& o : list)
        o->Selected = 0;
}

// Swaps the board's objects with a snapshot; the objects that leave the
// board become the snapshot and lose their selection, as a copied snapshot
// would. No copy is needed, since both lists own complete, self-contained
// object sets.
void exchange(ObjectList& objects, ObjectList& snapshot)
{
    objects.swap(snapshot);
    unselectAll(snapshot);
}

bool historyFits(const EditSession& session, LayoutDocument& doc)
{
    return doc.activeBoard() && doc.activeBoard() == session.historyBoard;
}

} // namespace

void TakeUndoSnapshot(EditSession& session, LayoutDocument& doc)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return;
    doc.Modified = true;
    if (session.SuppressUndo)
        return;
    auto& undo = session.undoSnapshots();
    if (!historyFits(session, doc))
        undo.clear();
    session.historyBoard = doc.activeBoard();
    ObjectList snapshot;
    CopyList(snapshot, *objects);
    undo.push_back(std::move(snapshot));
    while (undo.size() > static_cast<size_t>(session.UndoDepth))
        undo.pop_front();
    session.redoSnapshots().clear();
}

void ResetUndoHistory(EditSession& session, LayoutDocument& doc)
{
    session.undoSnapshots().clear();
    session.redoSnapshots().clear();
    session.historyBoard = doc.activeBoard();
    // At depth 1 Undo always has a state to toggle with: the objects as they
    // are now, so the first Undo leaves the board unchanged.
    if (session.UndoDepth == 1 && doc.currentObjects()) {
        ObjectList snapshot;
        CopyList(snapshot, *doc.currentObjects());
        session.undoSnapshots().push_back(std::move(snapshot));
    }
}

bool Undo(EditSession& session, LayoutDocument& doc)
{
    auto& undo = session.undoSnapshots();
    if (undo.empty() || !historyFits(session, doc))
        return false;
    session.objectsWillChange();
    ObjectList& objects = *doc.currentObjects();
    if (session.UndoDepth == 1) {
        exchange(objects, undo.back());
    } else {
        ObjectList previous = std::move(undo.back());
        undo.pop_back();
        exchange(objects, previous);
        session.redoSnapshots().push_back(std::move(previous));
    }
    doc.Modified = true;
    return true;
}

bool Redo(EditSession& session, LayoutDocument& doc)
{
    auto& redo = session.redoSnapshots();
    if (redo.empty() || !historyFits(session, doc))
        return false;
    session.objectsWillChange();
    ObjectList next = std::move(redo.back());
    redo.pop_back();
    exchange(*doc.currentObjects(), next);
    session.undoSnapshots().push_back(std::move(next));
    doc.Modified = true;
    return true;
}

} // namespace kestrel
