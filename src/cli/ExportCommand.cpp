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

namespace fs = std::filesystem;

// The output folder, made when it is missing; its parent must exist, so a
// mistyped path does not grow a tree of folders.
bool prepareFolder(const fs::path& dir)
{
    std::error_code ec;
    if (fs::is_directory(dir, ec))
        return true;
    if (fs::exists(dir, ec)) {
        fail(kExitFailure, dir.string() + " is not a directory");
        return false;
    }
    if (fs::create_directory(dir, ec))
        return true;
    fail(kExitFailure, "cannot create the folder " + dir.string() + ": " +
                           (ec == std::errc::no_such_file_or_directory ? "the folder above it does not exist"
                                                                       : ec.message()));
    return false;
}

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "lang"}, {});
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.index("board");
    const auto lang = languageOption(args);
    if (!args.ok())
        return fail(kExitUsage, args.error());

    std::optional<LayoutDocument> doc;
    const Board* board = loadExportBoard(args.positional()[0], boardIndex, doc);
    if (!board)
        return kExitFailure;
    const fs::path dir = args.positional()[1];
    if (!prepareFolder(dir))
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
    if (const Status status = writeDrill(drillPath, board->Objects, doc->Working, DrillSide::Solder, *lang); !status)
        return fail(kExitFailure, status.message());
    written.push_back(drillPath);
    for (const std::string& path : written)
        std::printf("%s\n", path.c_str());
    return kExitOk;
}

const Registration reg({"export", "write every Gerber layer, both solder masks and the drill file",
                        "usage: kestrel-cli export [--board N] [--lang ru|en] IN.kbd OUTDIR\n\n"
                        "Writes the copper and silk layers of both sides, both solder masks and the drill\n"
                        "file of board N (0-based; default the active board) into OUTDIR under their default\n"
                        "names (ru: KUPFER1.GBR ... BOHRUNG.DRL; en: COPPER1.GBR ... DRILL.DRL; 0 and 1 are\n"
                        "accepted too), each with the options the export dialog presets, and prints the files\n"
                        "written. OUTDIR is made when it is missing; the folder above it must exist.\n\n"
                        "examples:\n"
                        "  kestrel-cli export board.kbd gerber/\n"
                        "  kestrel-cli export --lang en --board 1 board.kbd fab/\n",
                        run});

} // namespace
} // namespace kestrel::cli
