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

QImage blank()
{
    QImage image(120, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int blackPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == Qt::black;
    return n;
}

// The same figures drawn by both sinks under one transform: first through
// the pixel writer, then by the painter.
std::pair<QImage, QImage> paintOnBothSinks(const QTransform& transform, const std::function<void(FigureSink&)>& draw)
{
    std::pair<QImage, QImage> images{blank(), blank()};
    {
        QPainter p(&images.first);
        p.setTransform(transform);
        auto writer = PixelLines::forPainter(p, Qt::black);
        EXPECT_TRUE(writer);
        PixelSink sink(p, *writer);
        draw(sink);
    }
    {
        QPainter p(&images.second);
        p.setTransform(transform);
        PainterSink sink(p);
        draw(sink);
    }
    return images;
}

// What `draw` writes through the pixel writer of a painter on a white
// image, clipped to `clip`, under `transform`.
QImage writtenPixels(const QRect& clip, const QTransform& transform, const std::function<void(PixelLines&)>& draw,
                     QSize size = {120, 100})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setClipRect(clip);
    p.setTransform(transform);
    auto writer = PixelLines::forPainter(p, Qt::black);
    EXPECT_TRUE(writer);
    if (writer)
        draw(*writer);
    return image;
}

int differingPixels(const QImage& a, const QImage& b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y);
    return differing;
}

} // namespace

// Thin strokes are held against the painter on the board: BoardPainterSinks.AgreeOnEveryFigure.

TEST(PixelLines, StaysInsideTheClipAndTheImage)
{
    QImage image = blank();
    {
        QPainter p(&image);
        p.setClipRect(QRect(20, 20, 30, 30));
        auto lines = PixelLines::forPainter(p, Qt::black);
        ASSERT_TRUE(lines);
        lines->drawSegment(QLineF(0, 35, 119, 35), 2);
        lines->drawSegment(QLineF(-1e9, -1e9, 1e9, 1e9), 1); // far outside int range
        const QPointF crossing[] = {{22, 48}, {60, 48}, {60, 90}, {-5e8, 3e8}};
        lines->drawPolyline(crossing, 4, true, 3);
        const QPointF within[] = {{30, 26}, {40, 26}, {40, 28}};
        lines->drawPolyline(within, 3, false, 1);
        EXPECT_TRUE(lines->fillEllipse(QPointF(20.2, 20), 6, 6)) << "not on whole pixels";
        lines->fillRect(QRectF(-1e12, 45, 2e12, 1e12));
    }
    EXPECT_EQ(blackPixels(image), blackPixels(image.copy(20, 20, 30, 30))) << "nothing outside the clip";
    EXPECT_EQ(image.pixelColor(25, 35), Qt::black);
    EXPECT_EQ(image.pixelColor(30, 48), Qt::black) << "the polyline's part inside the clip";
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
        {"a scaled screen's buffer", QImage::Format_RGB32, 2, true},
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

TEST(PixelLines, FillsSmallFiguresAsThePainterDoes)
{
    enum Kind { Rect, Ellipse, RoundedRect, Octagon };
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0, 1);
    int total[4] = {}, differingTotal[4] = {};
    for (int round = 0; round < 400; ++round) {
        const Kind kind = static_cast<Kind>(round % 4);
        // Half the rounds on whole pixels, where the painter takes other paths for some figures.
        const bool aligned = round % 8 >= 4;
        const double zoom = aligned ? 0.25 : 0.02 + 0.3 * unit(rng);
        const double dx = aligned ? 0 : 3.7 * unit(rng), dy = aligned ? 0 : 3.7 * unit(rng);
        const QTransform transform(zoom, 0, 0, -zoom, dx, dy);
        QPointF centre(std::round((20 + 80 * unit(rng)) / zoom), -std::round((20 + 60 * unit(rng)) / zoom));
        if (aligned)
            centre = QPointF(4 * std::round(centre.x() / 4), 4 * std::round(centre.y() / 4));
        const double a = std::round((0.5 + 8 * unit(rng)) / zoom);
        const double b = aligned || kind == Ellipse ? a : std::round((0.5 + 8 * unit(rng)) / zoom);
        const QRectF box(centre.x() - a, centre.y() - b, 2 * a, 2 * b);
        const double corner = std::min(a, b) * 0.75, cut = std::round(std::min(a, b) * 0.585);
        const QPointF octagon[8] = {{box.left(), box.bottom() - cut}, {box.left() + cut, box.bottom()},
                                    {box.right() - cut, box.bottom()}, {box.right(), box.bottom() - cut},
                                    {box.right(), box.top() + cut},    {box.right() - cut, box.top()},
                                    {box.left() + cut, box.top()},     {box.left(), box.top() + cut}};
        const auto [fast, reference] = paintOnBothSinks(transform, [&](FigureSink& sink) {
            switch (kind) {
            case Rect: sink.fillRect(box, Qt::black); break;
            case Ellipse: sink.fillDisc(centre, a, Qt::black); break;
            case RoundedRect: sink.fillRoundedRect(box, corner, Qt::black); break;
            case Octagon: sink.fillPolygon(octagon, 8, Qt::black); break;
            }
        });
        int differing = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 120; ++x)
                differing += (fast.pixelColor(x, y) == Qt::black) != (reference.pixelColor(x, y) == Qt::black);
        EXPECT_LE(differing, 16) << "figure " << kind << " round " << round;
        total[kind] += blackPixels(reference);
        differingTotal[kind] += differing;
    }
    for (const Kind kind : {Rect, Ellipse, RoundedRect, Octagon}) {
        EXPECT_GT(total[kind], 5000) << "figure " << kind << ": the figures lie inside the image";
        EXPECT_LE(differingTotal[kind] * 50, total[kind]) << "figure " << kind;
    }
    EXPECT_EQ(differingTotal[Rect], 0);
    EXPECT_EQ(differingTotal[Ellipse], 0);
}

