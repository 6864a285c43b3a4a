#pragma once
// Pieces shared by the subcommands: --lang, which every one of them takes,
// and the board and output checks of those that read a layout and write an
// output.

#include "cli/Args.h"
#include "model/Language.h"
#include "output/DesignCheck.h"

#include <optional>
#include <string>

namespace kestrel::cli {

// --lang ru|en, or the interface language byte 0|1 (default ru); nullopt
// with the usage error recorded in `args` otherwise.
std::optional<Language> languageOption(Args& args);

// Loads IN, picks --board and makes it the active board so its working
// settings are current. Returns nullptr after printing the reason in `lang`.
Board* loadExportBoard(const std::string& path, std::optional<long> boardIndex, std::optional<LayoutDocument>& doc,
                       Language lang);

// The refusal when an output is the input file itself (also through a link):
// writing there would replace the layout with the output.
std::optional<std::string> outputReplaces(const std::string& input, const std::string& output, Language lang);
// The same for the second file argument.
std::optional<std::string> outputIsInput(const Args& args, Language lang);

// --clearance, --width, --hole and --ring: the design check's limits in mm,
// 0 to DesignRules::kMaxMm and kept to 0.01 mm (a finer value is refused
// rather than rounded); the board-house profile where one is not given.
DesignRules designRulesOption(Args& args, Language lang);

} // namespace kestrel::cli
