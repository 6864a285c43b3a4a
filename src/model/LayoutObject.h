#pragma once
// One drawable record of a board: line, pad, label, zone, circle or track.
// The persistent fields are those of the 74-byte on-disk image
// (RecordImages.h); the others exist in memory only.

#include "model/ObjectPool.h"
#include "model/PackedList.h"
#include "model/ShortText.h"
#include "model/Types.h"

#include <array>
#include <cstdint>
#include <string>

namespace kestrel {

enum class ObjectKind : uint8_t { Line = 1, Pad = 2, Text = 3, Zone = 4, Circle = 5, Track = 6 };

enum class PadShape : uint8_t {
    Round = 1,
    Octagon = 2,
    Square = 3,
    RoundedH = 4,
    OctagonH = 5,
    RectH = 6,
    RoundedV = 7,
    OctagonV = 8,
    RectV = 9,
};

// Layer codes: 1 copper side 1, 2 silk side 1, 3 copper side 2, 4 silk side 2,
// 5/6 side-neutral copper/silk inside macro files.
namespace Layer {
constexpr uint8_t K1 = 1, B1 = 2, K2 = 3, B2 = 4, MacroCopper = 5, MacroSilk = 6;
inline bool isSide1(int layer) { return layer < 3; }
inline bool isCopper(int layer) { return layer == 1 || layer == 3 || layer == 5; }
inline int partnerLayer(int layer) { return layer < 3 ? layer + 2 : layer - 2; }
} // namespace Layer

constexpr int kTextValueMax = 15;

struct LayoutObject {
    // The fields are grouped by size so that no padding falls between them,
    // and the ones every pass over a list reads share the first cache line.
    // File order is kept by RecordImages.h, not here.

    // ---- persistent part ----
    uint8_t Kind = 0;
    uint8_t Selected = 0;
    uint8_t Layer = 0;
    uint8_t Shape = 0;
    uint8_t Filled = 0;
    uint8_t Reserved46 = 0;
    uint8_t Reserved55 = 0;
    std::array<uint8_t, 5> Reserved69{};
    uint16_t LegacyGroup = 0;
    int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    int32_t Width = 0;
    int32_t Angle = 0;
    int32_t Clearance = 0;

    // ---- in-memory part, small fields ----
    // Whether the four on-disk Partner bytes were non-zero: a pad read from a
    // macro file remembers that it was a via so the partner can be recreated.
    bool PartnerBytesSet = false;
    // The Selected byte as the file held it; the editor clears Selected on
    // reading, while kestrel-cli can still act on a selection saved with a file.
    bool SelectedInFile = false;
    uint8_t DrawSide = 0;
    uint8_t FillOn = 0;
    uint8_t Highlight = 0;
    uint8_t Routed = 0;
    uint8_t CopiedMark = 0;
    mutable int32_t ListIndex = -1; // scratch while writing files: own list position

    // ---- persistent part, lists and references ----
    PackedList<Point> Points;
    PackedList<int32_t> Groups; // innermost first, outermost last
    LayoutObject* Partner = nullptr;           // via partner (pads), never owned
    PackedList<LayoutObject*> Connections;     // rubber bands (pads), never owned
    ShortText TextValue; // UTF-8 in memory, at most 15 characters

    // ---- in-memory part, references ----
    LayoutObject* RouteFrom = nullptr;
    LayoutObject* RouteTo = nullptr;

    // Objects on the heap live in the object pool's slots.
    static void* operator new(size_t bytes) { return objectpool::take(bytes); }
    static void operator delete(void* slot) noexcept { objectpool::give(slot); }

    ObjectKind kind() const { return static_cast<ObjectKind>(Kind); }
    bool is(ObjectKind k) const { return Kind == static_cast<uint8_t>(k); }
    bool hasPoints() const { return is(ObjectKind::Zone) || is(ObjectKind::Track); }
    // Last group number, or -1 when the object belongs to no group.
    int32_t outerGroup() const { return Groups.empty() ? -1 : Groups.back(); }

    // What the shared fields mean for each kind, all lengths in board units.
    // Pads and circles: centre (X1, Y1), outer radius X2, hole or inner radius Y2.
    Point centre() const { return {X1, Y1}; }
    int32_t padOuterRadius() const { return X2; }
    int32_t holeRadius() const { return Y2; }
    int32_t circleOuterRadius() const { return X2; }
    int32_t circleInnerRadius() const { return Y2; }
    void setPadOuterRadius(int32_t r) { X2 = r; }
    void setHoleRadius(int32_t r) { Y2 = r; }
    void setCircleOuterRadius(int32_t r) { X2 = r; }
    void setCircleInnerRadius(int32_t r) { Y2 = r; }
    // A circle is drawn counter-clockwise from its start angle (Angle) to its
    // stop angle (Width), whole degrees; equal angles give the full circle.
    int32_t arcStartDegrees() const { return Angle; }
    int32_t arcStopDegrees() const { return Width; }
    void setArcStartDegrees(int32_t a) { Angle = a; }
    void setArcStopDegrees(int32_t a) { Width = a; }
    // Lines, zones and tracks: the pen width. Labels: the font's cell height
    // and the turn about the anchor (X1, Y1) in whole degrees.
    int32_t widthUnits() const { return Width; }
    int32_t fontHeight() const { return Width; }
    int32_t textDegrees() const { return Angle; }
    // Lines: the two end points. Labels: the anchor and the far box corner.
    Point start() const { return {X1, Y1}; }
    Point end() const { return {X2, Y2}; }
};

// A pen without width is drawn this wide (half width 20, 0.2 mm across).
constexpr int32_t kDefaultHalfWidth = 20;
// Solder-mask openings are pads grown by 0.3 mm.
constexpr int32_t kSolderMaskEnlargement = 30;

// Creation operations: Selected 0, LegacyGroup 0, no groups. The caller sets
// Clearance and appends the object to a list.
LayoutObject makePad(Point centre, int32_t outerRadius, uint8_t shape, uint8_t layer, int32_t holeRadius);
LayoutObject makeCircle(Point centre, int32_t outerRadius, uint8_t currentPadShape, uint8_t layer,
                        int32_t innerRadius);
LayoutObject makeText(Point anchor, const std::string& text, int32_t angle, int32_t fontHeight,
                      int32_t farX, int32_t farY, uint8_t layer);
LayoutObject makeZone(int32_t width, uint8_t layer);
LayoutObject makeTrack(int32_t width, uint8_t layer);
LayoutObject makeLine(Point from, Point to, int32_t width, uint8_t layer);

// Copy of an object as the editor duplicates it: persistent fields, own
// point and group lists, the same band and partner references, the route
// fields. Marks the source as copied.
LayoutObject copyObject(LayoutObject& source);

void translate(LayoutObject& o, int32_t dx, int32_t dy);

// A label's far corner offset from its anchor for text w wide and h high
// (units), the text turned clockwise on the screen by angle (0, 90, 180,
// 270): the box always lies on the side the text is written to.
Point TurnedLabelExtent(int32_t w, int32_t h, int32_t angle);

// Cuts a UTF-8 string to at most n characters.
std::string cutToCharacters(const std::string& utf8, size_t n);

} // namespace kestrel
