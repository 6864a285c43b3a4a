#include "cli/ExportOptions.h"

namespace kestrel::cli {

std::optional<Language> languageOption(Args& args)
{
    const auto v = args.value("lang");
    if (!v || *v == "ru" || *v == "0")
        return Language::Russian;
    if (*v == "en" || *v == "1")
        return Language::English;
    args.reject("--lang expects ru or en (or the language byte 0 or 1), not '" + *v + "'");
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
