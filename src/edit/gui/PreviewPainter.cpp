#include "edit/gui/PreviewPainter.h"

#include <QPainter>
#include <QPolygon>

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

QPolygon polygonOf(const std::vector<Point>& points, Point offset)
{
    QPolygon out;
    out.reserve(static_cast<int>(points.size()));
    for (Point p : points)
        out.append(QPoint(p.x + offset.x, p.y + offset.y));
    return out;
}

void drawOne(QPainter& painter, const Preview& preview)
{
    const QColor colour = colourOf(preview.colour);
    const Point d = preview.offset;
    for (const PreviewStroke& s : preview.strokes) {
        if (s.points.size() == 1) {
            // A dot as wide as the pen.
            const double r = s.widthUnits / 2.0;
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(s.points[0].x + d.x, s.points[0].y + d.y), r, r);
            continue;
        }
        QPen pen(colour, s.widthUnits, preview.dotted ? Qt::DotLine : Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        pen.setCosmetic(s.widthUnits == 0);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (s.closed)
            painter.drawPolygon(polygonOf(s.points, d));
        else
            painter.drawPolyline(polygonOf(s.points, d));
    }
    QPen band(colour, 0, preview.dotted ? Qt::DotLine : Qt::SolidLine);
    band.setCosmetic(true);
    painter.setPen(band);
    for (const AnchoredLine& l : preview.lines)
        painter.drawLine(QPoint(l.moving.x + d.x, l.moving.y + d.y), QPoint(l.fixed.x, l.fixed.y));
}

} // namespace

void DrawPreviews(QPainter& painter, const Previews& previews)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    // Erase order backwards: the start dot lies under everything else.
    for (size_t i = kPreviewKinds; i-- > 0;) {
        const Preview& p = previews[static_cast<PreviewKind>(i)];
        if (p.drawn)
            drawOne(painter, p);
    }
    painter.restore();
}

} // namespace kestrel
