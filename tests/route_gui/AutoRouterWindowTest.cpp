#include "route/gui/AutoRouterWindow.h"
#include "support/DialogControls.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace kestrel;
using kestrel::test::captionOf;

// The captions' translations: RouteTools.AutorouterWindowKeepsItsOwnCaptions and the language walk.
TEST(AutoRouterWindow, TitleOfEachLanguageAndStaysOnTop)
{
    const std::pair<Language, const char*> cases[] = {{Language::Russian, "Автотрассировка"},
                                                      {Language::English, "Autorouter"}};
    for (const auto& [lang, title] : cases) {
        TAutoRouter w(lang);
        EXPECT_EQ(captionOf(w, ""), QString::fromUtf8(title));
        EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    }
}

// A long message widens the window so that it can be read whole.
TEST(AutoRouterWindow, GrowsForALongMessage)
{
    TAutoRouter w(Language::English);
    w.show();
    const int before = w.width();
    w.setInfo("A hole fills the whole pad on this layer: nothing to route from");
    auto* info = w.findChild<QLabel*>("L_Info");
    ASSERT_TRUE(info);
    EXPECT_GT(w.width(), before);
    EXPECT_GE(info->width(), info->sizeHint().width()) << "the message is not cut off";
}

// Typed values outside the router's range or between tenths are held to it.
TEST(AutoRouterWindow, SpinsHoldTheRoutersRangeInTenths)
{
    TAutoRouter w(Language::English);
    EXPECT_EQ(std::pair(w.widthMm(), w.clearanceMm()), std::pair(0.4, 0.2));
    const struct {
        double typedWidth, typedClearance;
        int32_t width, clearance;
    } cases[] = {
        {0.0, 20.0, 10, 990},
        {1.26, 0.04, 130, 10},
    };
    for (const auto& c : cases) {
        w.setSizes(c.typedWidth, c.typedClearance);
        const RouteSettings s = w.settings(Layer::K2, 33);
        EXPECT_EQ(std::tuple(s.widthUnits, s.clearanceUnits, s.layer, s.newTrackClearance),
                  std::tuple(c.width, c.clearance, Layer::K2, 33))
            << c.typedWidth;
    }
}
