#include "output/gui/BoardBitmap.h"

#include "output/BitmapEstimate.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <new>

namespace kestrel {

namespace {

// The sixteen colours of a 4-bit bitmap; every screen colour but the board's
// own background is among them.
constexpr std::array<uint32_t, 16> kSixteenColours = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

uint8_t nearestOfSixteen(QRgb c)
{
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < kSixteenColours.size(); ++i) {
        const long dr = qRed(c) - long(kSixteenColours[i] >> 16), dg = qGreen(c) - long((kSixteenColours[i] >> 8) & 0xFF),
                   db = qBlue(c) - long(kSixteenColours[i] & 0xFF);
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return static_cast<uint8_t>(best);
}

QString text(Language lang, const char* russian, const char* english) { return QString::fromUtf8(tr(lang, russian, english)); }

QString outOfMemory(const BitmapEstimate& size, Language lang)
{
    return text(lang, "Недостаточно памяти для рисунка %1 x %2 пикселов.",
                "Not enough memory for a bitmap of %1 x %2 pixels.")
        .arg(size.widthPx)
        .arg(size.heightPx);
}

// Rows of the strip drawn at a time: about 4 million pixels.
int automaticStripRows(int64_t widthPx)
{
    return static_cast<int>(std::clamp<int64_t>((int64_t{1} << 22) / widthPx, 1, 4096));
}

} // namespace

std::string bitmapSizeProblem(const BitmapEstimate& size, Language lang)
{
    if (size.widthPx < 1 || size.heightPx < 1)
        return text(lang, "Рисунок %1 x %2 пикселов пуст: плата слишком мала для этого разрешения.",
                    "A bitmap of %1 x %2 pixels is empty: the board is too small for this resolution.")
            .arg(size.widthPx).arg(size.heightPx).toStdString();
    if (size.tooLarge())
        return text(lang, "Рисунок %1 x %2 пикселов слишком велик (не более %3 пикселов по стороне).",
                    "A bitmap of %1 x %2 pixels is too large (at most %3 pixels a side).")
            .arg(size.widthPx).arg(size.heightPx).arg(kMaxBitmapSidePx).toStdString();
    return {};
}

Result<IndexedImage> boardBitmap(const ObjectList& objects, const BoardSettings& board, const LayerState& layers,
                                 int dpi, bool colour, Language lang, int stripRows)
{
    const BitmapEstimate size = bitmapEstimate(board.BoardWidth, board.BoardHeight, dpi, colour);
    if (const std::string problem = bitmapSizeProblem(size, lang); !problem.empty())
        return Status::failure(problem);
    const int width = static_cast<int>(size.widthPx), height = static_cast<int>(size.heightPx);
    IndexedImage out;
    out.width = width;
    out.height = height;
    out.dpi = dpi;
    out.bitsPerPixel = colour ? 4 : 1;
    out.palette = colour ? std::vector<uint32_t>(kSixteenColours.begin(), kSixteenColours.end())
                         : std::vector<uint32_t>{0x000000, 0xFFFFFF};
    const int rows = std::min(height, stripRows > 0 ? stripRows : automaticStripRows(width));
    // The board is drawn a strip of rows at a time, so that beside the
    // palette indices only one strip's colours are held.
    QImage strip;
    try {
        out.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        strip = QImage(width, rows, QImage::Format_RGB32);
    } catch (const std::bad_alloc&) {
        return Status::failure(outOfMemory(size, lang).toStdString());
    }
    if (strip.isNull())
        return Status::failure(outOfMemory(size, lang).toStdString());

    // In black and white the silk's red turns black: over a plane drawn
    // without its copper layer the whole picture would be black.
    const bool plane = layers.activeGroundPlane() && (colour || layers.visible[layers.activeSideIs1() ? 0 : 2]);
    LayerState unselected = layers;
    unselected.showSelection = false; // a bitmap does not depend on what happens to be selected
    // In black and white the other side's grey turns white: on white it
    // vanishes, but over the ground plane it would cut false gaps into the
    // copper. It is left out.
    if (!colour)
        for (size_t i = layers.activeSideIs1() ? 2 : 0, end = i + 2; i < end; ++i)
            unselected.visible[i] = false;
    // The board fills the image exactly, y upwards.
    const double unitsPerRow = double(board.BoardHeight) / height;
    const QTransform scale = QTransform::fromScale(double(width) / board.BoardWidth, -1.0 / unitsPerRow);
    uint8_t* dst = out.pixels.data();
    for (int top = 0; top < height; top += rows) {
        strip.fill(plane ? Qt::black : Qt::white);
        {
            QPainter painter(&strip);
            painter.setTransform(scale * QTransform::fromTranslate(0, -top));
            const auto sink = makeFigureSink(painter, SinkChoice::Painter);
            // Objects reaching into the strip, with a row to spare each way.
            const Rect rowsShown{0, -static_cast<int32_t>(std::ceil((top + rows + 1) * unitsPerRow)), board.BoardWidth,
                                 -static_cast<int32_t>(std::floor(std::max(0, top - 1) * unitsPerRow))};
            DrawLayers(*sink, objects, unselected, rowsShown);
        }
        for (int y = 0; y < rows && top + y < height; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
            for (int x = 0; x < width; ++x)
                *dst++ = colour ? nearestOfSixteen(row[x]) : (qGray(row[x]) < 128 ? 0 : 1);
        }
    }
    return out;
}

} // namespace kestrel
