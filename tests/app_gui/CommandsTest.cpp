#include "WindowFixture.h"

#include "app/BoardSizeDialog.h"
#include "app/CommandTable.h"
#include "app/UiTexts.h"

#include <QToolButton>

namespace kestrel::test {
namespace {

// Every table row is a named control with a handler of the window.
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

} // namespace
} // namespace kestrel::test
