#include "cli/LabelSteps.h"

#include "cli/LabelMeasure.h"
#include "edit/HitTest.h"
#include "edit/Labels.h"
#include "edit/TrackLabel.h"
#include "model/TextCodec.h"
#include "view/StrokeFont.h"

#include <algorithm>

namespace kestrel::cli {

namespace {

TrackLabelSettings trackLabelOf(const StepArgs& a)
{
    TrackLabelSettings s;
    s.text = a.text;
    s.heightMm = a.number("--height", s.heightMm);
    s.strokeWidth = unitsFromMm(a.number("--stroke", 0.0));
    s.angle = static_cast<int32_t>(a.number("--angle", 0.0));
    s.mirror = a.has("--mirror");
    s.fixedSpacing = a.has("--fixed");
    return s;
}

size_t codePoints(const std::string& utf8)
{
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char ch) { return (ch & 0xC0) != 0x80; }));
}

} // namespace

// What keeps a text from being stored as given: too long, a character the
// file's code page lacks (a label in the system font, a board's name), or no
// character the stroke font draws (a label of tracks, whose other
// characters are gaps, as in the editor).
std::optional<std::string> textProblem(const StepRow& row, const std::string& text, Language lang)
{
    const bool strokes = std::string(row.name) == "track-label";
    const size_t most = strokes                                  ? TrackLabelSettings::kTextMax
                        : std::string(row.name) == "board-name" ? static_cast<size_t>(kBoardNameMax)
                                                                 : kTextValueMax;
    if (codePoints(text) > most)
        return tr(lang, "текст длиннее ", "text longer than ") + std::to_string(most) +
               tr(lang, " знаков", " characters");
    if (strokes) {
        if (!StrokeFontDrawsAny(text))
            return std::string(tr(lang, "ни одного знака из шрифта надписи из дорожек",
                                  "no character the track font draws"));
        return std::nullopt;
    }
    if (const std::string ch = firstCharacterOutsideCp1251(text); !ch.empty())
        return tr(lang, "знак, которого нет в кодировке файла: ", "a character the file cannot hold: ") + ch;
    return std::nullopt;
}

// The label of tracks dialog's height and stroke (its text: textProblem).
bool validTrackLabel(const StepArgs& a)
{
    const TrackLabelSettings s = trackLabelOf(a);
    const double stroke = a.number("--stroke", 1.0);
    return s.heightMm >= TrackLabelSettings::kMinHeightMm && s.heightMm <= TrackLabelSettings::kMaxHeightMm &&
           stroke >= 0.01 && stroke <= 99.9;
}

void trackLabel(EditContext& c, const StepArgs& a)
{
    const uint8_t layer =
        a.has("--layer") ? layerOf(a.options.at("--layer")) : static_cast<uint8_t>(c.doc.Working.ActiveLayer);
    int32_t counter = 0;
    const TrackLabelSettings settings = trackLabelOf(a);
    if (!TrackLabelFits(settings, counter, c.doc.Working.BoardWidth, c.doc.Working.BoardHeight)) {
        note(tr(c.lang, "шаг track-label: надпись больше платы; ничего не добавлено",
                "step track-label: the label is larger than the board; nothing added"));
        return;
    }
    // Kept on the board as the track-label tool keeps the label that follows
    // the pointer: letters beyond the edge would go with the next save.
    const Point at = ClampTrackLabelAnchor(boardPoint(a.numbers[0], a.numbers[1]), StrokeTextExtent(settings, counter),
                                           c.doc.Working.BoardWidth, c.doc.Working.BoardHeight);
    GenerateTrackLabel(c.session, c.doc, settings, counter, at, layer, c.tools.CurrentClearance);
}

// The label dialog's height: 1 to 99.9 (mm).
bool validLabel(const StepArgs& a)
{
    const double height = a.number("--height", 3.0);
    return height >= 1 && height <= 99.9;
}

// A label in the system font, as the label tool leaves it, its box measured
// beforehand.
void label(EditContext& c, const StepArgs& a)
{
    const uint8_t layer =
        a.has("--layer") ? layerOf(a.options.at("--layer")) : static_cast<uint8_t>(c.doc.Working.ActiveLayer);
    const LabelLook look{LabelStepFontHeight(a), LabelStepAngle(a), layer, c.tools.CurrentClearance};
    const Point extent = a.extent.value_or(Point{0, 0});
    if (!ExtentFitsBoard(extent, c.doc.Working.BoardWidth, c.doc.Working.BoardHeight)) {
        note(tr(c.lang, "шаг label: надпись больше платы; ничего не добавлено",
                "step label: the label is larger than the board; nothing added"));
        return;
    }
    // Kept on the board as the label tool keeps the label that follows the
    // pointer.
    const Point at = ClampLabelAnchor(boardPoint(a.numbers[0], a.numbers[1]), extent, c.doc.Working.BoardWidth,
                                      c.doc.Working.BoardHeight);
    CreateLabel(c.session, c.doc, at, a.text, look, [extent](const std::string&, int32_t, int32_t) { return extent; });
}

// A double click on a label in the system font and its properties dialog:
// the text, and the height and angle given (the label's own where left
// out). The box is measured now, in the height and angle it gets.
void relabel(EditContext& c, const StepArgs& a)
{
    const long i = FindObjectAt(c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
    LayoutObject* found = i >= 0 ? &c.objects()[static_cast<size_t>(i)] : nullptr;
    if (!found || !found->is(ObjectKind::Text)) {
        note(tr(c.lang, "шаг relabel: в точке нет надписи системным шрифтом; ничего не изменено",
                "step relabel: no label in the system font at the point; nothing changed"));
        return;
    }
    const int32_t fontHeight = a.has("--height") ? LabelStepFontHeight(a) : found->Width;
    const int32_t angle = a.has("--angle") ? LabelStepAngle(a) : found->Angle;
    std::string error;
    const std::optional<Point> extent = measureLabel(a.text, fontHeight, angle, c.lang, error);
    if (!extent) {
        note(tr(c.lang, "шаг relabel: ", "step relabel: ") + error);
        return;
    }
    if (!ExtentFitsBoard(*extent, c.doc.Working.BoardWidth, c.doc.Working.BoardHeight)) {
        note(tr(c.lang, "шаг relabel: надпись больше платы; ничего не изменено",
                "step relabel: the label is larger than the board; nothing changed"));
        return;
    }
    c.session.objectsWillChange();
    EditLabel(c.doc, *found, a.text, fontHeight, angle, [&extent](const std::string&, int32_t, int32_t) {
        return *extent;
    });
}

} // namespace kestrel::cli
