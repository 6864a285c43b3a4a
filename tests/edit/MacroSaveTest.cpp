#include "edit/MacroSave.h"

#include "model/MacroFile.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Objects of both sides; the reference point of a saved side depends only on
// what is written.
TEST(MacroSave, ReferencePoints)
{
    // Why, the objects, side 1 saved (else side 2), the selection only, the
    // grid, the reference point.
    const std::tuple<const char*, std::function<void(ObjectList&)>, bool, bool, double, Point> rows[] = {
        {"the pad furthest left and up", [](ObjectList& l) { addPad(l, {100, -100}, 20); addPad(l, {50, -50}, 20); },
         true, false, 254.0, {50, -50}},
        {"a pad at the same x and higher wins (y grows upwards), not one further right",
         [](ObjectList& l) { addPad(l, {50, -50}, 20); addPad(l, {50, -10}, 20); addPad(l, {90, 0}, 20); }, true, false,
         254.0, {50, -10}},
        {"no pad on the saved side: bounds corner on the grid, pads elsewhere ignored",
         [](ObjectList& l) { addTrack(l, {{300, -300}, {1000, -800}}, 40); addPad(l, {0, 0}, 20, 1, 3); }, true, false,
         254.0, {254, -254}},
        {"the 15.875 grid: 17 x 15.875 = 269.875 rounds to 270, not cut to 269",
         [](ObjectList& l) { addTrack(l, {{330, -330}, {1000, -800}}, 40); }, true, false, 15.875, {270, -270}},
    };
    for (const auto& [why, build, side1, selectionOnly, grid, expected] : rows) {
        ObjectList list;
        build(list);
        EXPECT_EQ(encodeMacro(list, side1, selectionOnly, grid).reference, expected) << why;
    }
}

TEST(MacroSave, ScopeCountAndFailedWrite)
{
    TempDir dir;
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = *doc.currentObjects();
    addPad(list, {2000, -1000}, 50, 1, 3);
    addTrack(list, {{2000, -1000}, {3000, -1500}}, 30, 3);
    addTrack(list, {{500, -500}}, 30, 3); // a single point: removed before writing
    EXPECT_EQ(macroSaveScope(doc), MacroSaveScope::NothingOnSide) << "objects only on side 2";
    addPad(list, {100, -100}, 50, 1, 1); // side 1: left out
    doc.Working.ActiveLayer = 4;
    EXPECT_EQ(macroSaveScope(doc), MacroSaveScope::WholeSide);

    const Result<size_t> written = saveMacro(doc, dir.file("m.kmk"), false, Language::English);
    ASSERT_TRUE(succeeded(written));
    EXPECT_EQ(*written, 2u);
    EXPECT_EQ(list.size(), 3u) << "the degenerate track left the board";
    list[0].Selected = 1;
    EXPECT_EQ(macroSaveScope(doc), MacroSaveScope::Selection);

    const Result<size_t> failed = saveMacro(doc, dir.file("missing/m.kmk"), false, Language::English);
    ASSERT_FALSE(failed.ok());
    EXPECT_NE(failed.message().find("The macro was not saved."), std::string::npos) << failed.message();
}

} // namespace
