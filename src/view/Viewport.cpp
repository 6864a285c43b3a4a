#include "view/Viewport.h"

#include "geometry/Geometry.h"
#include "model/Units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kestrel {

namespace {

// Rounds a pixel or unit value that may lie far outside the int32 range.
int32_t roundClamped(double v, double lo, double hi)
{
    return roundEven(std::clamp(v, lo, hi));
}

constexpr double kIntMax = 2147483647.0;
// The centre handed to CenterView never lies further than the largest
// board the dialog makes, or than the board when a file holds a larger one.
constexpr int64_t kCentreLimit = 30000;

int64_t centreLimit(int32_t boardExtent)
{
    return std::max<int64_t>(kCentreLimit, boardExtent);
}

} // namespace

bool usableGrid(double g)
{
    return std::isfinite(g) && g >= kMinGrid && g <= kMaxGrid;
}

void sanitizeViewSettings(BoardSettings& s)
{
    if (std::isnan(s.Zoom))
        s.Zoom = kDefaultZoom;
    s.Zoom = std::clamp(s.Zoom, kMinZoom, kMaxZoom);
    if (!usableGrid(s.Grid))
        s.Grid = kDefaultGrid;
    if (s.ActiveLayer < 1 || s.ActiveLayer > 4)
        s.ActiveLayer = 1;
    for (uint8_t& v : s.LayerVisible)
        v = v ? 1 : 0;
    s.LayerVisible[s.ActiveLayer - 1] = 1;
    s.ScrollX = std::max(0, s.ScrollX);
    s.ScrollY = std::max(0, s.ScrollY);
}

Point snapPointToGrid(Point p, double g)
{
    if (!usableGrid(g))
        return p;
    return {roundEven(std::nearbyint(p.x / g) * g), roundEven(std::nearbyint(p.y / g) * g)};
}

namespace {

int32_t snappedOntoBoard(int32_t raw, double g, int32_t low, int32_t high)
{
    double line = std::nearbyint(raw / g);
    const int32_t snapped = roundEven(line * g);
    if (raw < low || raw > high || (snapped >= low && snapped <= high))
        return snapped;
    line += snapped > high ? -1 : 1;
    return std::clamp(roundEven(line * g), low, high);
}

} // namespace

Point snapPointOntoBoard(Point p, const BoardSettings& board)
{
    if (!usableGrid(board.Grid))
        return p;
    return {snappedOntoBoard(p.x, board.Grid, 0, board.BoardWidth),
            snappedOntoBoard(p.y, board.Grid, -board.BoardHeight, 0)};
}

bool unitedBounds(const ObjectList& list, bool selectedOnly, Rect& out)
{
    bool any = false;
    for (const auto& o : list) {
        if (selectedOnly && !o->Selected)
            continue;
        const Rect r = BoundingRect(*o);
        out = any ? out.united(r) : r;
        any = true;
    }
    return any;
}

int32_t Viewport::onePixelUnits() const
{
    return roundEven(1.0 / zoom());
}

int32_t Viewport::boardWidth() const
{
    return std::clamp(s_->BoardWidth, 1, kMaxViewBoardUnits);
}

int32_t Viewport::boardHeight() const
{
    return std::clamp(s_->BoardHeight, 1, kMaxViewBoardUnits);
}

PixelSize Viewport::paintSize() const
{
    return {roundEven(boardWidth() * zoom() + 1.0), roundEven(boardHeight() * zoom() + 1.0)};
}

Pixel Viewport::maxScroll() const
{
    const PixelSize p = paintSize();
    return {std::max(0, p.width - client_.width), std::max(0, p.height - client_.height)};
}

void Viewport::setScroll(Pixel p)
{
    const Pixel m = maxScroll();
    s_->ScrollX = std::clamp(p.x, 0, m.x);
    s_->ScrollY = std::clamp(p.y, 0, m.y);
}

int32_t Viewport::scrollStep() const
{
    return roundEven(pxFromUnits(unitsFromWholeMm(2), zoom()));
}

Point Viewport::screenToBoard(Pixel px, bool snap) const
{
    const Point p{roundEven(px.x / zoom()), -roundEven(px.y / zoom())};
    return snap ? snapToGrid(p) : p;
}

Pixel Viewport::boardToScreen(Point p) const
{
    return {roundEven(p.x * zoom()), roundEven(-static_cast<double>(p.y) * zoom())};
}

