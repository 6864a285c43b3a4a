// kestrel-cli export: every manufacturing file of a board in one go.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "model/FileIO.h"
#include "model/QuotedPath.h"
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
        fail(kExitFailure, quotedPath(dir.string()) + " is not a directory");
        return false;
    }
    if (fs::create_directory(dir, ec))
        return true;
    fail(kExitFailure, "cannot create the folder " + quotedPath(dir.string()) + ": " +
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
    // The set is replaced as a whole: a failure leaves the previous files.
    std::vector<FileContent> files;
    for (GerberLayer layer : {GerberLayer::K1, GerberLayer::B1, GerberLayer::K2, GerberLayer::B2, GerberLayer::LStop1,
                              GerberLayer::LStop2})
        files.push_back({(dir / gerberDefaultFileName(layer, *lang)).string(),
                         exportGerber(board->Objects, doc->Working, GerberOptions::presetFor(layer), *lang)});
    files.push_back({(dir / drillDefaultFileName(*lang)).string(),
                     exportDrill(board->Objects, doc->Working, DrillSide::Solder)});
    if (const Status status = writeFilesAtomically(files, Language::English); !status)
        return fail(kExitFailure, status.message());
    for (const FileContent& file : files)
        std::printf("%s\n", file.path.c_str());
    return kExitOk;
}

const Registration reg({"export", "write every Gerber layer, both solder masks and the drill file",
                        "usage: kestrel-cli export [--board N] [--lang ru|en] IN.kbd OUTDIR\n\n"
                        "Writes the copper and silk layers of both sides, both solder masks and the drill\n"
                        "file of board N (0-based; default the active board) into OUTDIR under their default\n"
                        "names (ru: KUPFER1.GBR ... BOHRUNG.DRL; en: COPPER1.GBR ... DRILL.DRL; 0 and 1 are\n"
                        "accepted too), each with the options the export dialog presets, and prints the files\n"
                        "written. The files replace those in OUTDIR together, only once all are complete, so\n"
                        "a failure leaves the previous set. OUTDIR is made when it is missing; the folder\n"
                        "above it must exist.\n\n"
                        "examples:\n"
                        "  kestrel-cli export board.kbd gerber/\n"
                        "  kestrel-cli export --lang en --board 1 board.kbd fab/\n",
                        run});

} // namespace
} // namespace kestrel::cli
