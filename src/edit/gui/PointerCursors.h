#pragma once
// The pointer shapes of the tools, drawn by the program: "LUPE" (zoom),
// "TEST", "CHANGER" (over a draggable corner), "CONNECT" and "AUTOROUTE".

#include "edit/PointerMachine.h"

#include <QCursor>

namespace kestrel {

QCursor pointerCursor(PointerCursor which);

} // namespace kestrel
