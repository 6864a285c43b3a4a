#include "model/LayerKeys.h"

#include "model/LayoutObject.h"

#include <array>

namespace kestrel {

namespace {
constexpr std::array<std::string_view, 4> kKeys = {"K1", "B1", "K2", "B2"};
static_assert(Layer::K1 == 1 && Layer::B1 == 2 && Layer::K2 == 3 && Layer::B2 == 4, "kKeys is indexed by layer - 1");
} // namespace

std::string_view layerKey(int layer)
{
    return layer >= 1 && layer <= 4 ? kKeys[static_cast<size_t>(layer - 1)] : std::string_view();
}

std::optional<int> layerFromKey(std::string_view key)
{
    for (size_t i = 0; i < kKeys.size(); ++i)
        if (kKeys[i] == key)
            return static_cast<int>(i + 1);
    return std::nullopt;
}

} // namespace kestrel
