#include "view/gui/BoardPainter.h"

#include "geometry/Geometry.h"
#include "view/GridChoice.h"
#include "view/gui/BandedPaint.h"
#include "view/gui/LabelPainter.h"
#include "view/gui/PixelLines.h"
#include "view/gui/Strokes.h"

#include <QPainter>
#include <QPen>
#include <QPointF>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace kestrel {

namespace {

QPen onePixelPen(const QColor& colour)
{
    QPen pen(colour, 0);
    pen.setCosmetic(true);
    return pen;
}

// Corners of a track or zone, converted into one reused buffer.
const std::vector<QPointF>& cornerPoints(const LayoutObject& o, int32_t dx = 0, int32_t dy = 0)
{
    thread_local std::vector<QPointF> buffer;
    buffer.clear();
    buffer.reserve(o.Points.size());
    for (const Point& p : o.Points)
        buffer.emplace_back(p.x + dx, p.y + dy);
    return buffer;
}

// The arc of a circle: counter-clockwise from the start angle (Angle) to the
// stop angle (Width); equal angles give the full circle.
int arcSpan(const LayoutObject& c)
{
    const int span = ((c.Width - c.Angle) % 360 + 360) % 360;
    return span == 0 ? 360 : span;
}

// A circle or ring as an arc (or a chord when filled) on its middle radius,
// with a pen as wide as the ring; widened by e for the clearance.
void drawCircleFigure(QPainter& painter, const LayoutObject& c, const QColor& colour, int32_t e)
{
    const int32_t penWidth = std::max(0, c.X2 - c.Y2) + 2 * e;
    const int32_t rm = c.X2 - roundEven(penWidth / 2.0) + e;
    strokeArc(painter, colour, penWidth, QPointF(c.X1, c.Y1), rm, c.Angle % 360, arcSpan(c), c.Filled != 0);
}

void drawPolyFigure(QPainter& painter, const LayoutObject& o, const QColor& colour, int32_t penWidth, bool filled)
{
    const auto& pts = cornerPoints(o);
    if (filled) {
        fillPolygon(painter, colour, penWidth, pts.data(), static_cast<int>(pts.size()));
    } else {
        painter.setBrush(Qt::NoBrush);
        strokePolyline(painter, colour, penWidth, pts.data(), static_cast<int>(pts.size()));
    }
}

void drawCornerMarks(QPainter& painter, const LayoutObject& o)
{
    const double radius = std::max(o.Width / 2, 20);
    painter.setPen(onePixelPen(BoardColours::Marks));
    painter.setBrush(BoardColours::Marks);
    for (const Point& p : o.Points)
        painter.drawEllipse(QPointF(p.x, p.y), radius, radius);
}

struct KindStyle {
    QColor colour;
    QColor holeColour;
    int32_t padEnlargement = 0;
    bool routedBlue = false;  // autorouted tracks show blue on screen
    bool cornerMarks = false; // selected, ungrouped zones and tracks
};

void drawKind(QPainter& painter, const LayoutObject& o, const KindStyle& style)
{
    switch (o.kind()) {
    case ObjectKind::Line:
        strokeLine(painter, style.colour, o.Width, QPointF(o.X1, o.Y1), QPointF(o.X2, o.Y2));
        break;
    case ObjectKind::Pad:
        DrawPadShape(painter, style.colour, style.padEnlargement, o.Shape, o.X2, o.Y2, {o.X1, o.Y1},
                     style.holeColour);
        break;
    case ObjectKind::Text:
        drawLabel(painter, o, style.colour);
        break;
    case ObjectKind::Zone:
        if (o.Points.size() < 2)
            break;
        drawPolyFigure(painter, o, style.colour, o.Width, o.FillOn != 0);
        if (style.cornerMarks)
            drawCornerMarks(painter, o);
        break;
    case ObjectKind::Track:
        if (o.Points.size() < 2)
            break;
        drawPolyFigure(painter, o, style.routedBlue && o.Routed ? BoardColours::Marks : style.colour, o.Width, false);
        if (style.cornerMarks)
            drawCornerMarks(painter, o);
        break;
    case ObjectKind::Circle:
        drawCircleFigure(painter, o, style.colour, 0);
        break;
    }
}

// Pads up to this many device pixels across are filled by the pixel writer;
// larger curves are left to the painter, whose curves are flattened.
constexpr double kSmallPadPx = 32.0;

std::optional<PixelLines> smallPadPixels(QPainter& painter, const QColor& colour, double halfExtentUnits)
{
    if (2 * halfExtentUnits * deviceScale(painter) > kSmallPadPx)
        return std::nullopt;
    return PixelLines::forPainter(painter, colour);
}

QColor screenColour(const LayoutObject& o, int activeLayer)
{
    QColor c = o.Selected ? BoardColours::Selected
                          : (Layer::isCopper(o.Layer) ? BoardColours::Copper : BoardColours::Silk);
    if (o.Layer >= 1 && o.Layer <= 4 && Layer::isSide1(o.Layer) != Layer::isSide1(activeLayer))
        c = BoardColours::OtherSide;
    return c;
}

} // namespace

