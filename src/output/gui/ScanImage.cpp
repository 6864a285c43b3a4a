#include "output/gui/ScanImage.h"

#include "output/ScannedCopy.h"

namespace kestrel {

QImage twoColourImage(const TwoColourBitmap& b, const QColor& colour)
{
    QImage image(b.width, b.height, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColorTable({qRgb(255, 255, 255), colour.rgb()});
    image.fill(0);
    for (int32_t y = 0; y < b.height; ++y) {
        uchar* row = image.scanLine(y);
        const uint8_t* dark = b.dark.data() + static_cast<size_t>(y) * static_cast<size_t>(b.width);
        for (int32_t x = 0; x < b.width; ++x)
            if (dark[x])
                row[x >> 3] = static_cast<uchar>(row[x >> 3] | (0x80 >> (x & 7)));
    }
    return image;
}

Status ScannedCopies::load(int side, const std::string& path, Language lang)
{
    auto bitmap = loadScanBitmap(path, lang);
    if (!bitmap)
        return bitmap.status();
    // Kept as the image alone, one bit a pixel: the decoded byte a pixel of
    // a large scan took eight times that for as long as it was shown.
    QImage image = twoColourImage(*bitmap, Qt::black);
    if (image.isNull())
        return Status::failure(path + kestrel::tr(lang, ": недостаточно памяти", ": not enough memory"));
    std::vector<uint8_t>().swap(bitmap->dark);
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
