// The window on desktops other than a light one of ample size: a dark colour
// scheme, a screen too short for the tool column, captions longer than the
// column's classic width.

#include "WindowFixture.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

namespace kestrel::test {
namespace {

// The application palette of a dark desktop while it lives.
class DarkDesktop {
public:
    DarkDesktop() : saved_(QApplication::palette())
    {
        QPalette dark;
        const QColor text(230, 230, 230);
        for (auto [role, colour] : {std::pair{QPalette::Window, QColor(45, 45, 45)}, {QPalette::Base, QColor(30, 30, 30)},
                                    {QPalette::Button, QColor(50, 50, 50)}, {QPalette::WindowText, text},
                                    {QPalette::ButtonText, text}, {QPalette::Text, text}})
            dark.setColor(role, colour);
        QApplication::setPalette(dark);
    }
    ~DarkDesktop() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

// Pixels at least this light, of those not fully transparent.
int lightPixels(const QImage& image, int lightness = 170)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.alpha() > 128 && c.lightness() >= lightness;
        }
    return count;
}

TEST(DesktopTheme, DarkColoursKeepRulersLayerButtonsIconsAndEditsReadable)
{
    const DarkDesktop dark;
    WindowFixture f;
    // Ticks and numbers of the ruler stand out from its dark background.
    QWidget& ruler = f.control<QWidget>("HScalePaintBox");
    EXPECT_GT(lightPixels(ruler.grab().toImage()), 50);
    // A shown copper layer reads stronger than a hidden one (grey).
    const QColor shown = f.control<QToolButton>("SB_K1").palette().color(QPalette::ButtonText);
    EXPECT_GT(shown.lightness(), QColor(128, 128, 128).lightness());
    // Line icons are drawn light.
    for (const char* tool : {"SB_Line", "SB_Ring", "SB_LineText", "SB_AutoRoute"}) {
        const QImage icon = f.control<QToolButton>(tool).icon().pixmap(20, 20).toImage();
        EXPECT_GT(lightPixels(icon), 10) << tool;
    }
    // A focused edit turns yellow, with dark text on it.
    auto& width = f.control<QDoubleSpinBox>("SE_Breite");
    width.setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(width.hasFocus());
    EXPECT_EQ(width.palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_LT(width.palette().color(QPalette::Text).lightness(), 80);
}

TEST(DesktopTheme, ToolColumnFitsItsCaptionsAndScrollsOnAShortScreen)
{
    WindowFixture f(Language::Russian);
    auto& panel = f.control<QScrollArea>("ToolPanel");
    const auto expectWholeCaptions = [&panel] {
        for (QToolButton* tool : panel.findChildren<QToolButton*>()) {
            if (tool->text().isEmpty())
                continue;
            EXPECT_GE(tool->width(), tool->sizeHint().width()) << tool->text().toStdString();
        }
    };
    expectWholeCaptions();
    // A click on the column's empty part leaves the keys with the board.
    QWidget* board = f.window().boardView().scrollBox();
    board->setFocus();
    QWidget* content = panel.widget();
    QTest::mouseClick(content, Qt::LeftButton, Qt::NoModifier, QPoint(5, content->height() - 5));
    EXPECT_EQ(QApplication::focusWidget(), board);
    // A 600-pixel screen less a title bar and a task bar holds the window.
    EXPECT_LE(f.window().minimumSizeHint().height(), 420);
    f.window().resize(800, 420);
    QCoreApplication::processEvents();
    ASSERT_TRUE(panel.verticalScrollBar()->isVisible());
    // The last edit is reached by scrolling, and no caption is cut by the bar.
    auto& inner = f.control<QDoubleSpinBox>("SE_Innen");
    panel.ensureWidgetVisible(&inner);
    QCoreApplication::processEvents();
    const QRect innerInView(inner.mapTo(panel.viewport(), QPoint(0, 0)), inner.size());
    EXPECT_TRUE(panel.viewport()->rect().contains(innerInView));
    expectWholeCaptions();
}

} // namespace
} // namespace kestrel::test
