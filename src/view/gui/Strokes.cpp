#include "view/gui/Strokes.h"

#include "geometry/SegmentClip.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

// Cuts a segment to a rectangle (Liang-Barsky); false when nothing is left.
bool clipSegment(QLineF& line, const QRectF& r)
{
    double t0 = 0, t1 = 1;
    if (!clipSegmentToRect(line.x1(), line.y1(), line.dx(), line.dy(), r.left(), r.top(), r.right(), r.bottom(), t0, t1))
        return false;
    const QPointF a = line.pointAt(t0), b = line.pointAt(t1);
    line = QLineF(a, b);
    return true;
}

} // namespace

double deviceScale(const QPainter& painter)
{
    return std::sqrt(std::abs(painter.deviceTransform().determinant()));
}

QRectF visibleArea(const QPainter& painter)
{
    if (painter.hasClipping())
        return painter.clipBoundingRect();
    const QPaintDevice* device = painter.device();
    if (!device || device->width() <= 0 || device->height() <= 0) {
        constexpr double far = 1e12; // beyond any board coordinate, yet finite for QRectF's sums
        return QRectF(-far, -far, 2 * far, 2 * far);
    }
    return painter.deviceTransform().inverted().mapRect(QRectF(0, 0, device->width(), device->height()));
}

void segmentsInside(const QPointF* points, int count, bool closed, const QRectF& area, std::vector<QLineF>& out)
{
    out.clear();
    auto add = [&](QPointF a, QPointF b) {
        QLineF line(a, b);
        if (clipSegment(line, area))
            out.push_back(line);
    };
    for (int i = 1; i < count; ++i)
        add(points[i - 1], points[i]);
    if (closed && count > 2)
        add(points[count - 1], points[0]);
}

void arcCorners(const QPointF& centre, double radius, int startDegrees, int spanDegrees, double pxPerUnit,
                std::vector<QPointF>& out)
{
    const double radiusPx = std::max(radius * pxPerUnit, 0.5);
    const double stepRad = 2 * std::acos(std::max(-1.0, 1 - 0.25 / radiusPx));
    const double spanRad = spanDegrees * M_PI / 180;
    const int steps = std::clamp(static_cast<int>(std::ceil(spanRad / stepRad)), 2, 720);
    const double startRad = startDegrees * M_PI / 180;
    out.clear();
    for (int i = 0; i <= steps; ++i) {
        const double a = startRad + spanRad * i / steps;
        out.emplace_back(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
    }
}

} // namespace kestrel
