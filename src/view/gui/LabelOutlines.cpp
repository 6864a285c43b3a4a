#include "view/gui/LabelOutlines.h"

#include "geometry/CutIns.h"
#include "view/gui/LabelPainter.h"

#include <QHash>
#include <QPainterPath>
#include <QRawFont>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

Point rounded(const QPointF& p)
{
    return {static_cast<int32_t>(std::lround(p.x())), static_cast<int32_t>(std::lround(p.y()))};
}

// A glyph turned as its label is, flattened and rounded about its own
// origin, its contours made simple with holes cut in. Curves are flattened
// in board units (0.01 mm): finer than any board house resolves.
std::vector<Polygon> turnedGlyphContours(const QRawFont& font, quint32 glyph, const QTransform& turn)
{
    std::vector<Polygon> polygons;
    for (const QPolygonF& contour : turn.map(font.pathForGlyph(glyph)).toSubpathPolygons()) {
        Polygon polygon;
        polygon.reserve(static_cast<size_t>(contour.size()));
        for (const QPointF& p : contour)
            if (const Point q = rounded(p); polygon.empty() || !(polygon.back() == q))
                polygon.push_back(q);
        if (polygon.size() >= 3)
            polygons.push_back(std::move(polygon));
    }
    return cutInContours(Region::fromPolygons(polygons));
}

// Some glyphs reach beyond the label's box: a "j" left of its advance, a
// descender past the cell. The box is what the plane's clearance, the design
// check and the placement on the board go by, so the copper made for a file
// ends there, where nothing of another net is. Only a box the label tool
// made (the extent of the text from the anchor) is taken so: a box read from
// elsewhere need not lie over its letters, nor describe a label turned by
// other than right angles.
std::vector<Polygon> clippedToTheBox(std::vector<Polygon> contours, const LayoutObject& label)
{
    if (label.textDegrees() % 90 != 0)
        return contours;
    const Rect box = Rect{label.X1, label.Y1, label.X2, label.Y2}.normalised();
    const bool inside = std::ranges::all_of(contours, [&](const Polygon& contour) {
        return std::ranges::all_of(contour, [&](const Point& p) {
            return p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
        });
    });
    if (inside)
        return contours;
    const Point e = labelExtent(label.TextValue, label.fontHeight(), label.textDegrees());
    if (label.X2 != label.X1 + e.x || label.Y2 != label.Y1 + e.y)
        return contours;
    return cutInContours(Region::fromPolygons(contours).intersected(Region::rectangle(box)));
}

} // namespace

std::vector<Polygon> ScreenLabelOutlines::labelContours(const LayoutObject& label) const
{
    std::vector<Polygon> contours;
    const int32_t height = drawnCellHeight(label);
    if (height == 0)
        return contours;
    // The frame drawLabel sets up on the painter, without the move to the
    // anchor: glyphs are made about their own origin and moved into place by
    // whole units, so a glyph met again costs no flattening and no clipping.
    const int degrees = (label.textDegrees() % 360 + 360) % 360;
    QTransform turn;
    turn.scale(1, -1);
    if (degrees != 0)
        turn.rotate(degrees);
    // Boards repeat a few dozen glyphs at a few sizes and angles. A run may
    // come from a fallback font, so the font is part of the key.
    thread_local QHash<QString, QHash<quint32, std::vector<Polygon>>> glyphsByFont;
    thread_local size_t cached = 0;
    if (cached > 20000) {
        glyphsByFont.clear();
        cached = 0;
    }
    const Point anchor = label.start();
    for (const QGlyphRun& run : labelGlyphs(label.TextValue, height)) {
        const QRawFont font = run.rawFont();
        auto& glyphs = glyphsByFont[font.familyName() + '/' + font.styleName() + '/' + QString::number(height) + '/' +
                                    QString::number(degrees)];
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            auto it = glyphs.find(indexes[i]);
            if (it == glyphs.end()) {
                it = glyphs.insert(indexes[i], turnedGlyphContours(font, indexes[i], turn));
                ++cached;
            }
            const Point offset = rounded(turn.map(positions[i]));
            const int32_t dx = anchor.x + offset.x, dy = anchor.y + offset.y;
            for (const Polygon& glyphContour : *it) {
                Polygon& placed = contours.emplace_back();
                placed.reserve(glyphContour.size());
                for (const Point& p : glyphContour)
                    placed.push_back({p.x + dx, p.y + dy});
            }
        }
    }
    return clippedToTheBox(std::move(contours), label);
}

} // namespace kestrel
