#include "cli/ExportOptions.h"

#include "model/FileIO.h"

#include <cmath>

namespace kestrel::cli {

std::optional<Language> languageOption(Args& args)
{
    const auto v = args.value("lang");
    if (!v)
        return Language::Russian;
    if (const auto named = languageNamed(*v))
        return named;
    args.reject(languageRefusal(*v, args.language()));
    return std::nullopt;
}

Board* loadExportBoard(const std::string& path, std::optional<long> boardIndex, std::optional<LayoutDocument>& doc,
                       Language lang)
{
    doc = loadDocument(path, nullptr, lang);
    if (!doc)
        return nullptr;
    Board* board = chooseBoard(*doc, boardIndex, lang);
    if (board)
        activateBoard(*doc, board);
    return board;
}

std::optional<std::string> outputReplaces(const std::string& input, const std::string& output, Language lang)
{
    if (!sameFile(input, output))
        return std::nullopt;
    return tr(lang, "выходной файл совпадает с входным, он заменил бы раскладку: ",
              "the output is the input file, which it would replace: ") +
           output;
}

std::optional<std::string> outputIsInput(const Args& args, Language lang)
{
    const std::vector<std::string>& files = args.positional();
    return files.size() < 2 ? std::nullopt : outputReplaces(files[0], files[1], lang);
}

namespace {

void limitOption(Args& args, const char* name, int32_t& units, Language lang)
{
    const auto mm = args.number(name);
    if (!mm)
        return;
    if (!(*mm >= 0 && *mm <= DesignRules::kMaxMm))
        args.reject(std::string("--") + name + tr(lang, ": от 0 до ", " must lie between 0 and ") +
                    mmText(DesignRules::kMaxMm) + tr(lang, " мм", " mm"));
    else if (std::abs(*mm * 100 - std::round(*mm * 100)) > 1e-6)
        args.reject(std::string("--") + name +
                    tr(lang, ": с точностью до 0.01 мм, не больше двух знаков после точки",
                       " is kept to 0.01 mm: at most two decimals"));
    else
        units = unitsFromMm(*mm);
}

} // namespace

DesignRules designRulesOption(Args& args, Language lang)
{
    DesignRules rules;
    for (const auto& [name, units] : {std::pair{"clearance", &rules.clearanceUnits}, std::pair{"width", &rules.widthUnits},
                                      std::pair{"hole", &rules.holeUnits}, std::pair{"ring", &rules.ringUnits}})
        limitOption(args, name, *units, lang);
    return rules;
}

} // namespace kestrel::cli
