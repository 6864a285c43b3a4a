#include "WindowFixture.h"

#include "output/gui/PrintDialog.h"
#include "output/gui/PrintSession.h"

#include <QFileInfo>
#include <QRadioButton>

using namespace kestrel;
using namespace kestrel::test;

// Printing without a printer writes a PDF of the active side.
TEST(PrintWindow, APdfFileOfTheActiveSideWithoutAPrinter)
{
    TempDir dir;
    WindowFixture f;
    // As on a machine without printers.
    f.window().findChild<PrintSession*>()->printerNames = [] { return QStringList(); };
    f.addContent();
    f.trigger("K2");
    f.dialogs.push_back([](QDialog& d) {
        EXPECT_TRUE(d.findChild<QRadioButton*>("S2")->isChecked()) << "the active side";
        return ScriptedPrompts::accept(d);
    });
    f.saveNames.push_back(q(dir.file("board.pdf")));
    f.trigger("Drucken1");
    EXPECT_GT(QFileInfo(q(dir.file("board.pdf"))).size(), 0);
    EXPECT_TRUE(f.exhausted());
}
