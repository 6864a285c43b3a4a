#include "view/gui/BoardView.h"

#include "view/gui/OriginMarker.h"
#include "view/gui/PaintBox.h"
#include "view/gui/Ruler.h"
#include "view/gui/ScrollBox.h"

#include <QApplication>

#include <algorithm>
#include <QCursor>
#include <QGridLayout>
#include <QMouseEvent>
#include <QRegion>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

namespace kestrel {

namespace {

// A mouse move from where the pointer is now, as if the user had moved it.
void movePointerWhereItIs(QWidget* box)
{
    const QPointF local = box->mapFromGlobal(QPointF(QCursor::pos()));
    QMouseEvent move(QEvent::MouseMove, local, box->mapToGlobal(local), Qt::NoButton, QApplication::mouseButtons(),
                     QApplication::keyboardModifiers());
    QApplication::sendEvent(box, &move);
}

void setHint(QWidget* w, const QString& hint)
{
    // Short part as tool tip, long part for the status line; the whole
    // hint stays available to the shell's hint handler.
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    w->setToolTip(bar < 0 ? hint : hint.left(bar));
    w->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    w->setProperty("hint", hint);
}

} // namespace

BoardView::BoardView(QWidget* parent) : QWidget(parent)
{
    hRuler_ = new Ruler(*this, Qt::Horizontal, this);
    vRuler_ = new Ruler(*this, Qt::Vertical, this);
    scrollBox_ = new ScrollBox(*this, this);
    paintBox_ = new PaintBox(*this, scrollBox_->viewport());
    originMarker_ = new OriginMarker(*this, scrollBox_->viewport());
    unitButton_ = new QToolButton(hRuler_);
    unitButton_->setObjectName(QStringLiteral("SB_Einheit"));
    unitButton_->setGeometry(0, 0, 21, 20);
    unitButton_->setAutoRaise(true);
    connect(unitButton_, &QToolButton::clicked, this, &BoardView::toggleUnit);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(hRuler_, 0, 0, 1, 2);
    layout->addWidget(vRuler_, 1, 0);
    layout->addWidget(scrollBox_, 1, 1);

    setLanguage(language_);
    reloadFromDocument();
}

BoardView::~BoardView() = default;

void BoardView::setDocument(LayoutDocument* document)
{
    objectIndexStale_ = true;
    document_ = document;
    reloadFromDocument();
}

void BoardView::reloadFromDocument()
{
    if (document_ && document_->activeBoard()) {
        viewport_.attach(document_->Working);
        sanitizeViewSettings(document_->Working);
    } else {
        viewport_.attach(empty_);
    }
    viewport_.setClientSize({scrollBox_->viewport()->width(), scrollBox_->viewport()->height()});
    viewport_.setBoxSize({scrollBox_->width(), scrollBox_->height()});
    viewport_.clampScroll();
    applyViewport();
    redraw();
    Q_EMIT gridChanged(grid(), gridCaption());
    Q_EMIT viewChanged();
    replayPointerLater();
}

void BoardView::setLanguage(Language lang)
{
    language_ = lang;
    updateUnitButton();
    setHint(unitButton_, lang == Language::English ? QStringLiteral("Unit of rulers|Select inch or mm")
                                                   : QStringLiteral("Единицы измерения"));
    setHint(originMarker_, lang == Language::English
                               ? QStringLiteral("Origin|Origin of the coordinates on the grid")
                               : QStringLiteral("Нулевая точка|Нулевая точка отсчета на координатной сетке"));
}

QString BoardView::gridCaption() const
{
    return QString::fromStdString(kestrel::gridCaption(grid(), language_));
}

Point BoardView::screenToBoard(QPoint p, bool snap) const
{
    return viewport_.screenToBoard({p.x(), p.y()}, snap);
}

QPoint BoardView::boardToScreen(Point p) const
{
    const Pixel px = viewport_.boardToScreen(p);
    return {px.x, px.y};
}

void BoardView::invalidateObject(const LayoutObject& object)
{
    objectIndexStale_ = true;
    const PixelRect r = viewport_.invalidationRect(object);
    paintBox_->boardChanged(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)));
}

void BoardView::invalidateBoardRect(const Rect& boardRect)
{
    objectIndexStale_ = true;
    const PixelRect r = viewport_.boardRectToScreen(boardRect);
    paintBox_->boardChanged(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)).adjusted(-2, -2, 2, 2));
}

void BoardView::invalidateBoardRects(const std::vector<Rect>& boardRects)
{
    std::vector<QRect> pixels;
    pixels.reserve(boardRects.size());
    for (const Rect& b : boardRects) {
        const PixelRect p = viewport_.boardRectToScreen(b);
        pixels.push_back(QRect(QPoint(p.left, p.top), QPoint(p.right, p.bottom)).adjusted(-2, -2, 2, 2));
    }
    invalidatePixelRects(pixels);
}

