#include "app/MacroPreviewBox.h"

#include "geometry/Geometry.h"
#include "model/Units.h"
#include "view/MacroPreview.h"
#include "view/gui/BoardPainter.h"
#include "view/gui/PainterSink.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace kestrel {

namespace {

// Units left free around the macro's bounding rectangle.
constexpr int32_t kMarginUnits = 10;
const QColor kDotColour(0x00, 0x80, 0x00);

} // namespace

MacroPreviewBox::MacroPreviewBox(const ObjectList& macro, std::function<Point()> boardSize,
                                 std::function<QMimeData*()> dragData, QWidget* parent)
    : QWidget(parent), macro_(macro), boardSize_(std::move(boardSize)), dragData_(std::move(dragData))
{
    setObjectName("PB_Makro");
    setCursor(Qt::PointingHandCursor);
    setMinimumSize(20, 20);
}

void MacroPreviewBox::paintEvent(QPaintEvent*)
{
    // Painted into an image of its own: the figure sinks take the device
    // for the painted area, which a widget's backing store offsets.
    // In device pixels, as sharp as the board on a scaled screen.
    const qreal dpr = devicePixelRatioF();
    QImage image((QSizeF(size()) * dpr).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(BoardColours::Board);
    paintMacro(image);
    QPainter(this).drawImage(0, 0, image);
}

void MacroPreviewBox::paintMacro(QImage& image) const
{
    if (macro_.empty())
        return;
    QPainter painter(&image);
    Rect bounds = BoundingRect(macro_[0]);
    for (const auto& o : macro_)
        bounds = bounds.united(BoundingRect(*o));
    const double scale = macroPreviewScale(bounds, width(), height());
    // The point 10 units left of the left edge and above the upper edge (the
    // larger y) falls on the top-left corner.
    const double left = bounds.left - kMarginUnits, top = bounds.bottom + kMarginUnits;
    const QTransform toPixels = boardTransform(scale, left * scale, -top * scale);

    if (macroPreviewShowsDots(scale)) {
        // Dots from the origin over the board's area, counted only where they show.
        const Point board = boardSize_();
        const double step = kUnitsPerTenthInch * scale;
        const double x0 = -left * scale, y0 = top * scale; // the origin in pixels
        auto firstAndLast = [step](double origin, int32_t extentUnits, int extentPx) {
            const long first = std::max(0L, static_cast<long>(std::ceil(-origin / step)));
            const long last = std::min(static_cast<long>(extentUnits / kUnitsPerTenthInch),
                                       static_cast<long>(std::floor((extentPx - origin) / step)));
            return std::pair{first, last};
        };
        const auto [ix0, ix1] = firstAndLast(x0, board.x, width());
        const auto [iy0, iy1] = firstAndLast(y0, board.y, height());
        for (long ix = ix0; ix <= ix1; ++ix)
            for (long iy = iy0; iy <= iy1; ++iy)
                painter.fillRect(QRectF(x0 + ix * step, y0 + iy * step, 2, 2), kDotColour);
    }

    painter.setTransform(toPixels);
    const Rect clip{static_cast<int32_t>(std::floor(left)), static_cast<int32_t>(std::floor(top - height() / scale)),
                    static_cast<int32_t>(std::ceil(left + width() / scale)), static_cast<int32_t>(std::ceil(top))};
    PainterSink sink(painter);
    LayerState layers;
    DrawLayers(sink, macro_, layers, clip);
}

void MacroPreviewBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || macro_.empty())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData_());
    drag->exec(Qt::CopyAction);
}

} // namespace kestrel
