#include "app/InterfaceLanguage.h"

#include <QDir>
#include <QSettings>

namespace kestrel {

Language readInterfaceLanguage(const QString& programDirectory)
{
    const QSettings file(QDir(programDirectory).filePath("SPRACHE.INI"), QSettings::IniFormat);
    bool isNumber = false;
    const int value = file.value("Sprache/Sprache", 0).toInt(&isNumber);
    if (!isNumber || value == 0)
        return Language::Russian;
    return Language::English;
}

} // namespace kestrel
