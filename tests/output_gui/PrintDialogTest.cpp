#include "output/gui/PrintDialog.h"
#include "output/gui/PrintRender.h"
#include "output/gui/PrintSession.h"
#include "output/gui/PrintSmallDialogs.h"

#include "support/DialogControls.h"
#include "support/ScriptedPrompts.h"
#include "support/TestData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

struct DialogFixture {
    ScriptedPrompts prompts;
    PrintSession session;
    ObjectList objects;
    PrintJob job;
    std::unique_ptr<TPrint_Dlg> dialog;
    explicit DialogFixture(Language lang = Language::English, QStringList printers = {})
    {
        session.printerNames = [printers] { return printers; };
        session.chooseTarget(printers.value(0));
        job.objects = &objects;
        dialog = std::make_unique<TPrint_Dlg>(lang, prompts, session, job);
    }
};

} // namespace

// On a short screen the dialog opens within it, and the options scroll while
// Print and Cancel stay in sight.
TEST(PrintDialog, FitsAShortScreen)
{
    DialogFixture f(Language::Russian);
    TPrint_Dlg& dialog = *f.dialog;
    const QRect free = dialog.screen()->availableGeometry();
    EXPECT_LE(dialog.width(), free.width());
    EXPECT_LE(dialog.height(), free.height());
    EXPECT_LE(dialog.minimumSizeHint().height(), 420);
    dialog.resize(760, 420);
    dialog.show();
    QCoreApplication::processEvents();
    for (const char* name : {"OKBtn", "CancelBtn"}) {
        const QWidget& button = child<QPushButton>(dialog, name);
        EXPECT_TRUE(dialog.rect().contains(QRect(button.mapTo(&dialog, QPoint(0, 0)), button.size()))) << name;
    }
    dialog.hide();
}

// Without printers PDF is the only target; a printer that has gone is replaced by it.
TEST(PrintDialog, PdfIsAlwaysATarget)
{
    DialogFixture f(Language::English, {"Laser", "Office"});
    auto& box = child<QComboBox>(*f.dialog, "PrinterBox");
    EXPECT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(2), "PDF file");
    box.setCurrentIndex(2);
    EXPECT_TRUE(f.session.targetIsPdf());
    EXPECT_EQ(f.dialog->windowTitle(), "PDF file");

    f.session.chooseTarget("Laser");
    ASSERT_FALSE(f.session.targetIsPdf());
    f.session.printerNames = [] { return QStringList(); };
    f.session.chooseTarget(f.session.target());
    EXPECT_TRUE(f.session.targetIsPdf());
}

TEST(PrintDialog, TilesAndCalibration)
{
    DialogFixture f;
    f.prompts.dialogs.push_back([](QDialog& d) {
        child<QSpinBox>(d, "KachelX").setValue(3);
        child<QSpinBox>(d, "KachelY").setValue(25); // beyond 20
        child<QDoubleSpinBox>(d, "Abstand").setValue(2.5);
        return ScriptedPrompts::accept(d);
    });
    child<QPushButton>(*f.dialog, "KachelBtn").click();
    EXPECT_EQ(f.session.options.tilesX, 3);
    EXPECT_EQ(f.session.options.tilesY, 20);
    EXPECT_EQ(f.session.options.tileGap, 250);

    // A refused entry keeps the old factors.
    const std::tuple<Language, const char*, double, const char*> rows[] = { // language, typed x, x after, message
        {Language::English, "1.02", 1.02, ""},
        {Language::Russian, "1,03", 1.03, ""}, // the decimal comma, as in number fields
        {Language::Russian, "1,3", 1.0, "Коэффициенты поправки должны быть\nв пределах 0.8...1.2."},
    };
    for (const auto& [lang, x, after, message] : rows) {
        ScriptedPrompts prompts;
        PrintOptions options;
        TKorrekturDlg dialog(lang, prompts, options);
        child<QLineEdit>(dialog, "HKorrektur").setText(x);
        child<QLineEdit>(dialog, "VKorrektur").setText("0.99");
        EXPECT_EQ(ScriptedPrompts::accept(dialog), *message == 0) << x;
        EXPECT_DOUBLE_EQ(options.calibrationX, after);
        EXPECT_DOUBLE_EQ(options.calibrationY, *message == 0 ? 0.99 : 1.0);
        EXPECT_EQ(prompts.messages.empty() ? QString() : prompts.messages[0].text, QString::fromUtf8(message));
    }
}

// A clicked option stays ticked and reaches the job the preview and the print
// draw; the scale bar is greyed while 1:1 is chosen.
TEST(PrintDialog, OptionsReachTheJobAndTheScaleBarFollowsTheScaleChoice)
{
    DialogFixture f;
    const auto page = [&f] {
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        RenderPage(painter, f.job, 1, 1, true, QSizeF(300, 200));
        return image;
    };
    auto& outline = child<QCheckBox>(*f.dialog, "Rahmen");
    auto& bar = child<QScrollBar>(*f.dialog, "S_Wert");
    ASSERT_FALSE(outline.isChecked());
    EXPECT_FALSE(bar.isEnabled()) << "opened at 1:1";
    const QImage without = page();
    outline.click();
    EXPECT_TRUE(outline.isChecked());
    EXPECT_TRUE(f.job.options.outline);
    EXPECT_NE(page(), without) << "the board outline is printed";

    child<QRadioButton>(*f.dialog, "S_Frei").click();
    EXPECT_TRUE(bar.isEnabled());
    EXPECT_FALSE(f.job.options.trueScale);
    child<QRadioButton>(*f.dialog, "S_1zu1").click();
    EXPECT_FALSE(bar.isEnabled());
    EXPECT_TRUE(outline.isChecked()) << "kept through the scale choice";
    outline.click();
    EXPECT_FALSE(f.job.options.outline);
    EXPECT_EQ(page(), without);
}