PixelRect Viewport::boardRectToScreen(const Rect& r) const
{
    const Pixel a = boardToScreen({r.left, r.top});
    const Pixel b = boardToScreen({r.right, r.bottom});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Rect Viewport::screenRectToBoard(const PixelRect& r) const
{
    const Point a = screenToBoard({r.left, r.top}, false);
    const Point b = screenToBoard({r.right, r.bottom}, false);
    return Rect{a.x, a.y, b.x, b.y}.normalised();
}

Point Viewport::clampToBoard(Point p) const
{
    return {std::clamp(p.x, 0, boardWidth()), std::clamp(p.y, -boardHeight(), 0)};
}

PixelRect Viewport::invalidationRect(const LayoutObject& o) const
{
    const PixelRect r = boardRectToScreen(BoundingRect(o));
    const int32_t margin = o.is(ObjectKind::Zone) ? roundClamped(pxFromUnits(o.widthUnits(), zoom()), 0, 1e6) + 2 : 5;
    return {r.left - margin, r.top - margin, r.right + margin, r.bottom + margin};
}

void Viewport::setZoom(double z)
{
    if (std::isnan(z))
        return;
    const int32_t cx = std::min(roundClamped((client_.width / 2 + s_->ScrollX) / zoom(), -kIntMax, kIntMax),
                                static_cast<int32_t>(centreLimit(boardWidth())));
    const int32_t cy = std::min(roundClamped((client_.height / 2 + s_->ScrollY) / zoom(), -kIntMax, kIntMax),
                                static_cast<int32_t>(centreLimit(boardHeight())));
    s_->Zoom = std::clamp(z, kMinZoom, kMaxZoom);
    centerView({cx, cy});
}

void Viewport::centerView(Point downward)
{
    const double halfW = roundEven((client_.width / 2) / zoom());
    const double halfH = roundEven((client_.height / 2) / zoom());
    setScroll({roundClamped((downward.x - halfW) * zoom(), -kIntMax, kIntMax),
               roundClamped((downward.y - halfH) * zoom(), -kIntMax, kIntMax)});
}

void Viewport::zoomBoard()
{
    const double zx = (box_.width - 10) / static_cast<double>(boardWidth());
    const double zy = (box_.height - 10) / static_cast<double>(boardHeight());
    setZoom(std::min(zx, zy));
}

// The middle of an area as centerView takes it (y counted down from the
// board's top edge). An area left of or above the board (an object the
// design check found there), where the view cannot go, is shown at that edge.
Point Viewport::boardCentreOf(int32_t left, int32_t top, int32_t right, int32_t bottom) const
{
    const int64_t x = (static_cast<int64_t>(left) + right) / 2, y = -(static_cast<int64_t>(top) + bottom) / 2;
    return {static_cast<int32_t>(std::clamp<int64_t>(x, 0, centreLimit(boardWidth()))),
            static_cast<int32_t>(std::clamp<int64_t>(y, 0, centreLimit(boardHeight())))};
}

bool Viewport::zoomToRect(const Rect& r)
{
    const int64_t w = std::llabs(static_cast<int64_t>(r.right) - r.left);
    const int64_t h = std::llabs(static_cast<int64_t>(r.bottom) - r.top);
    if (w < 50 || h < 50)
        return false;
    const double zx = std::fabs((box_.width - 20) / static_cast<double>(w));
    const double zy = std::fabs((box_.height - 20) / static_cast<double>(h));
    setZoom(std::min(zx, zy));
    const Point c = boardCentreOf(r.left, r.top, r.right, r.bottom);
    centerView({c.x - 10, c.y - 10});
    return true;
}

void Viewport::wheelZoom(Pixel pointer, int delta)
{
    if (delta < 0) {
        setZoom(zoom() / 1.4);
        return;
    }
    Point p = clampToBoard(screenToBoard(pointer, false));
    p.y = -p.y;
    setZoom(zoom() * 1.4);
    centerView(p);
}

void Viewport::zoomToolOut()
{
    setZoom(zoom() / 2.0);
}

void Viewport::zoomToolRelease(Point a, Point b)
{
    const int64_t w = std::llabs(static_cast<int64_t>(b.x) - a.x);
    const int64_t h = std::llabs(static_cast<int64_t>(b.y) - a.y);
    if (w * zoom() > 4 && h * zoom() > 4) {
        setZoom(std::min(std::fabs(client_.width / static_cast<double>(w)),
                         std::fabs(client_.height / static_cast<double>(h))));
        centerView(boardCentreOf(a.x, a.y, b.x, b.y));
        return;
    }
    Point p = clampToBoard(b);
    p.y = -p.y;
    setZoom(zoom() * 2.0);
    centerView(p);
}

EdgeScroll Viewport::scrollAtEdge(Pixel pointer)
{
    // The rules run one after the other on the clamped position, as the
    // scroll bars would apply them.
    const Pixel before = scroll();
    const int32_t step = scrollStep();
    auto shift = [&](int32_t dx, int32_t dy) { setScroll({scroll().x + dx, scroll().y + dy}); };
    if (pointer.x > client_.width + scroll().x - 8 && roundEven((client_.width + scroll().x) / zoom()) < boardWidth())
        shift(step, 0);
    if (pointer.x < scroll().x + 8 && scroll().x >= 1)
        shift(-step, 0);
    if (pointer.y > client_.height + scroll().y - 8 &&
        roundEven((client_.height + scroll().y) / zoom()) < boardHeight())
        shift(0, step);
    if (pointer.y < scroll().y + 8 && scroll().y >= 1)
        shift(0, -step);
    return {scroll().x != before.x, scroll().y != before.y};
}

void Viewport::setGrid(double g)
{
    if (usableGrid(g))
        s_->Grid = g;
}

} // namespace kestrel
