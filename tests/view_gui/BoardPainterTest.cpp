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
#include <future>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

using namespace kestrel;

namespace {

const QColor kBoard = BoardColours::Board, kNavy = BoardColours::GroundPlane;
const QColor kBlack(0, 0, 0), kRed(255, 0, 0), kGrey(192, 192, 192), kMagenta(255, 0, 255), kBlue(0, 0, 255),
    kWhite(255, 255, 255);

#define EXPECT_COLOUR(actual, expected) EXPECT_EQ((actual).name().toStdString(), (expected).name().toStdString())

// The colour expected at a board point.
struct Probe {
    double x, y;
    QColor colour;
    const char* what = "";
};

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
    QImage paint(Rect clip = {0, -3000, 4000, 0}, const ObjectIndex* index = nullptr, FigureSink* into = nullptr)
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
        else if (into)
            PaintBoard(*into, list, options, clip);
        else
            PaintBoard(*makeFigureSink(p, sink), list, options, clip);
        return image;
    }
    QColor at(double x, double y) const
    {
        return image.pixelColor(static_cast<int>(std::floor(x * kZoom)), static_cast<int>(std::floor(-y * kZoom)));
    }
    void expect(std::initializer_list<Probe> probes) const
    {
        for (const Probe& p : probes)
            EXPECT_COLOUR(at(p.x, p.y), p.colour) << p.what << " at (" << p.x << ", " << p.y << ")";
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
    c.expect({{254, -1500, kGrey, "grid line"}, {1026, -1500, kGrey, "every fourth line is two pixels wide"}});
    c.gridVisible = false;
    c.settings.GroundPlane1 = 1;
    c.settings.LayerVisible = {1, 1, 1, 1};
    test::addTrack(c.list, {{500, -1000}, {3500, -1000}}, 40, 1).Clearance = 100;
    test::addTrack(c.list, {{500, -2000}, {3500, -2000}}, 40, 3).Clearance = 100;
    c.list.append(makeCircle({1000, -2550}, 250, 1, 1, 50)).Clearance = 200; // its clearance's pen covers its middle
    c.paint();
    c.expect({{1000, -2550, kWhite, "the hole of a ring is clear"}, {1150, -2550, kBlack}, {1380, -2550, kWhite},
              {380, -380, kNavy, "ground plane of the active side"}, {2000, -1000, kBlack},
              {2000, -1080, kWhite, "inside the clearance"}, {2000, -1170, kNavy, "beyond it"},
              {2000, -2080, kNavy, "layer 3 gets no clearance"}});
    c.settings.GroundPlane1 = 0;
    c.paint();
    c.expect({{2000, -1080, kBoard, "no clearance without the ground plane"}});
    c.settings.GroundPlane1 = 1;
    c.settings.ActiveLayer = 3;
    c.paint();
    c.expect({{380, -380, kBoard, "the ground plane belongs to the other side"}});
}

