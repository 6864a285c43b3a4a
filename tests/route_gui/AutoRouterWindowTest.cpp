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
        const char *title, *width, *clearance, *info, *widthTip, *clearanceTip;
    } cases[] = {
        {Language::Russian, "Автотрассировка", "Ширина:", "Расстояние:", "Выберите перемычку", "Ширина дорожки", "Зазор"},
        {Language::English, "Autorouter", "Width:", "Clearance:", "Pick a rubber band", "Track width", "Clearance"},
    };
    for (const auto& c : cases) {
        TAutoRouter w(c.lang);
        EXPECT_EQ(w.objectName(), "AutoRouter");
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(textOf(w, "L_AutoWidth"), QString::fromUtf8(c.width));
        EXPECT_EQ(textOf(w, "L_AutoAbstand"), QString::fromUtf8(c.clearance));
        EXPECT_EQ(textOf(w, "L_Info"), QString::fromUtf8(c.info));
        EXPECT_EQ(spin(w, "SE_AutoWidth").toolTip(), QString::fromUtf8(c.widthTip));
        EXPECT_EQ(spin(w, "SE_AutoAbstand").toolTip(), QString::fromUtf8(c.clearanceTip));
        EXPECT_FALSE(spin(w, "SE_AutoAbstand").statusTip().isEmpty());
        EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    }
}

TEST(AutoRouterWindow, SpinsOfferTheRoutersRangeInTenths)
{
    TAutoRouter w(Language::English);
    for (const char* name : {"SE_AutoWidth", "SE_AutoAbstand"}) {
        QDoubleSpinBox& s = spin(w, name);
        EXPECT_EQ(std::tuple(s.minimum(), s.maximum(), s.singleStep(), s.decimals()),
                  std::tuple(RouteSettings::kMinMm, RouteSettings::kMaxMm, 0.1, 1))
            << name;
    }
    EXPECT_EQ(std::pair(w.widthMm(), w.clearanceMm()), std::pair(0.4, 0.2));
    // Typed values outside the range or between tenths are held to it.
    const struct {
        double typedWidth, typedClearance;
        int32_t width, clearance;
    } cases[] = {
        {0.4, 0.2, 40, 20},
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
