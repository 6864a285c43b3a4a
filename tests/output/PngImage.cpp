#include "PngImage.h"

#include "support/TestData.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

namespace kestrel::test {

namespace {

uint32_t bigEndian32(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

int paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

} // namespace

int PngImage::red(int column, int row) const
{
    if (column < 0 || row < 0 || column >= width || row >= height)
        return -1;
    return pixels[(static_cast<size_t>(row) * width + column) * channels];
}

std::optional<PngImage> readPng(const std::string& path, std::string& error)
{
    const std::vector<uint8_t> file = readBytes(path);
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || std::memcmp(file.data(), signature, 8) != 0) {
        error = path + " is not a PNG file";
        return std::nullopt;
    }
    PngImage image;
    std::vector<uint8_t> compressed;
    for (size_t at = 8; at + 12 <= file.size();) {
        const uint32_t length = bigEndian32(&file[at]);
        if (at + 12 + length > file.size())
            break;
        const std::string type(reinterpret_cast<const char*>(&file[at + 4]), 4);
        const uint8_t* data = &file[at + 8];
        if (type == "IHDR") {
            image.width = static_cast<int>(bigEndian32(data));
            image.height = static_cast<int>(bigEndian32(data + 4));
            const int depth = data[8], colour = data[9], interlace = data[12];
            image.channels = colour == 2 ? 3 : colour == 6 ? 4 : 0;
            if (depth != 8 || image.channels == 0 || interlace != 0) {
                error = path + ": only 8-bit RGB/RGBA without interlacing is read";
                return std::nullopt;
            }
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), data, data + length);
        }
        at += 12 + length;
    }
    const size_t stride = static_cast<size_t>(image.width) * image.channels;
    std::vector<uint8_t> raw((stride + 1) * image.height);
    uLongf rawSize = raw.size();
    if (image.channels == 0 || uncompress(raw.data(), &rawSize, compressed.data(), compressed.size()) != Z_OK ||
        rawSize != raw.size()) {
        error = path + ": broken image data";
        return std::nullopt;
    }
    image.pixels.resize(stride * image.height);
    const int bpp = image.channels;
    for (int row = 0; row < image.height; ++row) {
        const uint8_t filter = raw[row * (stride + 1)];
        const uint8_t* in = &raw[row * (stride + 1) + 1];
        uint8_t* out = &image.pixels[row * stride];
        const uint8_t* up = row > 0 ? out - stride : nullptr;
        for (size_t i = 0; i < stride; ++i) {
            const int a = i >= static_cast<size_t>(bpp) ? out[i - bpp] : 0;
            const int b = up ? up[i] : 0;
            const int c = up && i >= static_cast<size_t>(bpp) ? up[i - bpp] : 0;
            int predictor = 0;
            switch (filter) {
            case 1: predictor = a; break;
            case 2: predictor = b; break;
            case 3: predictor = (a + b) / 2; break;
            case 4: predictor = paeth(a, b, c); break;
            default: break;
            }
            out[i] = static_cast<uint8_t>(in[i] + predictor);
        }
    }
    return image;
}

} // namespace kestrel::test
