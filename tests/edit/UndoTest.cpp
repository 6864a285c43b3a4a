#include "EditBoard.h"
#include "edit/Clipboard.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "model/LayoutFile.h"
#include "route/RubberBands.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace kestrel {
namespace {

struct Fixture : test::EditBoard {
    using EditBoard::EditBoard;
    // The x of every object's first point or centre, in list order: enough to
    // tell the states of these tests apart.
    std::vector<int32_t> xs()
    {
        std::vector<int32_t> out;
        for (const auto& o : objects())
            out.push_back(o->hasPoints() ? o->Points[0].x : o->X1);
        return out;
    }
    // Takes a snapshot and appends a pad at x, as a drawing tool does.
    void drawPad(int32_t x)
    {
        TakeUndoSnapshot(session, doc);
        test::addPad(objects(), {x, -500}, 50);
    }
};

// A composite command takes one snapshot and suppresses those of its parts.
TEST(Undo, DepthOneTogglesBetweenTwoStates)
{
    Fixture f;
    EXPECT_FALSE(UndoApplies(f.session, f.objects())) << "the menu offers nothing to undo after loading";
    EXPECT_FALSE(Undo(f.session, f.doc)) << "nothing to undo after loading";
    EXPECT_FALSE(f.doc.Modified) << "and nothing to save";
    f.drawPad(100);
    EXPECT_TRUE(UndoApplies(f.session, f.objects()));
    f.objects()[0].Selected = 1;
    TakeUndoSnapshot(f.session, f.doc);
    f.session.SuppressUndo = true;
    f.drawPad(200);
    f.drawPad(300);
    f.session.SuppressUndo = false;
    const std::vector<std::vector<int32_t>> afterEachUndo = {{100}, {100, 200, 300}, {100}};
    for (const auto& expected : afterEachUndo) {
        ASSERT_TRUE(Undo(f.session, f.doc));
        EXPECT_EQ(f.xs(), expected);
        EXPECT_EQ(f.objects()[0].Selected, 0) << "snapshots hold no selection";
    }
    EXPECT_FALSE(Redo(f.session, f.doc)) << "depth 1 has no redo steps";
}

TEST(Undo, DeeperHistoryStepsBackAndForth)
{
    Fixture f(3);
    for (int32_t x : {100, 200, 300, 400})
        f.drawPad(x);
    // Only three steps are kept: the first pad stays.
    const std::vector<std::vector<int32_t>> back = {{100, 200, 300}, {100, 200}, {100}};
    for (const auto& expected : back) {
        ASSERT_TRUE(Undo(f.session, f.doc));
        EXPECT_EQ(f.xs(), expected);
    }
    EXPECT_FALSE(Undo(f.session, f.doc));
    ASSERT_TRUE(Redo(f.session, f.doc));
    ASSERT_TRUE(Redo(f.session, f.doc));
    EXPECT_EQ(f.xs(), (std::vector<int32_t>{100, 200, 300}));
    f.drawPad(900);
    EXPECT_FALSE(Redo(f.session, f.doc)) << "a new change drops the redo steps";
    const int ended = f.ended;
    ASSERT_TRUE(Undo(f.session, f.doc));
    EXPECT_EQ(f.xs(), (std::vector<int32_t>{100, 200, 300}));
    EXPECT_EQ(f.ended, ended + 1) << "an undo ends the pointer operation";
}

// Above depth 1, edits without a snapshot (a panel value, a nudge) made before
// the first snapshot are undone as a step of their own.
TEST(Undo, EditsBeforeTheFirstSnapshotCanBeUndone)
{
    Fixture f(3);
    test::addPad(f.objects(), {100, -500}, 50);
    ResetUndoHistory(f.session, f.doc); // the board as loaded
    f.objects()[0].X1 = 150; // a panel value or a nudge: no snapshot
    EXPECT_TRUE(UndoApplies(f.session, f.objects()));
    f.drawPad(200);
    ASSERT_TRUE(Undo(f.session, f.doc));
    EXPECT_EQ(f.xs(), std::vector<int32_t>{150});
    ASSERT_TRUE(Undo(f.session, f.doc));
    EXPECT_EQ(f.xs(), std::vector<int32_t>{100});
    EXPECT_FALSE(UndoApplies(f.session, f.objects())) << "back where the history started";
    ASSERT_TRUE(Redo(f.session, f.doc));
    EXPECT_EQ(f.xs(), std::vector<int32_t>{150});
}

// Edits that take no snapshot (a nudge, a group, a tool panel value) still
// end the redo steps: redoing would silently take them back. A change of
// the selection alone does not.
TEST(Undo, AnEditWithoutSnapshotEndsTheRedoSteps)
{
    const std::vector<std::function<void(ObjectList&)>> edits = {
        [](ObjectList& l) { l[0].X1 += 10; },
        [](ObjectList& l) { l[0].Groups.push_back(7); },
        [](ObjectList& l) { l[0].Clearance += 5; },
        [](ObjectList& l) { l[0].TextValue = "x"; },
        [](ObjectList& l) { test::addBand(l[0], l[1]); },
    };
    for (size_t k = 0; k < edits.size(); ++k) {
        SCOPED_TRACE(k);
        Fixture f(3), g(3);
        for (Fixture* x : {&f, &g}) {
            for (int32_t px : {100, 200, 300})
                x->drawPad(px);
            ASSERT_TRUE(Undo(x->session, x->doc));
        }
        f.objects()[1].Selected = 1;
        EXPECT_TRUE(RedoApplies(f.session, f.objects())) << "selecting is no edit";
        edits[k](f.objects());
        const std::vector<int32_t> edited = f.xs();
        EXPECT_FALSE(RedoApplies(f.session, f.objects()));
        // An Undo first: Redo then comes back to the edit and no further,
        // where the old step would have taken the edit back.
        edits[k](g.objects());
        ASSERT_TRUE(Undo(g.session, g.doc));
        ASSERT_TRUE(Redo(g.session, g.doc));
        EXPECT_FALSE(Redo(g.session, g.doc));
        EXPECT_EQ(g.xs(), edited);

        EXPECT_FALSE(Redo(f.session, f.doc));
        EXPECT_EQ(f.xs(), edited) << "the edit stays";
        EXPECT_FALSE(f.session.canRedo());
    }
}

// Undone back to the oldest state, a nudge made there can still be undone.
TEST(Undo, AnEditAfterUndoingEverythingCanBeUndone)
{
    Fixture f(10);
    f.drawPad(100);
    ASSERT_TRUE(Undo(f.session, f.doc));
    ASSERT_TRUE(f.objects().empty());
    EXPECT_FALSE(UndoApplies(f.session, f.objects()));
    f.drawPad(200); // a new step: the history holds the empty board again
    ASSERT_TRUE(Undo(f.session, f.doc));
    test::addPad(f.objects(), {500, -500}, 50); // an edit without a snapshot
    ASSERT_TRUE(UndoApplies(f.session, f.objects()));
    ASSERT_TRUE(Undo(f.session, f.doc));
    EXPECT_TRUE(f.objects().empty());
    ASSERT_TRUE(Redo(f.session, f.doc));
    EXPECT_EQ(f.xs(), (std::vector<int32_t>{500}));

    // Back there again after a Redo: the Redo gave up the copy of the oldest
    // state, and the Undo must take a new one, not bring back an empty board.
    Fixture g(3);
    test::addPad(g.objects(), {100, -500}, 50);
    ResetUndoHistory(g.session, g.doc);
    g.drawPad(200);
    ASSERT_TRUE(Undo(g.session, g.doc));
    ASSERT_TRUE(Redo(g.session, g.doc));
    ASSERT_TRUE(Undo(g.session, g.doc));
    g.objects()[0].X1 = 150; // a nudge
    ASSERT_TRUE(Undo(g.session, g.doc));
    EXPECT_EQ(g.xs(), std::vector<int32_t>{100});
}

// A command that finds nothing to do, or turns out to change nothing (an
// align of what lies on the grid, a mirror or turn of one round pad), must
// not spend the step the edit before it left: at depth 1 the only one.
TEST(Undo, CommandsThatChangeNothingKeepTheStepBeforeThem)
{
    // name, the moved pad stays selected, the command
    const std::tuple<const char*, bool, std::function<void(Fixture&)>> commands[] = {
        {"delete", false, [](Fixture& f) { DeleteSelection(f.session, f.doc); }},
        {"empty paste", false, [](Fixture& f) { Paste(f.session, f.doc); }},
        {"move of nothing", false, [](Fixture& f) { ApplyMove(f.session, f.doc, {10, 0}); }},
        {"no band to clear", false, [](Fixture& f) { ClearConnections(f.session, f.doc); }},
        {"align on the grid", true, [](Fixture& f) { AlignToGrid(f.session, f.doc); }},
        {"mirror of a round pad", true, [](Fixture& f) { MirrorVertical(f.session, f.doc); }},
        {"turn of a round pad", true, [](Fixture& f) { RotateSelection(f.session, f.doc); }},
    };
    for (const auto& [name, selected, command] : commands) {
        SCOPED_TRACE(name);
        Fixture f; // depth 1: a snapshot taken by the command would replace the move's
        f.doc.Working.Grid = 100;
        LayoutObject& a = test::addPad(f.objects(), {1000, -500}, 50);
        test::addBand(a, test::addPad(f.objects(), {5030, -500}, 50)); // off the grid, never selected
        a.Selected = 1;
        ApplyMove(f.session, f.doc, {100, 0});
        a.Selected = selected;
        f.doc.Modified = false;
        command(f);
        EXPECT_FALSE(f.doc.Modified);
        ASSERT_TRUE(Undo(f.session, f.doc));
        EXPECT_EQ(f.xs(), (std::vector<int32_t>{1000, 5030})) << "the move is undone";
    }
}

// Writing renumbers groups, which is no edit: with the history tied again
// afterwards, Redo still follows from the board, and Undo on a board as it
// was loaded still has nothing to do.
TEST(Undo, HistorySurvivesTheCleanUpBeforeWriting)
{
    test::TempDir dir;
    {
        // Nor does it give Undo something to do on a board as it was loaded.
        Fixture f;
        test::addPad(f.objects(), {100, -500}, 50).Groups = {4};
        ResetUndoHistory(f.session, f.doc);
        const HistoryTies ties = CurrentHistoryTies(f.session, f.objects());
        ASSERT_TRUE(test::succeeded(writeDocument(f.doc, dir.file("a.kbd"), false, Language::English)));
        RetieHistory(f.session, f.objects(), ties);
        EXPECT_FALSE(Undo(f.session, f.doc));
        EXPECT_FALSE(f.doc.Modified);
    }
    for (const bool retie : {true, false}) {
        Fixture f(5);
        test::addPad(f.objects(), {100, -500}, 50).Groups = {4};
        f.drawPad(200);
        ASSERT_TRUE(Undo(f.session, f.doc));
        const HistoryTies ties = CurrentHistoryTies(f.session, f.objects());
        ASSERT_TRUE(test::succeeded(writeDocument(f.doc, dir.file("a.kbd"), true, Language::English)));
        ASSERT_EQ(f.objects()[0].outerGroup(), 1) << "the groups were compacted";
        if (retie)
            RetieHistory(f.session, f.objects(), ties);
        EXPECT_EQ(Redo(f.session, f.doc), retie);
    }
}

TEST(Undo, HistoryBelongsToItsBoard)
{
    Fixture f;
    f.drawPad(100);
    f.doc.newBoard(Language::English);
    EXPECT_FALSE(Undo(f.session, f.doc)) << "the snapshot shows another board";
    f.doc.activate(0);
    EXPECT_TRUE(Undo(f.session, f.doc));
    EXPECT_TRUE(f.objects().empty());
}

TEST(Undo, ModifiedFollowsEditsSavesAndReads)
{
    test::TempDir dir;
    Fixture f;
    f.drawPad(100);
    EXPECT_TRUE(f.doc.Modified);
    ASSERT_TRUE(test::succeeded(writeDocument(f.doc, dir.file("a.kbd"), true, Language::English)));
    EXPECT_TRUE(f.doc.Modified) << "an autosave keeps it";
    ASSERT_TRUE(test::succeeded(writeDocument(f.doc, dir.file("a.kbd"), false, Language::English)));
    EXPECT_FALSE(f.doc.Modified);
    ASSERT_TRUE(Undo(f.session, f.doc));
    EXPECT_TRUE(f.doc.Modified) << "undo changes the document";
    auto read = readDocument(dir.file("a.kbd"), Language::English);
    ASSERT_TRUE(test::succeeded(read));
    EXPECT_FALSE(read->document.Modified);
    read->document.newBoard(Language::English);
    EXPECT_TRUE(read->document.Modified) << "a new board";
}

} // namespace
} // namespace kestrel
