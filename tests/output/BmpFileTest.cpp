#include "output/BitmapEstimate.h"
#include "output/BmpFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

uint32_t u32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
void set32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A file of the given header fields at 600 dpi, then `tail`: palette or
// masks, then pixels at `dataOffset`.
std::vector<uint8_t> file(int32_t width, int32_t height, int bits, uint32_t compression, uint32_t dataOffset,
                          const std::vector<uint8_t>& tail)
{
    std::vector<uint8_t> b(54 + tail.size(), 0);
    std::copy(tail.begin(), tail.end(), b.begin() + 54);
    b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = static_cast<uint8_t>(bits);
    for (auto [at, value] : {std::pair{2u, uint32_t(b.size())}, {10u, dataOffset}, {14u, 40u}, {18u, uint32_t(width)},
                             {22u, uint32_t(height)}, {30u, compression}, {38u, 23622u}, {46u, bits <= 8 ? 2u : 0u}})
        set32(b, at, value);
    return b;
}

// 3 x 2 pixels: the top row 1 0 1, the bottom row 0 1 0.
IndexedImage smallImage(int bits)
{
    IndexedImage im;
    im.width = 3;
    im.height = 2;
    im.bitsPerPixel = bits;
    im.palette = bits == 1 ? std::vector<uint32_t>{0x000000, 0xFFFFFF}
                           : std::vector<uint32_t>{0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    im.pixels = {1, 0, 1, 0, 1, 0};
    if (bits == 4)
        im.pixels = {1, 2, 3, 0, 3, 2};
    im.dpi = 300;
    return im;
}

// The decoded pixels, a byte each, 1 for dark.
std::vector<uint8_t> darkPixels(const TwoColourBitmap& b)
{
    std::vector<uint8_t> pixels;
    for (int32_t y = 0; y < b.height; ++y)
        for (int32_t x = 0; x < b.width; ++x)
            pixels.push_back(b.dark(x, y));
    return pixels;
}

} // namespace

// The header fields of both depths; palette files read back as dark and light.
TEST(BmpFile, HeaderFieldsOfBothDepths)
{
    struct Row {
        int bits;
        uint32_t dataOffset, fileSize, colours;
        std::vector<uint8_t> dark;
    } rows[] = {
        // one 4-byte word per row; black is dark
        {1, 14 + 40 + 8, 14 + 40 + 8 + 2 * 4, 2, {0, 1, 0, 1, 0, 1}},
        // 12 bits still pad to a word; red (luminance 76) and blue are dark, green (150) is not
        {4, 14 + 40 + 64, 14 + 40 + 64 + 2 * 4, 16, {1, 0, 1, 1, 1, 0}},
    };
    for (const Row& r : rows) {
        const auto bytes = encodeBmp(smallImage(r.bits), Language::English);
        ASSERT_TRUE(succeeded(bytes));
        const auto& b = *bytes;
        EXPECT_EQ(u32(b, 2), b.size()) << r.bits;
        EXPECT_EQ(b.size(), r.fileSize);
        EXPECT_EQ(u32(b, 10), r.dataOffset);
        EXPECT_EQ(b[28], r.bits);
        EXPECT_EQ(u32(b, 38), 11811u) << "300 dpi in pixels per metre";
        EXPECT_EQ(u32(b, 46), r.colours);
        EXPECT_EQ(u32(b, 58), r.bits == 1 ? 0xFFFFFFu : 0xFF0000u) << "palette entry 1 as blue, green, red, 0";
        const auto decoded = decodeBmp(b, "x.bmp", Language::English);
        ASSERT_TRUE(succeeded(decoded));
        EXPECT_EQ(darkPixels(*decoded), r.dark) << r.bits;
    }
}

// The pixels' order and packing are read back independently by
// tests/output_gui/BitmapExportTest.cpp.

// Damaged files are refused with the file's name, in the interface language.
TEST(BmpFile, DamagedHeadersAreRefused)
{
    const std::vector<uint8_t> good = *encodeBmp(smallImage(1), Language::English);
    const std::pair<const char*, std::function<void(std::vector<uint8_t>&)>> rows[] = {
        {"shorter than 54 bytes", [](auto& b) { b.resize(53); }},
        {"information header of 12 bytes", [](auto& b) { set32(b, 14, 12); }},
        {"a million rows", [](auto& b) { set32(b, 22, 1000000); }},
        {"pixels cut off", [](auto& b) { b.resize(b.size() - 1); }},
        {"compressed", [](auto& b) { set32(b, 30, 1); }},
    };
    for (const auto& [why, damage] : rows) {
        std::vector<uint8_t> b = good;
        damage(b);
        const auto decoded = decodeBmp(b, "scan.bmp", Language::Russian);
        EXPECT_FALSE(decoded.ok()) << why;
        if (!decoded.ok()) {
            EXPECT_TRUE(decoded.message().starts_with("scan.bmp: непригодный рисунок BMP (")) << decoded.message();
            const std::string why = decoded.message().substr(std::string("scan.bmp").size());
            EXPECT_TRUE(std::none_of(why.begin(), why.end(), [](char c) { return c >= 'a' && c <= 'z' && c != 'x'; }))
                << "no English word (a size is W x H): " << decoded.message();
        }
    }
}

