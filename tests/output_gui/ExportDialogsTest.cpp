#include "output/gui/DrillDialog.h"
#include "output/gui/GerberDialog.h"

#include "support/DialogControls.h"
#include "support/ScriptedPrompts.h"
#include "output/OutputTestUtil.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Also records the name, filter and suffix each save dialog was given.
struct Script : ScriptedPrompts {
    QStringList saves;
    std::optional<QString> saveFileName(QWidget* w, const QString& name, const QString& filter,
                                        const QString& suffix, const QString& caption, bool ask = true) override
    {
        saves << name + " " + filter + " " + suffix;
        return ScriptedPrompts::saveFileName(w, name, filter, suffix, caption, ask);
    }
};

QString pathIn(const TempDir& dir, const char* name) { return QString::fromStdString(dir.file(name)); }

} // namespace

// Whatever a user clicks, the dialog hands on only valid options.
TEST(GerberDialog, EveryReachableStatePassesTheOptionRules)
{
    TGerberDlg dlg(Language::English);
    const char* toggles[] = {"BohrungenFrei", "Koernen", "Invertieren", "Spiegeln"};
    auto* offset = &child<QDoubleSpinBox>(dlg, "SE_Offset");
    for (const char* button : {"K1", "LStop1", "B1", "K2", "LStop2", "B2"}) {
        for (unsigned clicks = 0; clicks < 16; ++clicks) {
            child<QRadioButton>(dlg, button).click();
            const GerberLayer layer = *gerberLayerFromKey(button);
            for (unsigned t = 0; t < 4; ++t)
                if (clicks & (1u << t))
                    child<QCheckBox>(dlg, toggles[t]).click(); // a disabled box ignores the click
            if (offset->isEnabled())
                offset->setValue(clicks % 2 ? offset->maximum() : 0.3);
            const GerberOptions o = dlg.options();
            EXPECT_EQ(o.layer, layer);
            EXPECT_EQ(o.check(), GerberOptions::Problem::None) << button << " after clicks " << clicks;
            EXPECT_EQ(o.offsetMm != 0, GerberOptions::takesMaskOptions(o.layer)) << "the masks read the spin";
        }
    }
}

// Marking is offered only for punched holes: greyed until Punch is ticked,
// and unticked again with it.
TEST(GerberDialog, MarkFollowsPunch)
{
    TGerberDlg dlg(Language::English);
    auto& punch = child<QCheckBox>(dlg, "BohrungenFrei");
    auto& mark = child<QCheckBox>(dlg, "Koernen");
    ASSERT_TRUE(punch.isEnabled());
    ASSERT_FALSE(punch.isChecked());
    EXPECT_FALSE(mark.isEnabled()) << "as the dialog opens";
    punch.click();
    ASSERT_TRUE(mark.isEnabled());
    mark.click();
    punch.click();
    EXPECT_FALSE(mark.isEnabled());
    EXPECT_FALSE(mark.isChecked()) << "no greyed tick left behind";
    // Back on copper from a mask, Punch still off: Mark stays greyed.
    child<QRadioButton>(dlg, "LStop1").click();
    child<QRadioButton>(dlg, "K2").click();
    EXPECT_TRUE(punch.isEnabled());
    EXPECT_FALSE(mark.isEnabled());
    punch.click();
    EXPECT_TRUE(mark.isEnabled());
    EXPECT_FALSE(mark.isChecked()) << "ticked anew, not remembered";
}

