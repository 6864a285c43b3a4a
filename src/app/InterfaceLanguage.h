#pragma once
// The interface language byte: SPRACHE.INI beside the executable, section
// "Sprache", key "Sprache". The program only reads it.

#include "model/Language.h"

#include <QString>

namespace kestrel {

// Without the file or the key the interface is Russian (0). Any value other
// than 0 starts the English interface, the language every other value can
// fall back on without leaving texts half translated.
Language readInterfaceLanguage(const QString& programDirectory);

} // namespace kestrel
