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

    // The board dragged off the page: refused before a file name is asked for.
    f.window().findChild<PrintSession*>()->options.offsetX = 32000;
    f.dialogs.push_back(ScriptedPrompts::accept);
    f.saveNames.push_back(q(dir.file("blank.pdf")));
    f.trigger("Drucken1");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].text.toStdString(), "The board lies wholly off the page: nothing was printed.");
    EXPECT_EQ(f.saveNames.size(), 1u) << "no file name asked for";
    EXPECT_FALSE(QFileInfo::exists(q(dir.file("blank.pdf"))));

    // Half the board off the page: printed only when the user says so.
    f.window().findChild<PrintSession*>()->options.offsetX = f.doc().Working.BoardWidth / 2;
    f.dialogs = {ScriptedPrompts::accept, ScriptedPrompts::accept};
    f.answers = {Answer::Cancel, Answer::Ok};
    f.saveNames = {q(dir.file("half.pdf"))};
    f.trigger("Drucken1");
    EXPECT_EQ(f.questions.back().text, "Part of the board lies off the page and will not be printed. Print?");
    EXPECT_FALSE(QFileInfo::exists(q(dir.file("half.pdf"))));
    f.trigger("Drucken1");
    EXPECT_EQ(f.questions.size(), 2u);
    EXPECT_GT(QFileInfo(q(dir.file("half.pdf"))).size(), 0);

    // Never over the open layout, whatever path names it (the save dialog's
    // "replace?" would have let the PDF take its place).
    f.window().findChild<PrintSession*>()->options.offsetX = 0;
    f.window().document().FileName = dir.file("board.kbd");
    writeBytes(dir.file("board.kbd"), {'k', 'b', 'd'});
    f.dialogs.push_back(ScriptedPrompts::accept);
    f.saveNames = {q(dir.path() + "/./board.kbd")};
    f.trigger("Drucken1");
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_TRUE(f.messages[1].text.startsWith("The file cannot replace the open layout"));
    EXPECT_EQ(readBytes(dir.file("board.kbd")), (std::vector<uint8_t>{'k', 'b', 'd'}));
    EXPECT_TRUE(f.exhausted());

    // Opening a document puts the board back at the page's corner.
    f.window().findChild<PrintSession*>()->options.offsetX = 32000;
    f.window().findChild<PrintSession*>()->options.offsetY = -500;
    writeSample(dir.file("other.kbd"));
    f.window().document().Modified = false;
    f.openNames = {q(dir.file("other.kbd"))};
    f.trigger("ffnen1");
    EXPECT_EQ(f.window().findChild<PrintSession*>()->options.offsetX, 0);
    EXPECT_EQ(f.window().findChild<PrintSession*>()->options.offsetY, 0);
    // So does a new one.
    f.window().findChild<PrintSession*>()->options.offsetX = 32000;
    f.dialogs = {ScriptedPrompts::accept};
    f.trigger("Neu1");
    EXPECT_EQ(f.window().findChild<PrintSession*>()->options.offsetX, 0);
}
