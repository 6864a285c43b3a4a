#include "view/gui/BoardPainter.h"

#include "support/TestData.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

using namespace kestrel;

namespace {

const QColor kBoard = BoardColours::Board;
const QColor kNavy = BoardColours::GroundPlane;
const QColor kBlack(0, 0, 0), kRed(255, 0, 0), kGrey(192, 192, 192), kMagenta(255, 0, 255), kBlue(0, 0, 255),
    kWhite(255, 255, 255);

// Paints a 4000 x 3000 unit board at zoom 0.1 (10 units a pixel) into an
// image, grid hidden unless asked for.
struct Canvas {
    BoardSettings settings;
    ObjectList list;
    BoardPaintOptions options;
    QImage image;
    static constexpr double kZoom = 0.1;

    Canvas()
    {
        settings.BoardWidth = 4000;
        settings.BoardHeight = 3000;
    }

    const QImage& paint(Rect clip = {0, -3000, 4000, 0})
    {
        options = BoardPaintOptions::of(settings);
        options.zoomPxPerUnit = kZoom;
        options.gridVisible = gridVisible;
        options.autorouterTool = autorouterTool;
        image = QImage(420, 320, QImage::Format_RGB32);
        image.fill(Qt::darkGray);
        QPainter p(&image);
        p.setTransform(boardTransform(kZoom));
        PaintBoard(p, list, options, clip);
        return image;
    }
    QColor at(double x, double y) const
    {
        return image.pixelColor(static_cast<int>(std::floor(x * kZoom)), static_cast<int>(std::floor(-y * kZoom)));
    }
    bool gridVisible = false;
    bool autorouterTool = false;
};

std::string name(const QColor& c)
{
    return "(" + std::to_string(c.red()) + "," + std::to_string(c.green()) + "," + std::to_string(c.blue()) + ")";
}

#define EXPECT_COLOUR(actual, expected) EXPECT_EQ(name(actual), name(expected))

} // namespace

TEST(BoardPainter, BackgroundAndGrid)
{
    Canvas c;
    c.paint();
    EXPECT_COLOUR(c.at(1500, -1500), kBoard);
    EXPECT_COLOUR(c.image.pixelColor(415, 10), QColor(Qt::darkGray)) << "nothing beyond the board";

    c.gridVisible = true;
    c.paint();
    EXPECT_COLOUR(c.at(254, -1500), kGrey) << "grid line at x = 254";
    EXPECT_COLOUR(c.at(1500, -254), kGrey);
    EXPECT_COLOUR(c.at(380, -380), kBoard) << "between grid lines";
    EXPECT_COLOUR(c.at(1016, -1500), kGrey);
    EXPECT_COLOUR(c.at(1026, -1500), kGrey) << "every fourth line is two pixels wide";
    EXPECT_COLOUR(c.at(264, -1500), kBoard) << "the others one pixel";

    c.settings.GroundPlane1 = 1;
    c.paint();
    EXPECT_COLOUR(c.at(380, -380), kNavy) << "ground plane of the active side";
    c.settings.ActiveLayer = 3;
    c.settings.LayerVisible = {1, 1, 1, 0};
    c.paint();
    EXPECT_COLOUR(c.at(380, -380), kBoard) << "the ground plane belongs to the other side";
}

TEST(BoardPainter, LayerColoursAndSides)
{
    struct Case {
        uint8_t layer;
        int activeLayer;
        bool selected;
        QColor colour;
    } cases[] = {
        {1, 1, false, kBlack}, {2, 1, false, kRed},  {3, 1, false, kGrey}, {4, 1, false, kGrey},
        {3, 3, false, kBlack}, {4, 3, false, kRed},  {1, 3, false, kGrey}, {2, 4, false, kGrey},
        {5, 1, false, kBlack}, {6, 3, false, kRed},  {1, 1, true, kMagenta}, {2, 2, true, kMagenta},
    };
    for (const Case& k : cases) {
        Canvas c;
        c.settings.ActiveLayer = static_cast<uint32_t>(k.activeLayer);
        c.settings.LayerVisible = {1, 1, 1, 1};
        LayoutObject& line = c.list.append(makeLine({500, -1000}, {3500, -1000}, 60, k.layer));
        line.Selected = k.selected;
        c.paint();
        EXPECT_COLOUR(c.at(2000, -1000), k.colour) << "layer " << int(k.layer) << " active " << k.activeLayer;
    }
}

