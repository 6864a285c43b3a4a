#include "view/gui/Ruler.h"

#include "view/Rulers.h"
#include "view/gui/BoardView.h"
#include "view/gui/LabelPainter.h"
#include "view/gui/ScrollBox.h"

#include <QFontMetrics>
#include <QPainter>

namespace kestrel {

namespace {
constexpr int kHorizontalHeight = 20;
constexpr int kVerticalWidth = 21;
const QColor kMarkerColour(128, 0, 0);
} // namespace

Ruler::Ruler(BoardView& view, Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), view_(view), orientation_(orientation), marker_(new QWidget(this))
{
    const bool horizontal = orientation == Qt::Horizontal;
    setObjectName(horizontal ? QStringLiteral("HScalePaintBox") : QStringLiteral("VScalePaintbox"));
    marker_->setObjectName(horizontal ? QStringLiteral("HMarker") : QStringLiteral("VMarker"));
    if (horizontal) {
        setFixedHeight(kHorizontalHeight);
        marker_->setGeometry(0, 0, 1, kHorizontalHeight);
    } else {
        setFixedWidth(kVerticalWidth);
        marker_->setGeometry(0, 0, kVerticalWidth, 1);
    }
    QPalette markerPalette = marker_->palette();
    markerPalette.setColor(QPalette::Window, kMarkerColour);
    marker_->setPalette(markerPalette);
    marker_->setAutoFillBackground(true);
    marker_->setAttribute(Qt::WA_TransparentForMouseEvents);
    marker_->hide();
    setFont(arialWithCellHeight(13, false));
}

int Ruler::viewportOffset() const
{
    const QPoint p = view_.scrollBox_->viewport()->mapTo(&view_, QPoint(0, 0)) - pos();
    return orientation_ == Qt::Horizontal ? p.x() : p.y();
}

void Ruler::moveMarker(int visiblePixel)
{
    if (orientation_ == Qt::Horizontal)
        marker_->move(visiblePixel + viewportOffset(), 0);
    else
        marker_->move(0, visiblePixel + viewportOffset());
    marker_->show();
}

void Ruler::paintEvent(QPaintEvent*)
{
    if (view_.paintSuspended_)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const LayoutDocument* doc = view_.document_;
    if (!doc)
        return;
    const Viewport& vp = view_.viewport_;
    const bool horizontal = orientation_ == Qt::Horizontal;
    const int offsetPx = viewportOffset();
    const double offset = horizontal
                              ? horizontalRulerOffset(vp.scroll().x, offsetPx, doc->Origin.x, vp.zoom())
                              : verticalRulerOffset(vp.scroll().y, offsetPx, doc->Origin.y, vp.zoom());
    const int length = horizontal ? width() : height();
    // The part of the horizontal ruler above the vertical one stays empty.
    if (horizontal)
        painter.setClipRect(QRect(offsetPx, 0, width() - offsetPx, height()));
    const QFontMetrics metrics(font());
    const int textHeight = metrics.height();
    // The window's text colour on its background: black on a light desktop.
    painter.setPen(palette().color(QPalette::WindowText));
    const int w = width(), h = height();
    for (const RulerTick& t : rulerTicks(view_.inchUnit_, vp.zoom(), horizontal ? vp.boardWidth() : vp.boardHeight(),
                                         offset, -40, length + 40)) {
        const int p = t.position;
        const int tickLength = t.major ? 13 : 4;
        const QString label = QString::fromStdString(t.label);
        const int textWidth = label.isEmpty() ? 0 : metrics.horizontalAdvance(label);
        // Major labels sit two pixels higher than minor ones.
        const int lift = t.major ? 3 : 1;
        if (horizontal) {
            painter.drawLine(p, h - 1, p, h - tickLength);
            if (!label.isEmpty())
                painter.drawText(QPoint(p - textWidth - 2, h - lift - textHeight + metrics.ascent()), label);
        } else {
            painter.drawLine(w - 1, p, w - tickLength, p);
            if (!label.isEmpty())
                painter.drawText(QPoint(w - lift - textWidth, p - textHeight + metrics.ascent()), label);
        }
    }
}

} // namespace kestrel
