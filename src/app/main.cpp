#include "app/InterfaceLanguage.h"
#include "app/MainWindow.h"
#include "app/Prompts.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrel 3.0");
    const kestrel::Language lang = kestrel::readInterfaceLanguage(QCoreApplication::applicationDirPath());
    kestrel::DesktopPrompts prompts;
    kestrel::MainWindow window(lang, prompts);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        window.setStartupFile(arguments[1]);
    window.show();
    return app.exec();
}
