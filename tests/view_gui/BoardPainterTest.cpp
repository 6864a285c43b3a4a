#include "view/gui/BoardPainter.h"

#include "support/TestData.h"
#include "view/gui/BandedPaint.h"
#include "view/gui/PainterSink.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

using namespace kestrel;

namespace {

const QColor kBoard = BoardColours::Board, kNavy = BoardColours::GroundPlane;
const QColor kBlack(0, 0, 0), kRed(255, 0, 0), kGrey(192, 192, 192), kMagenta(255, 0, 255), kBlue(0, 0, 255),
    kWhite(255, 255, 255);

#define EXPECT_COLOUR(actual, expected) EXPECT_EQ((actual).name().toStdString(), (expected).name().toStdString())

// Paints a 4000 x 3000 unit board at 10 units a pixel, grid hidden unless
// asked for, through the pixel writer or the painter.
struct Canvas {
    static constexpr double kZoom = 0.1;
    BoardSettings settings;
    ObjectList list;
    BoardPaintOptions options;
    QImage image = QImage(420, 320, QImage::Format_RGB32);
    QSize size{420, 320};
    bool gridVisible = false, autorouterTool = false;
    int threads = 1;
    std::chrono::microseconds helperStart = PaintBands::kPromptStart;
    QColor outside;
    SinkChoice sink = SinkChoice::Fastest;

    explicit Canvas(SinkChoice s = SinkChoice::Fastest) : sink(s)
    {
        settings.BoardWidth = 4000, settings.BoardHeight = 3000;
    }
    QImage paint(Rect clip = {0, -3000, 4000, 0}, const ObjectIndex* index = nullptr)
    {
        options = BoardPaintOptions::of(settings);
        options.zoomPxPerUnit = kZoom;
        options.gridVisible = gridVisible;
        options.autorouterTool = autorouterTool;
        options.paintThreads = threads;
        options.helperStart = helperStart;
        options.outsideColour = outside;
        options.sink = sink;
        image = QImage(size, QImage::Format_RGB32);
        image.fill(Qt::darkGray);
        QPainter p(&image);
        p.setTransform(boardTransform(kZoom));
        if (index)
            PaintBoard(p, *index, options, clip);
        else
            PaintBoard(*makeFigureSink(p, sink), list, options, clip);
        return image;
    }
    QColor at(double x, double y) const
    {
        return image.pixelColor(static_cast<int>(std::floor(x * kZoom)), static_cast<int>(std::floor(-y * kZoom)));
    }
};

// Every table below runs on both back ends.
class BoardPainter : public testing::TestWithParam<SinkChoice> {};

INSTANTIATE_TEST_SUITE_P(Sinks, BoardPainter, testing::Values(SinkChoice::Fastest, SinkChoice::Painter),
                         [](const testing::TestParamInfo<SinkChoice>& info) {
                             return info.param == SinkChoice::Fastest ? "Pixels" : "Painter";
                         });

} // namespace

TEST_P(BoardPainter, BackgroundGridAndGroundPlane)
{
    Canvas c(GetParam());
    c.paint();
    EXPECT_COLOUR(c.at(1500, -1500), kBoard);
    EXPECT_COLOUR(c.image.pixelColor(415, 10), QColor(Qt::darkGray)) << "nothing beyond the board";
    c.outside = Qt::green;
    c.paint({-500, -3500, 4100, 0});
    EXPECT_COLOUR(c.image.pixelColor(405, 10), QColor(Qt::green)) << "beyond the board, inside the clip";
    EXPECT_COLOUR(c.image.pixelColor(415, 10), QColor(Qt::darkGray)) << "beyond the clip";
    c.outside = QColor();
    c.gridVisible = true;
    c.paint();
    EXPECT_COLOUR(c.at(254, -1500), kGrey) << "grid line";
    EXPECT_COLOUR(c.at(1026, -1500), kGrey) << "every fourth line is two pixels wide";
    c.settings.GroundPlane1 = 1;
    c.paint();
    EXPECT_COLOUR(c.at(380, -380), kNavy) << "ground plane of the active side";
    c.settings.ActiveLayer = 3;
    c.paint();
    EXPECT_COLOUR(c.at(380, -380), kBoard) << "the ground plane belongs to the other side";
}