TEST(PixelLines, FillsPolygonsAndRoundEndedSegmentsAsThePainterDoes)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> unit(0, 1);
    auto distanceToSegment = [](QPointF p, QPointF a, QPointF b) {
        const QPointF d = b - a, ap = p - a;
        const double length2 = d.x() * d.x() + d.y() * d.y();
        const double t = length2 > 0 ? std::clamp((ap.x() * d.x() + ap.y() * d.y()) / length2, 0.0, 1.0) : 0;
        const QPointF q = a + t * d - p;
        return std::hypot(q.x(), q.y());
    };
    int drawn = 0;
    for (int round = 0; round < 60; ++round) {
        const bool polygon = round % 2 == 0;
        const double zoom = 0.05 + 0.2 * unit(rng);
        const QTransform transform(zoom, 0, 0, -zoom, 2 * unit(rng), 2 * unit(rng));
        auto somewhere = [&] { return QPointF((-10 + 140 * unit(rng)) / zoom, -(-10 + 120 * unit(rng)) / zoom); };
        std::vector<QPointF> corners;
        for (int i = 0; i < 3 + round % 9; ++i)
            corners.push_back(somewhere());
        const QLineF segment(somewhere(), somewhere());
        // Wider than thin strokes, which are square-ended.
        const auto widthUnits = static_cast<int32_t>((3.5 + 22 * unit(rng)) / zoom);
        const double widthPx = widthUnits * zoom;
        const QPointF ends[2] = {segment.p1(), segment.p2()};
        const auto [fast, reference] = paintOnBothSinks(transform, [&](FigureSink& sink) {
            if (polygon)
                sink.fillPolygon(corners.data(), static_cast<int>(corners.size()), Qt::black);
            else
                sink.strokePolyline(ends, 2, false, widthUnits, Qt::black);
        });
        drawn += blackPixels(reference);
        int stray = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 120; ++x) {
                if ((fast.pixelColor(x, y) == Qt::black) == (reference.pixelColor(x, y) == Qt::black))
                    continue;
                const QPointF centre(x + 0.5, y + 0.5);
                double offOutline = HUGE_VAL;
                if (polygon) {
                    for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++)
                        offOutline = std::min(offOutline, distanceToSegment(centre, transform.map(corners[j]),
                                                                            transform.map(corners[i])));
                    stray += offOutline >= 1.0 / 64;
                } else {
                    offOutline = std::abs(distanceToSegment(centre, transform.map(segment.p1()),
                                                            transform.map(segment.p2())) - widthPx / 2);
                    stray += offOutline >= 0.3;
                }
            }
        EXPECT_EQ(stray, 0) << "round " << round;
    }
    EXPECT_GT(drawn, 60 * 500) << "the figures lie mostly inside the image";
}

TEST(PixelLines, NarrowPolygonsFillAsWideOnes)
{
    std::mt19937 rng(23);
    std::uniform_real_distribution<double> unit(0, 1);
    const QRect clip(20, 10, 160, 80);
    auto fill = [&](const QTransform& transform, const std::vector<QPointF>& corners) {
        return writtenPixels(
            clip, transform, [&](PixelLines& w) { w.fillPolygon(corners.data(), static_cast<int>(corners.size())); },
            {200, 100});
    };
    int drawn = 0;
    for (int round = 0; round < 300; ++round) {
        const double zoom = 0.02 + 0.3 * unit(rng);
        const QTransform transform(zoom, 0, 0, -zoom, unit(rng), unit(rng));
        const double width = 1 + 57 * unit(rng), height = 1 + 90 * unit(rng);
        const double left = 5 + (clip.width() + 20 - width) * unit(rng), top = 10 * unit(rng);
        std::vector<QPointF> corners;
        for (int i = 0; i < 3 + round % 18; ++i)
            corners.emplace_back((left + width * unit(rng)) / zoom, -(top + height * unit(rng)) / zoom);
        std::vector<QPointF> spiked = corners;
        const double farSide = corners[0].x() * zoom < clip.center().x() ? clip.right() + 5 : clip.left() - 5;
        spiked.insert(spiked.begin() + 1, {QPointF(farSide / zoom, corners[0].y()), corners[0]});
        const QImage narrow = fill(transform, corners), wide = fill(transform, spiked);
        drawn += blackPixels(narrow);
        EXPECT_EQ(differingPixels(narrow, wide), 0) << "round " << round;
    }
    EXPECT_GT(drawn, 300 * 200) << "the polygons lie mostly inside the clip";
}

