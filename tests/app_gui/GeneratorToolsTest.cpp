#include "WindowFixture.h"

#include "app/GridDialog.h"
#include "edit/PointerMachine.h"
#include "edit/TrackLabel.h"
#include "edit/gui/ArcDialog.h"
#include "edit/gui/PolygonDialog.h"
#include "geometry/Geometry.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

namespace kestrel::test {
namespace {

// K opens the dialog; the label follows the pointer until a click places it
// and asks for the next one. The arc segment command reaches its dialog; the
// rules (and the polygon's): Generators, PointerMachine.
TEST(GeneratorTools, TrackLabelAndArcSegment)
{
    WindowFixture f;
    ObjectList& list = f.list();
    f.dialogs.push_back([](QDialog& d) {
        child<QLineEdit>(d, "E_Text").setText("L");
        child<QAbstractButton>(d, "RB_90").click();
        return WindowFixture::accept(d);
    });
    f.key(Qt::Key_K);
    const Point p = at(10, 10);
    f.moveTo(p);
    EXPECT_TRUE(f.window().pointerMachine().previews()[PreviewKind::TrackLabel].drawn);

    f.dialogs.push_back(WindowFixture::cancel);
    f.click(p);
    QCoreApplication::processEvents();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Points, (std::vector<Point>{{p.x + 440, p.y}, p, {p.x, p.y - 220}}));
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Standard").isChecked()) << "Cancel in the dialog asked again";

    // The segment command shows the selected circle's values and applies the dialog's.
    LayoutObject& circle = list.append(makeCircle({3000, -1000}, 300, 1, Layer::K1, 200));
    circle.setArcStartDegrees(30);
    circle.Selected = 1;
    f.window().updateCommandStates();
    int shownStart = -1;
    f.dialogs.push_back([&shownStart](QDialog& d) {
        shownStart = child<QSpinBox>(d, "SE_StartWinkel").value();
        child<QSpinBox>(d, "SE_StopWinkel").setValue(180);
        return WindowFixture::accept(d);
    });
    f.trigger("Kreisbogen2");
    EXPECT_EQ(shownStart, 30);
    EXPECT_EQ(circle.arcStopDegrees(), 180) << "which circles take it: Generators.ArcSegmentOfTheSelectedCircles";
}

// A text of which the track font draws nothing keeps the dialog open, the
// text as typed, and says why; characters without a glyph among others are
// left as gaps.
TEST(GeneratorTools, TrackLabelTextTheFontCannotDraw)
{
    WindowFixture f;
    bool accepted[3] = {true, true, false};
    QString kept;
    f.dialogs.push_back([&](QDialog& d) {
        auto& text = child<QLineEdit>(d, "E_Text");
        text.setText(QString::fromUtf8("ЖУК"));
        accepted[0] = WindowFixture::accept(d);
        kept = text.text();
        text.setText("  ");
        accepted[1] = WindowFixture::accept(d);
        text.setText(QString::fromUtf8("AЖB"));
        accepted[2] = WindowFixture::accept(d);
        return accepted[2];
    });
    f.key(Qt::Key_K);
    QCoreApplication::processEvents();
    EXPECT_FALSE(accepted[0]);
    EXPECT_FALSE(accepted[1]);
    EXPECT_TRUE(accepted[2]) << "a gap among letters";
    EXPECT_EQ(kept, QString::fromUtf8("ЖУК"));
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_EQ(f.messages[0].text,
              "The text has no character the track font draws: Latin letters, digits or the signs ! % ( ) * + , - . / "
              ": < = > ? @ \\ _ µ.");
    EXPECT_EQ(f.messages[1].text, "Enter the text of the label.");
    EXPECT_TRUE(f.control<QAbstractButton>("SB_LineText").isChecked()) << "the label follows the pointer";
}

// A label larger than the board would lose letters beyond an edge with the
// next save, wherever it was placed: the dialog stays open and says so.
TEST(GeneratorTools, TrackLabelLargerThanTheBoardIsRefused)
{
    WindowFixture f;
    bool accepted[2] = {true, false};
    f.dialogs.push_back([&](QDialog& d) {
        child<QLineEdit>(d, "E_Text").setText("WWWWWWWWWW");
        auto& height = child<QDoubleSpinBox>(d, "SE_Hoehe");
        height.setValue(30);
        accepted[0] = WindowFixture::accept(d);
        height.setValue(10);
        accepted[1] = WindowFixture::accept(d);
        return accepted[1];
    });
    f.key(Qt::Key_K);
    QCoreApplication::processEvents();
    EXPECT_FALSE(accepted[0]);
    EXPECT_TRUE(accepted[1]) << "ten letters 10 mm high fit on 160 mm";
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages[0].text.startsWith("The label (") &&
                f.messages[0].text.contains("is larger than the board (160.0 x 100.0 mm)"))
        << f.messages[0].text.toStdString();
}