TEST_P(BoardPainter, LayerColours)
{
    struct Case {
        uint8_t layer;
        uint32_t activeLayer;
        bool selected, hidden;
        QColor colour;
    } cases[] = {
        {1, 1, false, false, kBlack}, {2, 1, false, false, kRed},    {3, 1, false, false, kGrey},
        {4, 3, false, false, kRed},   {2, 4, false, false, kGrey},   {5, 1, false, false, kBlack},
        {6, 3, false, false, kRed},   {2, 2, true, false, kMagenta}, {1, 1, false, true, kBoard},
        {6, 1, false, true, kRed}, // macro layers are always shown
    };
    for (const Case& k : cases) {
        Canvas c(GetParam());
        c.settings.ActiveLayer = k.activeLayer;
        c.settings.LayerVisible = k.hidden ? std::array<uint8_t, 4>{} : std::array<uint8_t, 4>{1, 1, 1, 1};
        c.list.append(makeLine({500, -1000}, {3500, -1000}, 60, k.layer)).Selected = k.selected;
        c.paint();
        EXPECT_COLOUR(c.at(2000, -1000), k.colour) << "layer " << int(k.layer) << " active " << k.activeLayer;
    }
}

TEST_P(BoardPainter, ActiveSideAndPadsLieOnTop)
{
    for (const uint32_t active : {1u, 3u}) {
        Canvas c(GetParam());
        c.settings.ActiveLayer = active;
        c.settings.LayerVisible = {1, 1, 1, 1};
        // In list order the layer-3 line would end up on top.
        c.list.append(makeLine({500, -1000}, {3500, -1000}, 100, 1));
        c.list.append(makeLine({2000, -200}, {2000, -2800}, 100, 3));
        c.paint();
        EXPECT_COLOUR(c.at(2000, -1000), kBlack) << "active " << active;
        EXPECT_COLOUR(c.at(1000, -1000), active == 1 ? kBlack : kGrey);
        EXPECT_COLOUR(c.at(2000, -2000), active == 3 ? kBlack : kGrey);
    }
    Canvas c(GetParam());
    c.list.append(makePad({2000, -1500}, 200, 3, 1, 0));
    c.list.append(makeLine({500, -1500}, {3500, -1500}, 100, 1)).Selected = 1;
    c.paint();
    EXPECT_COLOUR(c.at(2000, -1500), kBlack) << "the pad over the later selected line";
}

TEST_P(BoardPainter, Holes)
{
    Canvas c(GetParam());
    test::addPad(c.list, {1000, -1500}, 150, 1, 1, 50);
    test::addVia(c.list, {3000, -1500}, 150, 50);
    c.list.append(makePad({2000, -500}, 200, 6, 1, 200)); // hole as large as the pad: ring and cross
    c.list.append(makePad({1000, -2500}, 100, 10, 1, 30)); // shapes outside 1..9: only the hole
    c.paint();
    EXPECT_COLOUR(c.at(1000, -1500), kWhite) << "plain hole";
    EXPECT_COLOUR(c.at(3000, -1500), kRed) << "via hole";
    EXPECT_COLOUR(c.at(2000, -500), kBlack) << "the cross passes through the centre";
    EXPECT_COLOUR(c.at(2050, -500), kWhite) << "between the arms";
    EXPECT_COLOUR(c.at(2095, -595), kBlack) << "arm end at r / 2";
    EXPECT_COLOUR(c.at(2120, -620), kWhite);
    EXPECT_COLOUR(c.at(2300, -500), kBoard) << "the shape no longer matters";
    EXPECT_COLOUR(c.at(1000, -2500), kWhite);
    EXPECT_COLOUR(c.at(1060, -2500), kBoard) << "no pad area";
}

