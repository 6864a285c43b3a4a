#include "WindowFixture.h"

#include "app/BoardSizeDialog.h"
#include "app/CommandTable.h"
#include "app/UiTexts.h"
#include "view/gui/BoardView.h"

#include <QMenu>
#include <QToolButton>

#include <map>
#include <set>
#include <string>

namespace kestrel::test {
namespace {

// Every table row is a control carrying the row's name; a text row that
// found no control would never be applied.
// (LanguageWalkTest checks what every window shows in each language.)
TEST(Commands, EveryTableRowIsANamedControl)
{
    WindowFixture f;
    for (const MenuCommand& row : menuCommands()) {
        if (!row.name)
            continue;
        const bool isMenu = row.kind == CommandKind::Menu || row.kind == CommandKind::Popup;
        EXPECT_TRUE(isMenu ? f.window().findChild<QObject*>(row.name) : f.window().findChild<QAction*>(row.name))
            << row.name;
        const QKeySequence shortcut(QString::fromLatin1(row.shortcut ? row.shortcut : ""));
        EXPECT_TRUE(isMenu || f.action(row.name).shortcut() == shortcut) << row.name;
    }
    for (const ToolBarCommand& row : toolBarCommands()) {
        EXPECT_TRUE(f.window().findChild<QAction*>(row.name)) << row.name;
        EXPECT_TRUE(f.window().findChild<QToolButton*>(row.name)) << row.name;
    }
    BoardSizeDialog dialog(Language::English, f);
    EXPECT_TRUE(applyTexts(&f.window(), mainWindowTexts(), Language::English).empty());
    EXPECT_TRUE(applyTexts(&dialog, boardSizeDialogTexts(), Language::English).empty());
}

// Every menu and tool-bar row reaches a handler of the window.
TEST(Commands, EveryRowReachesAHandler)
{
    WindowFixture f;
    std::set<std::string> named;
    for (const MenuCommand& row : menuCommands())
        if (row.handler)
            named.insert(row.handler);
    for (const ToolBarCommand& row : toolBarCommands())
        named.insert(row.handler);
    for (const std::string& handler : named)
        EXPECT_TRUE(f.window().definesHandler(handler)) << handler << " has no handler";
}

// Commands without anything to act on stay disabled; the others follow their
// rules as the board's objects and the selection change.
TEST(Commands, EnablingFollowsTheHandlersAndTheRules)
{
    WindowFixture f;
    EXPECT_FALSE(f.action("Wiederholen1").isEnabled());
    EXPECT_TRUE(f.action("TB_Neu").isEnabled());

    auto ruled = [&f] {
        std::vector<bool> enabled;
        for (const char* name : {"ZoomObjekte1", "ZoomMarkierung1"})
            enabled.push_back(f.action(name).isEnabled());
        return enabled;
    };
    EXPECT_EQ(ruled(), (std::vector<bool>{false, false})) << "empty board";
    LayoutObject& pad = addPad(*f.doc().currentObjects(), {1000, -1000}, 90);
    f.window().updateCommandStates();
    EXPECT_EQ(ruled(), (std::vector<bool>{true, false})) << "objects";
    pad.Selected = 1;
    f.window().updateCommandStates();
    EXPECT_EQ(ruled(), (std::vector<bool>{true, true})) << "selection";
}

TEST(Commands, MenuCommandsSetTheViewAndItsCheckMarks)
{
    WindowFixture f;
    f.trigger("E_Zoll");
    EXPECT_TRUE(f.window().boardView().inchUnit());
    EXPECT_FALSE(f.action("E_MM").isChecked());
    f.trigger("Rastersichtbar1");
    EXPECT_FALSE(f.window().boardView().gridVisible());

    f.trigger("N0635mm1401"); // a predefined grid
    EXPECT_DOUBLE_EQ(f.doc().Working.Grid, 63.5);
    EXPECT_EQ(f.control<QToolButton>("SB_Raster").text(), "0.635 mm");
}

// The export dialogs run through the window's prompts and write the active board.
TEST(Commands, ExportCommandsWriteTheActiveBoard)
{
    WindowFixture f;
    f.addContent();
    TempDir dir;
    const std::string gerber = dir.file("copper.gbr");
    const std::string drill = dir.file("holes.drl");
    // The Gerber dialog stays open for more layers until it is cancelled.
    f.dialogs = {WindowFixture::accept, WindowFixture::cancel, WindowFixture::accept};
    f.saveNames = {q(gerber), q(drill)};
    f.trigger("GerberFormat1");
    EXPECT_EQ(f.messages.at(0).text, "File created successfully.");
    f.trigger("BohrDatenExcellon1");
    EXPECT_EQ(f.dialogNames, (std::vector<QString>{"GerberDlg", "GerberDlg", "LochDlg"}));
    EXPECT_TRUE(f.exhausted());
    const auto gerberBytes = readBytes(gerber);
    EXPECT_NE(std::string(gerberBytes.begin(), gerberBytes.end()).find("D01*"), std::string::npos);
    const auto drillBytes = readBytes(drill);
    EXPECT_EQ(std::string(drillBytes.begin(), drillBytes.end()).rfind("M48\r\n", 0), 0u);
}

} // namespace
} // namespace kestrel::test
