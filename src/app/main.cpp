#include "app/InterfaceLanguage.h"
#include "app/MainWindow.h"
#include "app/TerminationSignals.h"
#include "app/ToolIcons.h"
#include "kestrel/Version.h"
#include "model/gui/Prompts.h"

#include <QApplication>
#include <QCommandLineParser>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <string>

namespace {

void describeOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription("Kestrel: printed circuit board editor");
    parser.addHelpOption();
    parser.addOption({"version", "Print the version and stop."});
    parser.addOption({"lang", "Interface language for this run: ru or en.", "ru|en"});
    parser.addPositionalArgument("file", "Layout file (.kbd) to open.", "[file]");
}

// Whether the command line asks only for an answer on the terminal: help,
// the version, or a --lang the editor cannot start with.
bool answerWithoutWindow(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--version" || a == "--help" || a == "-h" || a == "-?" || a == "--help-all")
            return true;
        const std::string lang = a == "--lang" && i + 1 < argc ? argv[i + 1]
                                 : a.starts_with("--lang=") ? a.substr(7)
                                                            : "";
        if ((a == "--lang" || a.starts_with("--lang=")) && !kestrel::languageFromName(QString::fromStdString(lang)))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // Past a file-size limit (ulimit -f) a write fails with "file too large"
    // and the save reports it, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Such answers come before the window system is reached, so they work
    // without a display (over ssh, in a script).
    if (answerWithoutWindow(argc, argv)) {
        QCoreApplication probe(argc, argv);
        QCoreApplication::setApplicationVersion(kestrel::kVersion);
        QCommandLineParser parser;
        describeOptions(parser);
        parser.process(probe); // help and unknown options end here
        if (parser.isSet("version")) {
            std::printf("kestrel %s\n", kestrel::kVersion);
            return 0;
        }
        std::fprintf(stderr, "kestrel: --lang expects ru or en\n");
        return 2;
    }
    QApplication app(argc, argv);
    // Qt takes the user's locale for the C library too; numbers the program
    // writes with printf (a board house's notes, the check's lines) keep
    // their decimal point, and the system's error texts stay the English
    // ones the messages translate, not the locale's.
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_MESSAGES, "C");
    QApplication::setApplicationName("Kestrel 3.0");
    QApplication::setApplicationVersion(kestrel::kVersion);
    QApplication::setDesktopFileName("kestrel");
    QApplication::setWindowIcon(kestrel::applicationIcon());

    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app);

    // A --lang given here names a language: any other was refused above.
    const kestrel::Language lang = kestrel::languageFromName(parser.value("lang"))
                                       .value_or(kestrel::readInterfaceLanguage(kestrel::languageFileFolders(
                                           QCoreApplication::applicationDirPath())));
    kestrel::installQtTranslation(lang);
    kestrel::useDecimalPoint();
    kestrel::DesktopPrompts prompts(lang);
    kestrel::MainWindow window(lang, prompts);
    if (!parser.positionalArguments().isEmpty())
        window.setStartupFile(parser.positionalArguments().first());
    // The exit status of a program a signal ended, as shells report it.
    kestrel::onTerminationSignal(&window, [&window](int signal) {
        window.keepWorkForTermination();
        QCoreApplication::exit(128 + signal);
    });
    window.show();
    return app.exec();
}
