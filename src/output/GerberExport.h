#pragma once
// Gerber export of one layer of a board: copper or silk screen of either
// side (copper optionally with its ground plane and punched drill holes) or
// the solder mask of either side. Board coordinates (x, y) go to the file as
// (x, y + H), putting the origin at the board's lower left corner.

#include "model/Board.h"
#include "model/Language.h"
#include "model/Result.h"
#include "output/LabelOutlines.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// The six layer buttons of the export dialog.
enum class GerberLayer { K1, B1, LStop1, K2, B2, LStop2 };

struct GerberOptions {
    // The solder-mask offset the dialog offers: 0 to 9.9 mm in steps of 0.1.
    static constexpr double kMinOffsetMm = 0, kMaxOffsetMm = 9.9, kOffsetStepMm = 0.1;
    static constexpr int kOffsetDecimals = 1;

    GerberLayer layer = GerberLayer::K1;
    bool mirror = true;        // about the board's vertical centre line
    bool outline = true;       // board outline with a 0.2 mm pen
    bool punch = false;        // the holes of the layer's own pads punched out
    bool mark = false;         // punch 0.3 mm centre marks instead of holes
    double offsetMm = 0;       // solder mask: enlargement of every opening
    bool invert = false;       // solder mask: openings cut out of a dark board
    // Labels in a system font as filled glyph outlines (needs a source of
    // outlines); off, they are left out as the classic export does.
    bool fontLabels = false;
    // Filled circles and arcs as the filled figure the screen shows; off,
    // only their arc is written, as the classic export does.
    bool filledCircles = false;
    // A full circle (start angle equal to stop) written from 0 degrees: from
    // other angles the rounded start point leaves some viewers a dot. Off,
    // it starts at its start angle, as the classic export writes it.
    bool fullCirclesFromZero = false;
    // A "G04" comment line opening the body, followed by the selection of
    // the 0.2 mm pen so that every such file has an aperture table; none
    // when empty.
    std::string_view comment = {};

    // What clicking the layer's button presets: mirror and outline per
    // layer, everything else off.
    static GerberOptions presetFor(GerberLayer layer);

    // Which options a layer takes: punching and marking on copper and silk,
    // offset and inversion on the solder masks.
    static bool takesPunch(GerberLayer layer);
    static bool takesMaskOptions(GerberLayer layer);

    // Why the export dialog could never produce these options; None when it could.
    enum class Problem { None, PunchOnMask, MaskOptionOnOtherLayer, MarkWithoutPunch, OffsetOutOfRange };
    Problem check() const;
};

bool isSolderMask(GerberLayer layer);
// The board layer exported by a copper or silk button; 0 for the masks.
int boardLayerOf(GerberLayer layer);

// "K1", "B1", "LStop1", ... and back.
std::string_view gerberLayerKey(GerberLayer layer);
std::optional<GerberLayer> gerberLayerFromKey(std::string_view key);

// Default file name and %LN layer name per button and language; empty for a
// language other than 0 or 1.
std::string gerberDefaultFileName(GerberLayer layer, Language lang);
std::string gerberLayerName(GerberLayer layer, Language lang);

// The whole file text. Labels in a system font are drawn only with
// options.fontLabels and a source of their outlines.
std::string exportGerber(const ObjectList& objects, const BoardSettings& settings, const GerberOptions& options,
                         Language lang, const LabelOutlineSource* labels = nullptr);
// Writes the file atomically.
Status writeGerber(const std::string& path, const ObjectList& objects, const BoardSettings& settings,
                   const GerberOptions& options, Language lang, const LabelOutlineSource* labels = nullptr);

// How many labels in a system font the layer holds: what an export without
// font labels leaves out.
size_t fontLabelsOnLayer(const ObjectList& objects, GerberLayer layer);

// A file holding only the board outline (0.2 mm pen) and a comment.
std::string exportBoardOutline(const BoardSettings& settings, std::string_view comment);

} // namespace kestrel
