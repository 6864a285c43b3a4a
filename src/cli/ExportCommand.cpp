// kestrel-cli export: every manufacturing file of a board in one go.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "output/DrillExport.h"
#include "output/GerberExport.h"

#include <cstdio>
#include <filesystem>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "lang"}, {});
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.integer("board");
    if (!args.ok())
        return fail(kExitUsage, args.error());
    const auto lang = languageOption(args);
    if (!lang)
        return kExitUsage;
    const std::filesystem::path dir = args.positional()[1];
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec))
        return fail(kExitFailure, dir.string() + " is not a directory");

    std::optional<LayoutDocument> doc;
    const Board* board = loadExportBoard(args.positional()[0], boardIndex, doc);
    if (!board)
        return kExitFailure;
    std::vector<std::string> written;
    for (GerberLayer layer : {GerberLayer::K1, GerberLayer::B1, GerberLayer::K2, GerberLayer::B2, GerberLayer::LStop1,
                              GerberLayer::LStop2}) {
        const std::string path = (dir / gerberDefaultFileName(layer, *lang)).string();
        const Status status = writeGerber(path, board->Objects, doc->Working, GerberOptions::presetFor(layer), *lang);
        if (!status)
            return fail(kExitFailure, status.message());
        written.push_back(path);
    }
    const std::string drillPath = (dir / drillDefaultFileName(*lang)).string();
    if (const Status status = writeDrill(drillPath, board->Objects, doc->Working, DrillSide::Solder); !status)
        return fail(kExitFailure, status.message());
    written.push_back(drillPath);
    for (const std::string& path : written)
        std::printf("%s\n", path.c_str());
    return kExitOk;
}

const Registration reg({"export", "write every Gerber layer, both solder masks and the drill file",
                        "usage: kestrel-cli export [--board N] [--lang 0|1] IN.kbd OUTDIR\n\n"
                        "Writes the copper and silk layers of both sides, both solder masks and the drill\n"
                        "file of board N (0-based; default the active board) into OUTDIR under their default\n"
                        "names (language 0: KUPFER1.GBR ... BOHRUNG.DRL; 1: COPPER1.GBR ... DRILL.DRL), each\n"
                        "with the options the export dialog presets, and prints the files written.\n",
                        run});

} // namespace
} // namespace kestrel::cli
