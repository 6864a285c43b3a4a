#include "output/BmpFile.h"

#include "model/FileIO.h"
#include "model/Types.h"

#include <cmath>

namespace kestrel {

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;
constexpr int32_t kMaxSidePx = 65535;

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

uint32_t get16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (uint32_t(b[at + 1]) << 8); }
uint32_t get32(const std::vector<uint8_t>& b, size_t at) { return get16(b, at) | (get16(b, at + 2) << 16); }

// Rows are padded to whole 32-bit words.
uint64_t rowBytes(int64_t width, int bits) { return (static_cast<uint64_t>(width) * bits + 31) / 32 * 4; }

bool darkColour(uint32_t r, uint32_t g, uint32_t b) { return 299 * r + 587 * g + 114 * b < 128 * 1000; }

Status damaged(const std::string& name, Language lang, const std::string& why)
{
    return Status::failure(name + tr(lang, ": непригодный рисунок BMP (", ": not a usable bitmap (") + why + ")");
}

} // namespace

int dpiFromPixelsPerMetre(int64_t pixelsPerMetre) { return static_cast<int>(roundEven64(pixelsPerMetre * 2.54 / 100)); }

int32_t pixelsPerMetreFromDpi(int dpi) { return roundEven(dpi * 100 / 2.54); }

Result<std::vector<uint8_t>> encodeBmp(const IndexedImage& im, Language lang)
{
    const size_t colours = size_t{1} << im.bitsPerPixel;
    if ((im.bitsPerPixel != 1 && im.bitsPerPixel != 4) || im.width <= 0 || im.height <= 0 ||
        im.palette.size() > colours ||
        im.pixels.size() != static_cast<size_t>(im.width) * static_cast<size_t>(im.height))
        return Status::failure("the bitmap to write is inconsistent");
    const uint64_t stride = rowBytes(im.width, im.bitsPerPixel);
    const uint64_t dataOffset = kFileHeaderBytes + kInfoHeaderBytes + 4 * colours;
    const uint64_t fileSize = dataOffset + stride * static_cast<uint64_t>(im.height);
    if (fileSize > 0x7FFFFFFF)
        return Status::failure(tr(lang, "рисунок ", "a bitmap of ") + std::to_string(im.width) + " x " +
                               std::to_string(im.height) +
                               tr(lang, " пикселов слишком велик для файла BMP",
                                  " pixels is too large for a BMP file"));
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(fileSize));
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<uint32_t>(fileSize));
    put32(out, 0);
    put32(out, static_cast<uint32_t>(dataOffset));
    put32(out, kInfoHeaderBytes);
    put32(out, static_cast<uint32_t>(im.width));
    put32(out, static_cast<uint32_t>(im.height)); // positive: bottom row first
    put16(out, 1);
    put16(out, static_cast<uint32_t>(im.bitsPerPixel));
    put32(out, 0); // uncompressed
    put32(out, static_cast<uint32_t>(stride * static_cast<uint64_t>(im.height)));
    put32(out, static_cast<uint32_t>(pixelsPerMetreFromDpi(im.dpi)));
    put32(out, static_cast<uint32_t>(pixelsPerMetreFromDpi(im.dpi)));
    put32(out, static_cast<uint32_t>(colours));
    put32(out, 0);
    for (size_t i = 0; i < colours; ++i) {
        const uint32_t rgb = i < im.palette.size() ? im.palette[i] : 0;
        out.push_back(static_cast<uint8_t>(rgb));
        out.push_back(static_cast<uint8_t>(rgb >> 8));
        out.push_back(static_cast<uint8_t>(rgb >> 16));
        out.push_back(0);
    }
    const int perByte = 8 / im.bitsPerPixel;
    for (int32_t y = im.height - 1; y >= 0; --y) {
        const uint8_t* row = im.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(im.width);
        const size_t start = out.size();
        for (int32_t x = 0; x < im.width; x += perByte) {
            uint8_t byte = 0;
            for (int k = 0; k < perByte; ++k) {
                const uint8_t index = x + k < im.width ? row[x + k] & (colours - 1) : 0;
                byte = static_cast<uint8_t>(byte | index << (8 - im.bitsPerPixel * (k + 1)));
            }
            out.push_back(byte);
        }
        out.resize(start + stride, 0);
    }
    return out;
}

