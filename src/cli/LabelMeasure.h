#pragma once
// Measures a label's text in the label font through kestrel-cli-render.

#include "model/Language.h"
#include "model/Types.h"

#include <optional>
#include <string>

namespace kestrel::cli {

// The far corner's offset (units) of a label box, or nullopt with error set
// in `lang`.
std::optional<Point> measureLabel(const std::string& text, int32_t fontHeight, int32_t angle, Language lang,
                                  std::string& error);

} // namespace kestrel::cli
