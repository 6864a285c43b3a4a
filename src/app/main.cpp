#include "app/InterfaceLanguage.h"
#include "app/MainWindow.h"
#include "app/StartPicture.h"
#include "app/TerminationSignals.h"
#include "app/ToolIcons.h"
#include "kestrel/Version.h"
#include "model/gui/Prompts.h"

#include <QApplication>
#include <QCommandLineParser>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>

namespace {

using kestrel::tr;

void describeOptions(QCommandLineParser& parser, kestrel::Language lang)
{
    // "-name" is one option, not the letters n, a, m, e.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        tr(lang, "Kestrel: редактор печатных плат", "Kestrel: printed circuit board editor"));
    // The help options are the editor's own: Qt's --help-all would add its
    // generic options, whose texts its translation lacks in part.
    parser.addOption({{"h", "?", "help"}, tr(lang, "Показать эту справку и завершить работу.",
                                              "Print this help and stop.")});
    QCommandLineOption helpAll("help-all");
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(helpAll);
    parser.addOption({"version", tr(lang, "Показать версию и завершить работу.", "Print the version and stop.")});
    parser.addOption({"lang", tr(lang, "Язык интерфейса на этот запуск: ru или en.",
                                 "Interface language for this run: ru or en."),
                      "ru|en"});
    parser.addPositionalArgument(tr(lang, "файл", "file"),
                                 tr(lang, "Файл платы (.kbd), который открыть.", "Layout file (.kbd) to open."),
                                 tr(lang, "[файл]", "[file]"));
}

// An option word as the parser reads it: "-name" is "--name" (single
// letters such as -h stay as they are).
std::string longSpelling(const std::string& a)
{
    return a.size() > 2 && a[0] == '-' && a[1] != '-' ? "-" + a : a;
}

// The value of the last --lang on the command line, if any. After "--" a
// file may be named like an option.
std::optional<std::string> langArgument(int argc, char** argv)
{
    std::optional<std::string> value;
    for (int i = 1; i < argc && std::string(argv[i]) != "--"; ++i) {
        const std::string a = longSpelling(argv[i]);
        if (a == "--lang")
            value = i + 1 < argc ? argv[i + 1] : "";
        else if (a.starts_with("--lang="))
            value = a.substr(7);
    }
    return value;
}

// The name of an option in either spelling (-name, --name), or empty for
// an argument that is no option. Qt's own options take their value as the
// next argument, never after "=" (but for the style, below).
std::string optionName(const std::string& a)
{
    if (a.size() < 2 || a[0] != '-' || a.find('=') != std::string::npos)
        return {};
    return a.substr(a[1] == '-' ? 2 : 1);
}

// Qt's own options, which the window system's start takes off the command
// line: those that take a value, and the switches.
bool isQtOption(const std::string& name, bool& takesValue)
{
    static const char* const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "display",
                                            "geometry", "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                                            "style", "stylesheet", "title", "name"};
    static const char* const switches[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    takesValue = std::find(std::begin(withValue), std::end(withValue), name) != std::end(withValue);
    return takesValue || std::find(std::begin(switches), std::end(switches), name) != std::end(switches);
}

// The command line without Qt's own options, for a look at it before the
// window system starts.
QStringList withoutQtOptions(int argc, char** argv)
{
    QStringList out{QString::fromLocal8Bit(argv[0])};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        bool takesValue = false;
        // Qt reads a style and a style sheet after "=" too.
        const std::string spelled = longSpelling(a);
        if (spelled.starts_with("--style=") || spelled.starts_with("--stylesheet="))
            continue;
        if (a != "--" && isQtOption(optionName(a), takesValue)) {
            if (takesValue)
                ++i;
            continue;
        }
        out << QString::fromLocal8Bit(argv[i]);
        if (a == "--")
            for (++i; i < argc; ++i)
                out << QString::fromLocal8Bit(argv[i]);
    }
    return out;
}

// Whether a window system is named: a display, or a platform chosen for Qt.
bool windowSystemNamed(int argc, char** argv)
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* v = std::getenv(name); v && *v)
            return true;
    for (int i = 1; i < argc && std::string(argv[i]) != "--"; ++i)
        if (const std::string name = optionName(argv[i]); name == "platform" || name == "display")
            return true;
    return false;
}

// Whether the command line asks only for an answer on the terminal: help,
// the version, or a --lang the editor cannot start with. Without a window
// system the command line is looked at here too, so that a mistyped option
// is named as such rather than lost in the window system's complaint.
bool answerWithoutWindow(int argc, char** argv)
{
    if (!windowSystemNamed(argc, argv))
        return true;
    for (int i = 1; i < argc && std::string(argv[i]) != "--"; ++i) {
        const std::string a = longSpelling(argv[i]);
        if (a == "--version" || a == "--help" || a == "-h" || a == "-?" || a == "--help-all")
            return true;
    }
    const std::optional<std::string> lang = langArgument(argc, argv);
    return lang && !kestrel::languageFromName(QString::fromStdString(*lang));
}

// The language --lang names, else the one the settings keep. Qt's own
// texts of the command line (its usage lines and errors) follow it.
kestrel::Language startLanguage(int argc, char** argv)
{
    const std::optional<std::string> named = langArgument(argc, argv);
    const kestrel::Language lang =
        kestrel::languageFromName(QString::fromStdString(named.value_or("")))
            .value_or(kestrel::readInterfaceLanguage(
                kestrel::languageFileFolders(QCoreApplication::applicationDirPath())));
    kestrel::installQtTranslation(lang);
    return lang;
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
        const kestrel::Language lang = startLanguage(argc, argv);
        QCommandLineParser parser;
        describeOptions(parser, lang);
        parser.process(withoutQtOptions(argc, argv)); // unknown options end here
        if (parser.isSet("help") || parser.isSet("help-all"))
            parser.showHelp(0);
        if (parser.isSet("version")) {
            std::printf("kestrel %s\n", kestrel::kVersion);
            return 0;
        }
        const std::optional<std::string> named = langArgument(argc, argv);
        if (named && !kestrel::languageFromName(QString::fromStdString(*named))) {
            std::fprintf(stderr, "kestrel: %s\n", tr(lang, "--lang: ru или en", "--lang expects ru or en"));
            return 2;
        }
        // A sound command line without a window system: the window system's
        // own message follows below.
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

    // A --lang given here names a language: any other was refused above.
    const kestrel::Language lang = startLanguage(argc, argv);
    QCommandLineParser parser;
    describeOptions(parser, lang);
    parser.process(app);
    kestrel::useDecimalPoint();
    kestrel::StartPicture picture;
    kestrel::DesktopPrompts prompts(lang);
    kestrel::MainWindow window(lang, prompts);
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty()) {
        window.setStartupFile(files.first());
        window.setFilesLeftOut(files.mid(1));
    }
    // Before the handler: a signal while the picture is up ends the program
    // as it would any other, with nothing open to keep.
    picture.finish();
    // The exit status of a program a signal ended, as shells report it.
    kestrel::onTerminationSignal(&window, [&window](int signal) {
        window.keepWorkForTermination();
        QCoreApplication::exit(128 + signal);
    });
    window.show();
    return app.exec();
}
