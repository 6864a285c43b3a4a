#pragma once
// A one-board document and its edit session, the undo history started as
// after loading; counts the pointer operations the commands end.

#include "edit/Undo.h"

namespace kestrel::test {

struct EditBoard {
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    EditSession session;
    int ended = 0;

    explicit EditBoard(int undoDepth = 1)
    {
        session.setUndoDepth(undoDepth);
        session.EndPointerOperation = [this] { ++ended; };
        ResetUndoHistory(session, doc);
    }
    ObjectList& objects() { return *doc.currentObjects(); }
};

} // namespace kestrel::test
