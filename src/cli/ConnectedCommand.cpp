// kestrel-cli connected: the objects the connectivity test selects.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "route/Connectivity.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "object", "lang"}, {});
    languageOption(args); // a bad value is the first usage error
    const Language lang = args.language();
    const auto boardIndex = args.index("board");
    const auto object = args.index("object");
    if (!args.expectPositional(1))
        return fail(kExitUsage, args.error());
    if (!object)
        return fail(kExitUsage, tr(lang, "нужен параметр --object I", "--object I is required"));
    auto doc = loadDocument(args.positional()[0], nullptr, lang);
    if (!doc)
        return kExitFailure;
    const Board* board = chooseBoard(*doc, boardIndex, lang);
    if (!board)
        return kExitFailure;
    if (static_cast<size_t>(*object) >= board->Objects.size())
        return fail(kExitFailure, tr(lang, "на плате нет объекта ", "the board has no object ") +
                                      std::to_string(*object) + tr(lang, " (объектов на ней: ", " (it holds ") +
                                      std::to_string(board->Objects.size()) + ")");
    std::string out = "[";
    for (size_t i : connectedObjects(board->Objects, *object)) {
        if (out.size() > 1)
            out += ", ";
        out += std::to_string(i);
    }
    out += "]\n";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

const char* const kUsageRu =
    "использование: kestrel-cli connected [--board N] --object I [--lang ru|en] ФАЙЛ\n\n"
    "Выполняет тест соединений от объекта I (позиция в списке объектов платы, счёт с 0)\n"
    "и выводит массив JSON всех объектов, которые он выделяет, по возрастанию: медь того же\n"
    "слоя, перекрывающуюся на ненулевой площади, и медь другого слоя через переходные\n"
    "отверстия. Объект на слое маркировки даёт []. --board (счёт с 0) по умолчанию —\n"
    "активная плата. --lang выбирает язык сообщений (по умолчанию ru; подходят и 0 и 1).\n\n"
    "пример:\n"
    "  kestrel-cli connected --object 12 board.kbd\n";

const char* const kUsageEn =
    "usage: kestrel-cli connected [--board N] --object I [--lang ru|en] FILE\n\n"
    "Runs the connectivity test from object I (0-based position in the board's object\n"
    "list) and prints the JSON array, ascending, of every object it selects: the copper\n"
    "on the same layer that overlaps with positive area, and the other layer through\n"
    "vias. An object on a silk layer gives []. --board (0-based) defaults to the\n"
    "active board. --lang chooses the language of the messages (default ru; 0 and 1\n"
    "are accepted too).\n\n"
    "example:\n"
    "  kestrel-cli connected --object 12 board.kbd\n";

const Registration reg({"connected",
                        {"перечислить объекты, соединённые медью с одним объектом",
                         "list the objects joined to one object by copper"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
