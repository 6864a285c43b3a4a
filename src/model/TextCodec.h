#pragma once
// Files keep text in the Windows-1251 code page; in memory text is UTF-8.

#include <string>
#include <string_view>

namespace kestrel {

std::string cp1251ToUtf8(std::string_view bytes);
// Characters without a Windows-1251 code become the replacement.
std::string utf8ToCp1251(std::string_view utf8, char replacement = '?');

// The first character (as UTF-8) without a Windows-1251 code; empty when
// the file can keep the whole text.
std::string firstCharacterOutsideCp1251(std::string_view utf8);

} // namespace kestrel
