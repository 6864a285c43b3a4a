#pragma once
// A file name as messages show it: in double quotes, with quotes, backslashes
// and control characters escaped, so a name holding a newline cannot split a
// one-line message or pass for another line.

#include <string>
#include <string_view>

namespace kestrel {

std::string quotedPath(std::string_view path);

} // namespace kestrel
