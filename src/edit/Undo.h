#pragma once
// Undo by whole snapshots of the active board's objects. At depth 1 Undo
// toggles between the objects and the one snapshot; at a greater depth Undo
// steps back through the snapshots and Redo forward again, and every new
// snapshot drops the redo steps.

#include "edit/EditSession.h"
#include "model/LayoutDocument.h"

#include <cstdint>
#include <deque>
#include <optional>

namespace kestrel {

// What taking a snapshot displaced (moved aside, not freed), so that an
// object begun with it and then dropped unfinished (a track of one point, a
// zone enclosing nothing) can give the step back.
struct UndoStepTaken {
    bool pushed = false;
    uint64_t serial = 0;      // the history's serial right after the snapshot
    bool wasModified = false;
    uint64_t fingerprint = 0; // the objects the snapshot copies
    const Board* historyBoard = nullptr;
    std::deque<ObjectList> otherBoardSteps; // the history of another board
    bool basePushed = false;                // the base became a step of its own
    ObjectList base;
    bool hadBase = false;
    std::optional<uint64_t> startFingerprint;
    std::deque<ObjectList> pushedOut; // the oldest steps beyond the depth, oldest first
    std::deque<ObjectList> redo;
};

// Keeps an unselected copy of the active board's objects as the state to go
// back to. Does nothing while SuppressUndo is set. Marks the document
// modified: every caller is about to change it.
UndoStepTaken TakeUndoSnapshot(EditSession& session, LayoutDocument& doc);

// Gives back a snapshot whose edit came to nothing: the history is again as
// before it, and the document unmodified if it was and the objects are as
// the snapshot copied them. Does nothing once the history changed since.
void WithdrawUndoSnapshot(EditSession& session, LayoutDocument& doc, UndoStepTaken&& taken);
// The same for a command that turned out to change nothing (an align of
// objects already on the grid): only when the objects are as the snapshot
// copied them.
void WithdrawUndoSnapshotIfUnchanged(EditSession& session, LayoutDocument& doc, UndoStepTaken&& taken);

// After a file was read or another board became active: the history starts
// over, so an Undo there changes nothing.
void ResetUndoHistory(EditSession& session, LayoutDocument& doc);

// Both return whether the objects were replaced; restored objects are
// unselected. Neither acts on a board other than the one the history
// belongs to.
bool Undo(EditSession& session, LayoutDocument& doc);
bool Redo(EditSession& session, LayoutDocument& doc);

// Whether Undo would act on these objects: there are undo steps, or above
// depth 1 the objects were edited without a snapshot since the history
// started.
bool UndoApplies(const EditSession& session, const ObjectList& objects);

// Whether Redo would act on these objects: there are redo steps, and the
// objects are as the last Undo or Redo left them. Any edit since, with or
// without a snapshot, drops the redo steps.
bool RedoApplies(const EditSession& session, const ObjectList& objects);

// Everything of the objects an edit can change, selection aside.
uint64_t EditableFingerprint(const ObjectList& objects);

// Whether Redo, and above depth 1 the board as the history found it, still
// follow from the objects. The clean-up before a file is written renumbers
// groups and drops objects off the board; that is no edit, so the window
// ties the history to the cleaned objects again afterwards.
struct HistoryTies {
    bool redo = false;
    bool base = false;
    bool start = false; // the board is still as the history found it
};
HistoryTies CurrentHistoryTies(const EditSession& session, const ObjectList& objects);
void RetieHistory(EditSession& session, const ObjectList& objects, HistoryTies ties);

} // namespace kestrel