Status writeBmp(const std::string& path, const IndexedImage& image, Language lang)
{
    const auto bytes = encodeBmp(image, lang);
    if (!bytes)
        return Status::failure(path + ": " + bytes.message());
    return writeFileAtomically(path, *bytes, lang);
}

Result<TwoColourBitmap> decodeBmp(const std::vector<uint8_t>& b, const std::string& name, Language lang)
{
    if (b.size() < kFileHeaderBytes + kInfoHeaderBytes || b[0] != 'B' || b[1] != 'M')
        return damaged(name, lang,
                       tr(lang, "нет заголовка BM длиной не менее 54 байт", "no BM header of at least 54 bytes"));
    const uint32_t infoSize = get32(b, 14);
    if (infoSize < kInfoHeaderBytes || kFileHeaderBytes + infoSize > b.size())
        return damaged(name, lang,
                       tr(lang, "информационный заголовок ", "information header of ") + std::to_string(infoSize) +
                           tr(lang, " байт", " bytes"));
    const int32_t width = static_cast<int32_t>(get32(b, 18));
    const int32_t rawHeight = static_cast<int32_t>(get32(b, 22));
    const int bits = static_cast<int>(get16(b, 28));
    const uint32_t compression = get32(b, 30);
    if (width <= 0 || width > kMaxSidePx || rawHeight == 0 || rawHeight < -kMaxSidePx || rawHeight > kMaxSidePx)
        return damaged(name, lang,
                       tr(lang, "размер ", "size ") + std::to_string(width) + " x " + std::to_string(rawHeight));
    if (get16(b, 26) != 1 || compression != 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        return damaged(name, lang,
                       std::to_string(bits) + tr(lang, " бит на пиксел, сжатие ", " bits per pixel, compression ") +
                           std::to_string(compression));
    const bool bottomUp = rawHeight > 0;
    const int32_t height = bottomUp ? rawHeight : -rawHeight;
    const uint64_t stride = rowBytes(width, bits);
    const uint64_t dataOffset = get32(b, 10);
    if (dataOffset > b.size() || stride * static_cast<uint64_t>(height) > b.size() - dataOffset)
        return damaged(name, lang, tr(lang, "пикселы за концом файла", "pixel data beyond the end of the file"));

    // The palette's colours, as dark or light.
    std::vector<uint8_t> darkIndex;
    if (bits <= 8) {
        size_t count = get32(b, 46);
        if (count == 0 || count > (size_t{1} << bits))
            count = size_t{1} << bits;
        const size_t paletteAt = kFileHeaderBytes + infoSize;
        if (paletteAt + 4 * count > dataOffset)
            return damaged(name, lang, tr(lang, "палитра заходит на пикселы", "palette overlaps the pixels"));
        for (size_t i = 0; i < count; ++i)
            darkIndex.push_back(darkColour(b[paletteAt + 4 * i + 2], b[paletteAt + 4 * i + 1], b[paletteAt + 4 * i]));
        darkIndex.resize(size_t{1} << bits, 1);
    }

    TwoColourBitmap out;
    out.width = width;
    out.height = height;
    out.dpi = dpiFromPixelsPerMetre(static_cast<int32_t>(get32(b, 38)));
    out.dark.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = b.data() + dataOffset + stride * static_cast<uint64_t>(bottomUp ? height - 1 - y : y);
        uint8_t* dst = out.dark.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x) {
            if (bits <= 8) {
                const int perByte = 8 / bits;
                const uint8_t byte = row[x / perByte];
                const int shift = 8 - bits * (x % perByte + 1);
                dst[x] = darkIndex[(byte >> shift) & ((1 << bits) - 1)];
            } else {
                const uint8_t* p = row + static_cast<size_t>(x) * (bits / 8);
                dst[x] = darkColour(p[2], p[1], p[0]);
            }
        }
    }
    return out;
}

} // namespace kestrel
