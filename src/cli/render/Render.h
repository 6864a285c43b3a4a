#pragma once
// The subcommands of kestrel-cli that draw with Qt, run by kestrel-cli-render.

#include <string>
#include <vector>

namespace kestrel::cli {

int runPdfCommand(const std::vector<std::string>& args);
int runBmpCommand(const std::vector<std::string>& args);
int runLabelExtentCommand(const std::vector<std::string>& args);

// Parses "K1,B1": layer numbers 1..4 (K1 B1 K2 B2) and, with masks allowed,
// the solder masks as 5 (LStop1) and 6 (LStop2). False on an unknown name.
bool parseLayerList(const std::string& text, bool masks, std::vector<int>& layers, std::string& bad);

} // namespace kestrel::cli
