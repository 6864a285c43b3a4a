#pragma once
// The board walk: what of a board is drawn, in which order, colour and
// figure, once for every back end. It hands each figure, in board units, to
// a FigureSink; the screen, the printer and bitmap export differ only in
// the sink and the options. The painter's transform maps units to device
// pixels (boardTransform).

#include "model/Board.h"
#include "model/LayoutObject.h"
#include "model/ObjectList.h"
#include "view/ObjectIndex.h"
#include "view/gui/BandedPaint.h"
#include "view/gui/FigureSink.h"

#include <QColor>
#include <QRectF>
#include <QTransform>

#include <array>
#include <chrono>

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
    // Off, selected objects are drawn as if unselected (exported bitmaps).
    bool showSelection = true;

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
    // caller's thread only. The others take part only if they start within
    // helperStart of the repaint's beginning.
    int paintThreads = 1;
    std::chrono::microseconds helperStart = PaintBands::kPromptStart;
    // Beyond the board inside the clip; left as it is when invalid.
    QColor outsideColour;
    // The back end PaintBoard on a painter draws through.
    SinkChoice sink = SinkChoice::Fastest;
    // The scanned copy of the active side, drawn over the background under
    // the grid and the layers; none when null.
    const QImage* underlay = nullptr;
    QRectF underlayUnits;

    // Layers, size and grid from a board's settings; zoom as stored there.
    static BoardPaintOptions of(const BoardSettings& s);
};

// Maps board units to device pixels: x * zoom - scrollX, -y * zoom - scrollY.
QTransform boardTransform(double zoomPxPerUnit, double scrollX = 0, double scrollY = 0);

// The whole board view inside clipUnits (board units, normalised): the
// background (navy under the active side's ground plane, outsideColour
// beyond the board), the grid, the layers and the rubber bands.
void PaintBoard(FigureSink& sink, const ObjectList& objects, const BoardPaintOptions& options,
                const Rect& clipUnits);
// The same on a painter carrying boardTransform, through the sink
// options.sink chooses, finding the objects through an index that must be
// up to date with the list it was built from; a large image is painted in
// bands on options.paintThreads threads, each with a sink of its own, where
// the sink's pixels allow it.
void PaintBoard(QPainter& painter, const ObjectIndex& index, const BoardPaintOptions& options, const Rect& clipUnits);
// The grid lines inside clipUnits, limited to the board.
void DrawGrid(FigureSink& sink, const BoardPaintOptions& options, const Rect& clipUnits);
// The visible layers, the inactive side under the active one, copper under
// silk, the macro layers 5 and 6 last.
void DrawLayers(FigureSink& sink, const ObjectList& objects, const LayerState& layers, const Rect& clipUnits);
// One layer: clearances (copper of the active side under its ground plane),
// then every object that is not a pad, then the pads. Objects of layers 1..4
// whose bounding rectangle misses clipUnits are skipped.
void DrawLayer(FigureSink& sink, const ObjectList& objects, const LayerState& layers, int layer,
               const Rect& clipUnits);

// One object in its screen colour: magenta when selected, black copper, red
// silk, grey when it lies on the side that is not active.
void DrawObject(FigureSink& sink, const LayoutObject& object, int activeLayer);
// The object's outline widened by its clearance, in white.
void DrawClearance(FigureSink& sink, const LayoutObject& object);
// One object in given colours (printing, bitmaps): copperColour for layers 1
// and 3, otherColour for the rest, selection ignored, pad holes white. With
// solderMask pads are enlarged by kSolderMaskEnlargement and drawn without a hole.
void DrawObjectInColour(FigureSink& sink, const LayoutObject& object, bool solderMask, const QColor& otherColour,
                        const QColor& copperColour);
// A pad's figure (padFigure) enlarged by e, with its hole in holeColour. A
// hole as large as the pad is drawn as a ring with a cross; shapes outside
// 1..9 have no pad area, only the hole.
void DrawPadShape(FigureSink& sink, const LayoutObject& pad, int32_t e, const QColor& colour,
                  const QColor& holeColour);
// The rubber bands of a pad, one pixel wide; selected partner pads are drawn
// shifted by (dx, dy) as the pad itself (while a selection is dragged).
void DrawRubberBands(FigureSink& sink, const LayoutObject& pad, int32_t dx, int32_t dy, bool autorouterTool);

} // namespace kestrel
