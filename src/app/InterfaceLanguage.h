#pragma once
// The interface language byte: SPRACHE.INI, section "Sprache", key
// "Sprache". The copy in the user's configuration folder wins over the one
// beside the program, which an installed program cannot write.

#include "model/Language.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace kestrel {

// The user's configuration folder (where KESTREL30.INI lives), then the
// program's folder.
QStringList languageFileFolders(const QString& programDirectory);

// The first folder holding a SPRACHE.INI with the key decides. Without one
// the interface is Russian (0). Any value other than 0 starts the English
// interface, the language every other value can fall back on without
// leaving texts half translated.
Language readInterfaceLanguage(const QStringList& folders);

// Writes the choice into SPRACHE.INI of the folder; false when it could not.
bool writeInterfaceLanguage(Language lang, const QString& folder);

// "ru" or "en" as given to --lang, in either case.
std::optional<Language> languageFromName(const QString& name);

// Qt's own buttons and dialogs speak Russian through Qt's translation
// (qtbase_ru); English removes it again. False when it is missing.
bool installQtTranslation(Language lang);

// Numbers in fields read and show the decimal point whatever the system's
// locale, as captions, the status line and the files write them: under a
// comma locale "0.5" typed into a width would be read as 5. A comma typed
// into a number field is taken as the point. Call once the application
// object exists, before any window is built.
void useDecimalPoint();
// The locale of number fields: the decimal point, no thousands separators.
QLocale decimalPointLocale();

} // namespace kestrel