TEST_P(BoardPainter, LayerColours)
{
    // Layer, active layer, selected, all layers hidden, colour.
    // The copper of either side on top: ActiveSideAndPadsLieOnTop.
    const std::tuple<uint8_t, uint32_t, bool, bool, QColor> cases[] = {
        {2, 1, false, false, kRed},   {4, 3, false, false, kRed},    {2, 4, false, false, kGrey},
        {4, 1, false, false, kGrey},
        {5, 1, false, false, kBlack}, {6, 3, false, false, kRed},    {2, 2, true, false, kMagenta},
        {1, 1, false, true, kBoard},  {6, 1, false, true, kRed}, // macro layers are always shown
    };
    for (const auto& [layer, active, selected, hidden, colour] : cases) {
        Canvas c(GetParam());
        c.settings.ActiveLayer = active;
        c.settings.LayerVisible = hidden ? std::array<uint8_t, 4>{} : std::array<uint8_t, 4>{1, 1, 1, 1};
        c.list.append(makeLine({500, -1000}, {3500, -1000}, 60, layer)).Selected = selected;
        c.paint();
        EXPECT_COLOUR(c.at(2000, -1000), colour) << "layer " << int(layer) << " active " << active;
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
        SCOPED_TRACE(active);
        c.expect({{2000, -1000, kBlack, "the active side on top"}, {1000, -1000, active == 1 ? kBlack : kGrey},
                  {2000, -2000, active == 3 ? kBlack : kGrey}});
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
    c.expect({{1000, -1500, kWhite, "plain hole"}, {3000, -1500, kRed, "via hole"},
              {2000, -500, kBlack, "the cross passes through the centre"}, {2050, -500, kWhite, "between the arms"},
              {2095, -595, kBlack, "arm end at r / 2"}, {2120, -620, kWhite},
              {2300, -500, kBoard, "the shape no longer matters"}, {1000, -2500, kWhite},
              {1060, -2500, kBoard, "no pad area"}});
}

TEST_P(BoardPainter, ArcsRunCounterClockwise)
{
    // Start, stop, filled, drawn at 45, 135, 225 and 315 degrees.
    const std::tuple<int32_t, int32_t, bool, std::array<bool, 4>> cases[] = {
        {0, 90, false, {true, false, false, false}}, {270, 90, false, {true, false, false, true}},
        {45, 45, false, {true, true, true, true}}, // equal angles: the whole ring
        {0, 180, true, {true, true, false, false}}, // filled: a chord
    };
    for (const auto& [start, stop, filled, quadrants] : cases) {
        Canvas c(GetParam());
        LayoutObject& arc = c.list.append(makeCircle({2000, -1500}, 1000, 1, 1, 800));
        arc.Angle = start;
        arc.Width = stop;
        arc.Filled = filled;
        c.paint();
        for (size_t q = 0; q < 4; ++q) {
            const double a = (45.0 + 90.0 * q) * M_PI / 180;
            EXPECT_COLOUR(c.at(2000 + 900 * std::cos(a), -1500 + 900 * std::sin(a)), quadrants[q] ? kBlack : kBoard)
                << start << ".." << stop << " at " << (45 + 90 * q);
        }
        EXPECT_COLOUR(c.at(2000, -1200), filled ? kBlack : kBoard) << "inside the ring";
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
    test::addTrack(c.list, {{2500, -1000}, {3000, -1000}, {3000, -1500}}, 20).Selected = 1;
    LayoutObject& grouped = test::addTrack(c.list, {{2500, -2500}, {3500, -2500}}, 20);
    grouped.Selected = 1, grouped.Groups = {4};
    LayoutObject& a = test::addPad(c.list, {500, -200}, 50, 1, 3); // bands show even on hidden layers
    LayoutObject& b = test::addPad(c.list, {3500, -200}, 50, 1, 3);
    test::addBand(a, b);
    a.Selected = b.Selected = 1;
    test::addTrack(c.list, {{500, -2700}, {500, -2700}}, 100); // the stroke font's dots
    c.paint();
    c.expect({{500, -2700, kBlack, "a stroke of no length is a dot"}, {540, -2700, kBlack}, {580, -2700, kBoard},
              {1000, -1500, kBlack, "zone filled"}, {1650, -1500, kBlack},
              {3000, -500, kBoard, "a single corner draws nothing"}, {3000, -2000, kBlue, "autorouted track"},
              {2700, -1000, kMagenta}, {3000, -1000, kBlue, "corner mark"},
              {2500, -2500, kMagenta, "no marks inside a group"}, {2000, -200, kBlue, "rubber band"}});
    c.autorouterTool = true;
    c.paint();
    c.expect({{2000, -200, kMagenta, "between selected pads in the autorouter tool"}});
}

// A band sits in both its pads' lists: the board draws it once, at its
// second pad, where its pixels landed when each pad drew its own.
TEST(BoardPainterBands, EachBandOnceWhereItWasDrawnLast)
{
    // A band's ends, the lesser first, and its colour.
    using Band = std::tuple<std::pair<double, double>, std::pair<double, double>, QRgb>;
    class Recorder final : public PainterSink {
    public:
        using PainterSink::PainterSink;
        std::vector<Band> bands;
        void hairlines(const QLineF* lines, int count, int, const QColor& colour) override
        {
            for (int i = 0; i < count; ++i) {
                const std::pair p(lines[i].x1(), lines[i].y1()), q(lines[i].x2(), lines[i].y2());
                bands.emplace_back(std::min(p, q), std::max(p, q), colour.rgb());
            }
        }
    };
    Canvas c;
    c.autorouterTool = true; // bands between selected pads in their own colour
    std::vector<LayoutObject*> pads;
    for (int i = 0; i < 6; ++i)
        pads.push_back(&test::addPad(c.list, {500 + 500 * i, -300 - 400 * (i % 3)}, 50));
    test::addBand(*pads[0], *pads[3]);
    test::addBand(*pads[1], *pads[4]);
    test::addBand(*pads[2], *pads[5]);
    test::addBand(*pads[0], *pads[5]);
    test::addBand(*pads[3], *pads[1]);
    pads[2]->Connections.push_back(pads[4]); // listed at one pad only
    pads[0]->Selected = pads[5]->Selected = pads[3]->Selected = 1;
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    Recorder board(painter), eachPad(painter);
    c.paint({0, -3000, 4000, 0}, nullptr, &board);
    for (const LayoutObject* pad : pads)
        DrawRubberBands(eachPad, *pad, 0, 0, true);
    // Each band's last drawing, in order.
    std::vector<Band> expected;
    for (auto band = eachPad.bands.begin(); band != eachPad.bands.end(); ++band)
        if (std::find(band + 1, eachPad.bands.end(), *band) == eachPad.bands.end())
            expected.push_back(*band);
    ASSERT_EQ(expected.size(), 6u);
    EXPECT_EQ(board.bands, expected);
    const auto inAnotherColour = [&](const Band& b) { return std::get<2>(b) != std::get<2>(expected[0]); };
    EXPECT_TRUE(std::ranges::any_of(expected, inAnotherColour)) << "both colours are drawn";
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
        c.expect({{2000, -520, Qt::green, "silk in the wide pen"}, {2080, -1500, kBlue, "copper colour, selection ignored"},
                  {2000, -1500, mask ? kBlue : kWhite, "no hole under the mask"}});
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

// Images and clips the bands can split are those the pixel writer takes:
// PixelLines.OnlyWhereThePainterWouldGiveTheSamePixels.
TEST(PaintBands, OnlyForLargeOpaqueRepaints)
{
    QImage image(1000, 320, QImage::Format_RGB32);
    QPainter p(&image);
    EXPECT_EQ(bandCount(p, 3), 2) << "320,000 pixels";
    p.setOpacity(0.5);
    EXPECT_EQ(bandCount(p, 3), 1) << "translucent painting";
    p.setOpacity(1);
    p.setClipRect(0, 0, 400, 300);
    EXPECT_EQ(bandCount(p, 3), 1) << "a small repaint";
}

TEST(PaintBands, HelpersThatStartInTimeShareTheRowsOfTheClip)
{
    QImage image(300, 200, QImage::Format_RGB32);
    QPainter p(&image);
    p.setClipRect(QRect(5, 7, 290, 150));
    BandThreads threads;
    threads.pool.setMaxThreadCount(3);
    // The bands painted; what their painters draw is held against a single
    // paint in IndexAndBandsGiveTheSameImage.
    std::mutex mutex;
    std::vector<QRect> bands;
    ASSERT_TRUE(PaintBands(3, &threads, std::chrono::seconds(10)).paint(p, [&](QPainter&, const QRect& device) {
        std::lock_guard lock(mutex);
        bands.push_back(device);
    }));
    p.end();
    ASSERT_GE(bands.size(), 2U) << "a band for the caller and each helper that started";
    std::ranges::sort(bands, {}, &QRect::top);
    int next = 7;
    for (const QRect& band : bands) {
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
    std::atomic<int> bandsPainted{0};
    auto count = [&](QPainter&, const QRect&) { ++bandsPainted; };
    // The only thread is busy until the repaint has given up on it.
    BandThreads threads;
    threads.pool.setMaxThreadCount(1);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    threads.pool.start([released] { released.wait(); });
    EXPECT_FALSE(PaintBands(1, &threads, std::chrono::milliseconds(1)).paint(p, count));
    release.set_value();
    threads.pool.waitForDone();
    EXPECT_EQ(bandsPainted, 0) << "nor after the helper came";
    // The next repaint does not wait for help, though a thread is free now.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(PaintBands(1, &threads, std::chrono::seconds(10)).paint(p, count));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(bandsPainted, 0);
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
