#pragma once
// The interface language byte: every message exists in both languages and is
// chosen at the moment it is shown.

#include <cstdint>
#include <string>

namespace kestrel {

enum class Language : uint8_t { Russian = 0, English = 1 };

inline const char* tr(Language lang, const char* russian, const char* english)
{
    return lang == Language::English ? english : russian;
}

// The millimetre unit as the interface writes it.
inline const char* mmUnit(Language lang)
{
    return tr(lang, "мм", "mm");
}

} // namespace kestrel
