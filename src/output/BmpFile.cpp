#include "output/BmpFile.h"

#include "model/FileIO.h"
#include "model/Types.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <new>

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

struct ColourMasks {
    uint32_t red, green, blue;
    // The channel a mask selects, scaled to 0..255.
    static uint32_t channel(uint32_t value, uint32_t mask)
    {
        if (mask == 0)
            return 0;
        const int shift = std::countr_zero(mask);
        const uint64_t top = mask >> shift;
        return static_cast<uint32_t>(((value & mask) >> shift) * 255 / top);
    }
};

// Run-length coded rows of 8 or 4 bits a pixel, bottom row first, as
// palette indices; pixels the codes skip keep index 0. False when the codes
// end before the last row or the end code.
bool decodeRuns(const uint8_t* p, const uint8_t* end, int bits, int32_t width, int32_t height,
                std::vector<uint8_t>& index)
{
    int64_t x = 0, y = 0;
    auto put = [&](uint8_t v) {
        if (x < width && y < height)
            index[static_cast<size_t>((height - 1 - y) * width + x)] = v;
        ++x;
    };
    auto nibble = [](uint8_t byte, int i) { return static_cast<uint8_t>(i % 2 ? byte & 15 : byte >> 4); };
    while (y < height) {
        if (end - p < 2)
            return false;
        const uint8_t n = p[0], c = p[1];
        p += 2;
        if (n > 0) { // a run of n pixels
            for (int i = 0; i < n; ++i)
                put(bits == 8 ? c : nibble(c, i));
        } else if (c == 0) { // end of the row
            x = 0;
            ++y;
        } else if (c == 1) { // end of the picture
            return true;
        } else if (c == 2) { // a jump right and up
            if (end - p < 2)
                return false;
            x += p[0];
            y += p[1];
            p += 2;
        } else { // c pixels given one by one, padded to a 16-bit word
            const ptrdiff_t bytes = bits == 8 ? c : (c + 1) / 2;
            if (end - p < bytes)
                return false;
            for (int i = 0; i < c; ++i)
                put(bits == 8 ? p[i] : nibble(p[i / 2], i));
            p += std::min<ptrdiff_t>((bytes + 1) & ~ptrdiff_t{1}, end - p);
        }
    }
    return true;
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
    Result<std::vector<uint8_t>> bytes = Status::failure("");
    try {
        bytes = encodeBmp(image, lang);
    } catch (const std::bad_alloc&) {
        bytes = Status::failure(tr(lang, "недостаточно памяти для файла рисунка", "not enough memory for the file"));
    }
    if (!bytes)
        return Status::failure(path + ": " + bytes.message());
    return writeFileAtomically(path, *bytes, lang);
}

Result<TwoColourBitmap> decodeBmp(const std::vector<uint8_t>& b, const std::string& name, Language lang)
{
    if (b.size() < 2 || b[0] != 'B' || b[1] != 'M')
        return damaged(name, lang, tr(lang, "это не файл BMP", "not a BMP file"));
    if (b.size() < kFileHeaderBytes + kInfoHeaderBytes)
        return damaged(name, lang, tr(lang, "заголовок короче 54 байт", "a header shorter than 54 bytes"));
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
    const bool bottomUp = rawHeight > 0;
    // Run-length coding (bottom-up only), colour masks, or plain rows.
    const bool runs = ((compression == 1 && bits == 8) || (compression == 2 && bits == 4)) && bottomUp;
    const bool masked = compression == 3 && (bits == 16 || bits == 32) && b.size() >= kFileHeaderBytes + 52;
    const bool plain = compression == 0 && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
    if (get16(b, 26) != 1 || !(runs || masked || plain))
        return damaged(name, lang,
                       std::to_string(bits) + tr(lang, " бит на пиксел, сжатие ", " bits per pixel, compression ") +
                           std::to_string(compression));
    const int32_t height = bottomUp ? rawHeight : -rawHeight;
    const uint64_t stride = rowBytes(width, bits);
    const uint64_t dataOffset = get32(b, 10);
    if (dataOffset > b.size() || (!runs && stride * static_cast<uint64_t>(height) > b.size() - dataOffset))
        return damaged(name, lang, tr(lang, "пикселы за концом файла", "pixel data beyond the end of the file"));
    // A run gives at most 255 pixels for its two bytes: a size far beyond
    // what the coded data can fill is a damaged header, and would take
    // gigabytes for a file of a few bytes.
    const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    if (runs && pixels > std::max<uint64_t>(uint64_t{1} << 20, 128 * (b.size() - dataOffset)))
        return damaged(name, lang,
                       tr(lang, "размер больше, чем вмещают сжатые пикселы", "a size the coded pixels cannot fill"));

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
    out.bits.assign(static_cast<size_t>(height) * out.rowBytes(), 0);
    const auto setDark = [&out](int32_t x, int32_t y) {
        out.bits[static_cast<size_t>(y) * out.rowBytes() + static_cast<size_t>(x) / 8] |=
            static_cast<uint8_t>(0x80 >> (x & 7));
    };
    if (runs) {
        std::vector<uint8_t> index(static_cast<size_t>(width) * static_cast<size_t>(height));
        if (!decodeRuns(b.data() + dataOffset, b.data() + b.size(), bits, width, height, index))
            return damaged(name, lang, tr(lang, "сжатые пикселы обрываются", "the coded pixels end early"));
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                if (darkIndex[index[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]])
                    setDark(x, y);
        return out;
    }
    // Colour masks: given after the 40-byte header (or inside a longer one),
    // else the fixed 5-5-5 of 16 bits and 8-8-8 of 24 and 32.
    const ColourMasks masks = masked ? ColourMasks{get32(b, 54), get32(b, 58), get32(b, 62)}
                              : bits == 16 ? ColourMasks{0x7C00, 0x03E0, 0x001F}
                                           : ColourMasks{0xFF0000, 0x00FF00, 0x0000FF};
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = b.data() + dataOffset + stride * static_cast<uint64_t>(bottomUp ? height - 1 - y : y);
        if (bits == 1) {
            // The file's bits are the pixels already, inverted when index 0 is the dark one.
            const uint8_t zero = darkIndex[0] ? 0xFF : 0, one = darkIndex[1] ? 0xFF : 0;
            uint8_t* dst = out.bits.data() + static_cast<size_t>(y) * out.rowBytes();
            for (size_t i = 0; i < out.rowBytes(); ++i)
                dst[i] = static_cast<uint8_t>((row[i] & one) | (~row[i] & zero));
            if (width % 8)
                dst[out.rowBytes() - 1] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
            continue;
        }
        for (int32_t x = 0; x < width; ++x) {
            bool dark;
            if (bits <= 8) {
                const int perByte = 8 / bits;
                const uint8_t byte = row[x / perByte];
                const int shift = 8 - bits * (x % perByte + 1);
                dark = darkIndex[(byte >> shift) & ((1 << bits) - 1)];
            } else {
                const uint8_t* p = row + static_cast<size_t>(x) * (bits / 8);
                const uint32_t v = bits == 16 ? p[0] | uint32_t(p[1]) << 8
                                              : p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                                    (bits == 32 ? uint32_t(p[3]) << 24 : 0);
                dark = darkColour(masks.channel(v, masks.red), masks.channel(v, masks.green),
                                  masks.channel(v, masks.blue));
            }
            if (dark)
                setDark(x, y);
        }
    }
    return out;
}

} // namespace kestrel
