// The pad figure of geometry/Figures.h (pinned in tests/geometry/FiguresTest.cpp), grown as each drawing asks.

#include "view/gui/BoardPainter.h"

#include "geometry/Figures.h"
#include "model/Units.h"
#include "view/gui/PainterSink.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace kestrel;

namespace {

// What a sink was asked to fill first: the pad's figure (its hole follows).
struct Figure {
    enum Kind { Rect, Disc, RoundedRect, Polygon, Other } kind;
    QRectF rect;
    QPointF centre;
    double radius; // disc radius or corner radius
    std::vector<QPointF> points;
    Figure(Kind k = Other, QRectF r = {}, QPointF c = {}, double radius = 0, std::vector<QPointF> p = {})
        : kind(k), rect(r), centre(c), radius(radius), points(std::move(p)) {}
    bool operator==(const Figure&) const = default;
};

// Keeps the first figure it is asked to fill; strokes and the rest go to the painter.
class RecordingSink final : public PainterSink {
public:
    using PainterSink::PainterSink;
    std::optional<Figure> first;

    void fillRect(const QRectF& units, const QColor&) override { keep({Figure::Rect, units}); }
    void fillDisc(const QPointF& centre, double radius, const QColor&) override
    {
        keep({Figure::Disc, {}, centre, radius});
    }
    void fillRoundedRect(const QRectF& units, double cornerRadius, const QColor&) override
    {
        keep({Figure::RoundedRect, units, {}, cornerRadius});
    }
    void fillPolygon(const QPointF* points, int count, const QColor&) override
    {
        keep({Figure::Polygon, {}, {}, 0, std::vector<QPointF>(points, points + count)});
    }

private:
    void keep(const Figure& f)
    {
        if (!first)
            first = f;
    }
};

// The sink calls that draw figure f.
Figure expectedFigure(const PadFigure& f)
{
    const QPointF c(f.centre.x, f.centre.y);
    const QRectF box(c.x() - f.halfX, c.y() - f.halfY, 2.0 * f.halfX, 2.0 * f.halfY);
    switch (f.kind) {
    case PadFigureKind::Disc: return {Figure::Disc, {}, c, double(f.halfX)};
    case PadFigureKind::Rectangle: return {Figure::Rect, box};
    case PadFigureKind::RoundedRectangle: return {Figure::RoundedRect, box, {}, f.corner / 2.0};
    case PadFigureKind::Octagon: {
        Figure polygon(Figure::Polygon);
        for (const Point& p : octagonCorners(f.centre, f.halfX, f.halfY))
            polygon.points.emplace_back(p.x, p.y);
        return polygon;
    }
    case PadFigureKind::None: break;
    }
    return {};
}

} // namespace

// The pad as it is (0), cleared under a ground plane (its clearance) and
// opened in the solder mask (the mask enlargement), for every shape.
TEST(PadFigure, EachDrawingHandsTheSinkThePadFigureGrownAsItAsks)
{
    constexpr int32_t kClearance = 41;
    using Draw = void (*)(FigureSink&, const LayoutObject&);
    const std::tuple<const char*, Draw, int32_t> entries[] = {
        {"object", [](FigureSink& s, const LayoutObject& p) { DrawObject(s, p, p.Layer); }, 0},
        {"clearance", [](FigureSink& s, const LayoutObject& p) { DrawClearance(s, p); }, kClearance},
        {"solder mask", [](FigureSink& s, const LayoutObject& p) { DrawObjectInColour(s, p, true, Qt::red, Qt::blue); },
         kSolderMaskEnlargement},
    };
    QImage scratch(8, 8, QImage::Format_RGB32);
    QPainter painter(&scratch);
    for (int shape = 1; shape <= 9; ++shape) {
        for (const int32_t r : {1, 2, 5, 100, 1500, 3100}) {
            LayoutObject pad = makePad({20000, -30000}, r, uint8_t(shape), Layer::K1, r / 2);
            pad.Clearance = kClearance;
            for (const auto& [what, draw, e] : entries) {
                RecordingSink sink(painter);
                draw(sink, pad);
                ASSERT_TRUE(sink.first) << what;
                EXPECT_TRUE(*sink.first == expectedFigure(padFigure(pad, e)))
                    << what << ": shape " << shape << " r " << r << ", drawn as " << sink.first->kind;
            }
        }
    }
}
