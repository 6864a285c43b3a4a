#include "view/gui/FigureSink.h"

#include "view/gui/PainterSink.h"
#include "view/gui/PixelSink.h"

#include <cstdlib>
#include <string_view>

namespace kestrel {

namespace {
// Read once at start: users who meet a difference between the pixel writer
// and the painter's own drawing can turn the writer off.
const bool painterOnly = [] {
    const char* value = std::getenv("KESTREL_PAINTER");
    return value && std::string_view(value) == "qt";
}();
} // namespace

std::unique_ptr<FigureSink> makeFigureSink(QPainter& painter, SinkChoice choice)
{
    if (choice == SinkChoice::Fastest && !painterOnly)
        if (const std::optional<PixelLines> writer = PixelLines::forPainter(painter, Qt::black))
            return std::make_unique<PixelSink>(painter, *writer);
    return std::make_unique<PainterSink>(painter);
}

} // namespace kestrel
