#pragma once
// A large repaint into an image split into horizontal bands that are
// painted at the same time on several threads. Each band gets its own
// painter on its own rows of the image, with the caller's transform and
// clip cut to the band, so the pixels are the same as from one painter.

#include <QRect>

#include <functional>

class QPainter;

namespace kestrel {

// Bands for the painter's repaint: one for a small area, where handing work
// to threads costs more than it saves, or for a painter state the bands do
// not take over (opacity, composition); else up to `threads`.
int bandCount(const QPainter& painter, int threads);

// Paints the painter's image in `bands` bands; paintBand receives each
// band's painter and the band's device rectangle (in the caller's device
// coordinates). False, painting nothing, when the painter's target or clip
// cannot be split: then the caller paints on its own.
bool paintInBands(QPainter& painter, int bands, const std::function<void(QPainter&, const QRect&)>& paintBand);

} // namespace kestrel
