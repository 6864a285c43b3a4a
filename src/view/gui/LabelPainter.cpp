#include "view/gui/LabelPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPen>
#include <QString>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace kestrel {

namespace {

// The label's height is the height of the whole text cell (ascent plus
// descent); Qt sizes fonts by the em square, so the ratio of the two is
// measured once on a large reference size.
double cellPerEm(bool bold)
{
    auto measure = [](bool b) {
        QFont f(QStringLiteral("Arial"));
        f.setBold(b);
        f.setPixelSize(1000);
        const QFontMetricsF m(f);
        const double cell = m.ascent() + m.descent();
        return cell > 0 ? cell / 1000.0 : 1.15;
    };
    static const double regular = measure(false);
    static const double boldRatio = measure(true);
    return bold ? boldRatio : regular;
}

} // namespace

// Label texts are laid out once per cell height: a repaint draws the glyphs
// without making the font and shaping the text again.
const QList<QGlyphRun>& labelGlyphs(const std::string& utf8, int32_t cellHeight)
{
    using Key = std::pair<int32_t, QByteArray>;
    thread_local QHash<Key, QList<QGlyphRun>> cache;
    const QByteArray text = QByteArray::fromRawData(utf8.data(), static_cast<qsizetype>(utf8.size()));
    auto it = cache.find(Key(cellHeight, text));
    if (it != cache.end())
        return *it;
    if (cache.size() > 20000)
        cache.clear();
    QTextLayout layout(QString::fromStdString(utf8), arialWithCellHeight(cellHeight, true));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return *cache.insert(Key(cellHeight, QByteArray(utf8.data(), static_cast<qsizetype>(utf8.size()))),
                         layout.glyphRuns());
}

QFont arialWithCellHeight(double cellHeight, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setKerning(false);
    font.setPixelSize(std::max(1, static_cast<int>(cellHeight / cellPerEm(bold) + 0.5)));
    return font;
}

int32_t drawnCellHeight(const LayoutObject& text)
{
    return text.TextValue.empty() ? 0 : std::min(std::abs(text.fontHeight()), kMaxLabelCellHeight);
}

void drawLabel(QPainter& painter, const LayoutObject& text, const QColor& colour)
{
    const int32_t height = drawnCellHeight(text);
    if (height == 0)
        return;
    const QTransform saved = painter.transform();
    // The board's y axis points up; the text is laid out in a local frame
    // whose y points down again, turned about the anchor. The frame is put
    // together first: each change of the painter's transform costs it a
    // fresh set-up.
    QTransform frame = saved;
    frame.translate(text.start().x, text.start().y);
    frame.scale(1, -1);
    // In this frame a positive turn is clockwise on the screen.
    if (text.textDegrees() % 360 != 0)
        frame.rotate(text.textDegrees());
    painter.setTransform(frame);
    // The same pen as painter.setPen(colour), kept: labels come in a few
    // colours, and the painter skips a pen it already holds.
    thread_local QPen pen;
    if (pen.color() != colour)
        pen = QPen(colour);
    painter.setPen(pen);
    for (const QGlyphRun& run : labelGlyphs(text.TextValue, height))
        painter.drawGlyphRun(QPointF(0, 0), run);
    painter.setTransform(saved);
}

Point labelExtent(const std::string& utf8, int32_t fontHeight, int32_t angle)
{
    const int32_t height = std::min(std::abs(fontHeight), kMaxLabelCellHeight);
    if (height == 0)
        return {0, 0};
    const QFontMetricsF m(arialWithCellHeight(height, true));
    const auto w = static_cast<int32_t>(std::ceil(m.horizontalAdvance(QString::fromStdString(utf8 + " "))));
    const auto h = static_cast<int32_t>(std::ceil(m.ascent() + m.descent()));
    return TurnedLabelExtent(w, h, angle);
}

} // namespace kestrel