TEST_P(BoardPainter, ArcsRunCounterClockwise)
{
    struct Case {
        int32_t start, stop;
        bool filled;
        std::array<bool, 4> quadrants; // drawn at 45, 135, 225, 315 degrees
    } cases[] = {
        {0, 90, false, {true, false, false, false}}, {270, 90, false, {true, false, false, true}},
        {45, 45, false, {true, true, true, true}}, // equal angles: the whole ring
        {0, 180, true, {true, true, false, false}}, // filled: a chord
    };
    for (const Case& k : cases) {
        Canvas c(GetParam());
        LayoutObject arc = makeCircle({2000, -1500}, 1000, 1, 1, 800);
        arc.Angle = k.start;
        arc.Width = k.stop;
        arc.Filled = k.filled;
        c.list.append(std::move(arc));
        c.paint();
        for (size_t q = 0; q < 4; ++q) {
            const double a = (45.0 + 90.0 * q) * M_PI / 180;
            EXPECT_COLOUR(c.at(2000 + 900 * std::cos(a), -1500 + 900 * std::sin(a)), k.quadrants[q] ? kBlack : kBoard)
                << k.start << ".." << k.stop << " at " << (45 + 90 * q);
        }
        EXPECT_COLOUR(c.at(2000, -1200), k.filled ? kBlack : kBoard) << "inside the ring";
    }
}

TEST_P(BoardPainter, ZonesTracksMarksAndBands)
{
    Canvas c(GetParam());
    LayoutObject zone = makeZone(20, 1);
    for (int i = 0; i < 400; ++i) { // far beyond any fixed corner buffer
        const double a = 2 * M_PI * i / 400;
        zone.Points.push_back({1000 + static_cast<int32_t>(700 * std::cos(a)), -1500 + static_cast<int32_t>(700 * std::sin(a))});
    }
    c.list.append(std::move(zone));
    c.list.append(makeZone(100, 1)).Points = {{3000, -500}};
    test::addTrack(c.list, {{2500, -2000}, {3500, -2000}}, 60, 2).Routed = 1;
    LayoutObject& selected = test::addTrack(c.list, {{2500, -1000}, {3000, -1000}, {3000, -1500}}, 20);
    selected.Selected = 1;
    LayoutObject& grouped = test::addTrack(c.list, {{2500, -2500}, {3500, -2500}}, 20);
    grouped.Selected = 1, grouped.Groups = {4};
    LayoutObject& a = test::addPad(c.list, {500, -200}, 50, 1, 3); // bands show even on hidden layers
    LayoutObject& b = test::addPad(c.list, {3500, -200}, 50, 1, 3);
    test::addBand(a, b);
    a.Selected = b.Selected = 1;
    c.paint();
    EXPECT_COLOUR(c.at(1000, -1500), kBlack) << "zone filled";
    EXPECT_COLOUR(c.at(1650, -1500), kBlack);
    EXPECT_COLOUR(c.at(3000, -500), kBoard) << "a single corner draws nothing";
    EXPECT_COLOUR(c.at(3000, -2000), kBlue) << "autorouted track";
    EXPECT_COLOUR(c.at(2700, -1000), kMagenta);
    EXPECT_COLOUR(c.at(3000, -1000), kBlue) << "corner mark";
    EXPECT_COLOUR(c.at(2500, -2500), kMagenta) << "no marks inside a group";
    EXPECT_COLOUR(c.at(2000, -200), kBlue) << "rubber band";
    c.autorouterTool = true;
    c.paint();
    EXPECT_COLOUR(c.at(2000, -200), kMagenta) << "between selected pads in the autorouter tool";
}