void BoardView::invalidateObjects(const std::vector<const LayoutObject*>& objects)
{
    // A few are united one by one; more go through the tiles.
    constexpr size_t kOneByOne = 64;
    if (objects.size() <= kOneByOne) {
        for (const LayoutObject* o : objects)
            invalidateObject(*o);
        return;
    }
    std::vector<QRect> pixels;
    pixels.reserve(objects.size());
    for (const LayoutObject* o : objects) {
        const PixelRect r = viewport_.invalidationRect(*o);
        pixels.push_back(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)));
    }
    invalidatePixelRects(pixels);
}

void BoardView::invalidatePixelRects(const std::vector<QRect>& pixels)
{
    if (pixels.empty())
        return;
    objectIndexStale_ = true;
    // Thousands of rectangles (every segment of hundreds of dropped tracks,
    // a selection of thousands of objects) are marked on 16-pixel tiles of
    // the visible area, and the region is built from the runs of marked
    // tiles: uniting them one by one as a QRegion costs more than painting
    // them, and when zoomed in, far more than painting (the rectangles lie
    // apart all over a paint box tens of thousands of pixels wide).
    constexpr int kTile = 16;
    const QRect area = visibleArea();
    if (area.isEmpty())
        return;
    const int columns = (area.width() + kTile - 1) / kTile, rows = (area.height() + kTile - 1) / kTile;
    std::vector<uint8_t> marked(static_cast<size_t>(columns * rows), 0);
    bool beyond = false;
    for (const QRect& whole : pixels) {
        const QRect r = whole & area;
        beyond = beyond || r != whole;
        if (r.isEmpty())
            continue;
        for (int y = (r.top() - area.top()) / kTile; y <= (r.bottom() - area.top()) / kTile; ++y)
            std::fill_n(marked.begin() + y * columns + (r.left() - area.left()) / kTile,
                        (r.right() - area.left()) / kTile - (r.left() - area.left()) / kTile + 1, uint8_t{1});
    }
    QRegion region;
    for (int y = 0; y < rows; ++y) {
        QRegion row;
        for (int x = 0; x < columns;) {
            if (!marked[static_cast<size_t>(y * columns + x)]) {
                ++x;
                continue;
            }
            const int first = x;
            while (x < columns && marked[static_cast<size_t>(y * columns + x)])
                ++x;
            row += QRect(area.left() + first * kTile, area.top() + y * kTile, (x - first) * kTile, kTile);
        }
        region += row;
    }
    paintBox_->boardChanged(region & area);
    // A change beyond the view: whatever the cache holds there is painted
    // again before it is shown.
    if (beyond)
        paintBox_->markStale(QRegion(paintBox_->rect()) - area);
}

void BoardView::updateOverlay(const Rect& boardRect)
{
    const PixelRect r = viewport_.boardRectToScreen(boardRect);
    paintBox_->update(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)).adjusted(-2, -2, 2, 2));
}

void BoardView::setOverlay(std::function<void(QImage&, const QTransform&)> overlay)
{
    paintBox_->setOverlay(std::move(overlay));
}

qint64 BoardView::boardPixelsPainted() const
{
    return paintBox_->boardPixelsPainted();
}

QRect BoardView::visibleArea() const
{
    const Pixel s = viewport_.scroll();
    const PixelSize c = viewport_.clientSize();
    return QRect(s.x, s.y, c.width, c.height) & paintBox_->rect();
}

void BoardView::scrollByPixels(int dx, int dy)
{
    scrollBox_->horizontalScrollBar()->setValue(scrollBox_->horizontalScrollBar()->value() + dx);
    scrollBox_->verticalScrollBar()->setValue(scrollBox_->verticalScrollBar()->value() + dy);
}

QWidget* BoardView::paintBox() const
{
    return paintBox_;
}

QWidget* BoardView::scrollBox() const
{
    return scrollBox_;
}

bool BoardView::scrollAtEdge(QPoint p)
{
    const EdgeScroll scrolled = viewport_.scrollAtEdge({p.x(), p.y()});
    if (!scrolled.any())
        return false;
    applyViewport();
    updateRulers();
    Q_EMIT viewChanged();
    // A fresh pointer move from where the pointer is now: the pointer tool
    // calls again and the view keeps scrolling while the pointer stays at
    // the edge and a button is held.
    QTimer::singleShot(30, paintBox_, [box = paintBox_] {
        if (QApplication::mouseButtons() != Qt::NoButton)
            movePointerWhereItIs(box);
    });
    return true;
}

