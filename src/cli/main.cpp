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

void printOverview(FILE* to, Language lang)
{
    std::fputs(tr(lang,
                  "использование: kestrel-cli ПОДКОМАНДА [ПАРАМЕТРЫ] ...\n       kestrel-cli --version\n\n"
                  "Работа с документами Kestrel (.kbd) из сценариев.\n\nПодкоманды:\n",
                  "usage: kestrel-cli SUBCOMMAND [OPTIONS] ...\n       kestrel-cli --version\n\n"
                  "Scripted access to Kestrel layout documents (.kbd).\n\nSubcommands:\n"),
               to);
    std::vector<Command> sorted = commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const Command& c : sorted)
        std::fprintf(to, "  %-12s %s\n", c.name, c.summary.in(lang).c_str());
    std::fputs(tr(lang,
                  "\n'kestrel-cli ПОДКОМАНДА --help' описывает одну подкоманду, '--lang en' пишет\n"
                  "по-английски.\n\nКод выхода:\n",
                  "\n'kestrel-cli SUBCOMMAND --help' describes one subcommand, '--lang ru' writes\n"
                  "in Russian.\n\nExit status:\n"),
               to);
    for (const ExitStatusMeaning& e : kExitStatuses)
        std::fprintf(to, "  %d  %s\n", static_cast<int>(e.status), e.meaning.in(lang).c_str());
}

// The language a --lang among the arguments names, Russian by default, as
// for every message.
Language languageOf(const std::vector<std::string>& args) { return Args(args, {"lang"}, {}).language(); }

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
    std::vector<std::string> line(argv + 1, argv + argc);
    const LeadingLang leading = moveLeadingLang(line);
    if (!leading.refusal.empty())
        return fail(kExitUsage, leading.refusal);
    if (line.empty()) {
        printOverview(stderr, languageOf(leading.options));
        return kExitUsage;
    }
    const std::string name = line[0];
    const std::vector<std::string> args(line.begin() + 1, line.end());
    if (name == "--version") {
        std::printf("kestrel-cli %s\n", kestrel::kVersion);
        return checkedStdout(kExitOk, args);
    }
    if (name == "--help" || name == "-h" || name == "help") {
        printOverview(stdout, languageOf(args));
        return checkedStdout(kExitOk, args);
    }
    for (const Command& c : commands()) {
        if (name != c.name)
            continue;
        // After "--" a file may be named "--help".
        const auto options = std::find(args.begin(), args.end(), "--");
        if (std::find_if(args.begin(), options,
                         [](const std::string& a) { return a == "--help" || a == "-h"; }) != options) {
            std::fputs(c.usage.in(languageOf(args)).c_str(), stdout);
            return checkedStdout(kExitOk, args);
        }
        return checkedStdout(c.run(args), args);
    }
    // Worded in the language a --lang after the name asks for, as a
    // subcommand's own usage errors are.
    const kestrel::Language lang = languageOf(args);
    return fail(kExitUsage, kestrel::tr(lang, "неизвестная подкоманда '", "unknown subcommand '") + name +
                                kestrel::tr(lang, "' (см. kestrel-cli --help)", "' (see kestrel-cli --help)"));
}