namespace {

bool qualifies(const LayoutObject& o, const Rect& clip)
{
    return o.Layer >= 5 || BoundingRect(o).overlaps(clip);
}

// Clearances, then everything but pads, then the pads of one layer.
void drawLayerObjects(QPainter& painter, const std::vector<const LayoutObject*>& drawn, const LayerState& layers,
                      int layer)
{
    const bool clearances = (layer == 1 || layer == 3) &&
                            Layer::isSide1(layer) == layers.activeSideIs1() && layers.activeGroundPlane();
    if (clearances)
        for (const LayoutObject* o : drawn)
            DrawClearance(painter, *o);
    for (const LayoutObject* o : drawn)
        if (!o->is(ObjectKind::Pad))
            DrawObject(painter, *o, layers.activeLayer);
    for (const LayoutObject* o : drawn)
        if (o->is(ObjectKind::Pad))
            DrawObject(painter, *o, layers.activeLayer);
}

// Rubber bands of one pad; with a clip only those whose extent meets it.
void drawBands(QPainter& painter, const LayoutObject& pad, int32_t dx, int32_t dy, bool autorouterTool,
               const Rect* clip)
{
    if (!pad.is(ObjectKind::Pad))
        return;
    const Point from{pad.X1 + dx, pad.Y1 + dy};
    for (const LayoutObject* q : pad.Connections) {
        if (!q)
            continue;
        const Point to = q->Selected ? Point{q->X1 + dx, q->Y1 + dy} : Point{q->X1, q->Y1};
        if (clip && !Rect{from.x, from.y, to.x, to.y}.normalised().grown(1).overlaps(*clip))
            continue;
        const bool highlighted = autorouterTool && pad.Selected && q->Selected;
        strokeLine(painter, highlighted ? BoardColours::Selected : BoardColours::Marks, 0, QPointF(from.x, from.y),
                   QPointF(to.x, to.y));
    }
}

// The qualifying objects of every layer and the pads with rubber bands,
// found in one pass over the list.
struct LayerBuckets {
    std::array<std::vector<const LayoutObject*>, 7> byLayer;
    std::vector<const LayoutObject*> padsWithBands;
};

LayerBuckets sortByLayer(const ObjectList& objects, const LayerState& layers, const Rect& clip)
{
    LayerBuckets b;
    for (const auto& o : objects) {
        const int layer = o->Layer;
        if (layer >= 1 && layer <= 6 && layers.isVisible(layer) && qualifies(*o, clip))
            b.byLayer[static_cast<size_t>(layer)].push_back(o.get());
        if (!o->Connections.empty() && o->is(ObjectKind::Pad))
            b.padsWithBands.push_back(o.get());
    }
    return b;
}

LayerBuckets sortByLayer(const ObjectIndex& index, const LayerState& layers, const Rect& clip)
{
    thread_local std::vector<uint32_t> found;
    index.query(clip, found);
    LayerBuckets b;
    for (const uint32_t i : found) {
        const LayoutObject& o = index.object(i);
        const int layer = o.Layer;
        if (layer >= 1 && layer <= 6 && layers.isVisible(layer))
            b.byLayer[static_cast<size_t>(layer)].push_back(&o);
    }
    b.padsWithBands = index.padsWithBands();
    return b;
}

void drawBuckets(QPainter& painter, const LayerBuckets& b, const LayerState& layers)
{
    static constexpr int side2OnTop[] = {1, 2, 3, 4, 5, 6};
    static constexpr int side1OnTop[] = {3, 4, 1, 2, 5, 6};
    for (const int layer : layers.activeLayer >= 3 ? side2OnTop : side1OnTop)
        drawLayerObjects(painter, b.byLayer[static_cast<size_t>(layer)], layers, layer);
}

} // namespace

