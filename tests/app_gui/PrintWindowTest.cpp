#include "WindowFixture.h"

#include "output/gui/PrintDialog.h"
#include "output/gui/PrintSession.h"

#include <QFileInfo>
#include <QRadioButton>

using namespace kestrel;
using namespace kestrel::test;

// Printer set-up opens the page set-up; printing without a printer writes a PDF.
TEST(PrintWindow, PageSetupAndAPdfFileWithoutAPrinter)
{
    TempDir dir;
    WindowFixture f;
    // As on a machine without printers.
    f.window().findChild<PrintSession*>()->printerNames = [] { return QStringList(); };
    f.dialogs.push_back(ScriptedPrompts::cancel);
    f.trigger("Druckereinrichten1");
    EXPECT_EQ(f.dialogNames, std::vector<QString>{"PageSetupDlg"});

    f.addContent();
    f.trigger("K2");
    f.dialogs.push_back([](QDialog& d) {
        EXPECT_TRUE(d.findChild<QRadioButton*>("S2")->isChecked()) << "the active side";
        return ScriptedPrompts::accept(d);
    });
    f.saveNames.push_back(q(dir.file("board.pdf")));
    f.trigger("Drucken1");
    EXPECT_GT(QFileInfo(q(dir.file("board.pdf"))).size(), 0);
    EXPECT_TRUE(f.messages.empty());
    EXPECT_TRUE(f.exhausted());
}
