#pragma once
// Pieces shared by the gerber, drill and export subcommands.

#include "cli/Args.h"
#include "model/Language.h"

#include <optional>

namespace kestrel::cli {

// --lang ru|en, or the interface language byte 0|1 (default ru); nullopt
// with the usage error recorded in `args` otherwise.
std::optional<Language> languageOption(Args& args);

// Loads IN, picks --board and makes it the active board so its working
// settings are current. Returns nullptr after printing the reason.
Board* loadExportBoard(const std::string& path, std::optional<long> boardIndex, std::optional<LayoutDocument>& doc);

} // namespace kestrel::cli