LayerState LayerState::of(const BoardSettings& s)
{
    LayerState l;
    l.activeLayer = static_cast<int>(s.ActiveLayer);
    for (size_t i = 0; i < 4; ++i)
        l.visible[i] = s.LayerVisible[i] != 0;
    l.groundPlane1 = s.GroundPlane1 != 0;
    l.groundPlane2 = s.GroundPlane2 != 0;
    return l;
}

bool LayerState::isVisible(int layer) const
{
    if (layer >= 1 && layer <= 4)
        return visible[static_cast<size_t>(layer - 1)];
    return layer == 5 || layer == 6;
}

BoardPaintOptions BoardPaintOptions::of(const BoardSettings& s)
{
    BoardPaintOptions o;
    o.layers = LayerState::of(s);
    o.boardWidth = s.BoardWidth;
    o.boardHeight = s.BoardHeight;
    o.zoomPxPerUnit = s.Zoom;
    o.gridUnits = s.Grid;
    return o;
}

QTransform boardTransform(double zoom, double scrollX, double scrollY)
{
    return QTransform(zoom, 0, 0, -zoom, -scrollX, -scrollY);
}

namespace {

// The parts of area outside inner, so no pixel is filled twice.
void fillAround(QPainter& painter, const QRectF& area, const QRectF& inner, const QColor& colour)
{
    const double top = std::max(area.top(), inner.top()), bottom = std::min(area.bottom(), inner.bottom());
    const QRectF parts[] = {
        QRectF(QPointF(area.left(), area.top()), QPointF(area.right(), std::min(area.bottom(), inner.top()))),
        QRectF(QPointF(area.left(), std::max(area.top(), inner.bottom())), QPointF(area.right(), area.bottom())),
        QRectF(QPointF(area.left(), top), QPointF(std::min(area.right(), inner.left()), bottom)),
        QRectF(QPointF(std::max(area.left(), inner.right()), top), QPointF(area.right(), bottom)),
    };
    for (const QRectF& part : parts)
        if (part.width() > 0 && part.height() > 0)
            painter.fillRect(part, colour);
}

void paintBuckets(QPainter& painter, const LayerBuckets& buckets, const BoardPaintOptions& options, const Rect& clip)
{
    const PixelLinesScope sameTarget(painter);
    const int32_t k = roundEven(1.0 / options.zoomPxPerUnit);
    const QRectF board(0, -options.boardHeight - k, options.boardWidth + k, options.boardHeight + k);
    if (options.outsideColour.isValid())
        fillAround(painter, QRectF(clip.left, clip.top, double(clip.right) - clip.left, double(clip.bottom) - clip.top),
                   board, options.outsideColour);
    painter.fillRect(board, options.layers.activeGroundPlane() ? BoardColours::GroundPlane : BoardColours::Board);
    if (options.gridVisible)
        DrawGrid(painter, options, clip);
    drawBuckets(painter, buckets, options.layers);
    for (const LayoutObject* pad : buckets.padsWithBands)
        drawBands(painter, *pad, 0, 0, options.autorouterTool, &clip);
}

} // namespace

void PaintBoard(QPainter& painter, const ObjectList& objects, const BoardPaintOptions& options, const Rect& clip)
{
    paintBuckets(painter, sortByLayer(objects, options.layers, clip), options, clip);
}

void PaintBoard(QPainter& painter, const ObjectIndex& index, const BoardPaintOptions& options, const Rect& clip)
{
    const int bands = bandCount(painter, options.paintThreads);
    // The band's part of the clip, a few pixels wider: label glyphs may
    // reach a little beyond their object's rectangle. Worked out from values
    // read here, as the bands' threads must not touch the caller's painter.
    const QTransform toUnits = painter.deviceTransform().inverted();
    const int32_t k = static_cast<int32_t>(std::ceil(8.0 / deviceScale(painter)));
    if (bands > 1 && paintInBands(painter, bands, [&](QPainter& band, const QRect& device) {
            const QRectF units = toUnits.mapRect(QRectF(device));
            const Rect bandClip{std::max(clip.left, static_cast<int32_t>(std::floor(units.left())) - k),
                                std::max(clip.top, static_cast<int32_t>(std::floor(units.top())) - k),
                                std::min(clip.right, static_cast<int32_t>(std::ceil(units.right())) + k),
                                std::min(clip.bottom, static_cast<int32_t>(std::ceil(units.bottom())) + k)};
            paintBuckets(band, sortByLayer(index, options.layers, bandClip), options, bandClip);
        }))
        return;
    paintBuckets(painter, sortByLayer(index, options.layers, clip), options, clip);
}