void BoardView::replayPointerLater()
{
    if (pointerReplayPending_)
        return;
    pointerReplayPending_ = true;
    QTimer::singleShot(0, paintBox_, [this] {
        pointerReplayPending_ = false;
        // A pan with the middle button follows its own moves; one replayed
        // from the cursor's newer place would make the view step back. The
        // pointer must stand over the board's visible part: after a grab
        // ends elsewhere (a click on a scroll bar while a track was drawn)
        // the box may still think it is under the pointer, and a move
        // replayed with the button held on the bar would scroll at the edge.
        const bool overBoard = paintBox_->underMouse() && visibleArea().contains(paintBox_->mapFromGlobal(QCursor::pos()));
        if (overBoard && !(QApplication::mouseButtons() & Qt::MiddleButton))
            movePointerWhereItIs(paintBox_);
    });
}

void BoardView::setAutorouterToolActive(bool active)
{
    autorouterTool_ = active;
    paintBox_->boardChangedAll();
}

void BoardView::setOriginDragEnabled(bool enabled)
{
    originMarker_->setEnabled(enabled);
    // Where it cannot be dragged, a press on it is the tool's, on the board below.
    originMarker_->setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
}

void BoardView::showPointerMarkers(Point p)
{
    const Pixel px = viewport_.boardToScreen(p);
    hRuler_->moveMarker(px.x - viewport_.scroll().x);
    vRuler_->moveMarker(px.y - viewport_.scroll().y);
}

void BoardView::zoomBoard()
{
    // A fitted board needs no scroll bars: measure the client without them,
    // or bars still shown from the last zoom would keep themselves.
    const QSize whole = scrollBox_->maximumViewportSize();
    viewport_.setClientSize({whole.width(), whole.height()});
    viewport_.setBoxSize({whole.width(), whole.height()});
    viewport_.zoomBoard();
    // The other fits (objects, selection) measure the whole box, bars and all.
    viewport_.setBoxSize({scrollBox_->width(), scrollBox_->height()});
    afterViewChange();
}

void BoardView::zoomObjects()
{
    Rect r;
    if (!document_ || !document_->activeBoard() || !unitedBounds(document_->activeBoard()->Objects, false, r))
        return;
    if (viewport_.zoomToRect(r))
        afterViewChange();
}

void BoardView::zoomSelection()
{
    Rect r;
    if (document_ && document_->activeBoard() && unitedBounds(document_->activeBoard()->Objects, true, r))
        zoomArea(r);
}

void BoardView::zoomArea(const Rect& area)
{
    if (viewport_.zoomToRect(area))
        afterViewChange();
}

void BoardView::setZoom(double zoomPxPerUnit)
{
    viewport_.setZoom(zoomPxPerUnit);
    afterViewChange();
}

void BoardView::setGrid(double gridUnits)
{
    viewport_.setGrid(gridUnits);
    paintBox_->boardChangedAll();
    Q_EMIT gridChanged(grid(), gridCaption());
}

void BoardView::chooseGridTag(int tag)
{
    setGrid(gridFromTag(tag));
}

void BoardView::setGridVisible(bool visible)
{
    gridVisible_ = visible;
    paintBox_->boardChangedAll();
}

void BoardView::setGridMarker(bool marker)
{
    gridMarker_ = marker;
    paintBox_->boardChangedAll();
}

void BoardView::setInchUnit(bool inch)
{
    if (inch == inchUnit_)
        return;
    inchUnit_ = inch;
    updateUnitButton();
    updateRulers();
    Q_EMIT unitChanged(inch);
}

void BoardView::toggleUnit()
{
    setInchUnit(!inchUnit_);
}

void BoardView::updateOrigin()
{
    placeOriginMarker();
    updateRulers();
}

void BoardView::redraw()
{
    objectIndexStale_ = true;
    paintBox_->boardChangedAll();
    updateRulers();
}

void BoardView::setScannedCopy(int sideIndex, const QImage& image, const QRectF& units)
{
    scannedCopies_.at(static_cast<size_t>(sideIndex)) = image;
    scannedCopyUnits_.at(static_cast<size_t>(sideIndex)) = units;
    // Only the active side's copy is on the screen.
    if (document_ && (document_->Working.ActiveLayer < 3) == (sideIndex == 0))
        paintBox_->boardChangedAll();
}

const ObjectIndex& BoardView::objectIndex()
{
    const ObjectList* list = document_ && document_->activeBoard() ? &document_->activeBoard()->Objects : nullptr;
    if (!list) {
        objectIndex_.clear();
    } else if (objectIndexStale_ || objectIndex_.source() != list || objectIndex_.size() != list->size()) {
        objectIndex_.build(*list);
        objectIndexStale_ = false;
    }
    return objectIndex_;
}

