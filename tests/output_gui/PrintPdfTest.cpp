// Printing fails with a message naming what went wrong; the printout itself is
// measured on paper through kestrel-cli pdf (tests/cli/RenderCommandTest.cpp).

#include "output/gui/PrintRender.h"
#include "output/gui/PrintSession.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

TEST(PrintPdf, FailuresAreReported)
{
    ObjectList objects;
    PrintJob job;
    job.objects = &objects;
    job.boardWidth = 10000, job.boardHeight = 8000;
    struct Row {
        QStringList printers;
        QString target, file;
        const char* message;
    } rows[] = {
        {{}, {}, "/no/such/folder/page.pdf", "The file /no/such/folder/page.pdf cannot be written."},
        {{}, {}, "", "No PDF file was named."},
        {{"Ghost"}, "Ghost", "", "The printer \"Ghost\""},
    };
    for (const Row& r : rows) {
        PrintSession session;
        session.printerNames = [&r] { return r.printers; };
        session.chooseTarget(r.target);
        session.printer().setOutputFileName(r.file);
        const Status s = printPage(session, job, Language::English);
        ASSERT_FALSE(s.ok()) << r.message;
        EXPECT_EQ(s.message().rfind(r.message, 0), 0u) << s.message();
    }
    // A printer that has gone is replaced by the PDF target.
    PrintSession session;
    session.printerNames = [] { return QStringList{"Laser"}; };
    session.chooseTarget("Laser");
    EXPECT_FALSE(session.targetIsPdf());
    session.printerNames = [] { return QStringList(); };
    session.chooseTarget(session.target());
    EXPECT_TRUE(session.targetIsPdf());
}
