// kestrel-cli-render label-extent FONTHEIGHT ANGLE TEXT: prints the far
// corner's offset of a label box ("dx dy", units), measured as the editor
// measures it. kestrel-cli starts it for its label steps.

#include "cli/Command.h"
#include "cli/render/Render.h"
#include "edit/Labels.h"
#include "model/LayoutObject.h"
#include "view/gui/LabelPainter.h"

#include <charconv>
#include <cstdio>

namespace kestrel::cli {

int runLabelExtentCommand(const std::vector<std::string>& args)
{
    int32_t height = 0, angle = 0;
    auto whole = [](const std::string& s, int32_t& v) {
        const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        return ec == std::errc() && ptr == s.data() + s.size();
    };
    if (args.size() != 3 || !whole(args[0], height) || !whole(args[1], angle))
        return fail(kExitUsage, "label-extent expects FONTHEIGHT ANGLE TEXT");
    const Point e = labelExtent(cutToCharacters(args[2], kTextValueMax), height, angle);
    std::printf("%d %d\n", e.x, e.y);
    return kExitOk;
}

} // namespace kestrel::cli
