// Macro reader: every input is refused with a message or read into a list.

#include "model/MacroFile.h"

#include <cstdint>
#include <cstdlib>

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto read = decodeMacro(data, size, Language::Russian, "fuzz.kmk");
    if (!read && read.message().empty())
        std::abort();
    return 0;
}
