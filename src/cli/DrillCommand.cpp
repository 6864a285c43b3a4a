// kestrel-cli drill: the pad holes of a board as an Excellon drill file.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "cli/StdoutCheck.h"
#include "output/DrillExport.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "from", "lang"}, {});
    languageOption(args); // a bad value is the first usage error
    const Language lang = args.language();
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
            return fail(kExitUsage, tr(lang, "--from: solder или component, не '",
                                       "--from expects solder or component, not '") +
                                        *from + "'");
    }
    if (const auto refused = outputIsInput(args, lang))
        return fail(kExitUsage, *refused);
    std::optional<LayoutDocument> doc;
    const Board* board = loadExportBoard(args.positional()[0], boardIndex, doc, lang);
    if (!board)
        return kExitFailure;
    const std::string& out = args.positional()[1];
    if (const Status written = writeDrill(out, board->Objects, doc->Working, side, lang); !written)
        return fail(kExitFailure, written.message());
    const size_t tools = drillSizeList(board->Objects).size();
    if (lang == Language::English)
        std::fprintf(reportStream(out), "wrote %zu drill tool(s) of board \"%s\" to %s\n", tools, board->Name.c_str(),
                     out.c_str());
    else
        std::fprintf(reportStream(out), "сверловка платы \"%s\" записана в %s (свёрл: %zu)\n", board->Name.c_str(),
                     out.c_str(), tools);
    return kExitOk;
}

const std::string kUsageRu =
    "использование: kestrel-cli drill [--board N] [--from solder|component] [--lang ru|en]\n"
    "                                 ВХОД.kbd ВЫХОД.drl\n\n"
    "Записывает отверстия платы N (счёт с 0; по умолчанию активная плата), по одному сверлу на\n"
    "каждый диаметр отверстий в порядке первого появления. При сверлении со стороны пайки (по\n"
    "умолчанию) координаты x отражаются зеркально. --lang выбирает язык сообщений (по умолчанию ru;\n"
    "подходят и 0 и 1).\n\n"
    "примеры:\n"
    "  kestrel-cli drill board.kbd BOHRUNG.DRL\n"
    "  kestrel-cli drill --from component --board 1 board.kbd DRILL.DRL\n";

const std::string kUsageEn =
    "usage: kestrel-cli drill [--board N] [--from solder|component] [--lang ru|en] IN.kbd OUT.drl\n\n"
    "Writes the holes of board N (0-based; default the active board), one tool per hole\n"
    "diameter in order of first appearance. Drilled from the solder side (the default)\n"
    "the x coordinates are mirrored. --lang chooses the language of the messages\n"
    "(default ru; 0 and 1 are accepted too).\n\n"
    "examples:\n"
    "  kestrel-cli drill board.kbd BOHRUNG.DRL\n"
    "  kestrel-cli drill --from component --board 1 board.kbd DRILL.DRL\n";

const Registration reg({"drill",
                        {"экспортировать отверстия площадок платы в файл сверловки Excellon",
                         "export the pad holes of a board as an Excellon drill file"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
