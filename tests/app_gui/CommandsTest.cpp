#include "WindowFixture.h"

#include "app/BoardSizeDialog.h"
#include "app/CommandTable.h"
#include "app/UiTexts.h"

#include <QMenu>
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
// each has an access letter, and no two of one menu share it. The corner
// menu of the drawing area is made apart from the table.
TEST(Commands, EveryMenuItemHasAnAccessLetterOfItsOwn)
{
    for (const Language lang : {Language::Russian, Language::English}) {
        std::map<QString, std::map<QChar, QString>> menus; // menu, letter, caption
        const auto check = [&](const QString& menu, const QString& caption) {
            const QString shown = QString(caption).replace("&&", "");
            const qsizetype mark = shown.indexOf('&');
            SCOPED_TRACE((lang == Language::English ? "English: " : "Russian: ") + caption.toStdString());
            if (mark < 0 || mark + 1 >= shown.size()) {
                ADD_FAILURE() << "no access letter";
                return;
            }
            const auto [at, added] = menus[menu].emplace(shown[mark + 1].toLower(), caption);
            EXPECT_TRUE(added) << "the letter of " << at->second.toStdString() << " in " << menu.toStdString();
        };
        for (const MenuCommand& row : menuCommands())
            if (row.kind != CommandKind::Separator && row.kind != CommandKind::Popup && !row.hidden)
                check(row.parent ? row.parent : "menu bar",
                      QString::fromUtf8(captionOf(row, lang == Language::English)));
        WindowFixture f(lang);
        const auto* corners = f.window().findChild<QMenu*>("KnotenPopup");
        ASSERT_TRUE(corners);
        for (const QAction* a : corners->actions())
            check("KnotenPopup", a->text());
    }
}

// An open corner menu takes its letters before the board's one-letter tool
// keys (R is also the circle tool's).
TEST(Commands, TheCornerMenuTakesItsOwnLetters)
{
    WindowFixture f;
    addTrack(f.list(), {at(10, 10), at(20, 10), at(20, 20)}, 80);
    f.click(at(15, 10));
    ASSERT_EQ(f.list()[0].Selected, 1);
    f.rightClick(at(20, 10));
    auto* menu = f.window().findChild<QMenu*>("KnotenPopup");
    ASSERT_TRUE(menu && menu->isVisible());
    QTest::keyClick(menu, Qt::Key_R);
    EXPECT_EQ(f.list()[0].Points, (std::vector<Point>{at(10, 10), at(20, 20)})) << "Remove corner";
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Standard").isChecked()) << "no tool chosen";
}

} // namespace
} // namespace kestrel::test
