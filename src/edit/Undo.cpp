#include "edit/Undo.h"

#include "edit/CopyList.h"
#include "model/HashMix.h"

#include <cstdint>
#include <utility>

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

uint64_t EditableFingerprint(const ObjectList& objects)
{
    HashMix h;
    auto address = [](const void* p) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)); };
    h.add(objects.size());
    for (const auto& o : objects) {
        h.add(address(o.get()));
        h.add(uint64_t(o->Kind) | uint64_t(o->Layer) << 8 | uint64_t(o->Shape) << 16 | uint64_t(o->Filled) << 24 |
              uint64_t(o->DrawSide) << 32 | uint64_t(o->FillOn) << 40 | uint64_t(o->Routed) << 48);
        h.add(o->X1, o->Y1);
        h.add(o->X2, o->Y2);
        h.add(o->Width, o->Angle);
        h.add(o->Clearance, int32_t(o->Points.size()));
        for (const Point& p : o->Points)
            h.add(p.x, p.y);
        for (const int32_t g : o->Groups)
            h.add(uint64_t(uint32_t(g)));
        for (const char c : o->TextValue.view())
            h.add(uint64_t(uint8_t(c)));
        h.add(address(o->Partner));
        for (const LayoutObject* band : o->Connections)
            h.add(address(band));
    }
    return h.value;
}

bool RedoApplies(const EditSession& session, const ObjectList& objects)
{
    return session.canRedo() && EditableFingerprint(objects) == session.redoBase;
}

bool UndoApplies(const EditSession& session, const ObjectList& objects)
{
    // At depth 1 the history starts with the board as it is: Undo would
    // change nothing until it is edited.
    if (session.startFingerprint && EditableFingerprint(objects) == *session.startFingerprint)
        return false;
    return session.canUndo() || (session.hasBase && EditableFingerprint(objects) != session.baseFingerprint);
}

HistoryTies CurrentHistoryTies(const EditSession& session, const ObjectList& objects)
{
    const uint64_t now = EditableFingerprint(objects);
    return {session.canRedo() && now == session.redoBase, session.hasBase && now == session.baseFingerprint,
            session.startFingerprint && now == *session.startFingerprint};
}

void RetieHistory(EditSession& session, const ObjectList& objects, HistoryTies ties)
{
    const uint64_t now = EditableFingerprint(objects);
    if (ties.redo)
        session.redoBase = now;
    if (ties.base)
        session.baseFingerprint = now;
    if (ties.start)
        session.startFingerprint = now;
}

UndoStepTaken TakeUndoSnapshot(EditSession& session, LayoutDocument& doc)
{
    UndoStepTaken taken;
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return taken;
    taken.wasModified = doc.Modified;
    doc.Modified = true;
    if (session.SuppressUndo)
        return taken;
    auto& undo = session.undoSnapshots();
    taken.historyBoard = session.historyBoard;
    if (!historyFits(session, doc))
        taken.otherBoardSteps = std::exchange(undo, {});
    session.historyBoard = doc.activeBoard();
    taken.fingerprint = EditableFingerprint(*objects);
    taken.hadBase = session.hasBase;
    // Edits made without a snapshot since the history started become a step
    // of their own.
    if (session.hasBase && undo.empty() && taken.fingerprint != session.baseFingerprint) {
        undo.push_back(std::move(session.base));
        taken.basePushed = true;
    } else {
        taken.base = std::move(session.base);
    }
    session.base.clear();
    session.hasBase = false;
    taken.startFingerprint = std::exchange(session.startFingerprint, std::nullopt);
    ObjectList snapshot;
    CopyList(snapshot, *objects);
    undo.push_back(std::move(snapshot));
    while (undo.size() > static_cast<size_t>(session.UndoDepth)) {
        taken.pushedOut.push_back(std::move(undo.front()));
        undo.pop_front();
    }
    taken.redo = std::exchange(session.redoSnapshots(), {});
    taken.pushed = true;
    taken.serial = ++session.historySerial;
    return taken;
}