void DrawGrid(QPainter& painter, const BoardPaintOptions& options, const Rect& clip)
{
    const GridLines lines = gridLines(options.boardWidth, options.boardHeight, options.gridUnits,
                                      options.zoomPxPerUnit, clip, options.gridMarker);
    if (lines.horizontal.empty() && lines.vertical.empty())
        return;
    const double left = std::max(clip.left, 0), right = std::min(clip.right, options.boardWidth);
    const double top = std::max(clip.top, -options.boardHeight), bottom = std::min(clip.bottom, 0);
    if (auto pixels = PixelLines::forPainter(painter, BoardColours::Grid)) {
        for (const GridLine& l : lines.horizontal)
            pixels->drawSegment(QLineF(left, l.position, right, l.position), l.marker ? 2 : 1);
        for (const GridLine& l : lines.vertical)
            pixels->drawSegment(QLineF(l.position, top, l.position, bottom), l.marker ? 2 : 1);
        return;
    }
    QPen thin = onePixelPen(BoardColours::Grid);
    QPen thick = thin;
    thick.setWidth(2);
    // All thin lines first, then the markers: two pen changes per paint.
    for (const bool marker : {false, true}) {
        painter.setPen(marker ? thick : thin);
        for (const GridLine& l : lines.horizontal)
            if (l.marker == marker)
                painter.drawLine(QPointF(left, l.position), QPointF(right, l.position));
        for (const GridLine& l : lines.vertical)
            if (l.marker == marker)
                painter.drawLine(QPointF(l.position, top), QPointF(l.position, bottom));
    }
}

void DrawLayers(QPainter& painter, const ObjectList& objects, const LayerState& layers, const Rect& clip)
{
    drawBuckets(painter, sortByLayer(objects, layers, clip), layers);
}

void DrawLayer(QPainter& painter, const ObjectList& objects, const LayerState& layers, int layer, const Rect& clip)
{
    if (!layers.isVisible(layer))
        return;
    std::vector<const LayoutObject*> drawn;
    for (const auto& o : objects)
        if (o->Layer == layer && qualifies(*o, clip))
            drawn.push_back(o.get());
    drawLayerObjects(painter, drawn, layers, layer);
}

void DrawObject(QPainter& painter, const LayoutObject& o, int activeLayer)
{
    KindStyle style;
    style.colour = screenColour(o, activeLayer);
    style.holeColour = o.Partner ? BoardColours::ViaHole : BoardColours::Hole;
    style.routedBlue = !o.Selected;
    style.cornerMarks = o.Selected && o.Groups.empty();
    drawKind(painter, o, style);
}

void DrawObjectInColour(QPainter& painter, const LayoutObject& o, bool solderMask, const QColor& otherColour,
                        const QColor& copperColour)
{
    KindStyle style;
    style.colour = (o.Layer == 1 || o.Layer == 3) ? copperColour : otherColour;
    style.holeColour = BoardColours::Hole;
    if (solderMask && o.is(ObjectKind::Pad)) {
        style.padEnlargement = 30;
        style.holeColour = style.colour;
    }
    drawKind(painter, o, style);
}

void DrawClearance(QPainter& painter, const LayoutObject& o)
{
    const QColor& white = BoardColours::Clearance;
    const int32_t c = o.Clearance;
    switch (o.kind()) {
    case ObjectKind::Line:
        strokeLine(painter, white, o.Width + 2 * c, QPointF(o.X1, o.Y1), QPointF(o.X2, o.Y2));
        break;
    case ObjectKind::Pad:
        DrawPadShape(painter, white, c, o.Shape, o.X2, o.Y2, {o.X1, o.Y1}, white);
        break;
    case ObjectKind::Text: {
        const Rect box = Rect{o.X1, o.Y1, o.X2, o.Y2}.normalised().grown(c);
        painter.fillRect(QRectF(box.left, box.top, box.right - box.left, box.bottom - box.top), white);
        break;
    }
    case ObjectKind::Zone:
        if (o.Points.size() >= 2)
            drawPolyFigure(painter, o, white, o.Width + 2 * c, o.FillOn != 0);
        break;
    case ObjectKind::Track:
        if (o.Points.size() >= 2)
            drawPolyFigure(painter, o, white, o.Width + 2 * c, false);
        break;
    case ObjectKind::Circle:
        drawCircleFigure(painter, o, white, c);
        break;
    }
}