TEST(BoardPainterBands, EachBandOnceWhereItWasDrawnLast)
{
    struct Band {
        QLineF line;
        QRgb colour;
        bool sameAs(const Band& o) const
        {
            return colour == o.colour &&
                   (line == o.line || (line.p1() == o.line.p2() && line.p2() == o.line.p1()));
        }
    };
    class Recorder final : public PainterSink {
    public:
        using PainterSink::PainterSink;
        std::vector<Band> bands;
        void hairlines(const QLineF* lines, int count, int, const QColor& colour) override
        {
            for (int i = 0; i < count; ++i)
                bands.push_back({lines[i], colour.rgb()});
        }
    };
    ObjectList list;
    std::vector<LayoutObject*> pads;
    for (int i = 0; i < 6; ++i)
        pads.push_back(&test::addPad(list, {500 + 500 * i, -300 - 400 * (i % 3)}, 50));
    test::addBand(*pads[0], *pads[3]);
    test::addBand(*pads[1], *pads[4]);
    test::addBand(*pads[2], *pads[5]);
    test::addBand(*pads[0], *pads[5]);
    test::addBand(*pads[3], *pads[1]);
    pads[2]->Connections.push_back(pads[4]); // listed at one pad only
    pads[0]->Selected = pads[5]->Selected = pads[3]->Selected = 1;
    BoardSettings settings;
    settings.BoardWidth = 4000, settings.BoardHeight = 3000;
    BoardPaintOptions options = BoardPaintOptions::of(settings);
    options.gridVisible = false;
    options.autorouterTool = true; // bands between selected pads in their own colour
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    Recorder board(painter), eachPad(painter);
    PaintBoard(board, list, options, {0, -3000, 4000, 0});
    for (const LayoutObject* pad : pads)
        DrawRubberBands(eachPad, *pad, 0, 0, true);
    // Each band's last drawing, in order.
    std::vector<Band> expected;
    for (size_t i = 0; i < eachPad.bands.size(); ++i)
        if (std::none_of(eachPad.bands.begin() + static_cast<ptrdiff_t>(i) + 1, eachPad.bands.end(),
                         [&](const Band& later) { return later.sameAs(eachPad.bands[i]); }))
            expected.push_back(eachPad.bands[i]);
    ASSERT_EQ(expected.size(), 6u);
    ASSERT_EQ(board.bands.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(board.bands[i].sameAs(expected[i])) << "band " << i;
    const auto inFirstColour =
        std::count_if(expected.begin(), expected.end(), [&](const Band& b) { return b.colour == expected[0].colour; });
    EXPECT_LT(inFirstColour, 6) << "both colours are drawn";
}

TEST_P(BoardPainter, ClearancesUnderTheGroundPlane)
{
    Canvas c(GetParam());
    c.settings.GroundPlane1 = 1;
    c.settings.LayerVisible = {1, 1, 1, 1};
    test::addTrack(c.list, {{500, -1000}, {3500, -1000}}, 40, 1).Clearance = 100;
    test::addTrack(c.list, {{500, -2000}, {3500, -2000}}, 40, 3).Clearance = 100;
    c.paint();
    EXPECT_COLOUR(c.at(2000, -1000), kBlack);
    EXPECT_COLOUR(c.at(2000, -1080), kWhite) << "inside the clearance";
    EXPECT_COLOUR(c.at(2000, -1170), kNavy) << "beyond it";
    EXPECT_COLOUR(c.at(2000, -2080), kNavy) << "layer 3 gets no clearance";
    c.settings.GroundPlane1 = 0;
    c.paint();
    EXPECT_COLOUR(c.at(2000, -1080), kBoard) << "no clearance without the ground plane";
}

TEST_P(BoardPainter, ClipBoxSkipsObjectsOutsideIt)
{
    Canvas c(GetParam());
    c.list.append(makeLine({500, -1000}, {1500, -1000}, 60, 1));
    c.list.append(makeLine({2500, -1000}, {3500, -1000}, 60, 1));
    c.list.append(makeLine({2500, -2000}, {3500, -2000}, 60, 6));
    c.paint({0, -3000, 2000, 0}); // the painter itself is not clipped
    EXPECT_COLOUR(c.at(1000, -1000), kBlack);
    EXPECT_COLOUR(c.at(3000, -1000), kBoard) << "skipped";
    EXPECT_COLOUR(c.at(3000, -2000), kRed) << "macro layers are never skipped";
}

// Each pad's figure, grown for the mask: PadFigure.EachDrawingHandsTheSinkThePadFigureGrownAsItAsks.
TEST_P(BoardPainter, DrawObjectInColourAndSolderMask)
{
    LayoutObject pad = makePad({2000, -1500}, 100, 1, 1, 40);
    pad.Selected = 1;
    pad.Partner = &pad; // a via's hole is still white when printed
    const LayoutObject silk = makeLine({500, -500}, {3500, -500}, 60, 2);
    for (const bool mask : {false, true}) {
        Canvas c(GetParam());
        c.image.fill(Qt::white);
        QPainter p(&c.image);
        p.setTransform(boardTransform(Canvas::kZoom));
        const std::unique_ptr<FigureSink> sink = makeFigureSink(p, GetParam());
        DrawObjectInColour(*sink, pad, mask, Qt::green, Qt::blue);
        DrawObjectInColour(*sink, silk, mask, Qt::green, Qt::blue);
        SCOPED_TRACE(mask ? "mask" : "copper");
        EXPECT_COLOUR(c.at(2000, -520), QColor(Qt::green)) << "silk in the wide pen";
        EXPECT_COLOUR(c.at(2080, -1500), kBlue) << "copper colour, selection ignored";
        EXPECT_COLOUR(c.at(2000, -1500), mask ? kBlue : kWhite) << "no hole under the mask";
    }
}

TEST_P(BoardPainter, IndexAndBandsGiveTheSameImage)
{
    Canvas c(GetParam());
    c.size = QSize(1000, 320); // large enough for two bands, whose seam crosses the board
    c.settings.LayerVisible = {1, 1, 1, 1};
    c.settings.GroundPlane1 = 1;
    for (int i = 0; i < 40; ++i) {
        const int32_t x = 100 * i, y = -75 * i;
        const auto layer = static_cast<uint8_t>(i % 6 + 1);
        c.list.append(makeLine({x, -100}, {4000 - x, y}, 20 + i, layer)).Clearance = 30;
        test::addPad(c.list, {x + 50, y - 40}, 60, static_cast<uint8_t>(i % 9 + 1), layer, 20);
        test::addTrack(c.list, {{x, y}, {x + 300, y - 200}, {x + 100, y - 600}}, 30, layer).Clearance = 20;
        c.list.append(makeText({x, y - 300}, std::string("R").append(std::to_string(i)), 90 * (i % 4), 200, 0, 0, layer));
    }
    test::addBand(c.list[1], c.list[41]);
    test::addBand(c.list[5], c.list[45]); // two bands: the index keeps every pad that has one
    ObjectIndex index;
    index.build(c.list);
    for (const Rect& clip : {Rect{0, -3000, 4000, 0}, Rect{1200, -1800, 1500, -1500}, Rect{3990, -10, 4000, 0}}) {
        const QImage plain = c.paint(clip);
        EXPECT_TRUE(c.paint(clip, &index) == plain) << "clip " << clip.left << "," << clip.top;
        c.threads = 3;
        c.helperStart = std::chrono::seconds(10); // bands even on a loaded machine
        EXPECT_TRUE(c.paint(clip, &index) == plain) << "bands, clip " << clip.left << "," << clip.top;
        c.threads = 1;
    }
}

namespace {

// How far the pixel writer may stray from the painter on a figure: filled
// rectangles agree exactly; on an outline pixel centres may fall either way
// (at most 16 a figure, or 2 % of a larger one); a one-pixel stroke may lie a
// pixel over but keeps its place and, within a quarter, its pixel count.
enum class Tolerance { Exact, Outline, ThinStroke };

struct FigureRow {
    const char* what;
    Tolerance tolerance;
    std::function<void(Canvas&)> add;
};

// The pixels where `a` differs from `b`; those of them off every edge (no
// 4-neighbour of another colour in either image); and the strays, whose
// colour in one image is nowhere within a pixel of them in the other.
struct Difference {
    int pixels = 0, offEdge = 0, strays = 0;
};

Difference compare(const QImage& a, const QImage& b)
{
    auto onEdge = [](const QImage& image, int x, int y) {
        const QRgb here = image.pixel(x, y);
        const QPoint around[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const QPoint& p : around)
            if (image.valid(p) && image.pixel(p) != here)
                return true;
        return false;
    };
    auto near = [](const QImage& image, int x, int y, QRgb colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.valid(x + dx, y + dy) && image.pixel(x + dx, y + dy) == colour)
                    return true;
        return false;
    };
    Difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                ++d.pixels;
                d.offEdge += !onEdge(a, x, y) && !onEdge(b, x, y);
                d.strays += !near(b, x, y, a.pixel(x, y)) || !near(a, x, y, b.pixel(x, y));
            }
    return d;
}

