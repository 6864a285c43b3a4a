#include "view/gui/PixelLines.h"
#include "view/gui/PixelRuns.h"

#include "view/gui/PainterSink.h"
#include "view/gui/PixelSink.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace kestrel;

namespace {

QImage blank(QSize size = {120, 100})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The same figures drawn under one transform and clip by both sinks: first
// through the pixel writer, then by the painter.
std::pair<QImage, QImage> paintOnBothSinks(const QTransform& transform, const QRect& clip,
                                           const std::function<void(FigureSink&)>& draw)
{
    std::pair<QImage, QImage> images{blank(), blank()};
    for (const SinkChoice choice : {SinkChoice::Fastest, SinkChoice::Painter}) {
        QPainter p(choice == SinkChoice::Fastest ? &images.first : &images.second);
        p.setClipRect(clip);
        p.setTransform(transform);
        const std::unique_ptr<FigureSink> sink = makeFigureSink(p, choice);
        EXPECT_EQ(dynamic_cast<PixelSink*>(sink.get()) != nullptr, choice == SinkChoice::Fastest);
        draw(*sink);
    }
    return images;
}

// Uniform numbers in [0, 1) from a fixed seed.
struct Unit {
    std::mt19937 rng;
    std::uniform_real_distribution<double> dist{0, 1};
    explicit Unit(uint32_t seed) : rng(seed) {}
    double operator()() { return dist(rng); }
};

int differingPixels(const QImage& a, const QImage& b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y);
    return differing;
}

} // namespace

TEST(PixelLines, StaysInsideTheClipAndTheImage)
{
    QImage image = blank();
    {
        QPainter p(&image);
        p.setClipRect(QRect(20, 20, 30, 30));
        auto lines = PixelLines::forPainter(p, Qt::black);
        ASSERT_TRUE(lines);
        lines->drawSegment(QLineF(-1e9, -1e9, 1e9, 1e9), 1); // far outside int range
        const QPointF crossing[] = {{22, 48}, {60, 48}, {60, 90}, {-5e8, 3e8}};
        lines->drawPolyline(crossing, 4, true, 3);
        const QPointF within[] = {{30, 26}, {40, 26}, {40, 28}};
        lines->drawPolyline(within, 3, false, 1);
        EXPECT_TRUE(lines->fillEllipse(QPointF(20.2, 20), 6, 6)) << "not on whole pixels";
        lines->fillRect(QRectF(-1e12, 45, 2e12, 1e12));
    }
    EXPECT_EQ(differingPixels(image, blank()), differingPixels(image.copy(20, 20, 30, 30), blank({30, 30})))
        << "nothing outside the clip";
    EXPECT_EQ(image.pixelColor(35, 26), Qt::black) << "a polyline clear of the clip's edges";
    EXPECT_EQ(image.pixelColor(30, 30), Qt::black) << "the diagonal";
    EXPECT_EQ(image.pixelColor(22, 22), Qt::black) << "the disc's quarter inside";
    EXPECT_EQ(image.pixelColor(40, 47), Qt::black) << "the huge rectangle";
}

TEST(PixelLines, OnlyWhereThePainterWouldGiveTheSamePixels)
{
    QImage image = blank();
    QPainter p(&image);
    EXPECT_TRUE(PixelLines::forPainter(p, Qt::black));
    EXPECT_FALSE(PixelLines::forPainter(p, QColor(0, 0, 0, 128))) << "translucent";
    p.setTransform(QTransform().rotate(30));
    EXPECT_FALSE(PixelLines::forPainter(p, Qt::black)) << "rotated";
    p.resetTransform();
    p.setRenderHint(QPainter::Antialiasing);
    EXPECT_FALSE(PixelLines::forPainter(p, Qt::black)) << "antialiased";
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRegion(QRegion(0, 0, 10, 10) + QRegion(50, 50, 10, 10));
    EXPECT_FALSE(PixelLines::forPainter(p, Qt::black)) << "clip of several rectangles";

    const std::tuple<const char*, QImage::Format, qreal, bool> targets[] = {
        {"ARGB32 premultiplied", QImage::Format_ARGB32_Premultiplied, 1, true},
        {"a fractionally scaled buffer", QImage::Format_RGB32, 1.5, true},
        {"16-bit image", QImage::Format_RGB16, 1, false},
    };
    for (const auto& [what, format, ratio, writes] : targets) {
        QImage target(64, 48, format);
        target.setDevicePixelRatio(ratio);
        QPainter q(&target);
        q.setTransform(QTransform::fromScale(0.1, -0.1));
        EXPECT_EQ(PixelLines::forPainter(q, Qt::black).has_value(), writes) << what;
    }
    QPicture picture;
    QPainter recording(&picture);
    EXPECT_FALSE(PixelLines::forPainter(recording, Qt::black)) << "a recorded picture";
}

