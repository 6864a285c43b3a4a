#include "EditBoard.h"
#include "edit/ApplyToolParameter.h"
#include "edit/Clipboard.h"
#include "edit/CommandStates.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace kestrel {
namespace {

// Everything an undo must bring back, references as list positions.
std::string stateOf(const ObjectList& list)
{
    std::ostringstream out;
    for (const auto& o : list) {
        out << int(o->Kind) << ':' << o->X1 << ',' << o->Y1 << ',' << o->X2 << ',' << o->Y2 << ',' << o->Width << ','
            << int(o->Layer) << ',' << int(o->Shape) << ',' << o->Angle << " p";
        for (const Point& p : o->Points)
            out << p.x << ',' << p.y << ';';
        out << " g";
        for (int32_t g : o->Groups)
            out << g << ';';
        out << " v" << (o->Partner ? list.indexOf(o->Partner) : -1) << " b";
        for (const LayoutObject* peer : o->Connections)
            out << list.indexOf(peer) << ';';
        out << " r" << (o->RouteFrom ? list.indexOf(o->RouteFrom) : -1) << ','
            << (o->RouteTo ? list.indexOf(o->RouteTo) : -1) << '\n';
    }
    return out.str();
}

// A small board: a via with a band to a pad, a routed track, a circle, a
// grouped label and line; everything selected but the far pad.
void fill(ObjectList& list)
{
    auto [a, b] = test::addVia(list, {1030, -1040});
    LayoutObject& far = test::addPad(list, {3000, -1000}, 60, 4);
    test::addBand(*a, far);
    LayoutObject& t = test::addTrack(list, {{1030, -1040}, {2000, -1040}, {3000, -1000}});
    t.Routed = 1;
    t.RouteFrom = a;
    t.RouteTo = &far;
    LayoutObject& c = list.append(makeCircle({2000, -2000}, 200, 1, Layer::K1, 150));
    c.setArcStopDegrees(90);
    list.append(makeText({500, -2500}, "A", 0, 100, 800, -2400, Layer::B1)).Groups = {1};
    list.append(makeLine({500, -2600}, {900, -2600}, 20, Layer::B1)).Groups = {1};
    for (auto& o : list)
        o->Selected = 1;
    far.Selected = 0;
}

using Command = void (*)(EditSession&, LayoutDocument&);
// name, command, whether it changes the list (and so ends the pointer operation)
const std::tuple<const char*, Command, bool> kCommands[] = {
    {"move", [](EditSession& s, LayoutDocument& d) { ApplyMove(s, d, {100, -200}); }, false},
    {"rotate", [](EditSession& s, LayoutDocument& d) { RotateSelection(s, d); }, false},
    {"mirror horizontal", [](EditSession& s, LayoutDocument& d) { MirrorHorizontal(s, d); }, false},
    {"align", AlignToGrid, false},
    {"delete", DeleteSelection, true},
    {"paste", [](EditSession& s, LayoutDocument& d) {
         CopySelection(s, d);
         Paste(s, d);
     }, true},
    {"via off", [](EditSession& s, LayoutDocument& d) {
         ApplyToolParameter(s, d, ToolParameters{}, ToolParameter::Via);
     }, true},
};

// Each command takes exactly one snapshot: at depth 3 Undo goes back past it
// and an earlier step to the start, and Redo brings the command's result back.
TEST(UndoEveryCommand, DepthThreeStepsBackAndRedoes)
{
    for (const auto& [name, command, listChanges] : kCommands) {
        SCOPED_TRACE(name);
        test::EditBoard b(3);
        fill(b.objects());
        ResetUndoHistory(b.session, b.doc);
        const std::string before = stateOf(b.objects());
        RotateSelection(b.session, b.doc); // an earlier step to go back past; the selection stays
        const std::string rotated = stateOf(b.objects());
        command(b.session, b.doc);
        EXPECT_EQ(b.ended, listChanges ? 1 : 0);
        const std::string after = stateOf(b.objects());
        ASSERT_NE(rotated, after);
        ASSERT_TRUE(Undo(b.session, b.doc));
        EXPECT_EQ(stateOf(b.objects()), rotated);
        ASSERT_TRUE(Undo(b.session, b.doc));
        EXPECT_EQ(stateOf(b.objects()), before);
        EXPECT_FALSE(Undo(b.session, b.doc));
        const CommandStates states = UpdateCommandStates(b.objects(), b.session);
        EXPECT_TRUE(states.redo && !states.undo);
        ASSERT_TRUE(Redo(b.session, b.doc));
        ASSERT_TRUE(Redo(b.session, b.doc));
        EXPECT_EQ(stateOf(b.objects()), after);
        EXPECT_FALSE(Redo(b.session, b.doc));
    }
}

} // namespace
} // namespace kestrel
