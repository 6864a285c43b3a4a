#include "route/gui/AutoRouterWindow.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <gtest/gtest.h>

using namespace kestrel;

namespace {

QString textOf(QWidget& w, const char* name)
{
    auto* label = w.findChild<QLabel*>(name);
    return label ? label->text() : "<missing>";
}

QDoubleSpinBox& spin(QWidget& w, const char* name)
{
    if (auto* s = w.findChild<QDoubleSpinBox*>(name))
        return *s;
    throw std::runtime_error(std::string("no spin ") + name);
}

} // namespace

TEST(AutoRouterWindow, TextsOfEachLanguage)
{
    const struct {
        Language lang;
        const char *title, *width, *info, *widthTip;
    } cases[] = {
        {Language::Russian, "Автотрассировка", "Ширина:", "Выберите перемычку", "Ширина дорожки"},
        {Language::English, "Autorouter", "Width:", "Pick a rubber band", "Track width"},
    };
    for (const auto& c : cases) {
        TAutoRouter w(c.lang);
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(textOf(w, "L_AutoWidth"), QString::fromUtf8(c.width));
        EXPECT_EQ(textOf(w, "L_Info"), QString::fromUtf8(c.info));
        EXPECT_EQ(spin(w, "SE_AutoWidth").toolTip(), QString::fromUtf8(c.widthTip));
        EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    }
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