TEST(BoardPainter, HiddenLayersAreNotDrawnExceptMacroLayers)
{
    Canvas c; // layers 3 and 4 hidden
    c.list.append(makeLine({500, -1000}, {3500, -1000}, 60, 3));
    c.list.append(makeLine({500, -2000}, {3500, -2000}, 60, 6));
    c.paint();
    EXPECT_COLOUR(c.at(2000, -1000), kBoard);
    EXPECT_COLOUR(c.at(2000, -2000), kRed);
}

TEST(BoardPainter, ActiveSideLiesOnTop)
{
    for (const int active : {1, 3}) {
        Canvas c;
        c.settings.ActiveLayer = static_cast<uint32_t>(active);
        c.settings.LayerVisible = {1, 1, 1, 1};
        // Drawn in list order the layer-3 line would end up on top.
        c.list.append(makeLine({500, -1000}, {3500, -1000}, 100, 1));
        c.list.append(makeLine({2000, -200}, {2000, -2800}, 100, 3));
        c.paint();
        EXPECT_COLOUR(c.at(2000, -1000), kBlack) << "active " << active;
        EXPECT_COLOUR(c.at(1000, -1000), active == 1 ? kBlack : kGrey);
        EXPECT_COLOUR(c.at(2000, -2000), active == 3 ? kBlack : kGrey);
    }
}

TEST(BoardPainter, PadsLieOnTopOfTheirLayer)
{
    Canvas c;
    c.list.append(makePad({2000, -1500}, 200, 3, 1, 0));
    LayoutObject& line = c.list.append(makeLine({500, -1500}, {3500, -1500}, 100, 1));
    line.Selected = 1;
    c.paint();
    EXPECT_COLOUR(c.at(2000, -1500), kBlack);
    EXPECT_COLOUR(c.at(1000, -1500), kMagenta);
}

TEST(BoardPainter, PadHoles)
{
    Canvas c;
    c.settings.LayerVisible = {1, 1, 1, 1};
    test::addPad(c.list, {1000, -1500}, 150, 1, 1, 50);
    test::addVia(c.list, {3000, -1500}, 150, 50);
    c.paint();
    EXPECT_COLOUR(c.at(1000, -1500), kWhite);
    EXPECT_COLOUR(c.at(1100, -1500), kBlack);
    EXPECT_COLOUR(c.at(3000, -1500), kRed) << "via hole";
    EXPECT_COLOUR(c.at(3100, -1500), kBlack);
}

TEST(BoardPainter, PadShapeExtents)
{
    // r = 100: shapes 1-3 reach 100 each way, 4-6 reach 200 in x, 7-9 200 in y.
    // corner: a point just inside the bounding box corner, filled only by the
    // rectangles.
    struct Case {
        int shape;
        int32_t halfX, halfY;
        bool cornerFilled;
    } cases[] = {
        {1, 100, 100, false}, {2, 100, 100, false}, {3, 100, 100, true},
        {4, 200, 100, false}, {5, 200, 100, false}, {6, 200, 100, true},
        {7, 100, 200, false}, {8, 100, 200, false}, {9, 100, 200, true},
    };
    for (const Case& k : cases) {
        Canvas c;
        const Point centre{2000, -1500};
        c.list.append(makePad(centre, 100, static_cast<uint8_t>(k.shape), 1, 30));
        c.paint();
        SCOPED_TRACE("shape " + std::to_string(k.shape));
        EXPECT_COLOUR(c.at(centre.x, centre.y), kWhite);
        EXPECT_COLOUR(c.at(centre.x + k.halfX - 15, centre.y), kBlack);
        EXPECT_COLOUR(c.at(centre.x - k.halfX + 15, centre.y), kBlack);
        EXPECT_COLOUR(c.at(centre.x + k.halfX + 15, centre.y), kBoard);
        EXPECT_COLOUR(c.at(centre.x - k.halfX - 25, centre.y), kBoard);
        EXPECT_COLOUR(c.at(centre.x, centre.y + k.halfY - 15), kBlack);
        EXPECT_COLOUR(c.at(centre.x, centre.y - k.halfY + 15), kBlack);
        EXPECT_COLOUR(c.at(centre.x, centre.y + k.halfY + 25), kBoard);
        EXPECT_COLOUR(c.at(centre.x, centre.y - k.halfY - 15), kBoard);
        EXPECT_COLOUR(c.at(centre.x + k.halfX - 12, centre.y + k.halfY - 12), k.cornerFilled ? kBlack : kBoard);
    }
}

