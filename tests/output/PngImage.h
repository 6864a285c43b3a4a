#pragma once
// A minimal reader for the PNG files gerbv writes: 8-bit RGB or RGBA,
// not interlaced. Enough to look at single pixels of a rendered layer.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::test {

struct PngImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<uint8_t> pixels; // row-major, `channels` bytes per pixel

    // Red channel at (column, row from the top); -1 outside the image.
    int red(int column, int row) const;
};

// The image, or nullopt with `error` set.
std::optional<PngImage> readPng(const std::string& path, std::string& error);

} // namespace kestrel::test
