#include "WindowFixture.h"

#include "edit/PointerMachine.h"
#include "view/gui/BoardView.h"

#include <QAbstractButton>
#include <QDoubleSpinBox>

namespace kestrel::test {
namespace {

// Two pads and a track on an otherwise empty board, the history started
// over with them.
constexpr Point kPadA{1000, -1000};
constexpr Point kPadB{3000, -1000};
constexpr Point kTrackMiddle{2000, -3000};

void addThree(WindowFixture& f)
{
    ObjectList& list = *f.doc().currentObjects();
    addPad(list, kPadA, 90);
    addPad(list, kPadB, 90);
    addTrack(list, {{1000, -3000}, {3000, -3000}}, 40);
    f.window().setUndoDepth(1);
}

// Whether the selection frame is on the screen.
bool frameShown(WindowFixture& f)
{
    return f.window().pointerMachine().previews()[PreviewKind::Frame].drawn;
}

// The selection rules are the pointer machine's; this shows that a click and
// a Shift+frame reach it from the widget (Shift+click:
// EditCommands.EnablingFollowsTheSelectionAndTheClipboard).
TEST(PointerSelection, ClickAndShiftFrameSelect)
{
    WindowFixture f;
    addThree(f);
    f.click(kTrackMiddle);
    f.frame({500, -500}, {1500, -1500}, Qt::ShiftModifier);
    EXPECT_EQ(f.selected(), (std::vector<size_t>{0, 2}));
    EXPECT_FALSE(frameShown(f));
    EXPECT_TRUE(f.action("Kopieren1").isEnabled());
    EXPECT_FALSE(f.doc().Modified) << "selecting changes nothing to save";
}

// The frame shows while the button is held; a command that changes the
// objects ends it, and the release then selects nothing.
TEST(PointerSelection, ACommandEndsTheFrame)
{
    WindowFixture f;
    addThree(f);
    f.pressAndMove({500, -500}, {3500, -1500});
    EXPECT_TRUE(frameShown(f));
    f.trigger("Rckgngig1");
    EXPECT_FALSE(frameShown(f));
    f.release({3500, -1500});
    EXPECT_TRUE(f.selected().empty());
}

// The zoom tool's frame zooms rather than selects; choosing a tool deselects.
TEST(PointerSelection, OnlyTheEditToolSelects)
{
    WindowFixture f;
    addThree(f);
    f.click(kPadA);
    f.control<QAbstractButton>("SB_Zoom").click();
    EXPECT_TRUE(f.selected().empty());
    f.frame({500, -500}, {3500, -1500});
    EXPECT_TRUE(f.selected().empty());
    f.control<QAbstractButton>("SB_Standard").click();
    f.click(kPadB);
    EXPECT_EQ(f.selected(), std::vector<size_t>{1});
}

QDoubleSpinBox& spin(WindowFixture& f, const char* name)
{
    return f.control<QDoubleSpinBox>(name);
}

// Gives an edit the focus and takes it away again, as tabbing through does.
void enterAndLeave(WindowFixture& f, const char* name)
{
    spin(f, name).setFocus();
    f.window().boardView().scrollBox()->setFocus();
}

// A value the user sets, stepped or typed, goes to the selected objects only,
// within the edit's range.
TEST(ToolPanel, EditedValuesApplyToTheSelection)
{
    struct Case {
        const char* name;
        Point pick;
        const char* edit;
        double mm;
        bool typed; // typed and left, rather than stepped
        int32_t widthUnits, outerRadius, innerRadius; // of the picked object afterwards
    };
    for (const Case& c : {Case{"pad diameter", kPadA, "SE_Aussen", 2.0, false, 0, 100, 40},
                          Case{"typed hole", kPadA, "SE_Innen", 1.0, true, 0, 90, 50}}) {
        SCOPED_TRACE(c.name);
        WindowFixture f;
        addThree(f);
        f.click(c.pick);
        if (c.typed) {
            spin(f, c.edit).setFocus();
            spin(f, c.edit).selectAll();
            QTest::keyClicks(&spin(f, c.edit), spin(f, c.edit).locale().toString(c.mm, 'f', 1));
            f.window().boardView().scrollBox()->setFocus();
        } else {
            spin(f, c.edit).setValue(c.mm);
        }
        const ObjectList& list = *f.doc().currentObjects();
        const LayoutObject& o = list[f.selected().at(0)];
        if (o.kind() == ObjectKind::Track) {
            EXPECT_EQ(o.widthUnits(), c.widthUnits);
        } else {
            EXPECT_EQ(o.X2, c.outerRadius);
            EXPECT_EQ(o.Y2, c.innerRadius);
        }
        EXPECT_EQ(list[1].X2, 90) << "unselected pad";
        EXPECT_EQ(list[2].widthUnits() == 40, o.kind() != ObjectKind::Track) << "the track only when selected";
        EXPECT_TRUE(f.doc().Modified);
    }
}

// The panel shows a selection's values in tenths of a millimetre; showing
// them, and passing through the edits without typing, must not write the
// rounded value back.
TEST(ToolPanel, ShowingTheSelectionsValuesLeavesThemAlone)
{
    struct Case {
        const char* name;
        std::function<LayoutObject&(ObjectList&)> add;
        std::function<int32_t(const LayoutObject&)> field;
        int32_t units;
        std::function<int32_t(const ToolParameters&)> adopted;
    };
    const Case cases[] = {
        {"track width 0.41 mm", [](auto& l) -> auto& { return addTrack(l, {{500, -500}, {1500, -500}}, 41); },
         [](const auto& o) { return o.widthUnits(); }, 41, [](const auto& t) { return t.CurrentTrackWidth; }},
        {"clearance 0.45 mm",
         [](auto& l) -> auto& {
             LayoutObject& pad = addPad(l, {1000, -500}, 90);
             pad.Clearance = 45;
             return pad;
         },
         [](const auto& o) { return o.Clearance; }, 45, [](const auto& t) { return t.CurrentClearance; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture f;
        f.trigger("M_AutoMasse"); // shows the clearance edit
        f.doc().Modified = false;
        LayoutObject& o = c.add(*f.doc().currentObjects());
        f.click({1000, -500});
        ASSERT_EQ(o.Selected, 1);
        EXPECT_EQ(c.adopted(f.window().toolParameters()), c.units) << "new objects get the value in full";
        for (const char* edit : {"SE_Breite", "SE_Aussen", "SE_Innen", "SE_FreistanzOffset"})
            enterAndLeave(f, edit);
        f.click({1000, -500}); // shown again
        EXPECT_EQ(c.field(o), c.units);
        EXPECT_FALSE(f.doc().Modified);
    }
}

} // namespace
} // namespace kestrel::test