// One seeded comparison with the painter for each figure the screen's sink
// draws itself, a few pixels across, many cut by the clip.
TEST(PixelLines, FillsFiguresAsThePainterDoes)
{
    enum Kind { Rect, Ellipse, RoundedRect, Polygon, Capsule, Arc, Thin, kKinds };
    Unit unit(11);
    int total[kKinds] = {}, differingTotal[kKinds] = {};
    for (int round = 0; round < 560; ++round) {
        const auto kind = static_cast<Kind>(round % kKinds);
        // Half the rounds on whole pixels, where the painter takes other paths for some figures.
        const bool aligned = round / kKinds % 2 == 1;
        const double zoom = aligned ? 0.25 : 0.02 + 0.3 * unit();
        const double dx = aligned ? 0 : 3.7 * unit(), dy = aligned ? 0 : 3.7 * unit();
        const QTransform transform(zoom, 0, 0, -zoom, dx, dy);
        QPointF centre(std::round((20 + 80 * unit()) / zoom), -std::round((20 + 60 * unit()) / zoom));
        if (aligned)
            centre = QPointF(4 * std::round(centre.x() / 4), 4 * std::round(centre.y() / 4));
        const double a = std::round((0.5 + 8 * unit()) / zoom);
        const double b = aligned || kind == Ellipse ? a : std::round((0.5 + 8 * unit()) / zoom);
        const QRectF box(centre.x() - a, centre.y() - b, 2 * a, 2 * b);
        const double corner = std::min(a, b) * 0.75, cut = std::round(std::min(a, b) * 0.585);
        // An octagon on whole pixels, else any polygon in the box.
        std::vector<QPointF> corners = {{box.left(), box.bottom() - cut}, {box.left() + cut, box.bottom()},
                                        {box.right() - cut, box.bottom()}, {box.right(), box.bottom() - cut},
                                        {box.right(), box.top() + cut},    {box.right() - cut, box.top()},
                                        {box.left() + cut, box.top()},     {box.left(), box.top() + cut}};
        if (!aligned)
            for (QPointF& p : corners)
                p = QPointF(box.left() + box.width() * unit(), box.top() + box.height() * unit());
        // A round pen wider than thin strokes, which are square-ended; a third of it is thin.
        const auto pen = static_cast<int32_t>((3.5 + 5 * unit()) / zoom);
        const int start = static_cast<int>(360 * unit()), span = 30 + static_cast<int>(300 * unit());
        const auto [fast, reference] = paintOnBothSinks(transform, QRect(28, 26, 64, 48), [&](FigureSink& sink) {
            switch (kind) {
            case Rect: sink.fillRect(box, Qt::black); break;
            case Ellipse: sink.fillDisc(centre, a, Qt::black); break;
            case RoundedRect: sink.fillRoundedRect(box, corner, Qt::black); break;
            case Polygon: sink.fillPolygon(corners.data(), static_cast<int>(corners.size()), Qt::black); break;
            case Capsule: sink.strokePolyline(&corners[0], 2, false, pen, Qt::black); break;
            case Arc: sink.strokeArc(centre, a, start, span, pen, round % 4 == 0, Qt::black); break;
            case Thin: {
                sink.strokePolyline(corners.data(), 3, false, pen / 3, Qt::black);
                // Hairlines: vertical ones over other rows are written row by row.
                const QLineF lines[] = {{box.topLeft(), QPointF(box.left(), centre.y())},
                                        {QPointF(box.right(), centre.y()), box.bottomRight()},
                                        {corners[1], corners[5]}};
                sink.hairlines(lines, 3, 1 + round % 2, Qt::black);
                break;
            }
            case kKinds: break;
            }
        });
        const int differing = differingPixels(fast, reference);
        EXPECT_LE(differing, 16) << "figure " << kind << " round " << round;
        total[kind] += differingPixels(reference, blank());
        differingTotal[kind] += differing;
    }
    for (int kind = 0; kind < kKinds; ++kind) {
        EXPECT_GT(total[kind], 800) << "figure " << kind << ": the figures lie inside the clip";
        // An arc's chords stray further from the painter's curve; a thin stroke may lie a pixel over.
        if (kind != Thin) {
            EXPECT_LE(differingTotal[kind] * (kind == Arc ? 25 : 50), total[kind]) << "figure " << kind;
        }
    }
    EXPECT_EQ(differingTotal[Rect], 0);
    EXPECT_EQ(differingTotal[Ellipse], 0);
}

