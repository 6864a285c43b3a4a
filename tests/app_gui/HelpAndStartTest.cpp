#include "SettingsHome.h"
#include "WindowFixture.h"

#include "app/HelpWindow.h"

#include <QToolButton>

namespace kestrel::test {
namespace {

// F1 opens the manual at the page of the tool in use, except in the drawing
// area, where it makes layer 1 active; "?" > Index opens the contents and
// the about entry shows the about box.
TEST(Help, F1FollowsTheToolAndTheMenuOpensTheManualAndTheAboutBox)
{
    WindowFixture f;
    f.trigger("B1"); // layer 2 active
    QToolButton& route = f.control<QToolButton>("SB_AutoRoute");
    route.click();
    route.setFocus();
    QTest::keyClick(&route, Qt::Key_F1);
    auto* help = f.window().findChild<HelpWindow*>();
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentPage(), "routing");

    f.control<QToolButton>("SB_Standard").click();
    f.window().boardView().scrollBox()->setFocus();
    QTest::keyClick(f.window().boardView().scrollBox(), Qt::Key_F1);
    EXPECT_EQ(f.doc().Working.ActiveLayer, 1u) << "F1 in the drawing area picks layer 1";
    EXPECT_EQ(help->currentPage(), "routing");

    f.trigger("Index1");
    EXPECT_EQ(help->currentPage(), "start");
    f.dialogs = {ScriptedPrompts::cancel};
    f.trigger("Info2");
    EXPECT_EQ(f.dialogNames, std::vector<QString>{"InfoDlg"});
    EXPECT_EQ(f.window().createPopupMenu(), nullptr) << "no blank pop-up on the tool bar";
}

// The last size and position come back at the next start.
TEST(StartUp, TheWindowKeepsItsLastGeometry)
{
    SettingsHome home;
    QRect placed;
    {
        WindowFixture f(Language::English, {}, true);
        f.window().setGeometry(60, 70, 900, 640);
        placed = f.window().geometry();
        EXPECT_TRUE(f.window().close());
    }
    WindowFixture f(Language::English, {}, true);
    EXPECT_EQ(f.window().geometry().size(), placed.size());
}

} // namespace
} // namespace kestrel::test
