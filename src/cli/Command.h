#pragma once
// kestrel-cli subcommands register themselves here, one file each.

#include <string>
#include <vector>

namespace kestrel::cli {

// Exit statuses shared by every subcommand. A usage error is anything that
// is wrong with the command line alone, before any file is opened.
enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

struct ExitStatusMeaning {
    ExitStatus status;
    const char* meaning;
};
// What `kestrel-cli --help` says about each status.
inline constexpr ExitStatusMeaning kExitStatuses[] = {
    {kExitOk, "success"},
    {kExitFailure, "an input file cannot be read, is damaged or lacks the board, object or band named;\n"
                   "     an output cannot be written; check or fab found design-check violations; or\n"
                   "     pdf finds the board wholly off the page"},
    {kExitUsage, "usage error: unknown subcommand or option, wrong file count, a malformed value, a\n"
                 "     value out of its range, or options that do not go together"},
};

struct Command {
    const char* name;
    const char* summary; // one line for the overview
    std::string usage;   // full --help text, ending with examples
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
