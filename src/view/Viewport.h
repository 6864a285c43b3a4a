#pragma once
// The mapping between board units and the pixels of the drawing area: zoom,
// scroll position, grid snapping and the zoom commands. The zoom, scroll
// position and grid belong to the active board and are read and written in
// its working state (LayoutDocument::Working), so switching boards restores
// them. Pixel coordinates are paint-box pixels unless a name says otherwise:
// the paint box is the board-sized drawing surface, whose top-left corner is
// the board's top-left corner (0, 0); x = boardX * zoom, y = -boardY * zoom.

#include "model/Board.h"
#include "model/Types.h"

#include <cstdint>

namespace kestrel {

struct Pixel {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

struct PixelSize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// left/top/right/bottom in pixels, y downwards.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

constexpr double kMinZoom = 0.01;    // 1 mm = 1 pixel
constexpr double kMaxZoom = 1.0;     // 1 mm = 100 pixels
constexpr double kDefaultZoom = 0.1; // 1 mm = 10 pixels
constexpr double kDefaultGrid = kUnitsPerTenthInch;
// Grids outside this range (from damaged files) fall back to the default:
// below one unit snapping means nothing, and far above the largest board
// every point would snap to the corner.
constexpr double kMinGrid = 1.0;
constexpr double kMaxGrid = 100000.0;
// Board sizes beyond this are treated as this large by the view arithmetic,
// so a damaged size cannot overflow pixel coordinates.
constexpr int32_t kMaxViewBoardUnits = 1000000;

// Makes view values read from a file safe to use: a zoom that is not a
// number falls back to the default, one outside the limits is clamped; an
// unusable grid becomes the default; an active layer outside 1..4 becomes 1;
// visibility flags become 0/1 and the active layer is always visible;
// negative scroll positions become 0.
void sanitizeViewSettings(BoardSettings& s);

// A grid that snapping uses; others leave points where they are.
bool usableGrid(double gridUnits);
// The board point of a grid at the nearest grid crossing.
Point snapPointToGrid(Point p, double gridUnits);
// The same, except that a point on the board whose nearest grid crossing
// lies beyond an edge takes the one before it: what is placed there stays
// on the board. Off the board a point snaps as usual.
Point snapPointOntoBoard(Point p, const BoardSettings& board);

// Union of the bounding rectangles of all objects, or of the selected ones;
// false when there is none.
bool unitedBounds(const ObjectList& list, bool selectedOnly, Rect& out);

struct EdgeScroll {
    bool horizontal = false;
    bool vertical = false;
    bool any() const { return horizontal || vertical; }
};

class Viewport {
public:
    // Works on the working state of the active board, which the caller
    // keeps alive while it is attached.
    explicit Viewport(BoardSettings& working) : s_(&working) {}
    void attach(BoardSettings& working) { s_ = &working; }
    const BoardSettings& settings() const { return *s_; }

    // The visible area of the scroll box, and the scroll box as a whole
    // (frame and scroll bars included; the fit-to-board zoom uses that).
    void setClientSize(PixelSize s) { client_ = s; }
    void setBoxSize(PixelSize s) { box_ = s; }
    PixelSize clientSize() const { return client_; }
    PixelSize boxSize() const { return box_; }

    double zoom() const { return s_->Zoom; }
    double grid() const { return s_->Grid; }
    // One pixel in units: round(1 / zoom).
    int32_t onePixelUnits() const;
    int32_t boardWidth() const;
    int32_t boardHeight() const;

    // Size of the paint box: round(size * zoom + 1).
    PixelSize paintSize() const;
    Pixel scroll() const { return {s_->ScrollX, s_->ScrollY}; }
    Pixel maxScroll() const;
    // Sets the scroll position, clamped to the range the paint box allows.
    void setScroll(Pixel p);
    // Keeps the stored position inside the range (after a resize).
    void clampScroll() { setScroll(scroll()); }
    // One scroll-bar step: 2 mm.
    int32_t scrollStep() const;

    Point screenToBoard(Pixel paintBoxPixel, bool snap) const;
    Pixel boardToScreen(Point p) const;
    // The pixel rectangle of a board rectangle, normalised.
    PixelRect boardRectToScreen(const Rect& r) const;
    // The board rectangle behind a pixel rectangle, normalised.
    Rect screenRectToBoard(const PixelRect& r) const;
    Point snapToGrid(Point p) const { return snapPointToGrid(p, s_->Grid); }
    Point clampToBoard(Point p) const;
    // The pixels to repaint after an object changed: its bounding rectangle
    // grown by round(width * zoom) + 2 pixels for a zone, 5 for other kinds.
    PixelRect invalidationRect(const LayoutObject& o) const;

    // Zoom clamped to [0.01, 1.0], keeping the board point at the centre of
    // the visible area in the centre.
    void setZoom(double zoomPxPerUnit);
    // Scrolls so that the point lies in the centre; the point's y is the
    // distance below the board's top edge (a positive number).
    void centerView(Point downward);
    void zoomBoard();
    // Zoom-to-objects and zoom-to-selection on the united rectangle; false
    // (and nothing changed) when it is narrower or lower than 50 units.
    bool zoomToRect(const Rect& r);
    // Wheel away from the user zooms in by 1.4 about the board point under
    // the pointer (clamped to the board); towards the user zooms out.
    void wheelZoom(Pixel pointer, int delta);
    // Zoom tool: the right button halves the zoom.
    void zoomToolOut();
    // Zoom tool release: a frame larger than 4 pixels each way is zoomed
    // into; anything smaller zooms in by 2 about the release point. Both
    // points are raw board points.
    void zoomToolRelease(Point anchor, Point release);
    // Pointer near an edge of the visible area while a button is held:
    // scrolls one step towards it where the board continues.
    EdgeScroll scrollAtEdge(Pixel pointer);

    // The grid distance in units (sanitised as for files).
    void setGrid(double gridUnits);

private:
    Point boardCentreOf(int32_t left, int32_t top, int32_t right, int32_t bottom) const;
    BoardSettings* s_;
    PixelSize client_{400, 300};
    PixelSize box_{400, 300};
};

} // namespace kestrel
