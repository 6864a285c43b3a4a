#include "output/ScannedCopy.h"

#include "model/FileIO.h"
#include "model/TextCodec.h"
#include "model/Units.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kestrel {

namespace {

// The record keeps Windows colour values (0x00BBGGRR).
uint32_t swapRedBlue(uint32_t c) { return (c & 0x00FF00) | (c & 0xFF) << 16 | (c >> 16 & 0xFF); }

size_t utf8Length(const std::string& s)
{
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

} // namespace

CopySide copySide(const BoardSettings& b, int side)
{
    CopySide c;
    const bool one = side == 1;
    c.on = (one ? b.CopyOn1 : b.CopyOn2) != 0;
    c.file = one ? b.CopyFile1 : b.CopyFile2;
    c.dpi = one ? b.CopyDpi1 : b.CopyDpi2;
    c.offsetX = one ? b.CopyOffsetX1 : b.CopyOffsetX2;
    c.offsetY = one ? b.CopyOffsetY1 : b.CopyOffsetY2;
    c.colour = swapRedBlue(one ? b.CopyColour1 : b.CopyColour2);
    return c;
}

void setCopySide(BoardSettings& b, int side, const CopySide& c)
{
    const bool one = side == 1;
    (one ? b.CopyOn1 : b.CopyOn2) = c.on ? 1 : 0;
    (one ? b.CopyFile1 : b.CopyFile2) = c.file;
    (one ? b.CopyDpi1 : b.CopyDpi2) = c.dpi;
    (one ? b.CopyOffsetX1 : b.CopyOffsetX2) = c.offsetX;
    (one ? b.CopyOffsetY1 : b.CopyOffsetY2) = c.offsetY;
    (one ? b.CopyColour1 : b.CopyColour2) = swapRedBlue(c.colour);
}

int clampedCopyDpi(int dpi, int fallback)
{
    if (dpi <= 0)
        return std::clamp(fallback, kCopyDpiMin, kCopyDpiMax);
    return std::clamp(dpi, kCopyDpiMin, kCopyDpiMax);
}

Rect scanRectUnits(int32_t widthPx, int32_t heightPx, int dpi, int32_t offsetX, int32_t offsetY)
{
    const double unitsPerPx = kMmPerInch * kUnitsPerMm / clampedCopyDpi(dpi);
    const int32_t left = offsetX * 10, top = -offsetY * 10; // tenths of a millimetre
    const int32_t width = roundEven(widthPx * unitsPerPx), height = roundEven(heightPx * unitsPerPx);
    return {left, top - height, left + width, top};
}

Result<std::string> storableCopyPath(const std::string& path, Language lang)
{
    std::string normal = path;
    std::replace(normal.begin(), normal.end(), '\\', '/');
    if (utf8Length(normal) > static_cast<size_t>(kCopyFileMax))
        return Status::failure(normal + tr(lang, ": имя длиннее ", ": the name is longer than ") +
                               std::to_string(kCopyFileMax) + tr(lang, " знаков", " characters"));
    // The file keeps the name in its 8-bit code page: a character outside
    // it would come back as '?', naming no file.
    if (const std::string ch = firstCharacterOutsideCp1251(normal); !ch.empty())
        return Status::failure(normal + tr(lang, ": этот знак имени не сохраняется в файле документа: ",
                                           ": the document file cannot keep this character of the name: ") +
                               ch);
    return normal;
}

Result<std::string> usableCopyPath(const std::string& stored, Language lang)
{
    auto normal = storableCopyPath(stored, lang);
    if (!normal)
        return normal;
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(*normal), ec);
    if (normal->empty() || status.type() == std::filesystem::file_type::not_found)
        return Status::failure(*normal + tr(lang, ": нет такого файла", ": no such file"));
    if (!std::filesystem::is_regular_file(status))
        return Status::failure(*normal + tr(lang, ": это не файл", ": not a file"));
    return normal;
}

Result<TwoColourBitmap> loadScanBitmap(const std::string& path, Language lang)
{
    const auto bytes = readWholeFile(path, lang);
    if (!bytes)
        return bytes.status();
    return decodeBmp(*bytes, path, lang);
}

} // namespace kestrel
