// Printouts measured on paper: each page is printed to a PDF file, rendered
// by pdftoppm at 254 dpi (ten pixels a millimetre) and its ink measured.
// Lengths, scale and calibration on paper are measured through kestrel-cli
// pdf, which prints through the same printPage (tests/cli/RenderCommandTest.cpp);
// here the copies' places on the page, whose width sets the mirror axis.

#include "output/gui/PrintRender.h"
#include "output/gui/PrintSession.h"

#include "support/TestData.h"

#include <QImage>
#include <QPageLayout>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>

using namespace kestrel;
using namespace kestrel::test;

namespace {

struct Run {
    int from, to; // pixel columns, inclusive
};

// The dark runs along the row with the most dark pixels.
std::vector<Run> darkRuns(const QImage& page)
{
    int bestRow = 0, bestCount = -1;
    for (int y = 0; y < page.height(); ++y) {
        int count = 0;
        for (int x = 0; x < page.width(); ++x)
            count += qGray(page.pixel(x, y)) < 128;
        if (count > bestCount) {
            bestCount = count;
            bestRow = y;
        }
    }
    std::vector<Run> runs;
    for (int x = 0; x < page.width(); ++x) {
        if (qGray(page.pixel(x, bestRow)) >= 128)
            continue;
        if (!runs.empty() && runs.back().to == x - 1)
            runs.back().to = x;
        else
            runs.push_back({x, x});
    }
    return runs;
}

// A 100 x 80 mm board with a 100 mm track, 0.2 mm wide, 10 mm below its top.
PrintJob trackJob(const ObjectList& objects)
{
    PrintJob job;
    job.objects = &objects;
    job.boardWidth = 10000;
    job.boardHeight = 8000;
    return job;
}

struct PdfPrint {
    TempDir dir;
    PrintSession session;
    PdfPrint()
    {
        session.printerNames = [] { return QStringList(); };
        session.chooseTarget({});
        session.printer().setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    }
    // The page as pdftoppm renders it, or a null image.
    QImage print(const PrintJob& job)
    {
        session.printer().setOutputFileName(QString::fromStdString(dir.file("page.pdf")));
        const Status s = printPage(session, job, Language::English);
        EXPECT_TRUE(succeeded(s));
        QProcess::execute("pdftoppm", {"-r", "254", "-png", "-singlefile", QString::fromStdString(dir.file("page.pdf")),
                                       QString::fromStdString(dir.file("page"))});
        return QImage(QString::fromStdString(dir.file("page.png")));
    }
};

} // namespace

TEST(PrintPdf, TilesOneBoardWidthPlusGapApart)
{
    ObjectList objects;
    addTrack(objects, {{0, -1000}, {10000, -1000}}, 20, 1);
    struct Row {
        bool mirror;
        int32_t offsetX;
        std::vector<int> starts; // left ends of the copies' tracks, pixels
        const char* why;
    } rows[] = {
        {false, -500, {50, 1100}, "second copy 105 mm to the right"},
        {true, -10000, {435, 1485}, "mirrored: x = 0 at 148.5 + 100 mm, the second copy to the left"},
    };
    for (const Row& r : rows) {
        PdfPrint pdf;
        PrintJob job = trackJob(objects);
        job.options.tilesX = 2;
        job.options.tileGap = 500;
        job.options.mirror = r.mirror;
        job.options.offsetX = r.offsetX;
        const auto runs = darkRuns(pdf.print(job));
        ASSERT_EQ(runs.size(), r.starts.size()) << r.why;
        for (size_t i = 0; i < runs.size(); ++i) {
            EXPECT_NEAR(runs[i].from, r.starts[i] - 1, 2) << r.why;
            EXPECT_NEAR(runs[i].to - runs[i].from + 1, 1002, 2.5) << "100 mm and the round ends";
        }
    }
}

TEST(PrintPdf, FailuresAreReported)
{
    ObjectList objects;
    const PrintJob job = trackJob(objects);
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
    EXPECT_EQ(session.targetName(Language::Russian), QString::fromUtf8("Файл PDF"));
}
