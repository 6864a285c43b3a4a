#pragma once
// The short names the interface gives the four board layers: K copper, B
// silk screen; 1 the solder side, 2 the component side. The menus, the export
// dialog and kestrel-cli all name layers this way.

#include <optional>
#include <string_view>

namespace kestrel {

// "K1", "B1", "K2", "B2" for layers 1 to 4; empty for any other layer.
std::string_view layerKey(int layer);
std::optional<int> layerFromKey(std::string_view key);

} // namespace kestrel
