#pragma once
// kestrel-cli subcommands register themselves here, one file each.

#include "model/Language.h"

#include <string>
#include <vector>

namespace kestrel::cli {

// Exit statuses shared by every subcommand. A usage error is anything that
// is wrong with the command line alone, before any file is opened.
enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// A help text in both languages of the interface.
struct HelpText {
    std::string russian;
    std::string english;
    const std::string& in(Language lang) const { return lang == Language::English ? english : russian; }
};

struct ExitStatusMeaning {
    ExitStatus status;
    HelpText meaning;
};
// What `kestrel-cli --help` says about each status.
inline const ExitStatusMeaning kExitStatuses[] = {
    {kExitOk, {"успех", "success"}},
    {kExitFailure,
     {"входной файл не читается, повреждён или в нём нет названной платы, объекта или\n"
      "     перемычки; выходной файл не удаётся записать; check нашла нарушения проверки, или\n"
      "     fab из-за них ничего не записала; или в pdf плата целиком вне страницы",
      "an input file cannot be read, is damaged or lacks the board, object or band named;\n"
      "     an output cannot be written; check found design-check violations, or fab wrote\n"
      "     nothing because of them; or pdf finds the board wholly off the page"}},
    {kExitUsage,
     {"ошибка в параметрах: неизвестная подкоманда или параметр, неверное число файлов,\n"
      "     неверно записанное значение, значение вне своих пределов или несовместимые параметры",
      "usage error: unknown subcommand or option, wrong file count, a malformed value, a\n"
      "     value out of its range, or options that do not go together"}},
};

struct Command {
    const char* name;
    HelpText summary; // one line for the overview
    HelpText usage;   // full --help text, ending with examples
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