// Numbered labels: the number that grows by a digit makes the next label
// too large for the board. The dialog comes back with that number and says
// so, instead of placing the label partly off the board; past 9999, the
// last number it takes, it comes back with numbering off.
TEST(GeneratorTools, ANumberedLabelThatOutgrowsTheBoardAsksAgain)
{
    for (const int first : {9, 9999}) {
        SCOPED_TRACE(first);
        WindowFixture f;
        TrackLabelSettings s;
        s.text = "WWWWWWW";
        s.numbered = true;
        const auto fits = [&](double height, int number) {
            s.heightMm = height;
            return TrackLabelFits(s, number, f.doc().Working.BoardWidth, f.doc().Working.BoardHeight);
        };
        // A height the dialog's field holds (tenths of a millimetre).
        double height = 0;
        for (int tenths = 10; tenths <= 500 && height == 0; ++tenths)
            if (fits(tenths / 10.0, first) && !fits(tenths / 10.0, first + 1))
                height = tenths / 10.0;
        ASSERT_GT(height, 0);

        int shownStart = -1;
        bool shownNumbered = false, acceptedAgain = true;
        f.dialogs.push_back([&](QDialog& d) {
            child<QLineEdit>(d, "E_Text").setText("WWWWWWW");
            child<QDoubleSpinBox>(d, "SE_Hoehe").setValue(height);
            child<QCheckBox>(d, "CB_WillsteZahl").setChecked(true);
            child<QSpinBox>(d, "SE_Start").setValue(first);
            return WindowFixture::accept(d);
        });
        f.dialogs.push_back([&](QDialog& d) {
            shownStart = child<QSpinBox>(d, "SE_Start").value();
            shownNumbered = child<QCheckBox>(d, "CB_WillsteZahl").isChecked();
            acceptedAgain = WindowFixture::accept(d);
            return WindowFixture::cancel(d);
        });
        f.key(Qt::Key_K);
        QCoreApplication::processEvents();
        const Point p = at(1, 50);
        f.moveTo(p);
        f.click(p);
        QCoreApplication::processEvents();
        for (const auto& o : f.list())
            EXPECT_TRUE(BoundingRect(*o).overlaps(f.doc().Working.boardRect())) << "the first label placed whole";
        EXPECT_FALSE(f.list().empty());
        if (first == 9) {
            EXPECT_EQ(std::tuple(shownStart, shownNumbered), std::tuple(10, true));
            EXPECT_FALSE(acceptedAgain);
            ASSERT_EQ(f.messages.size(), 2u) << "why the dialog is back, then why OK is refused";
            for (const auto& m : f.messages)
                EXPECT_TRUE(m.text.contains("is larger than the board")) << m.text.toStdString();
        } else {
            EXPECT_FALSE(shownNumbered) << "9999 is not placed twice";
            EXPECT_TRUE(acceptedAgain) << "the text alone fits";
        }
    }
}

