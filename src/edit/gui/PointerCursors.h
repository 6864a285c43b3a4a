#pragma once
// The pointer shapes of the tools, drawn by the program: "LUPE" (zoom),
// "TEST", "CHANGER" (over a draggable corner), "CONNECT" and "AUTOROUTE".

#include "edit/PointerMachine.h"

#include <QCursor>

namespace kestrel {

// Drawn for a screen of the given device pixel ratio.
QCursor pointerCursor(PointerCursor which, qreal devicePixelRatio = 1);

} // namespace kestrel
