#pragma once
// kestrel-cli subcommands register themselves here, one file each.

#include <string>
#include <vector>

namespace kestrel::cli {

// Exit statuses shared by every subcommand.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1; // bad input, failed read or write
constexpr int kExitUsage = 2;

struct Command {
    const char* name;
    const char* summary; // one line for the overview
    const char* usage;   // full --help text
    int (*run)(const std::vector<std::string>& args);
};

// Registers a subcommand; used through a static Registration object.
void registerCommand(const Command& command);
const std::vector<Command>& commands();

struct Registration {
    explicit Registration(const Command& c) { registerCommand(c); }
};

// Prints "kestrel-cli: message" on stderr and returns the status.
int fail(int status, const std::string& message);

} // namespace kestrel::cli
