#pragma once
// The scanned copies of a board's two sides as loaded bitmaps, and their
// two-colour images for drawing: dark pixels in the side's colour on white.

#include "output/BmpFile.h"
#include "model/Result.h"

#include <QImage>
#include <QObject>

#include <array>
#include <string>

namespace kestrel {

// Dark pixels in `colour`, the rest white; one bit a pixel.
QImage twoColourImage(const TwoColourBitmap& bitmap, const QColor& colour);

class ScannedCopies : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Loads side 1 or 2 from the file. On failure the side keeps the
    // bitmap it had and the failure is returned.
    Status load(int side, const std::string& path, Language lang);
    // Forgets side 1 or 2's bitmap.
    void clear(int side);
    bool loaded(int side) const { return !at(side).file.empty(); }
    // The side's size and resolution; its pixels are kept in the image only.
    const TwoColourBitmap& bitmap(int side) const { return at(side).bitmap; }
    // The last file loaded successfully, empty when none.
    const std::string& loadedFile(int side) const { return at(side).file; }
    // The side's image in `colour`.
    QImage image(int side, const QColor& colour);

private:
    struct Side {
        TwoColourBitmap bitmap;
        std::string file;
        QImage image;
    };
    Side& at(int side) { return sides_.at(side == 1 ? 0 : 1); }
    const Side& at(int side) const { return sides_.at(side == 1 ? 0 : 1); }

    std::array<Side, 2> sides_;
};

} // namespace kestrel
