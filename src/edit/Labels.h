#pragma once
// Labels in a system font (kind 3): the font height from the dialog's
// height, automatic numbering, the text box turned with the label's angle,
// creation, editing and the clamp of the label that follows the pointer.
// The core cannot measure a font: the caller passes the measured text
// (LabelMeasure), the editor from Qt's metrics, kestrel-cli from its render
// program, both through the same function.

#include "edit/EditSession.h"
#include "model/LayoutDocument.h"

#include <functional>
#include <string>

namespace kestrel {

// Font heights are reckoned at 96 pixels per inch whatever the screen, so
// a label keeps its size on every display.
constexpr int kLabelPixelsPerInch = 96;

// Width field of a label for a dialog height in units: the negative font
// height -round(height * 96 / 72).
int32_t LabelFontHeight(int32_t heightUnits);
// The dialog height (mm) a label's font height stands for.
double LabelHeightMm(int32_t fontHeight);

// The text a label gets: with numbering, the text followed by the counter.
// The file keeps 15 characters: the text gives way to the number, so
// numbered labels stay apart.
std::string NumberedLabelText(const std::string& text, bool numbering, int counter);

// The measured, turned extent of a text at a font height and angle.
using LabelMeasure = std::function<Point(const std::string& text, int32_t fontHeight, int32_t angle)>;

// Whether a box of this extent fits on a board of this size; a larger one
// would lie partly off the board wherever it was placed.
bool ExtentFitsBoard(Point extent, int32_t boardWidth, int32_t boardHeight);

struct LabelLook {
    int32_t fontHeight = 0; // the label's Width: negative, units
    int32_t angle = 0;
    uint8_t layer = 1;
    int32_t clearance = 0;
};

// A label at p: the text cut to 15 characters, the box p + its extent.
LayoutObject MakeLabel(Point p, const std::string& text, const LabelLook& look, const LabelMeasure& measure);

// Appends MakeLabel's label after an undo snapshot.
LayoutObject& CreateLabel(EditSession& session, LayoutDocument& doc, Point p, const std::string& text,
                          const LabelLook& look, const LabelMeasure& measure);

// The properties dialog's change of a label: text, height and angle, the box
// measured again from the anchor, which moves back as far as the box would
// reach off the board. Marks the document changed.
void EditLabel(LayoutDocument& doc, LayoutObject& label, const std::string& text, int32_t fontHeight,
               int32_t angle, const LabelMeasure& measure);

// Where a label whose box is anchor + extent may be put so that its box
// stays on the board: p, moved back inside where the box would cross an edge.
Point ClampLabelAnchor(Point p, Point extent, int32_t boardWidth, int32_t boardHeight);

// The same for a track label, as its tool keeps the label that follows the
// pointer: where the label cannot lie wholly on the board, its right and top
// edges win.
Point ClampTrackLabelAnchor(Point p, Point extent, int32_t boardWidth, int32_t boardHeight);

} // namespace kestrel
