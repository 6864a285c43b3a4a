#include "output/FabPackage.h"
#include "output/gui/DesignCheckDialog.h"
#include "output/gui/FabPackageCommand.h"

#include "support/DialogControls.h"
#include "support/ScriptedPrompts.h"
#include "output/OutputTestUtil.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrel;
using namespace kestrel::test;

// The window lists what the remembered rules find, checks again with the
// rules typed in, hands a picked violation on, and returns the rules used.
TEST(DesignCheckDialog, ListsChecksAgainAndPicks)
{
    LayoutDocument doc = labelledDocument();
    ScriptedPrompts script;
    std::vector<size_t> picked;
    script.dialogs = {[](QDialog& d) {
        auto& list = child<QListWidget>(d, "ViolationList");
        if (list.count() != 1)
            return ADD_FAILURE() << list.count() << " violations", false;
        EXPECT_TRUE(list.item(0)->text().startsWith("Clearance 0.10 mm < 0.15 mm: track – track, C1"));
        list.setCurrentRow(0);
        child<QDoubleSpinBox>(d, "SE_Clearance").setValue(0.1);
        child<QPushButton>(d, "CheckBtn").click();
        EXPECT_EQ(list.count(), 0);
        EXPECT_EQ(child<QLabel>(d, "ResultLabel").text(), "No violations.");
        return false;
    }};
    DesignRules rules;
    runDesignCheckDialog(nullptr, doc, Language::English, script, rules,
                         [&picked](const Violation& v) { picked = {v.object, static_cast<size_t>(v.other)}; });
    EXPECT_TRUE(script.exhausted());
    EXPECT_EQ(picked, (std::vector<size_t>{0, 3}));
    EXPECT_EQ(rules.clearanceUnits, 10);
}

// More violations than the list holds: the first are listed and the count
// says how many there are. Limits typed in are kept when the window is closed
// without a check.
TEST(DesignCheckDialog, ListsTheFirstOfVeryManyAndKeepsTypedLimits)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    const size_t tracks = DesignCheckDlg::kMostListed + 5;
    for (size_t i = 0; i < tracks; ++i) {
        const int32_t x = 100 + static_cast<int32_t>(i % 100) * 100, y = -100 - static_cast<int32_t>(i / 100) * 50;
        addTrack(*doc.currentObjects(), {{x, y}, {x + 50, y}}, 10); // 0.10 mm wide, apart
    }
    ScriptedPrompts script;
    script.dialogs = {[tracks](QDialog& d) {
        EXPECT_EQ(child<QListWidget>(d, "ViolationList").count(), int(DesignCheckDlg::kMostListed));
        EXPECT_EQ(child<QLabel>(d, "ResultLabel").text(),
                  QString("Violations: %1, the first 10000 listed. Pick a line to show the place.").arg(tracks));
        child<QDoubleSpinBox>(d, "SE_Width").setValue(0.1);
        return false; // closed without a check
    }};
    DesignRules rules;
    runDesignCheckDialog(nullptr, doc, Language::English, script, rules, [](const Violation&) {});
    EXPECT_TRUE(script.exhausted());
    EXPECT_EQ(rules.widthUnits, 10);
}

// Violations ask first; a "no" writes nothing, a "yes" writes the zip with the
// labels drawn from the screen's glyphs.
TEST(FabPackageCommand, AsksAboutViolationsThenWritesTheZip)
{
    TempDir dir;
    LayoutDocument doc = labelledDocument();
    ScriptedPrompts script;
    script.answers = {Prompts::Answer::No, Prompts::Answer::Yes};
    script.saveNames = {QString::fromStdString(dir.file("fab.zip"))};
    EXPECT_FALSE(runFabPackageCommand(nullptr, doc, Language::English, script, DesignRules{}));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "declined: nothing written";
    EXPECT_TRUE(runFabPackageCommand(nullptr, doc, Language::English, script, DesignRules{}));
    EXPECT_TRUE(script.exhausted());
    ASSERT_EQ(script.questions.size(), 2u);
    EXPECT_EQ(script.questions[0].text, "The design check found 1 violation(s).\nWrite the fab package anyway?");
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "Fab package written.");

    const auto files = unzipArchive(fileText(dir.file("fab.zip")));
    ASSERT_TRUE(succeeded(files));
    ASSERT_EQ(files->size(), 9u);
    EXPECT_NE((*files)[1].bytes.find("G36*"), std::string::npos) << "the label on the bottom copper";

    // The open layout is never replaced by the zip.
    doc.FileName = dir.file("board.kbd");
    writeBytes(doc.FileName, {'k', 'b', 'd'});
    script.answers = {Prompts::Answer::Yes};
    script.saveNames = {QString::fromStdString(doc.FileName)};
    EXPECT_FALSE(runFabPackageCommand(nullptr, doc, Language::English, script, DesignRules{}));
    EXPECT_EQ(fileText(doc.FileName), "kbd");
    EXPECT_TRUE(script.messages.back().text.startsWith("The file cannot replace the open layout"));
}
