#include "WindowFixture.h"

#include "app/BoardSizeDialog.h"
#include "app/CommandTable.h"
#include "app/UiTexts.h"
#include "view/gui/BoardView.h"

#include <QToolButton>

#include <string>

namespace kestrel::test {
namespace {

// Every table row is a control carrying the row's name and reaches a handler
// of the window; a text row that found no control would never be applied.
// (LanguageWalkTest checks what every window shows in each language.)
TEST(Commands, EveryTableRowIsANamedControlWithAHandler)
{
    WindowFixture f;
    for (const MenuCommand& row : menuCommands()) {
        EXPECT_TRUE(!row.handler || f.window().definesHandler(row.handler)) << row.handler;
        if (!row.name)
            continue;
        const bool isMenu = row.kind == CommandKind::Menu || row.kind == CommandKind::Popup;
        EXPECT_TRUE(isMenu ? f.window().findChild<QObject*>(row.name) : f.window().findChild<QAction*>(row.name))
            << row.name;
        const QKeySequence shortcut(QString::fromLatin1(row.shortcut ? row.shortcut : ""));
        EXPECT_TRUE(isMenu || f.action(row.name).shortcut() == shortcut) << row.name;
    }
    for (const ToolBarCommand& row : toolBarCommands()) {
        EXPECT_TRUE(f.window().definesHandler(row.handler)) << row.handler;
        EXPECT_TRUE(f.window().findChild<QAction*>(row.name)) << row.name;
        EXPECT_TRUE(f.window().findChild<QToolButton*>(row.name)) << row.name;
    }
    BoardSizeDialog dialog(Language::English, f);
    EXPECT_TRUE(applyTexts(&f.window(), mainWindowTexts(), Language::English).empty());
    EXPECT_TRUE(applyTexts(&dialog, boardSizeDialogTexts(), Language::English).empty());
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
    f.trigger("BohrDatenExcellon1");
    EXPECT_EQ(f.dialogNames, (std::vector<QString>{"GerberDlg", "GerberDlg", "LochDlg"}));
    EXPECT_TRUE(f.exhausted());
    const auto gerberBytes = readBytes(gerber);
    EXPECT_NE(std::string(gerberBytes.begin(), gerberBytes.end()).find("D01*"), std::string::npos);
    EXPECT_FALSE(readBytes(drill).empty());
}

} // namespace
} // namespace kestrel::test
