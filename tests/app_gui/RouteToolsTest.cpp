#include "WindowFixture.h"

#include "route/gui/AutoRouterWindow.h"
#include "route/gui/RouteToolActions.h"

#include <QLabel>

namespace kestrel::test {
namespace {

// Pads 0 and 1 joined by a band and by a track, pads 2 and 3 by a band only:
// the command takes the first band away, and Undo brings it back.
TEST(ClearConnectionsCommand, ReportsAndUndoes)
{
    WindowFixture f;
    ObjectList& list = f.list();
    for (Point p : {Point{1000, -1000}, Point{3000, -1000}, Point{1000, -3000}, Point{3000, -3000}})
        addPad(list, p, 60);
    addBand(list[0], list[1]);
    addBand(list[2], list[3]);
    addTrack(list, {{1000, -1000}, {3000, -1000}});
    list[0].Selected = 1;
    f.window().updateCommandStates();
    f.trigger("TB_ClearConnections");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].text, "1 rubber band(s) removed\n1 rubber band(s) kept");
    EXPECT_EQ(f.list()[0].Connections.size(), 0u);
    f.trigger("Rckgngig1");
    EXPECT_EQ(f.list()[0].Connections.size(), 1u);
}

// The window's texts are set by name over all of its children, so no
// control of the autorouter window may share a name with another one.
TEST(RouteTools, AutorouterWindowKeepsItsOwnCaptions)
{
    WindowFixture f(Language::Russian);
    TAutoRouter& window = f.window().routeTools().window();
    for (QObject* o : window.findChildren<QObject*>()) {
        if (o->objectName().isEmpty() || o->objectName().startsWith("qt_"))
            continue;
        EXPECT_EQ(f.window().findChildren<QObject*>(o->objectName()).size(), 1) << o->objectName().toStdString();
    }
    EXPECT_EQ(window.findChild<QLabel*>("L_AutoWidth")->text(), "Ширина:");
}

} // namespace
} // namespace kestrel::test
