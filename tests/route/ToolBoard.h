#pragma once
// A one-board document with an undo history of ten steps, as the editor
// holds it, for the tools' operations and their undo steps.

#include "edit/EditSession.h"
#include "edit/Undo.h"
#include "model/LayoutDocument.h"
#include "view/ObjectIndex.h"

#include <string>

namespace kestrel::test {

struct ToolBoard {
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    EditSession session;
    ObjectIndex index;

    ToolBoard()
    {
        session.setUndoDepth(10);
        ResetUndoHistory(session, doc);
    }
    ObjectList& objects() { return *doc.currentObjects(); }
    LayoutObject& at(size_t i) { return objects()[i]; }
    const ObjectIndex& freshIndex()
    {
        index.build(objects());
        return index;
    }
    std::vector<size_t> selected()
    {
        std::vector<size_t> out;
        for (size_t i = 0; i < objects().size(); ++i)
            if (at(i).Selected)
                out.push_back(i);
        return out;
    }
    // Kinds and bands by list position: "P1 P0 T " for two pads joined by a
    // band and a track; R is a track the router laid.
    std::string state()
    {
        std::string out;
        for (size_t i = 0; i < objects().size(); ++i) {
            const LayoutObject& o = at(i);
            out += o.is(ObjectKind::Pad) ? "P" : o.is(ObjectKind::Track) ? (o.Routed ? "R" : "T") : "O";
            for (size_t k = 0; k < o.Connections.size(); ++k) {
                if (k > 0)
                    out += ',';
                out += std::to_string(objects().indexOf(o.Connections[k]));
            }
            out += ' ';
        }
        return out;
    }
};

} // namespace kestrel::test
