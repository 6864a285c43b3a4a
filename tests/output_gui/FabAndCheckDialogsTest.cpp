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
