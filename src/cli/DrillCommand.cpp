// kestrel-cli drill: the pad holes of a board as an Excellon drill file.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "output/DrillExport.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "from"}, {});
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.index("board");
    if (!args.ok())
        return fail(kExitUsage, args.error());
    DrillSide side = DrillSide::Solder;
    if (const auto from = args.value("from")) {
        if (*from == "component")
            side = DrillSide::Component;
        else if (*from != "solder")
            return fail(kExitUsage, "--from expects solder or component, not '" + *from + "'");
    }
    if (const auto refused = outputIsInput(args, Language::English))
        return fail(kExitUsage, *refused);
    std::optional<LayoutDocument> doc;
    const Board* board = loadExportBoard(args.positional()[0], boardIndex, doc, Language::English);
    if (!board)
        return kExitFailure;
    const std::string& out = args.positional()[1];
    if (const Status written = writeDrill(out, board->Objects, doc->Working, side, Language::English); !written)
        return fail(kExitFailure, written.message());
    std::printf("wrote %zu drill tool(s) of board \"%s\" to %s\n", drillSizeList(board->Objects).size(),
                board->Name.c_str(), out.c_str());
    return kExitOk;
}

const Registration reg({"drill", "export the pad holes of a board as an Excellon drill file",
                        "usage: kestrel-cli drill [--board N] [--from solder|component] IN.kbd OUT.drl\n\n"
                        "Writes the holes of board N (0-based; default the active board), one tool per hole\n"
                        "diameter in order of first appearance. Drilled from the solder side (the default)\n"
                        "the x coordinates are mirrored.\n\n"
                        "examples:\n"
                        "  kestrel-cli drill board.kbd BOHRUNG.DRL\n"
                        "  kestrel-cli drill --from component --board 1 board.kbd DRILL.DRL\n",
                        run});

} // namespace
} // namespace kestrel::cli
