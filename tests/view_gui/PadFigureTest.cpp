// The pad figure the board walk hands its sink, checked against what the
// Gerber export writes for the same pad: the screen and the file must agree
// to the unit for every shape and size.

#include "view/gui/BoardPainter.h"

#include "model/Units.h"

#include "support/GerberPads.h"

#include <gtest/gtest.h>

#include <set>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// A sink that keeps the filled figures it is asked to draw.
struct Figure {
    enum Kind { Rect, Disc, RoundedRect, Polygon, Other } kind = Other;
    QColor colour;
    QRectF rect;
    QPointF centre;
    double radius = 0; // disc radius or corner radius
    std::vector<QPointF> points;
};

class RecordingSink final : public FigureSink {
public:
    std::vector<Figure> figures;

    void fillRect(const QRectF& units, const QColor& colour) override
    {
        figures.push_back({Figure::Rect, colour, units, units.center(), 0, {}});
    }
    void fillDisc(const QPointF& centre, double radius, const QColor& colour) override
    {
        figures.push_back({Figure::Disc, colour, {}, centre, radius, {}});
    }
    void fillRoundedRect(const QRectF& units, double cornerRadius, const QColor& colour) override
    {
        figures.push_back({Figure::RoundedRect, colour, units, units.center(), cornerRadius, {}});
    }
    void fillPolygon(const QPointF* points, int count, const QColor& colour) override
    {
        figures.push_back({Figure::Polygon, colour, {}, {}, 0, std::vector<QPointF>(points, points + count)});
    }
    void rimmedDisc(const QPointF&, double, const QColor& fill, const QColor&) override { other(fill); }
    void hairlines(const QLineF*, int, int, const QColor& colour) override { other(colour); }
    void strokePolyline(const QPointF*, int, bool, int32_t, const QColor& colour) override { other(colour); }
    void strokeArc(const QPointF&, double, int, int, int32_t, bool, const QColor& colour) override { other(colour); }
    void label(const LayoutObject&, const QColor& colour) override { other(colour); }
    void image(const QRectF&, const QImage&) override { other(QColor()); }

private:
    void other(const QColor& colour) { figures.push_back({Figure::Other, colour, {}, {}, 0, {}}); }
};

// The three ways the walk grows a pad: not at all, by its clearance under a
// ground plane, by the solder-mask enlargement.
enum class Entry { Object, Clearance, SolderMask };

constexpr int32_t kClearance = 41;

int32_t enlargementOf(Entry entry)
{
    switch (entry) {
    case Entry::Object: return 0;
    case Entry::Clearance: return kClearance;
    case Entry::SolderMask: return kSolderMaskEnlargement;
    }
    return 0;
}

Figure padFigureDrawn(const LayoutObject& pad, Entry entry)
{
    RecordingSink sink;
    switch (entry) {
    case Entry::Object: DrawObject(sink, pad, pad.Layer); break;
    case Entry::Clearance: DrawClearance(sink, pad); break;
    case Entry::SolderMask: DrawObjectInColour(sink, pad, true, Qt::red, Qt::blue); break;
    }
    // The pad's figure comes first, its hole after it.
    return sink.figures.empty() ? Figure{} : sink.figures.front();
}

std::set<std::pair<double, double>> asSet(const std::vector<QPointF>& points)
{
    std::set<std::pair<double, double>> s;
    for (const QPointF& p : points)
        s.insert({p.x(), p.y()});
    return s;
}

std::set<std::pair<double, double>> asSet(const std::vector<Point>& points, int32_t dy)
{
    std::set<std::pair<double, double>> s;
    for (const Point& p : points)
        s.insert({p.x, p.y + dy});
    return s;
}

} // namespace

// Radii 1..5000, among them 1500 and 3100, where an octagon's corner cut
// computed in double precision lands one unit off.
TEST(PadFigure, TheScreenDrawsWhatTheGerberFileHolds)
{
    constexpr int32_t kHeight = 100000;
    constexpr Point kCentre{20000, -30000};
    std::vector<int32_t> radii = {1500, 3100, 5000};
    for (int32_t r = 1; r <= 5000; r += 7)
        radii.push_back(r);
    int compared = 0;
    for (int shape = 1; shape <= 9; ++shape) {
        for (const int32_t r : radii) {
            LayoutObject pad = makePad(kCentre, r, uint8_t(shape), Layer::K1, r / 2);
            pad.Clearance = kClearance;
            for (const Entry entry : {Entry::Object, Entry::Clearance, Entry::SolderMask}) {
                const int32_t e = enlargementOf(entry);
                const Figure drawn = padFigureDrawn(pad, entry);
                const GerberPad file = gerberPad(pad, e, kHeight);
                SCOPED_TRACE(testing::Message() << "shape " << shape << " r " << r << " e " << e);
                switch (drawn.kind) {
                case Figure::Disc:
                    EXPECT_EQ(file.aperture, 'C');
                    EXPECT_EQ(2 * drawn.radius, file.sizeX);
                    EXPECT_EQ(drawn.centre, QPointF(kCentre.x, kCentre.y));
                    break;
                case Figure::Rect:
                    EXPECT_EQ(file.aperture, 'R');
                    EXPECT_EQ(drawn.rect.width(), file.sizeX);
                    EXPECT_EQ(drawn.rect.height(), file.sizeY);
                    EXPECT_EQ(drawn.centre, QPointF(kCentre.x, kCentre.y));
                    break;
                case Figure::Polygon:
                    EXPECT_EQ(file.strokeDiameter, 0) << "an octagon is a region without a pen";
                    EXPECT_EQ(asSet(drawn.points), asSet(file.regionCorners, -kHeight));
                    break;
                case Figure::RoundedRect: {
                    // The file strokes the rectangle inset by half the corner
                    // diameter (whole units) with a pen of that diameter, so
                    // its extent may be half a unit larger where that is odd.
                    ASSERT_FALSE(file.regionCorners.empty());
                    EXPECT_EQ(2 * drawn.radius, file.strokeDiameter);
                    int32_t right = INT32_MIN, top = INT32_MIN;
                    for (const Point& p : file.regionCorners)
                        right = std::max(right, p.x), top = std::max(top, p.y - kHeight);
                    EXPECT_NEAR(drawn.rect.right(), right + file.strokeDiameter / 2.0, 0.5);
                    EXPECT_NEAR(drawn.rect.bottom(), top + file.strokeDiameter / 2.0, 0.5);
                    EXPECT_EQ(drawn.centre, QPointF(kCentre.x, kCentre.y));
                    break;
                }
                case Figure::Other:
                    ADD_FAILURE() << "no filled pad figure";
                    break;
                }
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 9 * 3 * static_cast<int>(radii.size()));
}
