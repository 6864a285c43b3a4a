#include "output/gui/PrintRender.h"

#include "geometry/Geometry.h"
#include "model/Units.h"
#include "view/gui/BoardPainter.h"
#include "view/gui/LabelPainter.h"
#include "view/gui/PainterSink.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kestrel {

namespace {

constexpr int32_t kTargetArm = 1000;       // 10 mm each way
constexpr int32_t kDrillCross = 30;        // half the drill cross
constexpr int32_t kDrillTextHeight = 180;  // cell height of the diameter
constexpr int32_t kDrillTextAbove = 200;   // its top above the hole centre

QColor rgb(uint32_t c) { return QColor(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF); }

// Labels in a mirrored print stay readable: the glyphs are not mirrored,
// and the label starts at the other end of its box, so it covers the
// mirror image of the box at every angle.
class PrintSink final : public PainterSink {
public:
    PrintSink(QPainter& painter, bool mirrored) : PainterSink(painter), mirrored_(mirrored) {}

    void label(const LayoutObject& text, const QColor& colour) override
    {
        if (!mirrored_) {
            PainterSink::label(text, colour);
            return;
        }
        LayoutObject moved = text;
        moved.X1 = text.X2;
        const QTransform saved = painter_.transform();
        painter_.translate(moved.X1, 0);
        painter_.scale(-1, 1);
        painter_.translate(-moved.X1, 0);
        drawLabel(painter_, moved, colour);
        painter_.setTransform(saved);
    }

private:
    bool mirrored_;
};

void printTargets(FigureSink& sink, const PrintJob& job)
{
    std::vector<QLineF> arms;
    for (const QPointF c : {QPointF(0, 0), QPointF(0, -job.boardHeight), QPointF(job.boardWidth, 0),
                            QPointF(job.boardWidth, -job.boardHeight)}) {
        arms.emplace_back(c.x() - kTargetArm, c.y(), c.x() + kTargetArm, c.y());
        arms.emplace_back(c.x(), c.y() - kTargetArm, c.x(), c.y() + kTargetArm);
    }
    sink.hairlines(arms.data(), static_cast<int>(arms.size()), 1, Qt::black);
}

void printOutline(FigureSink& sink, const PrintJob& job)
{
    const double w = job.boardWidth, h = -job.boardHeight;
    const QLineF edges[] = {{0, 0, w, 0}, {w, 0, w, h}, {w, h, 0, h}, {0, h, 0, 0}};
    sink.hairlines(edges, 4, 1, Qt::black);
}

void printLayer(FigureSink& sink, const PrintJob& job, int layer, bool groundPlane)
{
    const PrintOptions& o = job.options;
    if (groundPlane)
        for (const auto& obj : *job.objects)
            if (obj->Layer == layer)
                DrawClearance(sink, *obj);
    for (const bool pads : {false, true})
        for (const auto& obj : *job.objects)
            if (obj->Layer == layer && obj->is(ObjectKind::Pad) == pads)
                DrawObjectInColour(sink, *obj, false, rgb(o.silkColour), rgb(o.copperColour));
}

void printSolderMask(FigureSink& sink, const PrintJob& job, int layer)
{
    for (const auto& obj : *job.objects)
        if (obj->Layer == layer && obj->is(ObjectKind::Pad))
            DrawObjectInColour(sink, *obj, true, rgb(job.options.silkColour), rgb(job.options.maskColour));
}

// Crosses on the holes, and each diameter written upright above its hole
// in device pixels, so a mirrored plan stays readable.
void printDrillPlan(QPainter& painter, FigureSink& sink, const PrintJob& job, int layer)
{
    const QColor colour = rgb(job.options.drillColour);
    const QTransform toDevice = painter.transform();
    const double pxPerUnit = std::abs(toDevice.m22());
    const QFont font = arialWithCellHeight(kDrillTextHeight * pxPerUnit, false);
    const QFontMetricsF metrics(font);
    std::vector<std::pair<QPointF, QString>> texts;
    for (const auto& obj : *job.objects) {
        if (obj->Layer != layer || !obj->is(ObjectKind::Pad) || obj->holeRadius() <= 0)
            continue;
        const double x = obj->centre().x, y = obj->centre().y;
        const QLineF cross[] = {{x - kDrillCross, y + kDrillCross, x + kDrillCross, y - kDrillCross},
                                {x + kDrillCross, y + kDrillCross, x - kDrillCross, y - kDrillCross}};
        sink.hairlines(cross, 2, 1, colour);
        texts.emplace_back(toDevice.map(QPointF(x, y + kDrillTextAbove)), drillLabel(obj->holeRadius()));
    }
    painter.save();
    painter.resetTransform();
    painter.setFont(font);
    painter.setPen(colour);
    for (const auto& [top, text] : texts)
        painter.drawText(QPointF(top.x() - metrics.horizontalAdvance(text) / 2, top.y() + metrics.ascent()), text);
    painter.restore();
}

void renderCopy(QPainter& painter, const PrintJob& job)
{
    const PrintOptions& o = job.options;
    PrintSink sink(painter, o.mirror);
    const int side = o.side1 ? 0 : 1;
    const int copper = o.side1 ? 1 : 3, silk = o.side1 ? 2 : 4;
    const bool groundPlane = o.side1 ? job.groundPlane1 : job.groundPlane2;
    if (o.targets)
        printTargets(sink, job);
    if (o.outline)
        printOutline(sink, job);
    if (o.copper && groundPlane)
        sink.fillRect(QRectF(0, -job.boardHeight, job.boardWidth, job.boardHeight), rgb(o.copperColour));
    if (o.scannedCopy && !job.scans[side].isNull()) {
        QImage scan = job.scans[side];
        scan.setColor(1, rgb(o.copperColour).rgb());
        sink.image(job.scanUnits[side], scan);
    }
    if (o.copper)
        printLayer(sink, job, copper, groundPlane);
    if (o.silk)
        printLayer(sink, job, silk, false);
    if (o.solderMask)
        printSolderMask(sink, job, copper);
    if (o.drillPlan)
        printDrillPlan(painter, sink, job, copper);
}

} // namespace

