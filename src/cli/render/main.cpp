// kestrel-cli-render: the part of kestrel-cli that needs a Qt GUI library.
// It runs without a display, on the offscreen platform.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/StdoutCheck.h"
#include "cli/render/Render.h"
#include "cli/ExportRuns.h"
#include "view/gui/LabelOutlines.h"

#include <QGuiApplication>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <sstream>

namespace kestrel::cli {

int fail(int status, const std::string& message)
{
    std::fprintf(stderr, "kestrel-cli: %s\n", message.c_str());
    return status;
}

bool parseLayerList(const std::string& text, bool masks, std::vector<int>& layers, std::string& bad)
{
    static const std::pair<const char*, int> names[] = {{"K1", 1}, {"B1", 2}, {"K2", 3}, {"B2", 4},
                                                        {"LStop1", 5}, {"LStop2", 6}};
    std::stringstream in(text);
    std::string name;
    while (std::getline(in, name, ',')) {
        int found = 0;
        for (const auto& [n, layer] : names)
            if (name == n && (masks || layer <= 4))
                found = layer;
        if (!found) {
            bad = name;
            return false;
        }
        layers.push_back(found);
    }
    return !layers.empty();
}

} // namespace kestrel::cli

int main(int argc, char** argv)
{
    using namespace kestrel::cli;
    // Past a file-size limit (ulimit -f) a write fails with "file too large"
    // and the save reports it, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Qt's own warnings would add lines to the one-line messages on stderr.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Nothing is shown, so a platform named for a desktop session (carried
    // into a cron job, say) is not used: without its display Qt aborts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt sees no arguments: it would take its own options (-reverse,
    // --plugin ...) out of the list, and a file or label so spelled with them.
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    // Qt takes the user's locale for the C library too; numbers the program
    // writes with printf (a board house's notes, the check's lines) keep
    // their decimal point, and the system's error texts stay the English
    // ones the messages translate, not the locale's.
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_MESSAGES, "C");
    std::vector<std::string> line(argv + 1, argv + argc);
    const LeadingLang leading = moveLeadingLang(line);
    if (!leading.refusal.empty())
        return fail(kExitUsage, leading.refusal);
    const std::vector<std::string> args(line.begin() + (line.empty() ? 0 : 1), line.end());
    const std::string name = line.empty() ? "" : line[0];
    const kestrel::ScreenLabelOutlines labels;
    const auto run = [&] {
        if (name == "pdf")
            return runPdfCommand(args);
        if (name == "bmp")
            return runBmpCommand(args);
        if (name == "gerber")
            return runGerberCommand(args, &labels);
        if (name == "export")
            return runExportCommand(args, &labels);
        if (name == "fab")
            return runFabCommand(args, &labels);
        if (name == "label-extent")
            return runLabelExtentCommand(args);
        // A --lang given alone before no subcommand counts too.
        const kestrel::Language lang = Args(args.empty() ? leading.options : args, {"lang"}, {}).language();
        return fail(kExitUsage,
                    kestrel::tr(lang, "kestrel-cli-render выполняет подкоманды pdf, bmp, gerber, export и fab "
                                      "программы kestrel-cli",
                                "kestrel-cli-render runs the subcommands pdf, bmp, gerber, export and fab of "
                                "kestrel-cli"));
    };
    return checkedStdout(run(), args);
}