TEST(BoardPainter, PadsWithoutAreaOrWithHoleAsLargeAsThePad)
{
    for (const uint8_t shape : {0, 10, 200}) {
        Canvas c;
        c.list.append(makePad({2000, -1500}, 100, shape, 1, 30));
        c.paint();
        EXPECT_COLOUR(c.at(2000, -1500), kWhite) << int(shape);
        EXPECT_COLOUR(c.at(2060, -1500), kBoard) << "only the hole, shape " << int(shape);
    }
    Canvas c;
    c.list.append(makePad({2000, -1500}, 200, 6, 1, 200));
    c.paint();
    EXPECT_COLOUR(c.at(2000, -1500), kBlack) << "the cross passes through the centre";
    EXPECT_COLOUR(c.at(2050, -1500), kWhite) << "hole colour between the arms";
    EXPECT_COLOUR(c.at(2095, -1595), kBlack) << "arm end at round(r / 2)";
    EXPECT_COLOUR(c.at(2120, -1620), kWhite) << "the cross stops at r / 2";
    EXPECT_COLOUR(c.at(2300, -1500), kBoard) << "the shape no longer matters";
}

TEST(BoardPainter, ArcsRunCounterClockwise)
{
    struct Case {
        int32_t start, stop;
        std::array<bool, 4> quadrants; // drawn at 45, 135, 225, 315 degrees
    } cases[] = {
        {0, 90, {true, false, false, false}},
        {90, 0, {false, true, true, true}},
        {180, 270, {false, false, true, false}},
        {270, 90, {true, false, false, true}},
        {45, 45, {true, true, true, true}}, // equal angles: the whole ring
    };
    for (const Case& k : cases) {
        Canvas c;
        LayoutObject ring = makeCircle({2000, -1500}, 1000, 1, 1, 800);
        ring.Angle = k.start;
        ring.Width = k.stop;
        c.list.append(std::move(ring));
        c.paint();
        for (size_t q = 0; q < 4; ++q) {
            const double a = (45.0 + 90.0 * q) * M_PI / 180;
            EXPECT_COLOUR(c.at(2000 + 900 * std::cos(a), -1500 + 900 * std::sin(a)), k.quadrants[q] ? kBlack : kBoard)
                << k.start << ".." << k.stop << " at " << (45 + 90 * q);
        }
        EXPECT_COLOUR(c.at(2000, -1500), kBoard) << "a ring is not filled";
    }
}

TEST(BoardPainter, FilledCircleIsAChord)
{
    Canvas c;
    LayoutObject sector = makeCircle({2000, -1500}, 1000, 1, 2, 900);
    sector.Angle = 0;
    sector.Width = 180;
    sector.Filled = 1;
    c.list.append(std::move(sector));
    c.paint();
    EXPECT_COLOUR(c.at(2000, -1000), kRed) << "upper half filled";
    EXPECT_COLOUR(c.at(2000, -2000), kBoard) << "lower half empty";
}

TEST(BoardPainter, ZonesAndTracks)
{
    Canvas c;
    LayoutObject zone = makeZone(20, 1);
    // A zone of 400 corners: far beyond any fixed corner buffer.
    for (int i = 0; i < 400; ++i) {
        const double a = 2 * M_PI * i / 400;
        zone.Points.push_back({1000 + static_cast<int32_t>(700 * std::cos(a)), -1500 + static_cast<int32_t>(700 * std::sin(a))});
    }
    c.list.append(std::move(zone));
    LayoutObject single = makeZone(100, 1);
    single.Points = {{3000, -500}};
    c.list.append(std::move(single));
    test::addTrack(c.list, {{2500, -2000}, {3500, -2000}}, 60, 2).Routed = 1;
    test::addTrack(c.list, {{2500, -2500}, {3500, -2500}}, 60, 1);
    c.paint();
    EXPECT_COLOUR(c.at(1000, -1500), kBlack) << "filled";
    EXPECT_COLOUR(c.at(1650, -1500), kBlack);
    EXPECT_COLOUR(c.at(3000, -500), kBoard) << "a single corner draws nothing";
    EXPECT_COLOUR(c.at(3000, -2000), kBlue) << "autorouted track";
    EXPECT_COLOUR(c.at(3000, -2500), kBlack);
}

