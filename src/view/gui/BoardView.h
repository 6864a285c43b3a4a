#pragma once
// The board view of the main window: the horizontal ruler HScalePaintBox
// (with the unit button SB_Einheit at its left end), the vertical ruler
// VScalePaintbox, and the scroll box ScrollBoxEx1 holding the drawing area
// PaintBox1 and the origin marker K0_Shape.
//
// The view shows the active board of a LayoutDocument it does not own. The
// active board's zoom, scroll position, grid, active layer, visible layers
// and ground-plane flags are read from and written to the document's working
// state (LayoutDocument::Working); the origin is LayoutDocument::Origin.
// Whoever changes those from outside (board switch, file open, board size,
// layer buttons, ground plane) calls reloadFromDocument() or redraw().
//
// For the shell: the grid menu RasterPopup is built from gridPresets()
// (view/GridChoice.h), each entry calling chooseGridTag(tag); the grid
// button SB_Raster shows the caption sent with gridChanged. The coordinate
// display formats numbers with formatGeneral (view/NumberFormat.h).
//
// Pixel coordinates given to and taken from the view are paint-box pixels:
// the widget PaintBox1 is as large as the board at the current zoom and its
// top-left corner is the board's top-left corner, so mouse events received
// on paintBox() already carry them.

#include "model/LayoutDocument.h"
#include "model/Language.h"
#include "model/Types.h"
#include "view/GridChoice.h"
#include "view/ObjectIndex.h"
#include "view/Viewport.h"

#include <QImage>
#include <QMetaType>
#include <QRectF>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QImage;
class QTransform;
class QToolButton;

namespace kestrel {

class PaintBox;
class Ruler;
class ScrollBox;
class OriginMarker;

class BoardView : public QWidget {
    Q_OBJECT
public:
    explicit BoardView(QWidget* parent = nullptr);
    ~BoardView() override;

    // The document to show (not owned; nullptr shows an empty view). Calls
    // reloadFromDocument().
    void setDocument(LayoutDocument* document);
    LayoutDocument* document() const { return document_; }

    // Re-reads the working state after a board switch, an open, a new
    // document or a board-size change: sanitises it, applies zoom, grid and
    // scroll position exactly as stored, places the origin marker and repaints
    // the board and both rulers. Emits gridChanged and viewChanged.
    void reloadFromDocument();

    // Interface language of the unit button caption and the hints.
    void setLanguage(Language lang);
    Language language() const { return language_; }

    // ---- state ----
    const Viewport& viewport() const { return viewport_; }
    double zoom() const { return viewport_.zoom(); }
    double grid() const { return viewport_.grid(); }
    // Caption of the grid button SB_Raster for the current grid.
    QString gridCaption() const;
    bool inchUnit() const { return inchUnit_; }
    bool gridVisible() const { return gridVisible_; }
    bool gridMarker() const { return gridMarker_; }

    // ---- conversions (paint-box pixels <-> board units) ----
    // snap: snap to the grid (the pointer tools pass false while Ctrl is held).
    Point screenToBoard(QPoint paintBoxPixel, bool snap) const;
    QPoint boardToScreen(Point boardPoint) const;
    Point snapToGrid(Point boardPoint) const { return viewport_.snapToGrid(boardPoint); }

    // ---- repainting ----
    // Every change to the active board's objects (added, removed, moved,
    // resized, selected...) must be followed by invalidateObject,
    // invalidateBoardRect or redraw: each of them also drops the view's
    // index of object bounds, which is built again on the next paint.
    // Repaints the part of the board covered by the object (after an edit).
    void invalidateObject(const LayoutObject& object);
    // Repaints the part of the board covered by a board rectangle.
    void invalidateBoardRect(const Rect& boardRect);
    // The same for many rectangles at once (a drop of hundreds of objects).
    void invalidateBoardRects(const std::vector<Rect>& boardRects);
    // invalidateObject for each, many at once (a selection of thousands).
    void invalidateObjects(const std::vector<const LayoutObject*>& objects);