int drawnPixels(const QImage& image, const QImage& empty)
{
    return compare(image, empty).pixels;
}

LayoutObject arc(int32_t outer, int32_t inner, int32_t start, int32_t stop, bool filled)
{
    LayoutObject a = makeCircle({2000, -1500}, outer, 1, 1, inner);
    a.setArcStartDegrees(start);
    a.setArcStopDegrees(stop);
    a.Filled = filled;
    return a;
}

std::vector<FigureRow> figureTable()
{
    std::vector<FigureRow> rows = {
        {"thin track", Tolerance::ThinStroke,
         [](Canvas& c) { test::addTrack(c.list, {{300, -300}, {3700, -900}, {2100, -2700}}, 20); }},
        {"wide arc", Tolerance::Outline, [](Canvas& c) { c.list.append(arc(1200, 1000, 30, 250, false)); }},
        {"filled chord", Tolerance::Outline, [](Canvas& c) { c.list.append(arc(1300, 1100, 200, 20, true)); }},
        {"clearances", Tolerance::Outline,
         [](Canvas& c) {
             c.settings.GroundPlane1 = 1;
             test::addTrack(c.list, {{300, -1000}, {3700, -1300}}, 40, 1).Clearance = 100;
             test::addPad(c.list, {1000, -2200}, 150, 2, 1, 40).Clearance = 60;
             test::addPad(c.list, {2500, -2200}, 120, 4, 1, 40).Clearance = 60;
             c.list.append(makeText({3000, -1800}, "X", 0, 300, 3400, -2100, 1)).Clearance = 50;
             LayoutObject ring = arc(600, 500, 0, 0, false);
             ring.Clearance = 40;
             c.list.append(std::move(ring));
         }},
        {"rubber bands", Tolerance::ThinStroke,
         [](Canvas& c) {
             LayoutObject& a = test::addPad(c.list, {300, -300}, 50, 1, 3);
             LayoutObject& b = test::addPad(c.list, {3700, -2700}, 50, 1, 3);
             LayoutObject& d = test::addPad(c.list, {3500, -400}, 50, 1, 3);
             test::addBand(a, b);
             test::addBand(a, d);
         }},
        {"selected track and zone with corner marks", Tolerance::Outline,
         [](Canvas& c) {
             test::addTrack(c.list, {{300, -300}, {1900, -900}, {700, -1700}}, 20).Selected = 1;
             LayoutObject zone = makeZone(60, 1);
             zone.Points = {{2200, -400}, {3700, -600}, {3100, -2600}};
             zone.Selected = 1;
             c.list.append(std::move(zone));
         }},
        {"grid", Tolerance::ThinStroke, [](Canvas& c) { c.gridVisible = true; }},
    };
    rows.push_back({"square pad with a hole", Tolerance::Exact,
                    [](Canvas& c) { test::addPad(c.list, {2003, -1498}, 330, 3, 1, 110); }});
    return rows;
}

} // namespace

