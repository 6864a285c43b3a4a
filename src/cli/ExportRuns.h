#pragma once
// The bodies of the gerber, export and fab subcommands. kestrel-cli runs
// them itself without labels in a system font; drawing those needs Qt, so
// kestrel-cli-render runs them with the screen's glyph outlines.

#include "output/LabelOutlines.h"

#include <string>
#include <vector>

namespace kestrel::cli {

int runGerberCommand(const std::vector<std::string>& args, const LabelOutlineSource* labels);
int runExportCommand(const std::vector<std::string>& args, const LabelOutlineSource* labels);
int runFabCommand(const std::vector<std::string>& args, const LabelOutlineSource* labels);

// Starts kestrel-cli-render beside this program with the subcommand and its
// arguments in place of this process; returns only on failure.
int runRenderer(const char* subcommand, const std::vector<std::string>& args);

} // namespace kestrel::cli
