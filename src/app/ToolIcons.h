#pragma once
// The pictures of the tool-bar and tool-panel buttons, drawn as small line
// pictograms so they look alike on every desktop theme.

#include <QIcon>

namespace kestrel {

// A null icon for an unknown name.
QIcon toolIcon(const char* name);

} // namespace kestrel
