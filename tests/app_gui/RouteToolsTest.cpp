// The rubber-band clean-up command and the actions of the test, connect and
// autorouter tools, in a shown main window.

#include "WindowFixture.h"

#include "route/gui/AutoRouterWindow.h"
#include "route/gui/RouteToolActions.h"
#include "route/gui/SearchBoxFlash.h"

#include <QLabel>

namespace kestrel::test {
namespace {

// Bands of the active board by list position: "0>1 1>0".
std::string bands(WindowFixture& f)
{
    std::string out;
    const ObjectList& list = *f.doc().currentObjects();
    for (size_t i = 0; i < list.size(); ++i)
        for (const LayoutObject* peer : list[i].Connections) {
            if (!out.empty())
                out += ' ';
            out += std::to_string(i) + ">" + std::to_string(list.indexOf(peer));
        }
    return out;
}

// Pads 0 and 1 joined by a band and by track 4; pads 2 and 3 with a band and apart.
void addBandedPads(WindowFixture& f)
{
    ObjectList& list = *f.doc().currentObjects();
    LayoutObject& a = addPad(list, {1000, -1000}, 60);
    LayoutObject& b = addPad(list, {3000, -1000}, 60);
    LayoutObject& c = addPad(list, {1000, -3000}, 60);
    LayoutObject& d = addPad(list, {3000, -3000}, 60);
    addBand(a, b);
    addBand(c, d);
    addTrack(list, {{1000, -1000}, {3000, -1000}});
    f.window().updateCommandStates();
}

TEST(ClearConnectionsCommand, ReportsAndUndoes)
{
    WindowFixture f;
    EXPECT_FALSE(f.action("TB_ClearConnections").isEnabled()) << "no bands yet";
    addBandedPads(f);
    f.doc().currentObjects()->at(0)->Selected = 1;
    f.trigger("TB_ClearConnections");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].caption, "Information");
    EXPECT_EQ(f.messages[0].text, "1 rubber band(s) removed\n1 rubber band(s) kept");
    EXPECT_EQ(f.messages[0].icon, Prompts::Icon::Information);
    EXPECT_EQ(bands(f), "2>3 3>2");
    EXPECT_TRUE(f.selected().empty());
    EXPECT_TRUE(f.doc().Modified);
    f.trigger("Rckgngig1");
    EXPECT_EQ(bands(f), "0>1 1>0 2>3 3>2");
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

TEST(RouteTools, AutorouterWindowRoutesAndUnroutes)
{
    WindowFixture f;
    ObjectList& list = *f.doc().currentObjects();
    LayoutObject& p = addPad(list, {1010, -990}, 50);
    addBand(p, addPad(list, {2030, -1010}, 50));
    RouteToolActions& tools = f.window().routeTools();
    TAutoRouter& window = tools.window();
    tools.toolChosen(RouteToolActions::kAutorouterTool);

    const QPoint onBand = f.pixelOf({1500, -1000});
    ASSERT_EQ(tools.autorouteMove(onBand), PickState::Band);
    EXPECT_EQ(f.selected(), (std::vector<size_t>{0, 1}));
    tools.autoroutePress(PickState::Band);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_TRUE(list[2].Routed);
    EXPECT_EQ(list[2].Width, 40) << "the window's 0.4 mm";
    EXPECT_EQ(bands(f), "");
    EXPECT_EQ(window.info(), "Routed.");
    const SearchBoxFlash& flash = tools.searchBoxFlash();
    EXPECT_TRUE(flash.isVisible());
    EXPECT_EQ(flash.boxes().size(), 1u) << "free space is found in the first box";
    QTest::qWait(SearchBoxFlash::kShownMs + 200);
    EXPECT_FALSE(flash.isVisible());

    ASSERT_EQ(tools.autorouteMove(f.pixelOf(list[2].Points[1])), PickState::RoutedTrack);
    tools.autoroutePress(PickState::RoutedTrack);
    EXPECT_EQ(bands(f), "0>1 1>0");
}

} // namespace
} // namespace kestrel::test