// Labels in a system font are counted while left out and drawn once the box
// is ticked; the dialog comes back with the layer and options of the last run.
TEST(GerberDialog, CommandLoopsUntilClosedAndRemembersTheLastRun)
{
    TempDir dir;
    LayoutDocument doc = labelledDocument();
    QWidget window;
    Script script;
    auto accept = [](QDialog&) { return true; };
    auto mask = [](QDialog& d) { // solder mask side 1 with offset and inversion; its save dialog is cancelled
        child<QRadioButton>(d, "LStop1").click(), child<QDoubleSpinBox>(d, "SE_Offset").setValue(0.2);
        child<QCheckBox>(d, "Invertieren").click();
        return true;
    };
    auto labels = [](QDialog& d) {
        child<QRadioButton>(d, "K1").click(), child<QCheckBox>(d, "FontLabels").click();
        return true;
    };
    script.dialogs = {accept, labels, mask, accept, accept, [](QDialog&) { return false; }};
    script.saveNames = {pathIn(dir, "k1.gbr"), pathIn(dir, "labels.gbr"), QString(), pathIn(dir, "m.gbr"),
                        pathIn(dir, "none/x.gbr")};
    runGerberDialog(&window, doc, Language::English, script);

    EXPECT_TRUE(script.exhausted());
    EXPECT_EQ(script.saves.front(), "COPPER1.GBR *.gbr|*.gbr GBR");
    EXPECT_EQ(script.saves.back(), pathIn(dir, "SLDMASK1.GBR") + " *.gbr|*.gbr GBR")
        << "the name follows the layer, in the folder the last file went to";
    const GerberOptions maskOptions{.layer = GerberLayer::LStop1, .outline = false, .offsetMm = 0.2, .invert = true};
    EXPECT_EQ(fileText(dir.file("k1.gbr")), exportGerber(*doc.currentObjects(), doc.Working, {}, Language::English));
    EXPECT_EQ(fileText(dir.file("m.gbr")), exportGerber(*doc.currentObjects(), doc.Working, maskOptions, Language::English));
    EXPECT_NE(fileText(dir.file("labels.gbr")).find("G36*"), std::string::npos);
    ASSERT_EQ(script.messages.size(), 4u);
    EXPECT_EQ(script.messages[0].text, "File created successfully.\n\nLabels in a system font left out: 1.");
    EXPECT_TRUE(script.messages[3].text.startsWith("Can not create file!\n\n"));
    EXPECT_EQ(script.messages[3].icon, Prompts::Icon::Error);

    Script again;
    GerberOptions seen;
    again.dialogs = {[&seen](QDialog& d) { return seen = static_cast<TGerberDlg&>(d).options(), false; }};
    runGerberDialog(&window, doc, Language::English, again);
    EXPECT_EQ(std::tuple(seen.layer, seen.invert, seen.offsetMm), std::tuple(GerberLayer::LStop1, true, 0.2));
}

TEST(DrillDialog, CommandWritesTheChosenSide)
{
    TempDir dir;
    LayoutDocument doc = exampleDocument();
    QWidget window;
    Script component;
    component.dialogs = {[](QDialog& d) { return child<QRadioButton>(d, "RB_Best").click(), true; }};
    component.saveNames = {pathIn(dir, "holes.drl")};
    runDrillDialog(&window, doc, Language::English, component);
    EXPECT_EQ(fileText(dir.file("holes.drl")), exportDrill(*doc.currentObjects(), doc.Working, DrillSide::Component));

    Script cancelled; // a cancel leaves the side chosen before
    cancelled.dialogs = {[](QDialog& d) { return child<QRadioButton>(d, "RB_Kupfer").click(), false; }};
    runDrillDialog(&window, doc, Language::English, cancelled);
    EXPECT_TRUE(cancelled.saves.empty());

    Script failing; // the side chosen last time is kept
    failing.dialogs = {[](QDialog& d) { return static_cast<TLochDlg&>(d).side() == DrillSide::Component; }};
    failing.saveNames = {pathIn(dir, "none/holes.drl")};
    runDrillDialog(&window, doc, Language::Russian, failing);
    EXPECT_EQ(failing.saves, QStringList{"BOHRUNG.DRL Файлы сверловки (Excellon)|*.DRL DRL"});
    ASSERT_EQ(failing.messages.size(), 1u);
    EXPECT_TRUE(failing.messages[0].text.startsWith("Не удалось создать файл!"));
    EXPECT_EQ(failing.messages[0].icon, Prompts::Icon::Error);

    // A named layout's export starts beside it, not in the editor's working
    // folder; a new document's, in the folder last worked in.
    for (const bool named : {true, false}) {
        doc.FileName = named ? dir.file("board.kbd") : std::string();
        Script script;
        if (!named)
            script.lastFolder = QString::fromStdString(dir.path());
        script.dialogs = {[](QDialog&) { return true; }};
        script.saveNames = {QString()};
        runDrillDialog(&window, doc, Language::English, script);
        EXPECT_EQ(script.saves, QStringList{pathIn(dir, "DRILL.DRL") + " Drill files (Excellon)|*.DRL DRL"}) << named;
    }
}
