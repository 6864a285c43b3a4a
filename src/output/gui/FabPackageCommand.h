#pragma once
// File > Export > Fab package: the design check first (asking before going
// on when it finds violations), then a file name, then the zip.

#include "model/LayoutDocument.h"
#include "model/gui/Prompts.h"
#include "output/DesignCheck.h"

class QWidget;

namespace kestrel {

// Writes the fab package of the active board; `rules` are the design
// check's. Returns true when a package was written.
bool runFabPackageCommand(QWidget* parent, LayoutDocument& doc, Language lang, Prompts& prompts,
                          const DesignRules& rules);

} // namespace kestrel
