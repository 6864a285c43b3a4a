#pragma once
// The temporary figures of the pointer tools. Each preview has one drawn
// flag: drawing it toggles the flag on, erasing toggles it off, and the
// board view shows exactly the previews whose flag is set, inverted against
// the board under them (not-xor: a black pen inverts, a red one inverts all
// but the red channel). Every toggle records the board rectangle it touched,
// so the view repaints only there.

#include "model/LayoutObject.h"

#include <array>
#include <vector>

namespace kestrel {

// In the order ErasePreviews erases them.
enum class PreviewKind : uint8_t {
    RubberBand,  // the track or zone segment being drawn
    MoveOutline, // the selection displaced by the move drag
    Corner,      // a track or zone with its dragged corner moved
    Frame,       // selection or zoom frame
    BandLine,    // the connect tool's line from the start pad
    TrackLabel,  // the label of tracks that follows the pointer
    Polygon,     // the polygon generator's figure
    PadCircle,   // pad or circle outline at the pointer
    StartDot,    // where the next track or zone would start
};
constexpr size_t kPreviewKinds = 9;

enum class PreviewColour : uint8_t { Black, Red, Blue };

// A polyline in board units; a pen width of 0 is one pixel wide.
struct PreviewStroke {
    std::vector<Point> points;
    int32_t widthUnits = 0;
    bool closed = false;
};

// A straight line whose first end moves with the preview's offset and whose
// second stays: the rubber band of a dragged pad to a pad left in place.
struct AnchoredLine {
    Point moving;
    Point fixed;
};

struct Preview {
    bool drawn = false;
    PreviewColour colour = PreviewColour::Black;
    bool dotted = false;
    // Strokes are drawn displaced by offset, so a move drag builds the
    // outline of the selection once and only changes the offset.
    std::vector<PreviewStroke> strokes;
    std::vector<AnchoredLine> lines;
    Point offset;

    // Board rectangle holding the preview as drawn, pens included
    // (onePixelUnits covers the hairlines).
    Rect bounds(int32_t onePixelUnits) const;
    // Caches the strokes' own extent; call after changing strokes.
    void measure();

private:
    Rect strokeBounds_{};
    bool empty_ = true;
};

class Previews {
public:
    const Preview& operator[](PreviewKind k) const { return items_[static_cast<size_t>(k)]; }
    // The figure a kind shows the next time it is drawn (never while drawn:
    // the figure on the screen must be the one erased).
    Preview& figure(PreviewKind k) { return items_[static_cast<size_t>(k)]; }

    void draw(PreviewKind k);
    void erase(PreviewKind k);
    void eraseIfDrawn(PreviewKind k)
    {
        if ((*this)[k].drawn)
            erase(k);
    }
    // ErasePreviews: every drawn preview, in the fixed order.
    void eraseAll();
    bool anyDrawn() const;

    // The board rectangles toggled since the last call.
    std::vector<Rect> takeDamage();
    void setOnePixelUnits(int32_t units) { onePixel_ = units; }

private:
    std::array<Preview, kPreviewKinds> items_{};
    std::vector<Rect> damage_;
    int32_t onePixel_ = 10;
};

// The outline a preview shows of an object: a capsule per segment of a line
// or track, the polygon of a zone, the figure of a pad, the arcs of a
// circle, the box of a label. Pads add their rubber bands to lines. With
// centreLines, lines and tracks show their centre line only: a drag of
// hundreds of long tracks stays light to draw.
void AppendObjectOutline(const LayoutObject& o, Preview& preview, bool centreLines = false);

} // namespace kestrel
