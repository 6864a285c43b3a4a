#include "output/gui/ScanImage.h"

#include "output/ScannedCopy.h"

#include <cstring>

namespace kestrel {

QImage twoColourImage(const TwoColourBitmap& b, const QColor& colour)
{
    QImage image(b.width, b.height, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColorTable({qRgb(255, 255, 255), colour.rgb()});
    // The bitmap's rows are the image's, without the padding to 32 bits.
    for (int32_t y = 0; y < b.height; ++y)
        std::memcpy(image.scanLine(y), b.bits.data() + static_cast<size_t>(y) * b.rowBytes(), b.rowBytes());
    return image;
}

Status ScannedCopies::load(int side, const std::string& path, Language lang)
{
    auto bitmap = loadScanBitmap(path, lang);
    if (!bitmap)
        return bitmap.status();
    // Kept as the image alone, not twice.
    QImage image = twoColourImage(*bitmap, Qt::black);
    if (image.isNull())
        return Status::failure(path + kestrel::tr(lang, ": недостаточно памяти", ": not enough memory"));
    std::vector<uint8_t>().swap(bitmap->bits);
    Side& s = at(side);
    s.bitmap = std::move(*bitmap);
    s.file = path;
    s.image = std::move(image);
    return {};
}

void ScannedCopies::clear(int side) { at(side) = Side{}; }

QImage ScannedCopies::image(int side, const QColor& colour)
{
    Side& s = at(side);
    if (s.file.empty())
        return {};
    if (s.image.color(1) != colour.rgb())
        s.image.setColor(1, colour.rgb());
    return s.image;
}

} // namespace kestrel
