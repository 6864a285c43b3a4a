#pragma once
// The system's reason for a failed file operation in the interface
// language: the common ones in Russian, the rest as the system words them.

#include "model/Language.h"

#include <string>

namespace kestrel {

std::string systemErrorText(int error, Language lang);

} // namespace kestrel
