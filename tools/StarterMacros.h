#pragma once
// The starter macro library shipped in examples/Makros: common through-hole
// and surface-mount footprints as pads on their real pitches, with silk
// outlines where they help placing the part.

#include "model/ObjectList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

struct StarterMacro {
    std::string fileName; // e.g. "DIP-8.kmk"
    ObjectList objects;   // on side 1, board units, y up
};

std::vector<StarterMacro> starterMacros();

// The macro file's bytes as Save as macro writes the whole side.
std::vector<uint8_t> starterMacroBytes(StarterMacro& macro);

} // namespace kestrel
