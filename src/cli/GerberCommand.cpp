// kestrel-cli gerber: one layer of a board as an RS-274X file.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "output/GerberExport.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

constexpr const char* kLayerList = "K1, B1, K2, B2, LStop1 or LStop2";

// --name / --no-name; nullopt when neither is given.
std::optional<bool> onOff(Args& args, const std::string& name)
{
    const bool on = args.flag(name), off = args.flag("no-" + name);
    if (on && off)
        args.reject("--" + name + " and --no-" + name + " contradict each other");
    if (on || off)
        return on;
    return std::nullopt;
}

// The core's rule, worded in terms of this command's options.
std::string problemText(GerberOptions::Problem problem)
{
    using P = GerberOptions::Problem;
    switch (problem) {
    case P::PunchOnMask:
        return "--punch and --mark apply to copper and silk layers only";
    case P::MaskOptionOnOtherLayer:
        return "--offset and --invert apply to the solder masks LStop1 and LStop2 only";
    case P::MarkWithoutPunch:
        return "--mark needs --punch";
    case P::OffsetOutOfRange:
        return "--offset must lie between " + mmText(GerberOptions::kMinOffsetMm) + " and " +
               mmText(GerberOptions::kMaxOffsetMm) + " mm";
    case P::None:
        break;
    }
    return {};
}

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "layer", "offset", "lang"},
              {"mirror", "no-mirror", "outline", "no-outline", "punch", "mark", "invert"});
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.index("board");
    const auto offsetMm = args.number("offset");
    if (!args.ok())
        return fail(kExitUsage, args.error());
    const auto key = args.value("layer");
    if (!key)
        return fail(kExitUsage, std::string("--layer is required (") + kLayerList + ")");
    const auto layer = gerberLayerFromKey(*key);
    if (!layer)
        return fail(kExitUsage, "unknown layer '" + *key + "' (" + kLayerList + ")");
    const auto lang = languageOption(args);

    GerberOptions options = GerberOptions::presetFor(*layer);
    if (auto v = onOff(args, "mirror"))
        options.mirror = *v;
    if (auto v = onOff(args, "outline"))
        options.outline = *v;
    if (!args.ok())
        return fail(kExitUsage, args.error());
    options.punch = args.flag("punch");
    options.mark = args.flag("mark");
    options.invert = args.flag("invert");
    options.offsetMm = offsetMm.value_or(0);
    if (const auto problem = options.check(); problem != GerberOptions::Problem::None)
        return fail(kExitUsage, problemText(problem));

    std::optional<LayoutDocument> doc;
    const Board* board = loadExportBoard(args.positional()[0], boardIndex, doc);
    if (!board)
        return kExitFailure;
    const std::string& out = args.positional()[1];
    if (const Status written = writeGerber(out, board->Objects, doc->Working, options, *lang); !written)
        return fail(kExitFailure, written.message());
    std::printf("wrote layer %s of board \"%s\" to %s\n", std::string(gerberLayerKey(*layer)).c_str(),
                board->Name.c_str(), out.c_str());
    return kExitOk;
}

const std::string kUsage =
    "usage: kestrel-cli gerber [--board N] --layer K1|B1|K2|B2|LStop1|LStop2 [--mirror|--no-mirror]\n"
    "                          [--outline|--no-outline] [--punch] [--mark] [--offset MM] [--invert]\n"
    "                          [--lang ru|en] IN.kbd OUT.gbr\n\n"
    "Writes one layer of board N (0-based; default the active board): copper K1/K2 (with the\n"
    "ground plane when the side has one), silk screen B1/B2, or the solder mask LStop1/LStop2.\n"
    "Options left unset take the values the export dialog presets for the layer: mirror on for\n"
    "K1, LStop1 and B2, board outline on for K1 and K2; punch, mark and invert off, offset 0.\n"
    "  --punch        cut the drill holes out of the layer (copper and silk)\n"
    "  --mark         with --punch: 0.3 mm centre marks instead of full holes\n"
    "  --offset MM    solder mask: enlarge every opening by MM (" +
    mmText(GerberOptions::kMinOffsetMm) + " to " + mmText(GerberOptions::kMaxOffsetMm) + ")\n" +
    "  --invert       solder mask: cut the openings out of a dark board\n"
    "  --lang ru|en   layer name in the file: ru for the Russian interface (default), en for\n"
    "                 the English one; 0 and 1 are accepted too\n\n"
    "examples:\n"
    "  kestrel-cli gerber --layer K1 board.kbd KUPFER1.GBR\n"
    "  kestrel-cli gerber --layer LStop2 --offset 0.2 --lang en board.kbd SLDMASK2.GBR\n";

const Registration reg({"gerber", "export one layer of a board as an RS-274X Gerber file", kUsage, run});

} // namespace
} // namespace kestrel::cli
