#pragma once
// Pixel writes shared by the pixel writer's figures: a run of one colour,
// and a row given as bits, one a pixel.

#include <QColor>

#include <cstdint>
#include <cstring>
#include <vector>

namespace kestrel {

// A run of at least 16 pixels.
void fillRun(QRgb* first, int count, QRgb pixel);

// Pixels q[0..last]. Long runs go to fillRun, whose call costs more than
// writing a few pixels; runs of four to eight are two overlapping four-pixel
// stores, shorter ones three stores that repeat a pixel where the run has
// fewer.
inline void fillPixels(QRgb* q, int last, QRgb pixel)
{
    if (last < 3) {
        q[0] = pixel;
        q[last >> 1] = pixel;
        q[last] = pixel;
    } else if (last < 8) {
        const QRgb fourPixels[4] = {pixel, pixel, pixel, pixel};
        std::memcpy(q, fourPixels, sizeof fourPixels);
        std::memcpy(q + last - 3, fourPixels, sizeof fourPixels);
    } else if (last < 16) {
        for (int k = 0; k <= last; ++k)
            q[k] = pixel;
    } else {
        fillRun(q, last + 1, pixel);
    }
}

// Writes `pixel` to line[i] for every bit i set in `bits`.
using RowBitsWriter = void (*)(QRgb* line, uint64_t bits, QRgb pixel);
// The quickest writer this processor runs: masked vector stores where it
// has them, else a run at a time.
RowBitsWriter rowBitsWriter();
// Every writer this processor runs, the portable one first.
std::vector<RowBitsWriter> rowBitsWriters();

} // namespace kestrel
