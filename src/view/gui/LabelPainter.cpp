#include "view/gui/LabelPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace kestrel {

namespace {

// The label's height is the height of the whole text cell (ascent plus
// descent); Qt sizes fonts by the em square, so the ratio of the two is
// measured once on a large reference size.
struct LabelFont {
    QFont font;
    double ascent = 0;
};

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

// Fonts are made once per cell height, not per object.
const LabelFont& labelFont(int32_t cellHeight)
{
    static QHash<int32_t, LabelFont> cache;
    auto it = cache.find(cellHeight);
    if (it != cache.end())
        return *it;
    LabelFont lf;
    lf.font = arialWithCellHeight(cellHeight, true);
    lf.ascent = QFontMetricsF(lf.font).ascent();
    return *cache.insert(cellHeight, lf);
}

// Decoded label texts, so a repaint does not convert UTF-8 again.
const QString& labelString(const std::string& utf8)
{
    static QHash<QByteArray, QString> cache;
    const QByteArray key = QByteArray::fromRawData(utf8.data(), static_cast<qsizetype>(utf8.size()));
    auto it = cache.find(key);
    if (it != cache.end())
        return *it;
    if (cache.size() > 20000)
        cache.clear();
    return *cache.insert(QByteArray(utf8.data(), static_cast<qsizetype>(utf8.size())), QString::fromStdString(utf8));
}

} // namespace

QFont arialWithCellHeight(double cellHeight, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setKerning(false);
    font.setPixelSize(std::max(1, static_cast<int>(cellHeight / cellPerEm(bold) + 0.5)));
    return font;
}

void drawLabel(QPainter& painter, const LayoutObject& text, const QColor& colour)
{
    const int32_t height = std::min(std::abs(text.Width), 100000);
    if (height == 0 || text.TextValue.empty())
        return;
    const LabelFont& lf = labelFont(height);
    const QTransform saved = painter.transform();
    // The board's y axis points up; the text is laid out in a local frame
    // whose y points down again, turned about the anchor.
    painter.translate(text.X1, text.Y1);
    painter.scale(1, -1);
    if (text.Angle % 360 != 0)
        painter.rotate(-text.Angle);
    painter.setFont(lf.font);
    painter.setPen(colour);
    painter.drawText(QPointF(0, lf.ascent), labelString(text.TextValue));
    painter.setTransform(saved);
}

} // namespace kestrel
