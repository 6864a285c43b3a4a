#pragma once
// Labels made of tracks: the text drawn by the stroke font as ordinary
// tracks, one group per character and one group for the whole label.

#include "edit/EditSession.h"
#include "model/LayoutDocument.h"

#include <cstdint>
#include <string>

namespace kestrel {

enum class StrokeWeight : uint8_t { Thin, Normal, Bold };

// What the track-label dialog collects.
struct TrackLabelSettings {
    static constexpr int kTextMax = 50;
    static constexpr double kMinHeightMm = 0.1, kMaxHeightMm = 50.0;
    static constexpr int kMaxStart = 9999;

    std::string text = "Text"; // UTF-8
    double heightMm = 5.0;
    bool fixedSpacing = false;
    StrokeWeight weight = StrokeWeight::Normal;
    int32_t angle = 0; // 0, 90, 180 or 270, clockwise on the screen
    bool mirror = false; // reflected left to right about the start point
    bool numbered = false;
    int32_t start = 0;
    int32_t strokeWidth = 0; // units; 0 takes it from the weight
};

// Units per glyph cell when placing: round(height * 100) div 9.
int32_t GlyphScale(double heightMm);
// The stroke width for the cell size: s / 1.8, s / 1.1 or s / 0.8, rounded.
int32_t LabelStrokeWidth(int32_t scale, StrokeWeight weight);
// The text a label gets: with numbering, the counter follows it.
std::string TrackLabelText(const TrackLabelSettings& settings, int32_t counter);

// The label's box from its start point for the outline that follows the
// pointer, turned and mirrored as the label is. It counts cells of
// round(height * 100) div 8, a little larger than the placed glyphs.
Point StrokeTextExtent(const TrackLabelSettings& settings, int32_t counter);

// The width and height the placed label's strokes cover, pens included.
Point TrackLabelSize(const TrackLabelSettings& settings, int32_t counter);
// Whether that size fits on a board of this size; a larger label would lie
// partly off the board wherever it was placed.
bool TrackLabelFits(const TrackLabelSettings& settings, int32_t counter, int32_t boardWidth, int32_t boardHeight);

// Appends the text's tracks to the list with the start point p the left end
// of the first character's baseline. The list ends with nothing selected.
// Returns how many tracks were made.
size_t PlaceStrokeText(ObjectList& list, const std::string& utf8Text, const TrackLabelSettings& settings, Point p,
                       uint8_t layer, int32_t clearance);

// How far strokes lying in `strokes` (their drawn box, pens included) must
// move to lie on the board: the extent a label is placed by leaves out the
// letters below the line and the pen. Nothing on an axis where they are
// larger than the board.
Point StrokesBackOnBoard(const Rect& strokes, const Rect& board);
// The drawn box of the tracks from `first` on, without their clearance.
Rect StrokesBox(const ObjectList& list, size_t first);

// The generator behind the dialog and the track-label tool: one undo
// snapshot, then the label (text plus counter when numbered, which then
// counts on) on the active board. Returns the tracks made.
size_t GenerateTrackLabel(EditSession& session, LayoutDocument& doc, const TrackLabelSettings& settings,
                          int32_t& counter, Point p, uint8_t layer, int32_t clearance);

} // namespace kestrel
