#include "WindowFixture.h"

#include "output/gui/PrintDialog.h"
#include "output/gui/PrintSession.h"

#include <QFileInfo>
#include <QRadioButton>

using namespace kestrel;
using namespace kestrel::test;

namespace {

PrintSession& session(WindowFixture& f)
{
    auto& s = *f.window().findChild<PrintSession*>();
    s.printerNames = [] { return QStringList(); }; // as on a machine without printers
    return s;
}

} // namespace

TEST(PrintWindow, PrintsToAPdfFileWithoutAPrinter)
{
    TempDir dir;
    WindowFixture f;
    f.addContent();
    session(f);
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

TEST(PrintWindow, PrinterSetupShowsThePageSetup)
{
    WindowFixture f(Language::Russian);
    session(f);
    f.dialogs.push_back(ScriptedPrompts::cancel);
    f.trigger("Druckereinrichten1");
    ASSERT_EQ(f.dialogNames.size(), 1u);
    EXPECT_EQ(f.dialogNames[0], "PageSetupDlg");
}
