// Layout reader: whatever it accepts must be a consistent document that
// writes and reads back to the same bytes.

#include "model/LayoutFile.h"

#include <cstdint>
#include <cstdlib>

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto read = decodeDocument(data, size, Language::English, "fuzz.kbd");
    if (!read)
        return 0;
    LayoutDocument& doc = read->document;
    prepareForWriting(doc, true);
    const auto bytes = encodeDocument(doc);
    auto again = decodeDocument(bytes.data(), bytes.size(), Language::English, "again.kbd");
    if (!again)
        std::abort(); // what was written from an accepted file must read
    again->document.storeWorkingState();
    prepareForWriting(again->document, true);
    if (encodeDocument(again->document) != bytes)
        std::abort();
    return 0;
}