TEST(PixelLines, NarrowPolygonsFillAsWideOnes)
{
    Unit unit(23);
    const QRect clip(20, 10, 160, 80);
    // What the pixel writer fills, clipped, under the transform.
    auto fill = [&](const QTransform& transform, const std::vector<QPointF>& corners) {
        QImage image = blank({200, 100});
        QPainter p(&image);
        p.setClipRect(clip);
        p.setTransform(transform);
        auto writer = PixelLines::forPainter(p, Qt::black);
        EXPECT_TRUE(writer);
        if (writer)
            writer->fillPolygon(corners.data(), static_cast<int>(corners.size()));
        return image;
    };
    int drawn = 0;
    for (int round = 0; round < 300; ++round) {
        const double zoom = 0.02 + 0.3 * unit();
        const QTransform transform(zoom, 0, 0, -zoom, unit(), unit());
        const double width = 1 + 57 * unit(), height = 1 + 90 * unit();
        const double left = 5 + (clip.width() + 20 - width) * unit(), top = 10 * unit();
        std::vector<QPointF> corners;
        for (int i = 0; i < 3 + round % 18; ++i)
            corners.emplace_back((left + width * unit()) / zoom, -(top + height * unit()) / zoom);
        std::vector<QPointF> spiked = corners;
        const double farSide = corners[0].x() * zoom < clip.center().x() ? clip.right() + 5 : clip.left() - 5;
        spiked.insert(spiked.begin() + 1, {QPointF(farSide / zoom, corners[0].y()), corners[0]});
        const QImage narrow = fill(transform, corners), wide = fill(transform, spiked);
        drawn += differingPixels(narrow, blank({200, 100}));
        EXPECT_EQ(differingPixels(narrow, wide), 0) << "round " << round;
    }
    EXPECT_GT(drawn, 300 * 200) << "the polygons lie mostly inside the clip";
}

TEST(PixelRuns, EveryRowWriterSetsExactlyTheRowsBits)
{
    std::mt19937_64 rng(3);
    const std::vector<RowBitsWriter> writers = rowBitsWriters();
    ASSERT_FALSE(writers.empty());
    EXPECT_EQ(rowBitsWriter(), writers.back());
    std::vector<uint64_t> rows = {0, 1, uint64_t{1} << 63, ~uint64_t{0}, 0xFFFF, 0xFFFF0000FFFF0000u,
                                  0x5555555555555555u};
    for (int i = 0; i < 300; ++i) {
        const int from = static_cast<int>(rng() % 64), length = static_cast<int>(rng() % 65);
        const uint64_t run = length >= 64 ? ~uint64_t{0} : ((uint64_t{1} << length) - 1);
        rows.push_back(i % 2 ? rng() & rng() : run << from); // scattered bits or one run
    }
    constexpr QRgb kGuard = 0xFF123456, kPixel = 0xFFABCDEF;
    for (size_t w = 0; w < writers.size(); ++w)
        for (const uint64_t bits : rows) {
            std::vector<QRgb> buffer(8 + 64 + 8, kGuard);
            writers[w](buffer.data() + 8, bits, kPixel);
            int wrong = 0;
            for (int i = 0; i < static_cast<int>(buffer.size()); ++i) {
                const int bit = i - 8;
                const bool set = bit >= 0 && bit < 64 && ((bits >> bit) & 1);
                wrong += buffer[static_cast<size_t>(i)] != (set ? kPixel : kGuard);
            }
            EXPECT_EQ(wrong, 0) << "writer " << w << " bits " << std::hex << bits;
        }
}