    // ---- hooks for the pointer tools ----
    // The drawing area; install an event filter on it to receive the pointer
    // events (their positions are paint-box pixels).
    QWidget* paintBox() const;
    // The scroll box (it takes the keyboard focus for the view).
    QWidget* scrollBox() const;
    // Call while a button is held and the pointer moves: scrolls one step
    // when the pointer is near an edge of the visible area, and keeps doing
    // so (by a repeated pointer-move event) while it stays there. True when
    // it scrolled.
    bool scrollAtEdge(QPoint paintBoxPixel);
    // The zoom tool's release (raw board points of the press and the
    // release: a frame zooms into it, a click zooms in by 2 about the point)
    // and its right click (zoom out by 2).
    void zoomToolRelease(Point anchor, Point release);
    void zoomToolOut();
    // Repaints the pointer tools' previews over a board rectangle without
    // painting the board there again.
    void updateOverlay(const Rect& boardRect);
    // Drawn over the board on every paint (PaintBox::setOverlay): into an
    // image of the repainted pixels, through a board-to-image transform.
    void setOverlay(std::function<void(QImage&, const QTransform&)> overlay);
    // Board pixels painted again so far (PaintBox::boardPixelsPainted).
    qint64 boardPixelsPainted() const;
    // The paint-box pixels the scroll box shows.
    QRect visibleArea() const;
    // Scrolls by pixels, as far as the scroll bars go (dragging the view).
    void scrollByPixels(int dx, int dy);
    // The autorouter tool draws rubber bands between two selected pads in magenta.
    void setAutorouterToolActive(bool active);
    // The origin marker can be dragged only while the edit tool is active.
    void setOriginDragEnabled(bool enabled);
    // Moves the ruler markers to a board point (the pointer tools call this
    // with the snapped pointer position; the view does it itself on moves).
    void showPointerMarkers(Point boardPoint);
    // The index of the active board's objects for hit tests and frames,
    // built again when dropped or when the board or its object count changed.
    const ObjectIndex& objectIndex();

public Q_SLOTS:
    // Zoom commands (tool bar TB_ZoomAlles / TB_ZoomObjekte / TB_ZoomMarkierung
    // and menu ZoomPlatine1 / ZoomObjekte1 / ZoomMarkierung1).
    void zoomBoard();
    void zoomObjects();
    void zoomSelection();
    // Fits the view to an area of the board.
    void zoomArea(const Rect& area);
    void setZoom(double zoomPxPerUnit);
    // Grid: a value in units, or the tag of a grid menu entry.
    void setGrid(double gridUnits);
    void chooseGridTag(int tag);
    // Menu items Rastersichtbar1 / Rastermarkierung1.
    void setGridVisible(bool visible);
    void setGridMarker(bool marker);
    // Ruler unit (menu E_MM / E_Zoll, button SB_Einheit toggles).
    void setInchUnit(bool inch);
    void toggleUnit();
    // Moves the origin marker to LayoutDocument::Origin and repaints the rulers.
    void updateOrigin();
    // Full repaint of the board and both rulers (TB_Neuzeichnen).
    void redraw();
    // The scanned copy of each side (0: side 1) and where it lies in units;
    // the active side's is drawn under the layers. A null image hides it.
    void setScannedCopy(int sideIndex, const QImage& image, const QRectF& units);

Q_SIGNALS:
    // The pointer moved over the board: the snapped board point (raw while
    // Ctrl is held), for the coordinate display. Also sent with the tentative
    // origin while the origin marker is dragged.
    void pointerMoved(kestrel::Point boardPoint);
    // Zoom or scroll position changed.
    void viewChanged();
    // Grid distance changed (caption for SB_Raster included).
    void gridChanged(double gridUnits, const QString& caption);
    void unitChanged(bool inch);
    // LayoutDocument::Origin changed (drag released or reset).
    void originChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class PaintBox;
    friend class ScrollBox;
    friend class Ruler;
    friend class OriginMarker;

    void applyViewport();
    // Repaints the pixels of the paint box the rectangles cover.
    void invalidatePixelRects(const std::vector<QRect>& pixels);
    void syncScrollFromBars();
    void updateRulers();
    void updateUnitButton();
    void afterViewChange();
    // After a zoom or scroll the pointer stands over another board point: a
    // move from where it is, once the current event is done, keeps the
    // position read-out, the ruler markers and a tool's rubber line true.
    void replayPointerLater();
    void placeOriginMarker();
    void originDragMoved(QPoint paintBoxPixel, bool snap);
    void originDragFinished();
    void paintBoxMouseMoved(QPoint paintBoxPixel, bool ctrl);
    void wheelZoom(QPoint paintBoxPixel, int delta);
    LayoutDocument* document_ = nullptr;
    BoardSettings empty_; // shown while there is no document
    Viewport viewport_{empty_};
    Language language_ = Language::Russian;
    bool inchUnit_ = false;
    bool gridVisible_ = true;
    bool gridMarker_ = true;
    bool paintSuspended_ = false;
    bool autorouterTool_ = false;
    bool applying_ = false;
    bool pointerReplayPending_ = false;
    Point tentativeOrigin_;
    ObjectIndex objectIndex_;
    bool objectIndexStale_ = true;
    std::array<QImage, 2> scannedCopies_;
    std::array<QRectF, 2> scannedCopyUnits_;

    Ruler* hRuler_ = nullptr;
    Ruler* vRuler_ = nullptr;
    QToolButton* unitButton_ = nullptr;
    ScrollBox* scrollBox_ = nullptr;
    PaintBox* paintBox_ = nullptr;
    OriginMarker* originMarker_ = nullptr;
};

} // namespace kestrel

Q_DECLARE_METATYPE(kestrel::Point)