TEST(BoardPainter, CornerMarksOnlyForUngroupedSelection)
{
    Canvas c;
    LayoutObject& free = test::addTrack(c.list, {{500, -1000}, {2000, -1000}, {2000, -2500}}, 20);
    free.Selected = 1;
    LayoutObject& grouped = test::addTrack(c.list, {{2500, -1000}, {3500, -1000}}, 20);
    grouped.Selected = 1;
    grouped.Groups = {4};
    c.paint();
    EXPECT_COLOUR(c.at(2000, -1000), kBlue);
    EXPECT_COLOUR(c.at(500, -1000), kBlue);
    EXPECT_COLOUR(c.at(1200, -1000), kMagenta);
    EXPECT_COLOUR(c.at(2500, -1000), kMagenta) << "no marks inside a group";
}

TEST(BoardPainter, ClearancesUnderTheGroundPlane)
{
    Canvas c;
    c.settings.GroundPlane1 = 1;
    c.settings.LayerVisible = {1, 1, 1, 1};
    test::addTrack(c.list, {{500, -1000}, {3500, -1000}}, 40, 1).Clearance = 100;
    LayoutObject& other = test::addTrack(c.list, {{500, -2000}, {3500, -2000}}, 40, 3);
    other.Clearance = 100;
    LayoutObject& pad = test::addPad(c.list, {2000, -2600}, 100, 3, 1, 30);
    pad.Clearance = 50;
    c.paint();
    EXPECT_COLOUR(c.at(2000, -1000), kBlack);
    EXPECT_COLOUR(c.at(2000, -1080), kWhite) << "inside the clearance";
    EXPECT_COLOUR(c.at(2000, -1170), kNavy) << "beyond it";
    EXPECT_COLOUR(c.at(2000, -2080), kNavy) << "layer 3 gets no clearance";
    EXPECT_COLOUR(c.at(2130, -2600), kWhite) << "pad enlarged by its clearance";
    EXPECT_COLOUR(c.at(2170, -2600), kNavy);

    c.settings.ActiveLayer = 3;
    c.settings.GroundPlane1 = 0;
    c.paint();
    EXPECT_COLOUR(c.at(2000, -1080), kBoard) << "no ground plane on the active side";
}

TEST(BoardPainter, RubberBands)
{
    for (const bool router : {false, true}) {
        Canvas c;
        c.autorouterTool = router;
        LayoutObject& a = test::addPad(c.list, {500, -1500}, 50);
        LayoutObject& b = test::addPad(c.list, {3500, -1500}, 50);
        test::addBand(a, b);
        a.Selected = b.Selected = 1;
        c.settings.LayerVisible = {0, 1, 0, 0}; // bands show even on hidden layers
        c.settings.ActiveLayer = 2;
        c.paint();
        EXPECT_COLOUR(c.at(2000, -1500), router ? kMagenta : kBlue);
    }
}

TEST(BoardPainter, LabelsAtTheirAngle)
{
    // Counts the red pixels on each side of the anchor; the cell lies below
    // and to the right of the anchor, turned counter-clockwise about it.
    struct Case {
        int32_t angle;
        bool right, above;
    } cases[] = {{0, true, false}, {90, true, true}, {180, false, true}, {270, false, false}};
    for (const Case& k : cases) {
        Canvas c;
        c.list.append(makeText({2000, -1500}, "HHH", k.angle, 400, 0, 0, 2));
        c.paint();
        int counts[2][2] = {{0, 0}, {0, 0}}; // [right][above]
        const QPoint anchor(200, 150);
        for (int y = 0; y < c.image.height(); ++y)
            for (int x = 0; x < c.image.width(); ++x)
                if (c.image.pixelColor(x, y) == kRed)
                    ++counts[x >= anchor.x()][y < anchor.y()];
        const int total = counts[0][0] + counts[0][1] + counts[1][0] + counts[1][1];
        EXPECT_GT(total, 100) << k.angle;
        EXPECT_EQ(counts[k.right][k.above], total) << "angle " << k.angle;
    }
}