void DrawPadShape(QPainter& painter, const QColor& colour, int32_t e, int shape, int32_t r, int32_t h, Point centre,
                  const QColor& holeColour)
{
    const double x = centre.x, y = centre.y;
    if (h == r) {
        // A hole as large as the pad: hole-coloured disc, pad-coloured rim and cross.
        painter.setPen(onePixelPen(colour));
        painter.setBrush(holeColour);
        painter.drawEllipse(QPointF(x, y), h, h);
        const int32_t s = roundEven(r * 0.5);
        painter.drawLine(QPointF(x - s, y + s), QPointF(x + s, y - s));
        painter.drawLine(QPointF(x + s, y + s), QPointF(x - s, y - s));
        return;
    }
    const double R = r + e;
    const double L = 2.0 * r + e;
    const double corner = roundEven(1.5 * R) / 2.0;
    const double c = roundEven(R * 0.585);
    auto octagonCorners = [&](double a, double b) {
        return std::array<QPointF, 8>{QPointF{x - a, y + b - c}, {x - a + c, y + b}, {x + a - c, y + b},
                                      {x + a, y + b - c},        {x + a, y - b + c}, {x + a - c, y - b},
                                      {x - a + c, y - b},        {x - a, y - b + c}};
    };
    if (auto pixels = smallPadPixels(painter, colour, std::max<double>(L, h))) {
        auto disc = [&](PixelLines& writer, const QColor& discColour, double radius) {
            if (!writer.fillEllipse(QPointF(x, y), radius, radius)) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(discColour);
                painter.drawEllipse(QPointF(x, y), radius, radius);
            }
        };
        switch (shape) {
        case 1: disc(*pixels, colour, R); break;
        case 2: pixels->fillPolygon(octagonCorners(R, R).data(), 8); break;
        case 3: pixels->fillRect(QRectF(x - R, y - R, 2 * R, 2 * R)); break;
        case 4: pixels->fillRoundedRect(QRectF(x - L, y - R, 2 * L, 2 * R), corner); break;
        case 5: pixels->fillPolygon(octagonCorners(L, R).data(), 8); break;
        case 6: pixels->fillRect(QRectF(x - L, y - R, 2 * L, 2 * R)); break;
        case 7: pixels->fillRoundedRect(QRectF(x - R, y - L, 2 * R, 2 * L), corner); break;
        case 8: pixels->fillPolygon(octagonCorners(R, L).data(), 8); break;
        case 9: pixels->fillRect(QRectF(x - R, y - L, 2 * R, 2 * L)); break;
        default: break;
        }
        if (h > 0 && holeColour.alpha() == 255) {
            PixelLines hole = pixels->inColour(holeColour);
            disc(hole, holeColour, h);
        } else if (h > 0) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(holeColour);
            painter.drawEllipse(QPointF(x, y), h, h);
        }
        return;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    auto octagon = [&](double a, double b) { painter.drawPolygon(octagonCorners(a, b).data(), 8); };
    switch (shape) {
    case 1: painter.drawEllipse(QPointF(x, y), R, R); break;
    case 2: octagon(R, R); break;
    case 3: painter.drawRect(QRectF(x - R, y - R, 2 * R, 2 * R)); break;
    case 4: painter.drawRoundedRect(QRectF(x - L, y - R, 2 * L, 2 * R), corner, corner); break;
    case 5: octagon(L, R); break;
    case 6: painter.drawRect(QRectF(x - L, y - R, 2 * L, 2 * R)); break;
    case 7: painter.drawRoundedRect(QRectF(x - R, y - L, 2 * R, 2 * L), corner, corner); break;
    case 8: octagon(R, L); break;
    case 9: painter.drawRect(QRectF(x - R, y - L, 2 * R, 2 * L)); break;
    default: break; // no pad area, only the hole
    }
    if (h > 0) {
        painter.setBrush(holeColour);
        painter.drawEllipse(QPointF(x, y), h, h);
    }
}

void DrawRubberBands(QPainter& painter, const LayoutObject& pad, int32_t dx, int32_t dy, bool autorouterTool)
{
    drawBands(painter, pad, dx, dy, autorouterTool, nullptr);
}

} // namespace kestrel
