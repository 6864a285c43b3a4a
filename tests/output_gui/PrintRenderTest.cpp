#include "edit/Labels.h"
#include "output/gui/PrintRender.h"
#include "output/gui/PrintSession.h"

#include "view/gui/LabelPainter.h"

#include "support/TestData.h"

#include <QFontMetricsF>
#include <QPainter>
#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

constexpr double kPxPerMm = 4;
constexpr int kPageWidthMm = 100;

constexpr int kPageHeightMm = 80;

// The printable area of kPageWidthMm x kPageHeightMm at the top left of a
// larger image, so that ink beyond it would show.
QImage renderPage(const PrintJob& job)
{
    QImage page((kPageWidthMm + 60) * kPxPerMm, (kPageHeightMm + 60) * kPxPerMm, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    RenderPage(painter, job, kPxPerMm, kPxPerMm, true, QSizeF(kPageWidthMm, kPageHeightMm));
    return page;
}

// Bounding box of the pixels that are not white.
QRect ink(const QImage& page)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

PrintJob jobFor(const ObjectList& objects)
{
    PrintJob job;
    job.objects = &objects;
    job.boardWidth = 5000;
    job.boardHeight = 5000;
    job.options.silk = true;
    return job;
}

// A silk label with a 5 mm cell whose box (X1, Y1)-(X2, Y2) is the extent of its text.
LayoutObject& addLabel(ObjectList& list, Point at, int degrees, const std::string& text)
{
    const double length = QFontMetricsF(arialWithCellHeight(500, true)).horizontalAdvance(QString::fromStdString(text));
    const Point e = TurnedLabelExtent(static_cast<int32_t>(length), 500, degrees); // turned clockwise on the screen
    return list.append(makeText(at, text, degrees, 500, at.x + e.x, at.y + e.y, 2));
}

} // namespace

// Labels at every angle.
TEST(PrintRender, MirroredPrintIsThePlainOneMirrored)
{
    for (const int degrees : {0, 90, 180, 270}) {
        ObjectList objects;
        addLabel(objects, {2500, -2500}, degrees, "KB");
        PrintJob job = jobFor(objects);
        const QRect plain = ink(renderPage(job));
        job.options.mirror = true;
        ASSERT_FALSE(plain.isEmpty());
        // Each edge within the tolerance of the plain print's mirrored place: x = 0 at the middle of the page.
        const int middle = kPageWidthMm * kPxPerMm / 2;
        const QRect want(QPoint(middle - plain.right() - 1, plain.top()),
                         QPoint(middle - plain.left() - 1, plain.bottom()));
        const QRect got = ink(renderPage(job));
        const int t = 3; // pixels
        EXPECT_TRUE(want.adjusted(-t, -t, t, t).contains(got) && got.adjusted(-t, -t, t, t).contains(want))
            << degrees << " degrees";
    }
}

// Copies running over the printable area's edges print only what lies on it,
// as the preview shows them.
TEST(PrintRender, NothingBeyondThePrintableArea)
{
    ObjectList objects;
    PrintJob job = jobFor(objects);
    job.options.outline = true;
    job.options.tilesX = job.options.tilesY = 3; // 50 mm boards: the second ones cross the edges
    const QRect drawn = ink(renderPage(job));
    EXPECT_EQ(drawn.right(), kPageWidthMm * kPxPerMm - 1);
    EXPECT_EQ(drawn.bottom(), kPageHeightMm * kPxPerMm - 1);
}

