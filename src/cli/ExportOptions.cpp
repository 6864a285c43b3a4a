#include "cli/ExportOptions.h"

#include "cli/Command.h"

namespace kestrel::cli {

std::optional<Language> languageOption(Args& args)
{
    const auto v = args.value("lang");
    if (!v)
        return Language::Russian;
    if (*v == "0")
        return Language::Russian;
    if (*v == "1")
        return Language::English;
    fail(kExitUsage, "--lang expects 0 (Russian) or 1 (English), not '" + *v + "'");
    return std::nullopt;
}

Board* loadExportBoard(const std::string& path, std::optional<long> boardIndex, std::optional<LayoutDocument>& doc)
{
    doc = loadDocument(path);
    if (!doc)
        return nullptr;
    Board* board = chooseBoard(*doc, boardIndex);
    if (board)
        activateBoard(*doc, board);
    return board;
}

} // namespace kestrel::cli
