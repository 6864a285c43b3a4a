#include "edit/gui/PointerCursors.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <functional>

namespace kestrel {

namespace {

constexpr int kSize = 32;

// Each shape in black with a white rim, so it shows on every board colour.
void inked(QPainter& p, const std::function<void(QPainter&)>& shape)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    shape(p);
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    shape(p);
}

// Drawn in the screen's device pixels, as large as the system's pointers on
// a scaled screen. The pixmap keeps a ratio of 1 and the hot spot is given in
// its pixels: X takes a pointer's hot spot as it is, whatever the ratio.
QCursor drawn(const std::function<void(QPainter&)>& shape, QPoint hotSpot, qreal devicePixelRatio)
{
    const int side = static_cast<int>(std::ceil(kSize * devicePixelRatio));
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(devicePixelRatio, devicePixelRatio);
    inked(p, shape);
    p.end();
    const QPoint spot = (QPointF(hotSpot) * devicePixelRatio).toPoint();
    return QCursor(pixmap, spot.x(), spot.y());
}

QCursor make(PointerCursor which, qreal dpr)
{
    switch (which) {
    case PointerCursor::Lupe:
        // A magnifier: the hot spot is the middle of the glass.
        return drawn([](QPainter& p) {
            p.drawEllipse(QPointF(12, 12), 8, 8);
            p.drawLine(QPointF(18, 18), QPointF(28, 28));
        }, {12, 12}, dpr);
    case PointerCursor::Test:
        // A probe whose tip touches the copper.
        return drawn([](QPainter& p) {
            p.drawLine(QPointF(2, 2), QPointF(12, 12));
            p.drawRect(QRectF(12, 12, 8, 8));
            p.drawLine(QPointF(20, 20), QPointF(29, 29));
        }, {2, 2}, dpr);
    case PointerCursor::Changer:
        // Four arrows around the corner being moved.
        return drawn([](QPainter& p) {
            p.drawLine(QPointF(16, 3), QPointF(16, 29));
            p.drawLine(QPointF(3, 16), QPointF(29, 16));
            for (const QPointF& tip : {QPointF(16, 3), QPointF(16, 29), QPointF(3, 16), QPointF(29, 16)}) {
                const QPointF towards = (QPointF(16, 16) - tip) / 13 * 4;
                const QPointF side(towards.y(), -towards.x());
                p.drawLine(tip, tip + towards + side);
                p.drawLine(tip, tip + towards - side);
            }
        }, {16, 16}, dpr);
    case PointerCursor::Connect:
        // Two pads and the band between them; the hot spot is the first pad.
        return drawn([](QPainter& p) {
            p.drawEllipse(QPointF(4, 4), 3, 3);
            p.drawEllipse(QPointF(26, 26), 3, 3);
            p.drawLine(QPointF(7, 7), QPointF(23, 23));
        }, {4, 4}, dpr);
    case PointerCursor::AutoRoute:
        // An arrow with a stepped track behind it.
        return drawn([](QPainter& p) {
            p.drawPolyline(QPolygonF{{2, 2}, {2, 12}, {12, 12}, {12, 22}, {22, 22}, {22, 29}});
            p.drawLine(QPointF(2, 2), QPointF(9, 2));
            p.drawLine(QPointF(2, 2), QPointF(2, 9));
        }, {2, 2}, dpr);
    case PointerCursor::Arrow:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

} // namespace

// Made on each change of tool or state, which is rare; a cache would
// outlive the application's pixmaps.
QCursor pointerCursor(PointerCursor which, qreal devicePixelRatio)
{
    return make(which, std::max<qreal>(devicePixelRatio, 1));
}

} // namespace kestrel
