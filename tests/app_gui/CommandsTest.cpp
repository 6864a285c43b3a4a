#include "WindowFixture.h"

#include "app/BoardSizeDialog.h"
#include "app/CommandTable.h"
#include "app/UiTexts.h"

#include <QToolButton>

#include <map>

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
        const auto shortcuts =
            row.shortcut ? QKeySequence::listFromString(QString::fromLatin1(row.shortcut)) : QList<QKeySequence>{};
        EXPECT_TRUE(isMenu || f.action(row.name).shortcuts() == shortcuts) << row.name;
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

// Every menu and item can be reached from the keyboard in either language:
// each has an access letter, and no two of one menu share it.
TEST(Commands, EveryMenuItemHasAnAccessLetterOfItsOwn)
{
    for (const bool english : {false, true}) {
        std::map<QString, std::map<QChar, QString>> menus; // menu, letter, caption
        for (const MenuCommand& row : menuCommands()) {
            if (row.kind == CommandKind::Separator || row.kind == CommandKind::Popup || row.hidden)
                continue;
            const QString caption = QString::fromUtf8(captionOf(row, english));
            const QString shown = QString(caption).replace("&&", "");
            const qsizetype mark = shown.indexOf('&');
            SCOPED_TRACE((english ? "English: " : "Russian: ") + caption.toStdString());
            if (mark < 0 || mark + 1 >= shown.size()) {
                ADD_FAILURE() << "no access letter";
                continue;
            }
            const QChar letter = shown[mark + 1].toLower();
            const QString menu = row.parent ? row.parent : "menu bar";
            const auto [at, added] = menus[menu].emplace(letter, caption);
            EXPECT_TRUE(added) << "the letter of " << at->second.toStdString() << " in " << menu.toStdString();
        }
    }
}

} // namespace
} // namespace kestrel::test