QString drillLabel(int32_t holeRadiusUnits)
{
    return QString::number(diameterMmFromRadiusUnits(holeRadiusUnits), 'g', 8);
}

void RenderPage(QPainter& painter, const PrintJob& job, double pxPerMmX, double pxPerMmY, bool calibrated,
                QSizeF pageSizeMm)
{
    if (!job.objects || job.options.printScale <= 0)
        return;
    painter.save();
    const QRectF page(0, 0, pageSizeMm.width() * pxPerMmX, pageSizeMm.height() * pxPerMmY);
    painter.setClipRect(page, Qt::IntersectClip);
    const QTransform base = painter.transform();
    const PrintOptions& o = job.options;
    // What a copy may draw, in board units: the board with its targets,
    // objects lying off it, and the scanned copy.
    Rect extent{-kTargetArm, -job.boardHeight - kTargetArm, job.boardWidth + kTargetArm, kTargetArm};
    for (const auto& obj : *job.objects)
        extent = extent.united(BoundingRect(*obj));
    QRectF drawn(extent.left, extent.top, double(extent.right) - extent.left, double(extent.bottom) - extent.top);
    if (o.scannedCopy)
        drawn |= job.scanUnits[o.side1 ? 0 : 1];
    for (int row = 0; row < o.tilesY; ++row)
        for (int column = 0; column < o.tilesX; ++column) {
            const PrintPoint origin =
                tileOrigin(o, pageSizeMm.width(), column, row, job.boardWidth, job.boardHeight);
            const PageMapping m = pageMapping(o, pxPerMmX, pxPerMmY, calibrated, origin);
            const QTransform copy(m.xPxPerUnit, 0, 0, m.yPxPerUnit, -origin.x * m.xPxPerUnit,
                                  -origin.y * m.yPxPerUnit);
            if (!copy.mapRect(drawn).intersects(page))
                continue;
            painter.setTransform(copy * base);
            renderCopy(painter, job);
        }
    painter.restore();
}

} // namespace kestrel
