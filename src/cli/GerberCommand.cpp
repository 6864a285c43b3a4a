// kestrel-cli gerber: one layer of a board as an RS-274X file.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "output/GerberExport.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

// --name / --no-name; nullopt when neither is given.
std::optional<bool> onOff(Args& args, const std::string& name, std::string& error)
{
    const bool on = args.flag(name), off = args.flag("no-" + name);
    if (on && off)
        error = "--" + name + " and --no-" + name + " contradict each other";
    if (on || off)
        return on;
    return std::nullopt;
}

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "layer", "offset", "lang"},
              {"mirror", "no-mirror", "outline", "no-outline", "punch", "mark", "invert"});
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.integer("board");
    const auto offsetMm = args.number("offset");
    if (!args.ok())
        return fail(kExitUsage, args.error());
    const auto key = args.value("layer");
    if (!key)
        return fail(kExitUsage, "--layer is required (K1, B1, K2, B2, LStop1 or LStop2)");
    const auto layer = gerberLayerFromKey(*key);
    if (!layer)
        return fail(kExitUsage, "unknown layer '" + *key + "' (K1, B1, K2, B2, LStop1 or LStop2)");
    const auto lang = languageOption(args);
    if (!lang)
        return kExitUsage;

    GerberOptions options = GerberOptions::presetFor(*layer);
    std::string error;
    if (auto v = onOff(args, "mirror", error))
        options.mirror = *v;
    if (auto v = onOff(args, "outline", error))
        options.outline = *v;
    if (!error.empty())
        return fail(kExitUsage, error);
    options.punch = args.flag("punch");
    options.mark = args.flag("mark");
    options.invert = args.flag("invert");
    if (isSolderMask(*layer)) {
        if (options.punch || options.mark)
            return fail(kExitUsage, "--punch and --mark apply to copper and silk layers only");
    } else if (options.invert || offsetMm) {
        return fail(kExitUsage, "--offset and --invert apply to the solder masks LStop1 and LStop2 only");
    }
    if (options.mark && !options.punch)
        return fail(kExitUsage, "--mark needs --punch");
    if (offsetMm) {
        if (!(*offsetMm >= 0 && *offsetMm <= 9.9))
            return fail(kExitUsage, "--offset must lie between 0 and 9.9 mm");
        options.offsetMm = *offsetMm;
    }

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

const Registration reg(
    {"gerber", "export one layer of a board as an RS-274X Gerber file",
     "usage: kestrel-cli gerber [--board N] --layer K1|B1|K2|B2|LStop1|LStop2 [--mirror|--no-mirror]\n"
     "                          [--outline|--no-outline] [--punch] [--mark] [--offset MM] [--invert]\n"
     "                          [--lang 0|1] IN.kbd OUT.gbr\n\n"
     "Writes one layer of board N (0-based; default the active board): copper K1/K2 (with the\n"
     "ground plane when the side has one), silk screen B1/B2, or the solder mask LStop1/LStop2.\n"
     "Options left unset take the values the export dialog presets for the layer: mirror on for\n"
     "K1, LStop1 and B2, board outline on for K1 and K2; punch, mark and invert off, offset 0.\n"
     "  --punch        cut the drill holes out of the layer (copper and silk)\n"
     "  --mark         with --punch: 0.3 mm centre marks instead of full holes\n"
     "  --offset MM    solder mask: enlarge every opening by MM (0 to 9.9)\n"
     "  --invert       solder mask: cut the openings out of a dark board\n"
     "  --lang 0|1     layer name in the file: 0 Russian interface (default), 1 English\n",
     run});

} // namespace
} // namespace kestrel::cli
