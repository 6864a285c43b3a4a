#include "app/ToolIcons.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>

namespace kestrel {

namespace {

constexpr int kSize = 20;
const QColor kCopper(190, 110, 20);
const QColor kBlue(30, 80, 200);
const QColor kRed(200, 30, 30);
const QColor kPaper(255, 255, 255);

using Painter = std::function<void(QPainter&)>;

// Lines and outlines: near black on a light desktop, and on a dark one the
// buttons' own text colour, which that desktop keeps readable on them.
bool darkDesktop()
{
    return QGuiApplication::palette().color(QPalette::Button).lightness() < 128;
}

QColor ink()
{
    return darkDesktop() ? QGuiApplication::palette().color(QPalette::ButtonText) : QColor(40, 40, 40);
}

QColor strongInk()
{
    return darkDesktop() ? QGuiApplication::palette().color(QPalette::ButtonText) : QColor(Qt::black);
}

void page(QPainter& p, QRectF r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(path);
}

void magnifier(QPainter& p, QPointF centre, double radius)
{
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(centre, radius, radius);
    QPen handle(ink(), 2.5);
    p.setPen(handle);
    p.drawLine(centre + QPointF(radius * 0.7, radius * 0.7), centre + QPointF(radius * 1.6, radius * 1.6));
    p.setPen(QPen(ink(), 1.2));
}

void arrowHead(QPainter& p, QPointF tip, QPointF from)
{
    const QPointF d = tip - from;
    const double len = std::hypot(d.x(), d.y());
    if (len == 0)
        return;
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    QPolygonF head{tip, tip - u * 4 + n * 3, tip - u * 4 - n * 3};
    p.setBrush(p.pen().color());
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
}

const std::map<std::string, Painter>& painters()
{
    static const std::map<std::string, Painter> table = {
        {"new", [](QPainter& p) { page(p, {4, 2, 12, 16}); }},
        {"open",
         [](QPainter& p) {
             p.setBrush(QColor(240, 200, 90));
             p.drawRect(QRectF(2, 5, 15, 11));
             p.drawRect(QRectF(2, 3, 6, 2));
             p.setBrush(QColor(250, 225, 130));
             p.drawPolygon(QPolygonF{{4, 8}, {18, 8}, {16, 16}, {2, 16}});
         }},
        {"save",
         [](QPainter& p) {
             p.setBrush(QColor(70, 100, 170));
             p.drawRect(QRectF(2, 2, 16, 16));
             p.setBrush(kPaper);
             p.drawRect(QRectF(5, 2, 10, 6));
             p.setBrush(QColor(200, 200, 200));
             p.drawRect(QRectF(5, 11, 10, 7));
         }},
        {"print",
         [](QPainter& p) {
             page(p, {5, 2, 10, 7});
             p.setBrush(QColor(160, 160, 160));
             p.drawRoundedRect(QRectF(2, 8, 16, 7), 2, 2);
             page(p, {5, 12, 10, 6});
         }},
        {"cut",
         [](QPainter& p) {
             p.drawEllipse(QPointF(6, 15), 2.5, 2.5);
             p.drawEllipse(QPointF(14, 15), 2.5, 2.5);
             p.setPen(QPen(ink(), 1.6));
             p.drawLine(QPointF(7, 13), QPointF(14, 2));
             p.drawLine(QPointF(13, 13), QPointF(6, 2));
         }},
        {"copy",
         [](QPainter& p) {
             page(p, {2, 2, 10, 12});
             page(p, {8, 6, 10, 12});
         }},
        {"paste",
         [](QPainter& p) {
             p.setBrush(QColor(190, 140, 80));
             p.drawRect(QRectF(3, 3, 12, 15));
             p.setBrush(QColor(160, 160, 160));
             p.drawRect(QRectF(6, 1.5, 6, 3));
             page(p, {9, 8, 9, 10});
         }},
        {"delete",
         [](QPainter& p) {
             p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(5, 5), QPointF(15, 15));
             p.drawLine(QPointF(15, 5), QPointF(5, 15));
         }},
        {"duplicate",
         [](QPainter& p) {
             p.setBrush(kCopper);
             p.drawRect(QRectF(2, 2, 9, 9));
             p.setBrush(QColor(230, 170, 90));
             p.drawRect(QRectF(9, 9, 9, 9));
         }},
        {"rotate",
         [](QPainter& p) {
             p.setPen(QPen(kBlue, 2));
             p.drawArc(QRectF(4, 4, 12, 12), 90 * 16, 270 * 16);
             arrowHead(p, {10, 4}, {6, 4});
         }},
        {"mirrorH",
         [](QPainter& p) {
             p.setPen(QPen(ink(), 1, Qt::DashLine));
             p.drawLine(QPointF(10, 1), QPointF(10, 19));
             p.setPen(QPen(ink(), 1));
             p.setBrush(kCopper);
             p.drawPolygon(QPolygonF{{8, 4}, {8, 16}, {2, 16}});
             p.setBrush(kPaper);
             p.drawPolygon(QPolygonF{{12, 4}, {12, 16}, {18, 16}});
         }},
        {"mirrorV",
         [](QPainter& p) {
             p.setPen(QPen(ink(), 1, Qt::DashLine));
             p.drawLine(QPointF(1, 10), QPointF(19, 10));
             p.setPen(QPen(ink(), 1));
             p.setBrush(kCopper);
             p.drawPolygon(QPolygonF{{4, 8}, {16, 8}, {16, 2}});
             p.setBrush(kPaper);
             p.drawPolygon(QPolygonF{{4, 12}, {16, 12}, {16, 18}});
         }},
        {"adjust",
         [](QPainter& p) {
             p.setPen(QPen(QColor(150, 150, 150), 1));
             for (int i = 3; i < 20; i += 5) {
                 p.drawLine(QPointF(i, 1), QPointF(i, 19));
                 p.drawLine(QPointF(1, i), QPointF(19, i));
             }
             p.setPen(QPen(ink(), 1));
             p.setBrush(kCopper);
             p.drawEllipse(QPointF(13, 13), 3, 3);
         }},
        {"clearBands",
         [](QPainter& p) {
             p.setBrush(kCopper);
             p.drawEllipse(QPointF(4, 10), 2.5, 2.5);
             p.drawEllipse(QPointF(16, 10), 2.5, 2.5);
             p.setPen(QPen(kBlue, 1, Qt::DotLine));
             p.drawLine(QPointF(6, 10), QPointF(14, 10));
             p.setPen(QPen(kRed, 2));
             p.drawLine(QPointF(6, 4), QPointF(14, 16));
         }},
        {"group",
         [](QPainter& p) {
             p.setPen(QPen(ink(), 1, Qt::DashLine));
             p.drawRect(QRectF(1.5, 1.5, 17, 17));
             p.setPen(QPen(ink(), 1));
             p.setBrush(kCopper);
             p.drawRect(QRectF(4, 4, 6, 6));
             p.drawEllipse(QPointF(13, 13), 3.5, 3.5);
         }},
        {"ungroup",
         [](QPainter& p) {
             p.setBrush(kCopper);
             p.drawRect(QRectF(2, 2, 6, 6));
             p.drawEllipse(QPointF(14, 14), 3.5, 3.5);
             p.setPen(QPen(ink(), 1, Qt::DashLine));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(1, 1, 8, 8));
             p.drawRect(QRectF(9.5, 9.5, 9, 9));
         }},
        {"zoomBoard",
         [](QPainter& p) {
             p.setBrush(QColor(120, 170, 120));
             p.drawRect(QRectF(1.5, 1.5, 17, 12));
             magnifier(p, {9, 8}, 4);
         }},
        {"zoomObjects",
         [](QPainter& p) {
             p.setBrush(kCopper);
             p.drawEllipse(QPointF(4, 4), 2, 2);
             p.drawEllipse(QPointF(16, 4), 2, 2);
             magnifier(p, {9, 8}, 4);
         }},
        {"zoomSelection",
         [](QPainter& p) {
             p.setPen(QPen(kRed, 1, Qt::DotLine));
             p.drawRect(QRectF(1.5, 1.5, 17, 13));
             p.setPen(QPen(ink(), 1.2));
             magnifier(p, {9, 8}, 4);
         }},
        {"repaint",
         [](QPainter& p) {
             p.setPen(QPen(QColor(30, 140, 60), 2));
             p.drawArc(QRectF(3, 3, 14, 14), 30 * 16, 150 * 16);
             arrowHead(p, {16, 6}, {15, 3});
             p.drawArc(QRectF(3, 3, 14, 14), 210 * 16, 150 * 16);
             arrowHead(p, {4, 14}, {5, 17});
         }},
        {"scannedCopy",
         [](QPainter& p) {
             p.setBrush(QColor(210, 240, 210));
             p.drawRect(QRectF(2, 3, 16, 14));
             p.setPen(QPen(QColor(0, 170, 0), 1.5));
             p.drawPolyline(QPolygonF{{4, 14}, {8, 8}, {11, 12}, {13, 9}, {16, 14}});
         }},
        {"macro",
         [](QPainter& p) {
             p.setBrush(QColor(60, 60, 60));
             p.drawRect(QRectF(5, 3, 10, 14));
             p.setPen(QPen(QColor(170, 170, 170), 1.5));
             for (int y = 5; y <= 15; y += 3) {
                 p.drawLine(QPointF(2, y), QPointF(5, y));
                 p.drawLine(QPointF(15, y), QPointF(18, y));
             }
         }},
        {"editTool",
         [](QPainter& p) {
             p.setBrush(kPaper);
             p.drawPolygon(QPolygonF{{5, 2}, {5, 16}, {8.5, 12.5}, {11, 18}, {13, 17}, {10.5, 11.5}, {15, 11.5}});
         }},
        {"trackTool",
         [](QPainter& p) {
             p.setPen(QPen(strongInk(), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPolyline(QPolygonF{{2, 16}, {8, 16}, {14, 10}, {14, 3}});
         }},
        {"padTool",
         [](QPainter& p) {
             p.setBrush(strongInk());
             p.drawEllipse(QPointF(10, 10), 7, 7);
             p.setBrush(kPaper);
             p.drawEllipse(QPointF(10, 10), 2.5, 2.5);
         }},
        {"ringTool",
         [](QPainter& p) {
             p.setPen(QPen(strongInk(), 2.5));
             p.drawEllipse(QPointF(10, 10), 7, 7);
         }},
        {"zoneTool",
         [](QPainter& p) {
             p.setBrush(strongInk());
             p.drawPolygon(QPolygonF{{2, 16}, {5, 4}, {13, 3}, {18, 9}, {12, 17}});
         }},
        {"polygonTool",
         [](QPainter& p) {
             p.setPen(QPen(strongInk(), 2));
             QPolygonF hexagon;
             for (int k = 0; k < 6; ++k)
                 hexagon << QPointF(10 + 7.5 * std::cos(k * M_PI / 3), 10 + 7.5 * std::sin(k * M_PI / 3));
             p.drawPolygon(hexagon);
         }},
        {"connectTool",
         [](QPainter& p) {
             p.setBrush(strongInk());
             p.drawEllipse(QPointF(4, 15), 2.5, 2.5);
             p.drawEllipse(QPointF(16, 5), 2.5, 2.5);
             p.setPen(QPen(kBlue, 1.5));
             p.drawLine(QPointF(5.5, 13.5), QPointF(14.5, 6.5));
         }},
        {"zoomTool", [](QPainter& p) { magnifier(p, {8, 8}, 5.5); }},
        {"autorouteTool",
         [](QPainter& p) {
             p.setBrush(strongInk());
             p.drawEllipse(QPointF(4, 4), 2.5, 2.5);
             p.drawEllipse(QPointF(16, 16), 2.5, 2.5);
             p.setBrush(Qt::NoBrush);
             p.setPen(QPen(ink(), 1.5));
             p.drawPolyline(QPolygonF{{6.5, 4}, {11, 4}, {11, 16}, {13.5, 16}});
         }},
        {"textTool",
         [](QPainter& p) {
             QFont f("Arial");
             f.setBold(true);
             f.setPixelSize(15);
             p.setFont(f);
             p.setPen(kRed);
             p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, "A");
         }},
        {"trackTextTool",
         [](QPainter& p) {
             p.setPen(QPen(ink(), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPolyline(QPolygonF{{4, 17}, {10, 3}, {16, 17}});
             p.drawLine(QPointF(6.5, 12), QPointF(13.5, 12));
         }},
        {"testTool",
         [](QPainter& p) {
             p.setPen(QPen(ink(), 1));
             p.setBrush(QColor(250, 210, 40));
             p.drawPolygon(QPolygonF{{11, 1}, {4, 11}, {9, 11}, {7, 19}, {16, 8}, {11, 8}});
         }},
        {"grid",
         [](QPainter& p) {
             p.setPen(QPen(QColor(120, 120, 120), 1));
             for (int i = 2; i < 20; i += 4) {
                 p.drawLine(QPointF(i + 0.5, 1), QPointF(i + 0.5, 19));
                 p.drawLine(QPointF(1, i + 0.5), QPointF(19, i + 0.5));
             }
         }},
        {"groundPlane",
         [](QPainter& p) {
             p.setBrush(QColor(0, 0, 128));
             p.drawRect(QRectF(1.5, 3.5, 17, 13));
             p.setPen(QPen(Qt::white, 1.5));
             p.setBrush(kCopper);
             p.drawEllipse(QPointF(10, 10), 3.5, 3.5);
         }},
        {"arrowDown",
         [](QPainter& p) {
             p.setBrush(ink());
             p.drawPolygon(QPolygonF{{6, 8}, {14, 8}, {10, 13}});
         }},
    };
    return table;
}

} // namespace

QIcon toolIcon(const char* name)
{
    const auto& table = painters();
    const auto found = table.find(name);
    if (found == table.end())
        return {};
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(kSize * scale, kSize * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(ink(), 1.2));
        found->second(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

namespace {

// One pad of a glyph: its outline around the centre and its hole.
void padShape(QPainter& p, int shape, QPointF c, QColor fill)
{
    const int family = (shape - 1) % 3; // 0 round, 1 octagon, 2 square
    const int stretch = (shape - 1) / 3; // 0 none, 1 horizontal, 2 vertical
    const double half = 6.5;
    const double hx = stretch == 1 ? 9 : half, hy = stretch == 2 ? 9 : half;
    const QRectF box(c.x() - hx, c.y() - hy, 2 * hx, 2 * hy);
    p.setBrush(fill);
    if (family == 0) {
        const double r = std::min(hx, hy);
        p.drawRoundedRect(box, r, r);
    } else if (family == 1) {
        const double cut = std::min(hx, hy) * 0.6;
        p.drawPolygon(QPolygonF{{box.left() + cut, box.top()},    {box.right() - cut, box.top()},
                                {box.right(), box.top() + cut},    {box.right(), box.bottom() - cut},
                                {box.right() - cut, box.bottom()}, {box.left() + cut, box.bottom()},
                                {box.left(), box.bottom() - cut},  {box.left(), box.top() + cut}});
    } else {
        p.drawRect(box);
    }
    p.setBrush(kPaper);
    p.drawEllipse(c, 2.5, 2.5);
}

} // namespace

QIcon padShapeIcon(int shape, bool via)
{
    shape = std::clamp(shape, 1, 9);
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(kSize * scale, kSize * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(ink(), 1.2));
        if (via) {
            // The partner on the other side peeks out below and to the right.
            padShape(p, shape, {11.5, 11.5}, kBlue);
            padShape(p, shape, {8.5, 8.5}, kCopper);
        } else {
            padShape(p, shape, {10, 10}, kCopper);
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        p.setPen(QPen(QColor(20, 80, 30), 2));
        p.setBrush(QColor(40, 140, 60));
        p.drawRoundedRect(QRectF(3, 3, 58, 58), 8, 8);
        p.setPen(QPen(kCopper, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF{{17, 47}, {17, 32}, {47, 32}, {47, 17}});
        p.setPen(Qt::NoPen);
        for (const QPointF centre : {QPointF(17, 47), QPointF(47, 17)}) {
            p.setBrush(kCopper);
            p.drawEllipse(centre, 10, 10);
            p.setBrush(kPaper);
            p.drawEllipse(centre, 4, 4);
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace kestrel