void BoardView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateRulers();
}

void BoardView::applyViewport()
{
    if (!paintBox_)
        return; // still being built
    applying_ = true;
    const PixelSize size = viewport_.paintSize();
    const Pixel scroll = viewport_.scroll();
    const Pixel max = viewport_.maxScroll();
    const PixelSize client = viewport_.clientSize();
    QScrollBar* h = scrollBox_->horizontalScrollBar();
    QScrollBar* v = scrollBox_->verticalScrollBar();
    h->setRange(0, max.x);
    v->setRange(0, max.y);
    h->setPageStep(std::max(1, client.width));
    v->setPageStep(std::max(1, client.height));
    h->setSingleStep(std::max(1, viewport_.scrollStep()));
    v->setSingleStep(std::max(1, viewport_.scrollStep()));
    h->setValue(scroll.x);
    v->setValue(scroll.y);
    paintBox_->setGeometry(-scroll.x, -scroll.y, size.width, size.height);
    placeOriginMarker();
    applying_ = false;
}

void BoardView::syncScrollFromBars()
{
    if (applying_)
        return;
    const Pixel before = viewport_.scroll();
    viewport_.setScroll({scrollBox_->horizontalScrollBar()->value(), scrollBox_->verticalScrollBar()->value()});
    const Pixel after = viewport_.scroll();
    if (before == after)
        return;
    paintBox_->move(-after.x, -after.y);
    placeOriginMarker();
    if (before.x != after.x)
        hRuler_->update();
    if (before.y != after.y)
        vRuler_->update();
    Q_EMIT viewChanged();
    replayPointerLater();
}

void BoardView::updateRulers()
{
    hRuler_->update();
    vRuler_->update();
}

void BoardView::updateUnitButton()
{
    const bool english = language_ == Language::English;
    unitButton_->setText(inchUnit_ ? (english ? QStringLiteral("I") : QStringLiteral("Z")) : QStringLiteral("M"));
}

void BoardView::afterViewChange()
{
    applyViewport();
    redraw();
    Q_EMIT viewChanged();
    replayPointerLater();
}

void BoardView::placeOriginMarker()
{
    const Point origin = document_ ? document_->Origin : Point{};
    const Pixel px = viewport_.boardToScreen(origin);
    const Pixel scroll = viewport_.scroll();
    originMarker_->move(px.x - scroll.x - OriginMarker::kSize / 2, px.y - scroll.y - OriginMarker::kSize / 2);
    originMarker_->raise();
    originMarker_->update();
}

void BoardView::originDragMoved(QPoint paintBoxPixel, bool snap)
{
    tentativeOrigin_ = screenToBoard(paintBoxPixel, snap);
    Q_EMIT pointerMoved(tentativeOrigin_);
    showPointerMarkers(tentativeOrigin_);
    const Pixel px = viewport_.boardToScreen(tentativeOrigin_);
    const Pixel scroll = viewport_.scroll();
    originMarker_->move(px.x - scroll.x - OriginMarker::kSize / 2, px.y - scroll.y - OriginMarker::kSize / 2);
}

void BoardView::originDragFinished()
{
    if (!document_)
        return;
    document_->Origin = tentativeOrigin_;
    updateOrigin();
    Q_EMIT pointerMoved(tentativeOrigin_);
    Q_EMIT originChanged();
}

void BoardView::paintBoxMouseMoved(QPoint p, bool ctrl)
{
    // Where a click would place a point: the tools keep it on the board,
    // and in the visible area while they hold the mouse (a track drawn).
    const QRect area = visibleArea();
    if (QWidget::mouseGrabber() == paintBox() && !area.isEmpty())
        p = {std::clamp(p.x(), area.left(), area.right()), std::clamp(p.y(), area.top(), area.bottom())};
    const Point raw = screenToBoard(p, false);
    const Point board = ctrl ? raw : snapPointOntoBoard(raw, viewport_.settings());
    showPointerMarkers(board);
    Q_EMIT pointerMoved(board);
}

void BoardView::wheelZoom(QPoint p, int delta)
{
    paintSuspended_ = true;
    viewport_.wheelZoom({p.x(), p.y()}, delta);
    paintSuspended_ = false;
    afterViewChange();
}

void BoardView::zoomToolRelease(Point anchor, Point release)
{
    paintSuspended_ = true;
    viewport_.zoomToolRelease(viewport_.clampToBoard(anchor), viewport_.clampToBoard(release));
    paintSuspended_ = false;
    afterViewChange();
}

void BoardView::zoomToolOut()
{
    viewport_.zoomToolOut();
    afterViewChange();
}

} // namespace kestrel
