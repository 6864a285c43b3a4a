// Scanned-copy bitmaps: every input is refused with a message or decoded
// into exactly width x height pixels.

#include "output/BmpFile.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    const auto read = decodeBmp(bytes, "fuzz.bmp", Language::English);
    if (!read) {
        if (read.message().empty())
            std::abort();
        return 0;
    }
    if (read->width <= 0 || read->height <= 0 ||
        read->bits.size() != read->rowBytes() * static_cast<size_t>(read->height))
        std::abort();
    return 0;
}
