#include "edit/ApplyToolParameter.h"
#include "edit/Clipboard.h"
#include "edit/CommandStates.h"
#include "edit/Corners.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <sstream>

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
const std::pair<const char*, Command> kCommands[] = {
    {"move", [](EditSession& s, LayoutDocument& d) { ApplyMove(s, d, {100, -200}); }},
    {"rotate", RotateSelection},
    {"mirror horizontal", MirrorHorizontal},
    {"mirror vertical", MirrorVertical},
    {"align", AlignToGrid},
    {"split", [](EditSession& s, LayoutDocument& d) { SplitTrack(s, d, 3, 1); }},
    {"delete", DeleteSelection},
    {"cut", CutSelection},
    {"paste", [](EditSession& s, LayoutDocument& d) {
         CopySelection(s, d);
         Paste(s, d);
     }},
    {"duplicate", Duplicate},
    {"via off", [](EditSession& s, LayoutDocument& d) {
         ApplyToolParameter(s, d, ToolParameters{}, ToolParameter::Via);
     }},
};

// Each command takes exactly one snapshot: at depth 3 Undo goes back past it
// and an earlier step to the start, and Redo brings the command's result back.
TEST(UndoEveryCommand, DepthThreeStepsBackAndRedoes)
{
    for (const auto& [name, command] : kCommands) {
        LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
        EditSession session;
        session.setUndoDepth(3);
        fill(*doc.currentObjects());
        ResetUndoHistory(session, doc);
        EXPECT_FALSE(UpdateCommandStates(*doc.currentObjects(), session).undo);
        const std::string before = stateOf(*doc.currentObjects());
        RotateSelection(session, doc); // an earlier step to go back past; the selection stays
        const std::string rotated = stateOf(*doc.currentObjects());
        command(session, doc);
        const std::string after = stateOf(*doc.currentObjects());
        ASSERT_NE(rotated, after) << name;
        ASSERT_TRUE(Undo(session, doc));
        EXPECT_EQ(stateOf(*doc.currentObjects()), rotated) << name;
        ASSERT_TRUE(Undo(session, doc));
        EXPECT_EQ(stateOf(*doc.currentObjects()), before) << name;
        EXPECT_FALSE(Undo(session, doc)) << name;
        const CommandStates states = UpdateCommandStates(*doc.currentObjects(), session);
        EXPECT_TRUE(states.redo && !states.undo) << name;
        ASSERT_TRUE(Redo(session, doc));
        ASSERT_TRUE(Redo(session, doc));
        EXPECT_EQ(stateOf(*doc.currentObjects()), after) << name;
        EXPECT_FALSE(Redo(session, doc)) << name;
    }
}

} // namespace
} // namespace kestrel
