// kestrel-cli export: every manufacturing file of a board in one go.

#include "cli/Command.h"
#include "cli/ExportRuns.h"

#include <algorithm>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& args)
{
    if (std::find(args.begin(), args.end(), "--font-labels") != args.end())
        return runRenderer("export", args);
    return runExportCommand(args, nullptr);
}

const Registration reg({"export", "write every Gerber layer, both solder masks and the drill file",
                        "usage: kestrel-cli export [--board N] [--font-labels] [--lang ru|en] IN.kbd OUTDIR\n\n"
                        "Writes the copper and silk layers of both sides, both solder masks and the drill\n"
                        "file of board N (0-based; default the active board) into OUTDIR under their default\n"
                        "names (ru: KUPFER1.GBR ... BOHRUNG.DRL; en: COPPER1.GBR ... DRILL.DRL; 0 and 1 are\n"
                        "accepted too), each with the options the export dialog presets, and prints the files\n"
                        "written. The files replace those in OUTDIR together, only once all are complete, so\n"
                        "a failure leaves the previous set. OUTDIR is made when it is missing; the folder\n"
                        "above it must exist. --font-labels draws labels in a system font as filled glyph\n"
                        "outlines; without it they are left out and their count is printed on stderr.\n\n"
                        "examples:\n"
                        "  kestrel-cli export board.kbd gerber/\n"
                        "  kestrel-cli export --lang en --board 1 board.kbd fab/\n",
                        run});

} // namespace
} // namespace kestrel::cli