TEST(BoardPainterSinks, AgreeOnEveryFigure)
{
    for (const FigureRow& row : figureTable()) {
        Canvas pixels(SinkChoice::Fastest), painter(SinkChoice::Painter);
        row.add(pixels);
        row.add(painter);
        const QImage fast = pixels.paint(), reference = painter.paint();
        painter.list.clear(); // the same board without the figure
        painter.gridVisible = false;
        const QImage empty = painter.paint();
        const int drawn = drawnPixels(reference, empty);
        const Difference d = compare(fast, reference);
        SCOPED_TRACE(testing::Message() << row.what << ": " << d.pixels << " of " << drawn << " pixels differ");
        EXPECT_GT(drawn, 50) << "the figure lies on the board";
        switch (row.tolerance) {
        case Tolerance::Exact:
            EXPECT_EQ(d.pixels, 0);
            break;
        case Tolerance::Outline:
            EXPECT_EQ(d.offEdge, 0);
            EXPECT_LE(d.pixels, std::max(16, drawn / 50));
            break;
        case Tolerance::ThinStroke:
            EXPECT_EQ(d.strays, 0);
            EXPECT_LE(std::abs(drawnPixels(fast, empty) - drawn), std::max(6, drawn / 4));
            break;
        }
    }
}

// Images and clips the bands can split are those the pixel writer takes:
// PixelLines.OnlyWhereThePainterWouldGiveTheSamePixels.
TEST(PaintBands, OnlyForLargeOpaqueRepaints)
{
    QImage image(1000, 320, QImage::Format_RGB32);
    QPainter p(&image);
    EXPECT_EQ(bandCount(p, 3), 2) << "320,000 pixels";
    EXPECT_EQ(bandCount(p, 1), 1);
    p.setOpacity(0.5);
    EXPECT_EQ(bandCount(p, 3), 1) << "translucent painting";
    p.setOpacity(1);
    p.setClipRect(0, 0, 400, 300);
    EXPECT_EQ(bandCount(p, 3), 1) << "a small repaint";
}

