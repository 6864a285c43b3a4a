#pragma once
// The pictures of the tool-bar and tool-panel buttons, drawn as small line
// pictograms so they look alike on every desktop theme.

#include <QIcon>

namespace kestrel {

// A null icon for an unknown name.
QIcon toolIcon(const char* name);

// The pad-shape glyphs of the pad button and its shape menu: shapes 1..9
// (round, octagon, square; the same three horizontal and vertical), each
// also as a via, drawn over a second pad on the other side.
QIcon padShapeIcon(int shape, bool via);

// The program's own icon for its windows and the task bar: a green board
// with a copper track between two pads.
QIcon applicationIcon();

} // namespace kestrel
