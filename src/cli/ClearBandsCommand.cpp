// kestrel-cli clear-bands: removes rubber bands already made in copper.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "cli/StdoutCheck.h"
#include "route/RubberBands.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "lang"}, {});
    languageOption(args); // a bad value is the first usage error
    const Language lang = args.language();
    const auto boardIndex = args.index("board");
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    if (const auto refused = outputIsInput(args, lang))
        return fail(kExitUsage, *refused);
    auto doc = loadDocument(args.positional()[0], nullptr, lang);
    if (!doc)
        return kExitFailure;
    Board* board = chooseBoard(*doc, boardIndex, lang);
    if (!board)
        return kExitFailure;
    // The clean-up works on the chosen board's list directly, so the active
    // board of the written document stays what it was.
    const BandCleanup result = ClearConnections(board->Objects);
    if (!saveDocument(*doc, args.positional()[1], lang))
        return kExitFailure;
    std::fprintf(reportStream(args.positional()[1]), "{\"removed\": %zu, \"kept\": %zu}\n", result.removedBands(),
                 result.keptBands());
    return kExitOk;
}

const char* const kUsageRu =
    "использование: kestrel-cli clear-bands [--board N] [--lang ru|en] ВХОД ВЫХОД\n\n"
    "Удаляет все перемычки платы, две площадки которых соединены медью (в том числе через\n"
    "переходные отверстия), оставляет остальные, записывает документ в ВЫХОД так же, как\n"
    "команда «Сохранить» редактора, и выводит число перемычек как {\"removed\": a, \"kept\": b}.\n"
    "--board (счёт с 0) по умолчанию — активная плата. --lang выбирает язык сообщений\n"
    "(по умолчанию ru; подходят и 0 и 1).\n\n"
    "пример:\n"
    "  kestrel-cli clear-bands board.kbd cleaned.kbd\n";

const char* const kUsageEn =
    "usage: kestrel-cli clear-bands [--board N] [--lang ru|en] IN OUT\n\n"
    "Removes every rubber band of the board whose two pads are connected by copper\n"
    "(through vias too), keeps the others, writes the document to OUT as the\n"
    "editor's Save does and prints {\"removed\": a, \"kept\": b} in bands.\n"
    "--board (0-based) defaults to the active board. --lang chooses the language of\n"
    "the messages (default ru; 0 and 1 are accepted too).\n\n"
    "example:\n"
    "  kestrel-cli clear-bands board.kbd cleaned.kbd\n";

const Registration reg({"clear-bands",
                        {"удалить перемычки, площадки которых уже соединены медью",
                         "remove rubber bands whose pads are already joined by copper"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
