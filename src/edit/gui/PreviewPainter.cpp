#include "edit/gui/PreviewPainter.h"

#include "geometry/SegmentClip.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>

namespace kestrel {

namespace {

QColor colourOf(PreviewColour c)
{
    switch (c) {
    case PreviewColour::Red:
        return QColor(255, 0, 0);
    case PreviewColour::Blue:
        return QColor(0, 0, 255);
    case PreviewColour::Black:
        break;
    }
    return QColor(0, 0, 0);
}

// One-pixel lines are written here pixel by pixel: hundreds of outlines in
// a move drag go through QPainter's general (and threaded) raster-op path
// far too slowly. Each pixel of a polyline is inverted once, its corners
// included, as one pen stroke would.
class Hairlines {
public:
    Hairlines(QImage& image, QRgb mask, bool dotted)
        : bits_(image.bits()), stride_(image.bytesPerLine()), width_(image.width()), height_(image.height()),
          mask_(mask), dotted_(dotted)
    {
    }

    void polyline(const QPolygon& pts, bool closed)
    {
        for (int i = 0; i + 1 < pts.size(); ++i)
            segment(pts[i], pts[i + 1], i > 0);
        if (closed && pts.size() > 2)
            segment(pts.back(), pts.front(), true);
    }

    // Bresenham from a to b, clipped to the image first so that a line far
    // beyond the view costs nothing.
    void segment(QPoint a, QPoint b, bool skipFirst)
    {
        double t0 = 0, t1 = 1;
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        if (!clipSegmentToRect(a.x(), a.y(), dx, dy, 0, 0, width_ - 1, height_ - 1, t0, t1))
            return;
        // The clipped ends lie inside the image, so the walk between them
        // needs no bounds test.
        auto inside = [this](double x, double y) {
            return QPoint(std::clamp(static_cast<int>(std::lround(x)), 0, width_ - 1),
                          std::clamp(static_cast<int>(std::lround(y)), 0, height_ - 1));
        };
        QPoint p = t0 > 0 ? inside(a.x() + dx * t0, a.y() + dy * t0) : a;
        const QPoint end = t1 < 1 ? inside(a.x() + dx * t1, a.y() + dy * t1) : b;
        if (t0 > 0)
            skipFirst = false; // the clipped start is no shared corner
        const int sx = end.x() > p.x() ? 1 : -1, sy = end.y() > p.y() ? 1 : -1;
        const int ax = std::abs(end.x() - p.x()), ay = -std::abs(end.y() - p.y());
        int err = ax + ay;
        for (bool first = true;; first = false) {
            if (!(first && skipFirst))
                put(p);
            if (p == end)
                break;
            const int e2 = 2 * err;
            if (e2 >= ay) {
                err += ay;
                p.rx() += sx;
            }
            if (e2 <= ax) {
                err += ax;
                p.ry() += sy;
            }
        }
    }

private:
    void put(QPoint p)
    {
        if (dotted_ && (phase_++ & 1))
            return;
        reinterpret_cast<QRgb*>(bits_ + static_cast<qsizetype>(p.y()) * stride_)[p.x()] ^= mask_;
    }

    uchar* bits_;
    qsizetype stride_;
    int width_, height_;
    QRgb mask_;
    bool dotted_;
    unsigned phase_ = 0;
};

QPolygon polygonOf(const std::vector<Point>& points, Point offset, const QTransform& t)
{
    QPolygon out;
    out.reserve(static_cast<int>(points.size()));
    for (Point p : points) {
        const QPoint px = t.map(QPointF(p.x + offset.x, p.y + offset.y)).toPoint();
        if (out.isEmpty() || px != out.back())
            out.append(px);
    }
    return out;
}

void drawOne(QImage& image, const QTransform& t, const Preview& preview)
{
    const QColor colour = colourOf(preview.colour);
    const QRgb mask = ~colour.rgb() & 0x00ffffffu;
    const Point d = preview.offset;
    Hairlines hair(image, mask, preview.dotted);
    std::unique_ptr<QPainter> painter; // only for wide pens and dots
    auto wide = [&]() -> QPainter& {
        if (!painter) {
            painter = std::make_unique<QPainter>(&image);
            painter->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        }
        return *painter;
    };
    for (const PreviewStroke& s : preview.strokes) {
        const bool dot = !s.points.empty() && std::all_of(s.points.begin(), s.points.end(),
                                                         [&](Point p) { return p == s.points.front(); });
        if (dot) {
            // A dot as wide as the pen (the stroke font's dots are two equal points).
            const double r = s.widthUnits / 2.0 * t.m11();
            QPainter& p = wide();
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(t.map(QPointF(s.points[0].x + d.x, s.points[0].y + d.y)), r, r);
            continue;
        }
        const QPolygon polygon = polygonOf(s.points, d, t);
        if (s.widthUnits == 0 || s.widthUnits * t.m11() <= 1.0) {
            hair.polyline(polygon, s.closed);
            continue;
        }
        QPainter& p = wide();
        p.setPen(QPen(colour, s.widthUnits * t.m11(), preview.dotted ? Qt::DotLine : Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        if (s.closed)
            p.drawPolygon(polygon);
        else
            p.drawPolyline(polygon);
    }
    for (const AnchoredLine& l : preview.lines)
        hair.segment(t.map(QPointF(l.moving.x + d.x, l.moving.y + d.y)).toPoint(),
                     t.map(QPointF(l.fixed.x, l.fixed.y)).toPoint(), false);
}

} // namespace

void DrawPreviews(QImage& image, const QTransform& boardToImage, const Previews& previews)
{
    // Backwards through the erase order: the start dot lies under the rest.
    for (size_t i = kPreviewKinds; i-- > 0;) {
        const Preview& p = previews[static_cast<PreviewKind>(i)];
        if (p.drawn)
            drawOne(image, boardToImage, p);
    }
}

} // namespace kestrel
