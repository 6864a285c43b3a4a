#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/StdoutCheck.h"
#include "kestrel/Version.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace kestrel::cli {

namespace {
std::vector<Command>& registry()
{
    static std::vector<Command> list;
    return list;
}

void printOverview(FILE* to)
{
    std::fprintf(to, "usage: kestrel-cli SUBCOMMAND [OPTIONS] ...\n       kestrel-cli --version\n\n"
                     "Scripted access to Kestrel layout documents (.kbd).\n\nSubcommands:\n");
    std::vector<Command> sorted = commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const Command& c : sorted)
        std::fprintf(to, "  %-12s %s\n", c.name, c.summary);
    std::fprintf(to, "\n'kestrel-cli SUBCOMMAND --help' describes one subcommand.\n\nExit status:\n");
    for (const ExitStatusMeaning& e : kExitStatuses)
        std::fprintf(to, "  %d  %s\n", static_cast<int>(e.status), e.meaning);
}
} // namespace

void registerCommand(const Command& command) { registry().push_back(command); }
const std::vector<Command>& commands() { return registry(); }

int fail(int status, const std::string& message)
{
    std::fprintf(stderr, "kestrel-cli: %s\n", message.c_str());
    return status;
}

} // namespace kestrel::cli

int main(int argc, char** argv)
{
    using namespace kestrel::cli;
    // Past a file-size limit (ulimit -f) a write fails with "file too large"
    // and the save reports it, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        printOverview(stderr);
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--version") {
        std::printf("kestrel-cli %s\n", kestrel::kVersion);
        return checkedStdout(kExitOk, {});
    }
    if (name == "--help" || name == "-h" || name == "help") {
        printOverview(stdout);
        return checkedStdout(kExitOk, {});
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& c : commands()) {
        if (name != c.name)
            continue;
        if (std::find(args.begin(), args.end(), "--help") != args.end()) {
            std::fputs(c.usage.c_str(), stdout);
            return checkedStdout(kExitOk, args);
        }
        return checkedStdout(c.run(args), args);
    }
    // Worded in the language a --lang after the name asks for, as a
    // subcommand's own usage errors are.
    const kestrel::Language lang = Args(args, {"lang"}, {}).language();
    return fail(kExitUsage, kestrel::tr(lang, "неизвестная подкоманда '", "unknown subcommand '") + name +
                                kestrel::tr(lang, "' (см. kestrel-cli --help)", "' (see kestrel-cli --help)"));
}
