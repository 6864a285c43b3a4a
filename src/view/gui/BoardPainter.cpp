#include "view/gui/BoardPainter.h"

#include "geometry/Figures.h"
#include "geometry/Geometry.h"
#include "view/GridChoice.h"
#include "view/gui/Strokes.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace kestrel {

namespace {

QPointF toPointF(Point p)
{
    return QPointF(p.x, p.y);
}

// Corners of a track or zone, converted into one reused buffer.
const std::vector<QPointF>& cornerPoints(const LayoutObject& o)
{
    thread_local std::vector<QPointF> buffer;
    buffer.clear();
    buffer.reserve(o.Points.size());
    for (const Point& p : o.Points)
        buffer.push_back(toPointF(p));
    return buffer;
}

// A circle or ring as an arc (or a chord when filled) on its centre-line
// radius, with a pen as wide as the ring; grown by c for the clearance.
void drawCircleFigure(FigureSink& sink, const LayoutObject& circle, const QColor& colour, int32_t c)
{
    const ArcStroke stroke = arcStroke(circle, c);
    sink.strokeArc(toPointF(circle.centre()), stroke.centreRadius, circle.arcStartDegrees() % 360,
                   arcSpanDegrees(circle), stroke.widthUnits, circle.Filled != 0, colour);
}

void drawPolyFigure(FigureSink& sink, const LayoutObject& o, const QColor& colour, int32_t penWidth, bool filled)
{
    const auto& pts = cornerPoints(o);
    const int count = static_cast<int>(pts.size());
    if (filled)
        sink.fillPolygon(pts.data(), count, colour);
    sink.strokePolyline(pts.data(), count, filled, penWidth, colour);
}

void drawCornerMarks(FigureSink& sink, const LayoutObject& o)
{
    const double radius = std::max(o.widthUnits() / 2, kDefaultHalfWidth);
    for (const Point& p : o.Points)
        sink.rimmedDisc(toPointF(p), radius, BoardColours::Marks, BoardColours::Marks);
}

void drawSegment(FigureSink& sink, Point a, Point b, int32_t widthUnits, const QColor& colour)
{
    const QPointF ends[2] = {toPointF(a), toPointF(b)};
    sink.strokePolyline(ends, 2, false, widthUnits, colour);
}

struct KindStyle {
    QColor colour;
    QColor holeColour;
    int32_t padEnlargement = 0;
    bool routedBlue = false;  // autorouted tracks show blue on screen
    bool cornerMarks = false; // selected, ungrouped zones and tracks
};

void drawKind(FigureSink& sink, const LayoutObject& o, const KindStyle& style)
{
    switch (o.kind()) {
    case ObjectKind::Line:
        drawSegment(sink, o.start(), o.end(), o.widthUnits(), style.colour);
        break;
    case ObjectKind::Pad:
        DrawPadShape(sink, o, style.padEnlargement, style.colour, style.holeColour);
        break;
    case ObjectKind::Text:
        sink.label(o, style.colour);
        break;
    case ObjectKind::Zone:
        if (o.Points.size() < 2)
            break;
        drawPolyFigure(sink, o, style.colour, o.widthUnits(), o.FillOn != 0);
        if (style.cornerMarks)
            drawCornerMarks(sink, o);
        break;
    case ObjectKind::Track:
        if (o.Points.size() < 2)
            break;
        drawPolyFigure(sink, o, style.routedBlue && o.Routed ? BoardColours::Marks : style.colour, o.widthUnits(),
                       false);
        if (style.cornerMarks)
            drawCornerMarks(sink, o);
        break;
    case ObjectKind::Circle:
        drawCircleFigure(sink, o, style.colour, 0);
        break;
    }
}

QColor screenColour(const LayoutObject& o, int activeLayer, bool selected)
{
    QColor c = selected ? BoardColours::Selected
                          : (Layer::isCopper(o.Layer) ? BoardColours::Copper : BoardColours::Silk);
    if (o.Layer >= 1 && o.Layer <= 4 && Layer::isSide1(o.Layer) != Layer::isSide1(activeLayer))
        c = BoardColours::OtherSide;
    return c;
}

void drawObject(FigureSink& sink, const LayoutObject& o, int activeLayer, bool showSelection)
{
    const bool selected = showSelection && o.Selected;
    KindStyle style;
    style.colour = screenColour(o, activeLayer, selected);
    style.holeColour = o.Partner ? BoardColours::ViaHole : BoardColours::Hole;
    style.routedBlue = !selected;
    style.cornerMarks = selected && o.Groups.empty();
    drawKind(sink, o, style);
}

bool qualifies(const LayoutObject& o, const Rect& clip)
{
    return o.Layer >= 5 || BoundingRect(o).overlaps(clip);
}

// The objects of one layer that are drawn, each part in list order: the
// pads apart, as they are drawn over the rest.
struct LayerObjects {
    std::vector<const LayoutObject*> others, pads;
    void add(const LayoutObject* o, bool pad) { (pad ? pads : others).push_back(o); }
};

// Asks for the cache lines of `bytes` bytes from `first` to be loaded.
void prefetch(const void* first, size_t bytes)
{
#if defined(__GNUC__)
    for (size_t line = 0; line < bytes; line += 64)
        __builtin_prefetch(static_cast<const char*>(first) + line);
#else
    (void)first, (void)bytes;
#endif
}

// Calls draw for each object in turn. The objects lie scattered over the
// heap, and drawing one reads a few of its cache lines and its corners: the
// next objects are fetched while one is drawn, so the waits overlap.
template <typename Draw>
void drawInOrder(const std::vector<const LayoutObject*>& objects, Draw draw)
{
    constexpr size_t kObjectsAhead = 8, kCornersAhead = 4, kCornerBytes = 256;
    const size_t n = objects.size();
    for (size_t i = 0; i < n; ++i) {
        if (i + kObjectsAhead < n)
            prefetch(objects[i + kObjectsAhead], sizeof(LayoutObject));
        // A fixed stretch of corners: the list's length lies in the very
        // block being fetched, and reading it would wait for the fetch.
        if (i + kCornersAhead < n)
            if (const Point* corners = objects[i + kCornersAhead]->Points.data())
                prefetch(corners, kCornerBytes);
        draw(*objects[i]);
    }
}

// Clearances, then everything but pads, then the pads of one layer.
void drawLayerObjects(FigureSink& sink, const LayerObjects& drawn, const LayerState& layers, int layer)
{
    const bool clearances = (layer == 1 || layer == 3) &&
                            Layer::isSide1(layer) == layers.activeSideIs1() && layers.activeGroundPlane();
    // The clearances are all white, so their order does not change a pixel.
    if (clearances)
        for (const auto* part : {&drawn.others, &drawn.pads})
            for (const LayoutObject* o : *part)
                DrawClearance(sink, *o);
    for (const auto* part : {&drawn.others, &drawn.pads})
        drawInOrder(*part, [&](const LayoutObject& o) {
            drawObject(sink, o, layers.activeLayer, layers.showSelection);
        });
}

// Rubber bands of one pad; with a clip only those whose extent meets it,
// and none to a pad for which drawnLater(q) holds.
template <typename DrawnLater>
void drawBands(FigureSink& sink, const LayoutObject& pad, int32_t dx, int32_t dy, bool autorouterTool,
               const Rect* clip, DrawnLater drawnLater)
{
    if (!pad.is(ObjectKind::Pad))
        return;
    const Point from{pad.centre().x + dx, pad.centre().y + dy};
    for (const LayoutObject* q : pad.Connections) {
        if (!q || drawnLater(*q))
            continue;
        const Point to = q->Selected ? Point{q->centre().x + dx, q->centre().y + dy} : q->centre();
        if (clip && !Rect{from.x, from.y, to.x, to.y}.normalised().grown(1).overlaps(*clip))
            continue;
        const bool highlighted = autorouterTool && pad.Selected && q->Selected;
        const QLineF band(toPointF(from), toPointF(to));
        sink.hairlines(&band, 1, 1, highlighted ? BoardColours::Selected : BoardColours::Marks);
    }
}

// Every rubber band of the board. A band sits in the lists of both its
// pads, so the walk over the pads meets it twice with the same ends and
// colour; it is drawn the second time only, where its pixels landed
// anyway, which spares the longest lines of the board a second walk.
void drawAllBands(FigureSink& sink, const std::vector<const LayoutObject*>& pads, bool autorouterTool,
                  const Rect& clip)
{
    std::vector<std::pair<const LayoutObject*, size_t>> positions;
    positions.reserve(pads.size());
    for (size_t i = 0; i < pads.size(); ++i)
        positions.emplace_back(pads[i], i);
    std::ranges::sort(positions);
    auto positionOf = [&](const LayoutObject* o) -> std::optional<size_t> {
        const auto it = std::ranges::lower_bound(positions, std::pair(o, size_t{0}));
        return it != positions.end() && it->first == o ? std::optional(it->second) : std::nullopt;
    };
    for (size_t i = 0; i < pads.size(); ++i) {
        const LayoutObject* pad = pads[i];
        drawBands(sink, *pad, 0, 0, autorouterTool, &clip, [&](const LayoutObject& q) {
            const std::optional<size_t> later = positionOf(&q);
            return later && *later > i && std::ranges::find(q.Connections, pad) != q.Connections.end();
        });
    }
}

// The qualifying objects of every layer and the pads with rubber bands,
// found in one pass over the list.
struct LayerBuckets {
    std::array<LayerObjects, 7> byLayer;
    std::vector<const LayoutObject*> padsWithBands;
};

LayerBuckets sortByLayer(const ObjectList& objects, const LayerState& layers, const Rect& clip)
{
    LayerBuckets b;
    for (const auto& o : objects) {
        const int layer = o->Layer;
        if (layer >= 1 && layer <= 6 && layers.isVisible(layer) && qualifies(*o, clip))
            b.byLayer[static_cast<size_t>(layer)].add(o.get(), o->is(ObjectKind::Pad));
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
    // Sorted by what the index keeps: the objects themselves are first
    // read when they are drawn.
    for (const uint32_t i : found) {
        const int layer = index.layer(i);
        if (layer >= 1 && layer <= 6 && layers.isVisible(layer))
            b.byLayer[static_cast<size_t>(layer)].add(&index.object(i), index.isPad(i));
    }
    b.padsWithBands = index.padsWithBands();
    return b;
}

void drawBuckets(FigureSink& sink, const LayerBuckets& b, const LayerState& layers)
{
    static constexpr int side2OnTop[] = {1, 2, 3, 4, 5, 6};
    static constexpr int side1OnTop[] = {3, 4, 1, 2, 5, 6};
    for (const int layer : layers.activeLayer >= 3 ? side2OnTop : side1OnTop)
        drawLayerObjects(sink, b.byLayer[static_cast<size_t>(layer)], layers, layer);
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
void fillAround(FigureSink& sink, const QRectF& area, const QRectF& inner, const QColor& colour)
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
            sink.fillRect(part, colour);
}

// The board's colour, and outsideColour beyond it.
void paintBackground(FigureSink& sink, const BoardPaintOptions& options, const Rect& clip)
{
    const int32_t k = roundEven(1.0 / options.zoomPxPerUnit); // one pixel
    const QRectF board(0, -options.boardHeight - k, options.boardWidth + k, options.boardHeight + k);
    if (options.outsideColour.isValid())
        fillAround(sink, QRectF(clip.left, clip.top, double(clip.right) - clip.left, double(clip.bottom) - clip.top),
                   board, options.outsideColour);
    sink.fillRect(board, options.layers.activeGroundPlane() ? BoardColours::GroundPlane : BoardColours::Board);
}

// Everything over the background.
void paintContent(FigureSink& sink, const LayerBuckets& buckets, const BoardPaintOptions& options, const Rect& clip)
{
    if (options.underlay && !options.underlay->isNull())
        sink.image(options.underlayUnits, *options.underlay);
    if (options.gridVisible)
        DrawGrid(sink, options, clip);
    drawBuckets(sink, buckets, options.layers);
    drawAllBands(sink, buckets.padsWithBands, options.autorouterTool, clip);
}

} // namespace

void PaintBoard(FigureSink& sink, const ObjectList& objects, const BoardPaintOptions& options, const Rect& clip)
{
    paintBackground(sink, options, clip);
    paintContent(sink, sortByLayer(objects, options.layers, clip), options, clip);
}

void PaintBoard(QPainter& painter, const ObjectIndex& index, const BoardPaintOptions& options, const Rect& clip)
{
    const std::unique_ptr<FigureSink> sink = makeFigureSink(painter, options.sink);
    const int bands = sink->bandsPaintAlike() ? bandCount(painter, options.paintThreads) : 1;
    if (bands < 2) {
        paintBackground(*sink, options, clip);
        paintContent(*sink, sortByLayer(index, options.layers, clip), options, clip);
        return;
    }
    // The helpers wake while the background is filled; the bands paint
    // over it.
    PaintBands helpers(bands - 1, nullptr, options.helperStart);
    paintBackground(*sink, options, clip);
    // The band's part of the clip, a few pixels wider: label glyphs may
    // reach a little beyond their object's rectangle. Worked out from values
    // read here, as the bands' threads must not touch the caller's painter.
    const QTransform toUnits = painter.deviceTransform().inverted();
    const int32_t k = static_cast<int32_t>(std::ceil(8.0 / deviceScale(painter)));
    if (helpers.paint(painter, [&](QPainter& band, const QRect& device) {
            const QRectF units = toUnits.mapRect(QRectF(device));
            const Rect bandClip{std::max(clip.left, static_cast<int32_t>(std::floor(units.left())) - k),
                                std::max(clip.top, static_cast<int32_t>(std::floor(units.top())) - k),
                                std::min(clip.right, static_cast<int32_t>(std::ceil(units.right())) + k),
                                std::min(clip.bottom, static_cast<int32_t>(std::ceil(units.bottom())) + k)};
            paintContent(*makeFigureSink(band, options.sink), sortByLayer(index, options.layers, bandClip), options,
                         bandClip);
        }))
        return;
    paintContent(*sink, sortByLayer(index, options.layers, clip), options, clip);
}

void DrawGrid(FigureSink& sink, const BoardPaintOptions& options, const Rect& clip)
{
    const GridLines lines = gridLines(options.boardWidth, options.boardHeight, options.gridUnits,
                                      options.zoomPxPerUnit, clip, options.gridMarker);
    const double left = std::max(clip.left, 0), right = std::min(clip.right, options.boardWidth);
    const double top = std::max(clip.top, -options.boardHeight), bottom = std::min(clip.bottom, 0);
    // All thin lines in one call, the markers in another: two pen changes
    // per paint on a painter.
    std::vector<QLineF> thin, markers;
    for (const GridLine& l : lines.horizontal)
        (l.marker ? markers : thin).emplace_back(left, l.position, right, l.position);
    for (const GridLine& l : lines.vertical)
        (l.marker ? markers : thin).emplace_back(l.position, top, l.position, bottom);
    if (!thin.empty())
        sink.hairlines(thin.data(), static_cast<int>(thin.size()), 1, BoardColours::Grid);
    if (!markers.empty())
        sink.hairlines(markers.data(), static_cast<int>(markers.size()), 2, BoardColours::Grid);
}

void DrawLayers(FigureSink& sink, const ObjectList& objects, const LayerState& layers, const Rect& clip)
{
    drawBuckets(sink, sortByLayer(objects, layers, clip), layers);
}

void DrawLayer(FigureSink& sink, const ObjectList& objects, const LayerState& layers, int layer, const Rect& clip)
{
    if (!layers.isVisible(layer))
        return;
    LayerObjects drawn;
    for (const auto& o : objects)
        if (o->Layer == layer && qualifies(*o, clip))
            drawn.add(o.get(), o->is(ObjectKind::Pad));
    drawLayerObjects(sink, drawn, layers, layer);
}

void DrawObject(FigureSink& sink, const LayoutObject& o, int activeLayer)
{
    drawObject(sink, o, activeLayer, true);
}

void DrawObjectInColour(FigureSink& sink, const LayoutObject& o, bool solderMask, const QColor& otherColour,
                        const QColor& copperColour)
{
    KindStyle style;
    style.colour = (o.Layer == 1 || o.Layer == 3) ? copperColour : otherColour;
    style.holeColour = BoardColours::Hole;
    if (solderMask && o.is(ObjectKind::Pad)) {
        style.padEnlargement = kSolderMaskEnlargement;
        style.holeColour = style.colour;
    }
    drawKind(sink, o, style);
}

void DrawClearance(FigureSink& sink, const LayoutObject& o)
{
    const QColor& white = BoardColours::Clearance;
    const int32_t c = o.Clearance;
    switch (o.kind()) {
    case ObjectKind::Line:
        drawSegment(sink, o.start(), o.end(), grownPenWidth(o, c), white);
        break;
    case ObjectKind::Pad:
        DrawPadShape(sink, o, c, white, white);
        break;
    case ObjectKind::Text: {
        const Rect box = Rect{o.start().x, o.start().y, o.end().x, o.end().y}.normalised().grown(c);
        sink.fillRect(QRectF(box.left, box.top, box.right - box.left, box.bottom - box.top), white);
        break;
    }
    case ObjectKind::Zone:
        if (o.Points.size() >= 2)
            drawPolyFigure(sink, o, white, grownPenWidth(o, c), o.FillOn != 0);
        break;
    case ObjectKind::Track:
        if (o.Points.size() >= 2)
            drawPolyFigure(sink, o, white, grownPenWidth(o, c), false);
        break;
    case ObjectKind::Circle:
        drawCircleFigure(sink, o, white, c);
        break;
    }
}

void DrawPadShape(FigureSink& sink, const LayoutObject& pad, int32_t e, const QColor& colour,
                  const QColor& holeColour)
{
    const QPointF centre = toPointF(pad.centre());
    const int32_t r = pad.padOuterRadius(), h = pad.holeRadius();
    if (h == r) {
        // A hole as large as the pad: hole-coloured disc, pad-coloured rim and cross.
        sink.rimmedDisc(centre, h, holeColour, colour);
        const int32_t s = roundEven(r * 0.5);
        const QLineF cross[2] = {QLineF(centre + QPointF(-s, s), centre + QPointF(s, -s)),
                                 QLineF(centre + QPointF(s, s), centre + QPointF(-s, -s))};
        sink.hairlines(cross, 2, 1, colour);
        return;
    }
    const PadFigure f = padFigure(pad, e);
    const QRectF box(centre.x() - f.halfX, centre.y() - f.halfY, 2.0 * f.halfX, 2.0 * f.halfY);
    switch (f.kind) {
    case PadFigureKind::Disc:
        sink.fillDisc(centre, f.halfX, colour);
        break;
    case PadFigureKind::Rectangle:
        sink.fillRect(box, colour);
        break;
    case PadFigureKind::Octagon: {
        std::array<QPointF, 8> corners;
        std::ranges::transform(octagonCorners(f.centre, f.halfX, f.halfY), corners.begin(), toPointF);
        sink.fillPolygon(corners.data(), 8, colour);
        break;
    }
    case PadFigureKind::RoundedRectangle:
        sink.fillRoundedRect(box, f.corner / 2.0, colour);
        break;
    case PadFigureKind::None: // no pad area, only the hole
        break;
    }
    if (h > 0)
        sink.fillDisc(centre, h, holeColour);
}

void DrawRubberBands(FigureSink& sink, const LayoutObject& pad, int32_t dx, int32_t dy, bool autorouterTool)
{
    drawBands(sink, pad, dx, dy, autorouterTool, nullptr, [](const LayoutObject&) { return false; });
}

} // namespace kestrel