// A scanned copy lies under the printed side 1 only, in the copper colour.
TEST(PrintRender, LayersColoursAndGroundPlane)
{
    ObjectList objects;
    LayoutObject& routed = addTrack(objects, {{500, -1000}, {4500, -1000}}, 100, 1);
    routed.Routed = 1;
    addTrack(objects, {{500, -2000}, {4500, -2000}}, 100, 2);     // silk
    addTrack(objects, {{500, -3000}, {4500, -3000}}, 100, 3);     // copper of side 2
    addPad(objects, {2500, -4000}, 100, 1, 1, 40);
    PrintJob job = jobFor(objects);
    job.options.copperColour = 0x008000;
    job.options.silkColour = 0x0000FF;
    QImage scan(10, 10, QImage::Format_Mono);
    scan.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    scan.fill(1); // all dark
    job.scans[0] = scan;
    job.scanUnits[0] = QRectF(4600, -2600, 300, 300); // 3 x 3 mm right of the tracks' ends
    auto at = [](const QImage& page, int32_t x, int32_t y) {
        return QColor(page.pixel(int(x / 100.0 * kPxPerMm), int(-y / 100.0 * kPxPerMm)));
    };
    struct Row {
        bool side1, groundPlane, scannedCopy;
        QColor routedTrack, silk, side2, padHole, between, copy;
        const char* why;
    } rows[] = {
        {true, false, false, QColor(0, 128, 0), QColor(0, 0, 255), Qt::white, Qt::white, Qt::white, Qt::white,
         "the chosen colour, also for autorouted tracks; the copy only when asked for"},
        {true, false, true, QColor(0, 128, 0), QColor(0, 0, 255), Qt::white, Qt::white, Qt::white, QColor(0, 128, 0),
         "the copy in the copper colour"},
        {true, true, false, QColor(0, 128, 0), QColor(0, 0, 255), QColor(0, 128, 0), Qt::white, QColor(0, 128, 0),
         QColor(0, 128, 0), "under the ground plane the board is copper"},
        {false, false, true, Qt::white, Qt::white, QColor(0, 128, 0), Qt::white, Qt::white, Qt::white,
         "side 2 only, and no copy"},
    };
    for (const Row& r : rows) {
        job.options.side1 = r.side1;
        job.options.scannedCopy = r.scannedCopy;
        job.groundPlane1 = r.groundPlane;
        const QImage page = renderPage(job);
        EXPECT_EQ(at(page, 2000, -1000), r.routedTrack) << r.why;
        EXPECT_EQ(at(page, 2000, -2000), r.silk) << r.why;
        EXPECT_EQ(at(page, 2000, -3000), r.side2) << r.why;
        EXPECT_EQ(at(page, 2500, -4000), r.padHole) << r.why;
        EXPECT_EQ(at(page, 2000, -1500), r.between) << r.why;
        EXPECT_EQ(at(page, 4750, -2450), r.copy) << r.why;
    }
}

TEST(PrintRender, DrillPlanLabelsEveryHole)
{
    const std::tuple<int32_t, const char*> rows[] = {{50, "1"}, {33, "0.66"}};
    for (const auto& [radius, label] : rows)
        EXPECT_EQ(drillLabel(radius), label);

    ObjectList objects;
    addPad(objects, {1000, -2500}, 100, 1, 1, 40);
    addPad(objects, {4000, -2500}, 100, 1, 1, 0); // no hole: no cross, no label
    PrintJob job = jobFor(objects);
    job.options.copper = job.options.silk = false;
    job.options.drillPlan = true;
    job.options.drillColour = 0xFF0000;
    const QImage page = renderPage(job);
    const QRect drawn = ink(page);
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_LT(drawn.right(), 30 * kPxPerMm) << "nothing at the hole-less pad";
    // The text cell's top lies 2 mm above the hole centre.
    EXPECT_NEAR(drawn.top(), 23 * kPxPerMm, 2) << "the diameter stands above the hole";
    EXPECT_EQ(QColor(page.pixel(10 * kPxPerMm, 25 * kPxPerMm)), QColor(255, 0, 0)) << "the cross";
}

TEST(PrintPdf, FailuresAreReported)
{
    const ObjectList objects;
    const TempDir dir;
    PrintJob offPage = jobFor(objects);
    offPage.options.offsetX = 6000; // the page starts a board width and more to the right of the board
    const std::tuple<QStringList, QString, QString, const char*, PrintJob> rows[] = {
        // printers, target, file, message, job
        {{}, {}, "/no/such/folder/page.pdf", "Cannot create a file beside \"/no/such/folder/page.pdf\"",
         jobFor(objects)},
        {{}, {}, "", "No PDF file was named.", jobFor(objects)},
        {{"Ghost"}, "Ghost", "", "The printer \"Ghost\"", jobFor(objects)},
        {{}, {}, QString::fromStdString(dir.file("page.pdf")), "The board lies wholly off the page", offPage},
    };
    for (const auto& [printers, target, file, message, job] : rows) {
        PrintSession session;
        session.printerNames = [names = printers] { return names; };
        session.chooseTarget(target);
        session.printer().setOutputFileName(file);
        const Status s = printPage(session, job, Language::English);
        ASSERT_FALSE(s.ok()) << message;
        EXPECT_EQ(s.message().rfind(message, 0), 0u) << s.message();
    }
}