// Write errors naming the file: tests/output_gui/BitmapExportTest.cpp.

// Scanners and paint programs also write true colour, run-length coded rows,
// colour masks and 16-bit pixels; all are reduced to dark and light by luminance.
TEST(BmpFile, DecodesTrueColourRunsMasksAndSixteenBits)
{
    const std::vector<uint8_t> blackWhite = {0, 0, 0, 0, 255, 255, 255, 0}; // index 0 dark, 1 light
    auto with = [](std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::tuple<const char*, std::vector<uint8_t>, std::vector<uint8_t>> rows[] = {
        // top row first: white, dark grey, pad; green (luminance 150) and silver are light
        {"24 bits, top-down", file(2, -2, 24, 0, 54, {255, 255, 255, 10, 10, 10, 0, 0, 0, 255, 0, 200, 200, 200, 0, 0}),
         {0, 1, 0, 0}},
        // bottom row: one pixel 0, then 1 0 1 given one by one (padded); top row: a run of four 1s
        {"8-bit runs", file(4, 2, 8, 1, 62, with(blackWhite, {1, 0, 0, 3, 1, 0, 1, 0, 0, 0, 4, 1, 0, 1})),
         {0, 0, 0, 0, 1, 0, 1, 0}},
        {"4-bit runs, nibbles alternating", file(3, 1, 4, 2, 62, with(blackWhite, {3, 0x10, 0, 1})), {0, 1, 0}},
        // red and green masks swapped: 0x00FF is green here, not blue
        {"32-bit colour masks",
         file(2, 1, 32, 3, 66, {0, 0xFF, 0, 0, /* red */ 0xFF, 0, 0, 0, /* green */ 0, 0, 0xFF, 0, /* blue */
                                0xFF, 0, 0, 0, /* green: light */ 0, 0, 0, 0 /* black */}),
         {0, 1}},
        {"16 bits, 5-5-5", file(4, 1, 16, 0, 54, {0xE0, 0x03, 0x00, 0x7C, 0, 0, 0xFF, 0x7F}), {0, 1, 1, 0}},
        // top row first; the bits past the width are dark too, but no pixels
        {"1 bit, index 0 dark, top-down",
         file(3, -2, 1, 0, 62, with(blackWhite, {0b01000000, 0, 0, 0, 0b10111111, 0, 0, 0})), {1, 0, 1, 0, 1, 0}},
    };
    for (const auto& [what, bytes, dark] : rows) {
        const auto decoded = decodeBmp(bytes, "scan.bmp", Language::English);
        ASSERT_TRUE(succeeded(decoded)) << what;
        EXPECT_EQ(darkPixels(*decoded), dark) << what;
        EXPECT_EQ(decoded->dpi, 600) << what;
        const int spare = (8 - decoded->width % 8) % 8; // bits of a row's last byte past the width
        for (size_t row = 1; row <= static_cast<size_t>(decoded->height); ++row)
            EXPECT_EQ(decoded->bits[row * decoded->rowBytes() - 1] & ((1 << spare) - 1), 0)
                << what << ": past the width";
    }
    const auto cut = decodeBmp(file(4, 2, 8, 1, 62, with(blackWhite, {4, 1, 0, 0})), "scan.bmp", Language::English);
    EXPECT_EQ(cut.message(), "scan.bmp: not a usable bitmap (the coded pixels end early)");
    // A few bytes of codes claiming 60000 x 60000 pixels: refused, not gigabytes taken.
    const auto huge = decodeBmp(file(60000, 60000, 8, 1, 62, with(blackWhite, {0, 1})), "scan.bmp", Language::English);
    EXPECT_EQ(huge.message(), "scan.bmp: not a usable bitmap (a size the coded pixels cannot fill)");
    const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(decodeBmp(png, "scan.png", Language::English).message(), "scan.png: not a usable bitmap (not a BMP file)");
}

TEST(BitmapEstimate, PixelsAndMemory)
{
    struct Row {
        int32_t w, h, dpi;
        bool colour;
        int64_t px, py, kb;
        bool large;
    } rows[] = {
        {16000, 10000, 300, false, 1890, 1181, 272, false}, // round(2232090 / 1024) = 2180, div 8
        {30000, 30000, 600, true, 7087, 7087, 24524, false}, // just below the question
        {31000, 30000, 600, true, 7323, 7087, 25341, true},
        // 64-bit arithmetic: 2 x 2 m at 600 dpi does not overflow
        {200000, 200000, 600, true, 47244, 47244, 1089842, true},
    };
    for (const Row& r : rows) {
        const BitmapEstimate e = bitmapEstimate(r.w, r.h, r.dpi, r.colour);
        EXPECT_EQ(std::tuple(e.widthPx, e.heightPx, e.kilobytes, e.large()), std::tuple(r.px, r.py, r.kb, r.large))
            << r.w << " " << r.colour;
    }
    EXPECT_TRUE(bitmapEstimate(200000, 200000, 600, true).tooLarge());
    EXPECT_FALSE(bitmapEstimate(100000, 100000, 600, true).tooLarge());
}
