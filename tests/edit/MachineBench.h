#pragma once
// A board of the default size with the pointer machine driving it, as the
// window and the command-line tool set it up.

#include "edit/PointerMachine.h"
#include "edit/Undo.h"

namespace kestrel::test {

struct MachineBench {
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    EditSession session;
    ToolParameters tools;
    ObjectIndex index;
    PointerMachine m{session, doc, tools, [this]() -> const ObjectIndex& {
                         index.build(list());
                         return index;
                     }};
    MachineBench() { session.EndPointerOperation = [this] { m.abort(); }; }

    ObjectList& list() { return *doc.currentObjects(); }
    void left(Point p, PointerKeys k = {}) { m.press(PointerButton::Left, p, k), m.release(PointerButton::Left, p, k); }
    void right(Point p = {}) { m.press(PointerButton::Right, p, {}); }
    void drag(Point from, Point to, PointerKeys k = {})
    {
        m.press(PointerButton::Left, from, k);
        m.move(to, k);
        m.release(PointerButton::Left, to, k);
    }
    std::vector<Point> points(size_t i) { return {list()[i].Points.begin(), list()[i].Points.end()}; }
    std::vector<size_t> selected()
    {
        std::vector<size_t> out;
        for (size_t i = 0; i < list().size(); ++i)
            if (list()[i].Selected)
                out.push_back(i);
        return out;
    }
};

} // namespace kestrel::test
