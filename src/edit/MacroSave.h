#pragma once
// Save as macro on the active board, shared by the editor and kestrel-cli:
// which objects go into the file and the write itself.

#include "model/LayoutDocument.h"
#include "model/Result.h"

#include <string>

namespace kestrel {

enum class MacroSaveScope : uint8_t {
    NothingOnSide, // the active side holds no object: nothing to save
    WholeSide,     // nothing is selected: the whole active side, after asking
    Selection,     // the selected objects of the active side
};

// The side of the active layer decides what a macro holds.
bool activeSideIs1(const LayoutDocument& doc);
MacroSaveScope macroSaveScope(const LayoutDocument& doc);

// Writes the active side of the active board (its selected objects only
// with selectionOnly) relative to its reference point, on the document's
// grid, through the atomic writer. Returns the number of objects written.
Result<size_t> saveMacro(LayoutDocument& doc, const std::string& path, bool selectionOnly, Language lang);

} // namespace kestrel