// The polygon and track-label dialogs show the values last used: what was
// typed before a cancel is dropped, what was accepted comes back.
TEST(GeneratorTools, DialogsKeepTheValuesUsedNotThoseCancelled)
{
    WindowFixture f;
    std::vector<double> shown;
    const auto polygon = [&](double radius, bool ok) {
        return [&shown, radius, ok](QDialog& d) {
            auto& field = child<QDoubleSpinBox>(d, "SE_Radius");
            shown.push_back(field.value());
            field.setValue(radius);
            return ok ? WindowFixture::accept(d) : WindowFixture::cancel(d);
        };
    };
    f.dialogs = {polygon(12, false), polygon(7, true), polygon(15, false), polygon(7, false)};
    for (int i = 0; i < 4; ++i) {
        f.key(Qt::Key_G);
        QCoreApplication::processEvents();
        f.key(Qt::Key_Escape);
    }
    EXPECT_EQ(shown, (std::vector<double>{10, 10, 7, 7}));

    QStringList texts;
    const auto label = [&texts](const char* typed, bool ok) {
        return [&texts, typed, ok](QDialog& d) {
            auto& field = child<QLineEdit>(d, "E_Text");
            texts.push_back(field.text());
            field.setText(typed);
            return ok ? WindowFixture::accept(d) : WindowFixture::cancel(d);
        };
    };
    f.dialogs = {label("KEPT", true), label("DROPPED", false), label("", false)};
    for (int i = 0; i < 3; ++i) {
        f.key(Qt::Key_K);
        QCoreApplication::processEvents();
        f.key(Qt::Key_Escape);
    }
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts.mid(1), (QStringList{"KEPT", "KEPT"}));
}

// Digits typed as a number dialog opens replace the first field's value,
// whether it was reached by Tab or not.
TEST(GeneratorTools, TypingInANewDialogReplacesTheFirstValue)
{
    auto typeInto = [](QDialog& d, const char* fieldName, const char* typed) {
        auto& field = child<QAbstractSpinBox>(d, fieldName);
        d.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(d.focusWidget(), &field) << fieldName;
        QTest::keyClicks(&field, typed);
        d.hide();
        QCoreApplication::processEvents();
    };
    GridDialog grid(Language::English);
    typeInto(grid, "SE_Raster", "0.25");
    EXPECT_EQ(grid.gridUnits(), 25);
    typeInto(grid, "SE_Raster", "1.5");
    EXPECT_EQ(grid.gridUnits(), 150) << "shown a second time";
    PolygonDialog polygon(Language::Russian);
    typeInto(polygon, "SE_Ecken", "8");
    EXPECT_EQ(polygon.settings().corners, 8);
    ArcDialog arc(Language::English);
    arc.load({90, 180, false});
    typeInto(arc, "SE_StartWinkel", "45");
    EXPECT_EQ(arc.settings().start, 45);

    // A value below the field's least gives that least, not the value shown
    // before; an emptied field, or one holding only a point so far, keeps the
    // value it showed. Each entered with Enter or left for OK.
    const std::tuple<bool, const char*, bool, int> rows[] = { // Backspace first, typed, Enter (else OK), the grid
        {false, "0.05", true, 10}, {false, "0.05", false, 10}, {true, "", true, 100}, {true, ".", false, 100}};
    for (const auto& [emptied, typed, enter, units] : rows) {
        GridDialog dialog(Language::English);
        auto& field = child<QAbstractSpinBox>(dialog, "SE_Raster");
        dialog.show();
        QCoreApplication::processEvents();
        if (emptied)
            QTest::keyClick(&field, Qt::Key_Backspace);
        QTest::keyClicks(&field, typed);
        if (enter)
            QTest::keyClick(&field, Qt::Key_Return);
        else
            child<QAbstractButton>(dialog, "OKBtn").click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << typed << " " << enter;
        EXPECT_EQ(dialog.gridUnits(), units) << typed << " " << enter;
    }
}

} // namespace
} // namespace kestrel::test
