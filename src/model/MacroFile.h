#pragma once
// Macro files (KMK): a set of objects relative to a reference point, on the
// side-neutral layers 5 (copper) and 6 (silk), without rubber bands.

#include "model/Language.h"
#include "model/ObjectList.h"
#include "model/Result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

// The reference point of a macro's objects: the pad centre lying furthest
// left and up, or else the upper-left corner of their bounding rectangle
// rounded to the grid.
Point macroReferencePoint(const std::vector<const LayoutObject*>& objects, double grid);

struct MacroImage {
    std::vector<uint8_t> bytes;
    size_t objectCount = 0;
    Point reference;
};

// Removes degenerate zones and tracks from the board, then encodes the
// objects of the active side (only the selected ones with selectionOnly).
// Throws FormatError for a value the macro reader would refuse.
MacroImage encodeMacro(ObjectList& board, bool activeSideIs1, bool selectionOnly, double grid);

// Writes the macro file atomically; the number of objects written.
Result<size_t> writeMacro(const std::string& path, ObjectList& board, bool activeSideIs1, bool selectionOnly,
                          double grid, Language lang);

struct LoadedMacro {
    ObjectList objects;
    int version = -1; // the version byte read
};

// Reads a macro of version 0..3; degenerate zones and tracks are dropped.
Result<LoadedMacro> decodeMacro(const uint8_t* data, size_t size, Language lang, const std::string& nameForMessages);
Result<LoadedMacro> readMacro(const std::string& path, Language lang);

} // namespace kestrel
