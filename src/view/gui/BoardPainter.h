#pragma once
// Drawing of a board and its objects on any QPainter: the screen, the
// printer and bitmap export share these functions. Everything is drawn in
// board units; the painter's transform maps units to device pixels
// (boardTransform). One-pixel lines are cosmetic pens, so they stay one
// device pixel wide at every scale.

#include "model/Board.h"
#include "model/LayoutObject.h"
#include "model/ObjectList.h"
#include "view/ObjectIndex.h"

#include <QColor>
#include <QTransform>

#include <array>

class QPainter;

namespace kestrel {

namespace BoardColours {
inline const QColor Board{255, 250, 180};
inline const QColor GroundPlane{0, 0, 128};
inline const QColor Copper{0, 0, 0};
inline const QColor Silk{255, 0, 0};
inline const QColor OtherSide{192, 192, 192};
inline const QColor Selected{255, 0, 255};
inline const QColor Marks{0, 0, 255}; // corner marks, rubber bands, autorouted tracks
inline const QColor Hole{255, 255, 255};
inline const QColor ViaHole{255, 0, 0};
inline const QColor Clearance{255, 255, 255};
inline const QColor Grid{192, 192, 192};
} // namespace BoardColours

// Which layers are shown and which side lies on top.
struct LayerState {
    int activeLayer = 1;
    std::array<bool, 4> visible{true, true, false, false};
    bool groundPlane1 = false;
    bool groundPlane2 = false;

    static LayerState of(const BoardSettings& s);
    // Layers 5 and 6 (macro layers) are always visible.
    bool isVisible(int layer) const;
    bool activeSideIs1() const { return activeLayer < 3; }
    bool activeGroundPlane() const { return activeSideIs1() ? groundPlane1 : groundPlane2; }
};

struct BoardPaintOptions {
    LayerState layers;
    int32_t boardWidth = 16000;
    int32_t boardHeight = 10000;
    double zoomPxPerUnit = 0.1; // device pixels per unit
    double gridUnits = kUnitsPerTenthInch;
    bool gridVisible = true;
    bool gridMarker = true;
    // Rubber bands between two selected pads are magenta in the autorouter tool.
    bool autorouterTool = false;
    // Threads a large repaint into an image may use; 1 paints on the
    // caller's thread only.
    int paintThreads = 1;
    // Beyond the board inside the clip; left as it is when invalid.
    QColor outsideColour;

    // Layers, size and grid from a board's settings; zoom as stored there.
    static BoardPaintOptions of(const BoardSettings& s);
};

// Maps board units to device pixels: x * zoom - scrollX, -y * zoom - scrollY.
QTransform boardTransform(double zoomPxPerUnit, double scrollX = 0, double scrollY = 0);

// The whole board view inside clipUnits (board units, normalised): the
// background (navy under the active side's ground plane, outsideColour
// beyond the board), the grid, the layers and the rubber bands. The painter must carry boardTransform.
void PaintBoard(QPainter& painter, const ObjectList& objects, const BoardPaintOptions& options,
                const Rect& clipUnits);
// The same, finding the objects through an index that must be up to date
// with the list it was built from; a large image is painted in bands on
// options.paintThreads threads.
void PaintBoard(QPainter& painter, const ObjectIndex& index, const BoardPaintOptions& options, const Rect& clipUnits);
// The grid lines inside clipUnits, limited to the board.
void DrawGrid(QPainter& painter, const BoardPaintOptions& options, const Rect& clipUnits);
// The visible layers, the inactive side under the active one, copper under
// silk, the macro layers 5 and 6 last.
void DrawLayers(QPainter& painter, const ObjectList& objects, const LayerState& layers, const Rect& clipUnits);
// One layer: clearances (copper of the active side under its ground plane),
// then every object that is not a pad, then the pads. Objects of layers 1..4
// whose bounding rectangle misses clipUnits are skipped.
void DrawLayer(QPainter& painter, const ObjectList& objects, const LayerState& layers, int layer,
               const Rect& clipUnits);

// One object in its screen colour: magenta when selected, black copper, red
// silk, grey when it lies on the side that is not active.
void DrawObject(QPainter& painter, const LayoutObject& object, int activeLayer);
// The object's outline widened by its clearance, in white.
void DrawClearance(QPainter& painter, const LayoutObject& object);
// One object in given colours (printing, bitmaps): copperColour for layers 1
// and 3, otherColour for the rest, selection ignored, pad holes white. With
// solderMask pads are enlarged by 0.3 mm and drawn without a hole.
void DrawObjectInColour(QPainter& painter, const LayoutObject& object, bool solderMask, const QColor& otherColour,
                        const QColor& copperColour);
// A pad figure of outer radius r, enlarged by e, with a hole of radius h.
// A hole as large as the pad is drawn as a ring with a cross; shapes outside
// 1..9 have no pad area, only the hole.
void DrawPadShape(QPainter& painter, const QColor& colour, int32_t e, int shape, int32_t r, int32_t h, Point centre,
                  const QColor& holeColour);
// The rubber bands of a pad, one pixel wide; selected partner pads are drawn
// shifted by (dx, dy) as the pad itself (while a selection is dragged).
void DrawRubberBands(QPainter& painter, const LayoutObject& pad, int32_t dx, int32_t dy, bool autorouterTool);

} // namespace kestrel
