#pragma once
// The editor state that outlives one command: the undo and redo snapshots,
// the clipboard, the undo settings and the hook that ends a pointer
// operation before the object list changes. One per main window; the
// command-line tool keeps one per run.

#include "model/ObjectList.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

namespace kestrel {

struct Board;

class EditSession {
public:
    // How many snapshots Undo can step back. At 1 Undo toggles between the
    // current objects and the one snapshot; above 1 Redo steps forward again.
    int UndoDepth = 1;
    // While set, TakeUndoSnapshot keeps the snapshot it has: a command made
    // of several steps (a label of tracks) costs one snapshot.
    bool SuppressUndo = false;
    // Copies of objects, shared by every board of the document.
    ObjectList Clipboard;
    // Set by the window: ends any press, drag or corner edit in progress and
    // forgets stored object indices. Called before every command that adds,
    // removes or replaces objects, so no later pointer event reaches a freed
    // or shifted object.
    std::function<void()> EndPointerOperation;

    void setUndoDepth(int depth);
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    size_t undoSteps() const { return undo_.size(); }
    size_t redoSteps() const { return redo_.size(); }

    // Calls EndPointerOperation when one is set.
    void objectsWillChange();

    // Snapshot storage, used by the undo commands (Undo.h).
    std::deque<ObjectList>& undoSnapshots() { return undo_; }
    std::deque<ObjectList>& redoSnapshots() { return redo_; }
    // The board the snapshots were taken of; Undo ignores them on another one.
    const Board* historyBoard = nullptr;
    // The objects' fingerprint after the last Undo or Redo: an edit that took
    // no snapshot since (a nudge, grouping, a panel value) changes it, and
    // then the redo steps no longer follow from the board.
    uint64_t redoBase = 0;
    // Above depth 1: the board as it was when the history started, kept until
    // the first snapshot, so that edits taking no snapshot of their own (a
    // panel value, a nudge) before it can be undone too.
    ObjectList base;
    bool hasBase = false;
    uint64_t baseFingerprint = 0;
    // At depth 1, from the start of the history to the first snapshot or
    // Undo: the fingerprint of the board the one snapshot copies. While the
    // board still has it, Undo has nothing to change.
    std::optional<uint64_t> startFingerprint;
    // Counts the changes of the history (snapshots, Undo, Redo, a restart),
    // so a snapshot is only given back while it is still the newest step.
    uint64_t historySerial = 0;

private:
    std::deque<ObjectList> undo_; // oldest first
    std::deque<ObjectList> redo_; // the next Redo last
};

} // namespace kestrel