void WithdrawUndoSnapshot(EditSession& session, LayoutDocument& doc, UndoStepTaken&& taken)
{
    auto& undo = session.undoSnapshots();
    if (!taken.pushed || taken.serial != session.historySerial || undo.empty())
        return;
    undo.pop_back();
    while (!taken.pushedOut.empty()) {
        undo.push_front(std::move(taken.pushedOut.back()));
        taken.pushedOut.pop_back();
    }
    if (taken.basePushed) {
        session.base = std::move(undo.back());
        undo.pop_back();
    } else {
        session.base = std::move(taken.base);
    }
    session.hasBase = taken.hadBase;
    if (!taken.otherBoardSteps.empty())
        undo = std::move(taken.otherBoardSteps);
    session.historyBoard = taken.historyBoard;
    session.startFingerprint = taken.startFingerprint;
    session.redoSnapshots() = std::move(taken.redo);
    ++session.historySerial;
    const ObjectList* objects = doc.currentObjects();
    if (!taken.wasModified && objects && EditableFingerprint(*objects) == taken.fingerprint)
        doc.Modified = false;
}

void ResetUndoHistory(EditSession& session, LayoutDocument& doc)
{
    ++session.historySerial;
    session.undoSnapshots().clear();
    session.redoSnapshots().clear();
    session.historyBoard = doc.activeBoard();
    session.base.clear();
    session.hasBase = false;
    if (session.UndoDepth > 1 && doc.currentObjects()) {
        CopyList(session.base, *doc.currentObjects());
        session.hasBase = true;
        session.baseFingerprint = EditableFingerprint(*doc.currentObjects());
    }
    // At depth 1 Undo always has a state to toggle with: the objects as they
    // are now, so the first Undo leaves the board unchanged.
    session.startFingerprint.reset();
    if (session.UndoDepth == 1 && doc.currentObjects()) {
        ObjectList snapshot;
        CopyList(snapshot, *doc.currentObjects());
        session.undoSnapshots().push_back(std::move(snapshot));
        session.startFingerprint = EditableFingerprint(*doc.currentObjects());
    }
}

void WithdrawUndoSnapshotIfUnchanged(EditSession& session, LayoutDocument& doc, UndoStepTaken&& taken)
{
    const ObjectList* objects = doc.currentObjects();
    if (taken.pushed && objects && EditableFingerprint(*objects) == taken.fingerprint)
        WithdrawUndoSnapshot(session, doc, std::move(taken));
}

bool Undo(EditSession& session, LayoutDocument& doc)
{
    auto& undo = session.undoSnapshots();
    if (!historyFits(session, doc))
        return false;
    // First: a track or zone just begun and dropped gives its step back.
    session.objectsWillChange();
    // Nothing to undo; nor when the board is still as the history found it.
    if (!UndoApplies(session, *doc.currentObjects()))
        return false;
    session.startFingerprint.reset();
    ++session.historySerial;
    ObjectList& objects = *doc.currentObjects();
    // Edited since the last Undo or Redo without a snapshot (a nudge): the
    // older redo steps would take that edit back unseen.
    if (!RedoApplies(session, objects))
        session.redoSnapshots().clear();
    if (undo.empty()) {
        // Back to the board as the history found it; it stays the base.
        ObjectList previous;
        CopyList(previous, session.base);
        exchange(objects, previous);
        session.redoSnapshots().push_back(std::move(previous));
        session.redoBase = session.baseFingerprint = EditableFingerprint(objects);
    } else if (session.UndoDepth == 1) {
        exchange(objects, undo.back());
    } else {
        ObjectList previous = std::move(undo.back());
        undo.pop_back();
        exchange(objects, previous);
        session.redoSnapshots().push_back(std::move(previous));
        session.redoBase = EditableFingerprint(objects);
        // The oldest state reached: it becomes the base, so that an edit
        // without a snapshot (a nudge) made now can be undone too.
        if (undo.empty() && !session.hasBase) {
            CopyList(session.base, objects);
            session.hasBase = true;
            session.baseFingerprint = session.redoBase;
        }
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
    if (!RedoApplies(session, *doc.currentObjects())) {
        redo.clear(); // edited since the last Undo: the steps would undo that edit
        return false;
    }
    ++session.historySerial;
    ObjectList next = std::move(redo.back());
    redo.pop_back();
    exchange(*doc.currentObjects(), next);
    session.undoSnapshots().push_back(std::move(next));
    session.base.clear(); // the step just pushed goes back to it
    session.hasBase = false;
    session.redoBase = EditableFingerprint(*doc.currentObjects());
    doc.Modified = true;
    return true;
}

} // namespace kestrel
