#pragma once
// Windows bitmap files (BMP, 40-byte information header, uncompressed):
// the encoder of the bitmap export and the reader of scanned copies. Both
// work on bytes in memory; only writeBmp touches the disk, atomically.

#include "model/Language.h"
#include "model/Result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

// A palette image, one index per pixel, the top row first.
struct IndexedImage {
    int32_t width = 0;
    int32_t height = 0;
    int bitsPerPixel = 1; // 1 or 4
    std::vector<uint32_t> palette; // 0xRRGGBB, at most 2^bitsPerPixel entries
    std::vector<uint8_t> pixels;   // width * height indices
    int dpi = 300;                 // stored in the header as pixels per metre
};

// The file's bytes; fails when the image is inconsistent or would exceed 2 GB.
Result<std::vector<uint8_t>> encodeBmp(const IndexedImage& image, Language lang);
// Encodes and writes through the atomic writer; failures name the file.
Status writeBmp(const std::string& path, const IndexedImage& image, Language lang);

// A bitmap reduced to two colours: dark pixels (luminance below half) are
// the ones drawn. Rows top first, one bit a pixel, the leftmost in the
// highest bit, each row starting on a byte: the order of a one-bit image,
// and an eighth of the memory of a byte a pixel for a large scan.
struct TwoColourBitmap {
    int32_t width = 0;
    int32_t height = 0;
    int dpi = 0; // from the header's horizontal pixels per metre, 0 when absent
    std::vector<uint8_t> bits; // height * rowBytes(), 1 = dark

    size_t rowBytes() const { return (static_cast<size_t>(width) + 7) / 8; }
    bool dark(int32_t x, int32_t y) const
    {
        return bits[static_cast<size_t>(y) * rowBytes() + static_cast<size_t>(x) / 8] >> (7 - (x & 7)) & 1;
    }
};

// Pixels per metre as dpi, rounded.
int dpiFromPixelsPerMetre(int64_t pixelsPerMetre);
int32_t pixelsPerMetreFromDpi(int dpi);

// Reads an uncompressed bitmap of 1, 4, 8, 24 or 32 bits per pixel. The
// header is checked against the bytes there are; `name` is used in messages.
Result<TwoColourBitmap> decodeBmp(const std::vector<uint8_t>& bytes, const std::string& name, Language lang);

} // namespace kestrel