TEST(PixelLines, SquareEndedStrokesCoverExactlyTheirBand)
{
    std::mt19937 rng(31);
    std::uniform_real_distribution<double> unit(0, 1);
    const QRect clip(10, 10, 100, 80);
    int covered = 0;
    for (int round = 0; round < 400; ++round) {
        const bool acrossClip = round % 4 == 3;
        const double spread = acrossClip ? 140 : 60, origin = acrossClip ? -10 : 30;
        const QPointF a(origin + spread * unit(rng), origin * 0.6 + spread * 0.6 * unit(rng));
        QPointF b = round % 8 == 1 ? a : QPointF(origin + spread * unit(rng), origin * 0.6 + spread * 0.6 * unit(rng));
        double width = 1 + 5 * unit(rng);
        if (round % 8 == 5 || round % 8 == 6) { // one pixel along the rows or columns
            b = round % 8 == 5 ? QPointF(b.x(), a.y()) : QPointF(a.x(), b.y());
            width = 1;
        }
        const QImage image = writtenPixels(clip, {}, [&](PixelLines& w) { w.drawSegment(QLineF(a, b), width); });
        // The same band worked out in plain doubles.
        const bool xMajor = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
        auto major = [&](QPointF p) { return xMajor ? p.x() : p.y(); };
        auto minor = [&](QPointF p) { return xMajor ? p.y() : p.x(); };
        const QPointF p0 = major(a) <= major(b) ? a : b, p1 = major(a) <= major(b) ? b : a;
        const double dx = major(p1) - major(p0), dy = minor(p1) - minor(p0), length = std::hypot(dx, dy);
        const double slope = dx > 0 ? dy / dx : 0, thickness = dx > 0 ? width * length / dx : width;
        const double reach = dx > 0 ? width / 2 * dx / length : width / 2;
        QImage expected = blank();
        for (int i = static_cast<int>(std::ceil(major(p0) - reach - 0.5));
             i <= static_cast<int>(std::floor(major(p1) + reach - 0.5)); ++i) {
            const double c = minor(p0) + slope * (i + 0.5 - major(p0));
            for (int j = static_cast<int>(std::floor(c - thickness / 2 - 0.5)) + 1;
                 j <= static_cast<int>(std::floor(c + thickness / 2 - 0.5)); ++j) {
                const QPoint pixel = xMajor ? QPoint(i, j) : QPoint(j, i);
                if (clip.contains(pixel))
                    expected.setPixelColor(pixel, Qt::black);
            }
        }
        covered += blackPixels(expected);
        EXPECT_EQ(differingPixels(image, expected), 0) << "round " << round << " width " << width;
    }
    EXPECT_GT(covered, 400 * 50) << "the strokes lie mostly inside the clip";
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

TEST(PixelLines, SegmentsDrawnTogetherAsOneByOne)
{
    std::mt19937 rng(53);
    std::uniform_real_distribution<double> unit(0, 1);
    const QRect clip(10, 10, 100, 80);
    int drawn = 0;
    for (int round = 0; round < 60; ++round) {
        const double zoom = 0.05 + unit(rng);
        const QTransform transform(zoom, 0, 0, -zoom, 3 * unit(rng), 3 * unit(rng));
        std::vector<QLineF> lines;
        for (int i = 0; i < 1 + round % 12; ++i) {
            // Device positions from a little beyond the clip on every side.
            const double x = -5 + 130 * unit(rng), y0 = -5 + 110 * unit(rng), y1 = -5 + 110 * unit(rng);
            const double x1 = i % 4 == 3 ? -5 + 130 * unit(rng) : x; // most lines vertical
            lines.emplace_back(QPointF(x - transform.dx(), transform.dy() - y0) / zoom,
                               QPointF(x1 - transform.dx(), transform.dy() - y1) / zoom);
        }
        const double width = 1 + round % 3;
        const QImage oneByOne = writtenPixels(clip, transform, [&](PixelLines& w) {
            for (const QLineF& line : lines)
                w.drawSegment(line, width);
        });
        const QImage together = writtenPixels(clip, transform, [&](PixelLines& w) {
            w.drawSegments(lines.data(), static_cast<int>(lines.size()), width);
        });
        drawn += blackPixels(oneByOne);
        EXPECT_EQ(together, oneByOne) << "round " << round;
    }
    EXPECT_GT(drawn, 60 * 100) << "the lines cross the clip";
}