namespace {

// Notes the bands painted; what their painters draw is held against a
// single paint in IndexAndBandsGiveTheSameImage.
struct BandRecorder {
    std::mutex mutex;
    std::vector<QRect> bands;
    void operator()(QPainter&, const QRect& device)
    {
        std::lock_guard lock(mutex);
        bands.push_back(device);
    }
};

} // namespace

TEST(PaintBands, HelpersThatStartInTimeShareTheRowsOfTheClip)
{
    QImage image(300, 200, QImage::Format_RGB32);
    QPainter p(&image);
    p.setClipRect(QRect(5, 7, 290, 150));
    BandRecorder recorder;
    BandThreads threads;
    threads.pool.setMaxThreadCount(3);
    {
        PaintBands bands(3, &threads, std::chrono::seconds(10));
        ASSERT_TRUE(bands.paint(p, std::ref(recorder)));
    }
    p.end();
    ASSERT_GE(recorder.bands.size(), 2U) << "a band for the caller and each helper that started";
    std::ranges::sort(recorder.bands, {}, &QRect::top);
    int next = 7;
    for (const QRect& band : recorder.bands) {
        EXPECT_EQ(band.left(), 5);
        EXPECT_EQ(band.width(), 290);
        EXPECT_EQ(band.top(), next) << "bands follow each other without a gap or overlap";
        next = band.bottom() + 1;
    }
    EXPECT_EQ(next, 157);
}

TEST(PaintBands, WithoutAHelperInTimeTheCallerPaintsAloneAndTheLateHelperLeaves)
{
    QImage image(300, 200, QImage::Format_RGB32);
    QPainter p(&image);
    BandRecorder recorder;
    // The only thread is busy until the repaint has given up on it.
    BandThreads threads;
    threads.pool.setMaxThreadCount(1);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    threads.pool.start([released] { released.wait(); });
    {
        PaintBands bands(1, &threads, std::chrono::milliseconds(1));
        EXPECT_FALSE(bands.paint(p, std::ref(recorder)));
    }
    release.set_value();
    threads.pool.waitForDone();
    EXPECT_TRUE(recorder.bands.empty()) << "nor after the helper came";
    // The next repaint does not wait for help, though a thread is free now.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(PaintBands(1, &threads, std::chrono::seconds(10)).paint(p, std::ref(recorder)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(recorder.bands.empty());
}

TEST(PaintBands, AfterAHelperKeptTheCallerWaitingAFewRepaintsGoWithoutHelp)
{
    QImage image(300, 200, QImage::Format_RGB32);
    QPainter p(&image);
    BandThreads threads;
    threads.pool.setMaxThreadCount(1);
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<bool> helperBusy{false};
    auto slowHelper = [&](QPainter&, const QRect&) {
        if (std::this_thread::get_id() != caller) {
            helperBusy = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            return;
        }
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!helperBusy && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
    };
    ASSERT_TRUE(PaintBands(1, &threads, std::chrono::seconds(10)).paint(p, slowHelper));
    auto fast = [](QPainter&, const QRect&) {};
    for (int i = 0; i < PaintBands::kPaintsAlone; ++i) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(PaintBands(1, &threads, std::chrono::seconds(10)).paint(p, fast)) << "repaint " << i;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "without waiting for help";
    }
    EXPECT_TRUE(PaintBands(1, &threads, std::chrono::seconds(10)).paint(p, fast)) << "then help is asked for again";
}