TEST(BoardPainter, LabelHeightIsTheCellHeight)
{
    Canvas c;
    c.list.append(makeText({500, -500}, "Hg", 0, 1000, 0, 0, 2));
    c.paint();
    int top = 1000, bottom = -1;
    for (int y = 0; y < c.image.height(); ++y)
        for (int x = 0; x < c.image.width(); ++x)
            if (c.image.pixelColor(x, y) == kRed) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    // Ink from the cap height to the descender stays inside the 100-pixel cell.
    EXPECT_GE(top, 50);
    EXPECT_LE(bottom, 150);
    EXPECT_GT(bottom - top, 70);
}

TEST(BoardPainter, ClipBoxSkipsObjectsOutsideIt)
{
    Canvas c;
    c.list.append(makeLine({500, -1000}, {1500, -1000}, 60, 1));
    c.list.append(makeLine({2500, -1000}, {3500, -1000}, 60, 1));
    c.list.append(makeLine({2500, -2000}, {3500, -2000}, 60, 6));
    c.paint({0, -3000, 2000, 0}); // the painter itself is not clipped
    EXPECT_COLOUR(c.at(1000, -1000), kBlack);
    EXPECT_COLOUR(c.at(3000, -1000), kBoard) << "skipped";
    EXPECT_COLOUR(c.at(3000, -2000), kRed) << "macro layers are never skipped";
}

TEST(BoardPainter, DrawObjectInColourAndSolderMask)
{
    QImage image(420, 320, QImage::Format_RGB32);
    image.fill(Qt::white);
    LayoutObject pad = makePad({2000, -1500}, 100, 1, 1, 40);
    pad.Selected = 1;
    pad.Partner = &pad; // via: still a white hole when printed
    LayoutObject silk = makeLine({500, -500}, {3500, -500}, 60, 2);
    {
        QPainter p(&image);
        p.setTransform(boardTransform(0.1));
        DrawObjectInColour(p, pad, false, Qt::green, Qt::blue);
        DrawObjectInColour(p, silk, false, Qt::green, Qt::blue);
    }
    EXPECT_COLOUR(image.pixelColor(200 + 8, 150), QColor(Qt::blue)) << "copper colour, selection ignored";
    EXPECT_COLOUR(image.pixelColor(200, 150), kWhite);
    EXPECT_COLOUR(image.pixelColor(200, 50), QColor(Qt::green));

    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setTransform(boardTransform(0.1));
        DrawObjectInColour(p, pad, true, Qt::green, Qt::blue);
    }
    EXPECT_COLOUR(image.pixelColor(200, 150), QColor(Qt::blue)) << "no hole under the solder mask";
    EXPECT_COLOUR(image.pixelColor(200 + 12, 150), QColor(Qt::blue)) << "enlarged by 0.3 mm";
    EXPECT_COLOUR(image.pixelColor(200 + 14, 150), kWhite);
}

TEST(BoardPainter, PaintingThroughTheIndexGivesTheSameImage)
{
    Canvas c;
    c.settings.LayerVisible = {1, 1, 1, 1};
    c.settings.GroundPlane1 = 1;
    for (int i = 0; i < 40; ++i) {
        const int32_t x = 100 * i, y = -75 * i;
        const uint8_t layer = static_cast<uint8_t>(i % 6 + 1);
        c.list.append(makeLine({x, -100}, {4000 - x, y}, 20 + i, layer)).Clearance = 30;
        test::addPad(c.list, {x + 50, y - 40}, 60, static_cast<uint8_t>(i % 9 + 1), layer, 20);
        test::addTrack(c.list, {{x, y}, {x + 300, y - 200}, {x + 100, y - 600}}, 30, layer).Clearance = 20;
        c.list.append(makeText({x, y - 300}, "R" + std::to_string(i), 90 * (i % 4), 200, 0, 0, layer));
    }
    test::addBand(c.list[1], c.list[41]);
    const Rect clips[] = {{0, -3000, 4000, 0}, {1200, -1800, 1500, -1500}, {0, -300, 4000, -250}, {3990, -10, 4000, 0}};
    for (const Rect& clip : clips) {
        const QImage direct = c.paint(clip).copy();
        ObjectIndex index;
        index.build(c.list);
        QImage indexed(direct.size(), QImage::Format_RGB32);
        indexed.fill(Qt::darkGray);
        {
            QPainter p(&indexed);
            p.setTransform(boardTransform(Canvas::kZoom));
            PaintBoard(p, index, c.options, clip);
        }
        EXPECT_TRUE(indexed == direct) << "clip " << clip.left << "," << clip.top;
    }
}
