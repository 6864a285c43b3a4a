#include "app/InterfaceLanguage.h"
#include "app/MainWindow.h"
#include "kestrel/Version.h"
#include "model/gui/Prompts.h"

#include <QApplication>
#include <QCommandLineParser>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    // Past a file-size limit (ulimit -f) a write fails with "file too large"
    // and the save reports it, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrel 3.0");
    QApplication::setApplicationVersion(kestrel::kVersion);
    QApplication::setDesktopFileName("kestrel");

    QCommandLineParser parser;
    parser.setApplicationDescription("Kestrel: printed circuit board editor");
    parser.addHelpOption();
    const QCommandLineOption versionOption("version", "Print the version and stop.");
    parser.addOption(versionOption);
    const QCommandLineOption langOption("lang", "Interface language for this run: ru or en.", "ru|en");
    parser.addOption(langOption);
    parser.addPositionalArgument("file", "Layout file (.kbd) to open.", "[file]");
    parser.process(app);
    if (parser.isSet(versionOption)) {
        std::printf("kestrel %s\n", kestrel::kVersion);
        return 0;
    }

    kestrel::Language lang =
        kestrel::readInterfaceLanguage(kestrel::languageFileFolders(QCoreApplication::applicationDirPath()));
    if (parser.isSet(langOption)) {
        const auto chosen = kestrel::languageFromName(parser.value(langOption));
        if (!chosen) {
            std::fprintf(stderr, "kestrel: --lang expects ru or en\n");
            return 2;
        }
        lang = *chosen;
    }
    kestrel::installQtTranslation(lang);
    kestrel::useDecimalPoint();
    kestrel::DesktopPrompts prompts(lang);
    kestrel::MainWindow window(lang, prompts);
    if (!parser.positionalArguments().isEmpty())
        window.setStartupFile(parser.positionalArguments().first());
    window.show();
    return app.exec();
}
