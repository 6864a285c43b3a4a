// kestrel-cli bmp: the bitmap export.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "cli/StdoutCheck.h"
#include "cli/render/Render.h"
#include "output/BitmapEstimate.h"
#include "output/gui/BoardBitmap.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::cli {

int runBmpCommand(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "dpi", "layers", "lang"}, {"colour"});
    const auto lang = languageOption(args);
    if (!args.ok() || !args.expectPositional(2))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.index("board");
    const long askedDpi = args.integer("dpi").value_or(kBitmapDpiDefault);
    if (args.ok() && (askedDpi < kBitmapDpiMin || askedDpi > kBitmapDpiMax))
        args.reject(tr(*lang, "--dpi: от 100 до 600", "--dpi expects 100 to 600"));
    const int dpi = static_cast<int>(askedDpi);
    std::vector<int> shown;
    std::string bad;
    if (const auto list = args.value("layers"); list && args.ok() && !parseLayerList(*list, false, shown, bad))
        args.reject(tr(*lang, "--layers: неизвестный слой '", "--layers: unknown layer '") + bad +
                    tr(*lang, "' (K1, B1, K2 или B2)", "' (K1, B1, K2 or B2)"));
    if (!args.ok())
        return fail(kExitUsage, args.error());
    if (const auto refused = outputIsInput(args, *lang))
        return fail(kExitUsage, *refused);
    std::optional<LayoutDocument> doc;
    Board* board = loadExportBoard(args.positional()[0], boardIndex, doc, *lang);
    if (!board)
        return kExitFailure;

    LayerState layers = LayerState::of(doc->Working);
    if (!shown.empty()) {
        layers.visible.fill(false);
        for (const int l : shown)
            layers.visible[static_cast<size_t>(l - 1)] = true;
        // Layers of one side are drawn as with that side active, as the
        // editor shows them after switching to it: in the other side's grey
        // they would drop out of a black and white bitmap.
        const bool side1 = shown.front() < 3;
        if (std::all_of(shown.begin(), shown.end(), [&](int l) { return (l < 3) == side1; }) &&
            layers.activeSideIs1() != side1)
            layers.activeLayer = side1 ? 1 : 3;
    }
    const bool colour = args.flag("colour");
    const auto image = boardBitmap(board->Objects, doc->Working, layers, dpi, colour, *lang);
    if (!image)
        return fail(kExitFailure, image.message());
    const std::string& out = args.positional()[1];
    if (const Status written = writeBmp(out, *image, *lang); !written)
        return fail(kExitFailure, written.message());
    std::fprintf(reportStream(out), "%s %d x %d %s%s\n", tr(*lang, "записано", "wrote"), image->width,
                 image->height, tr(*lang, "пикселов в ", "pixels to "), out.c_str());
    return kExitOk;
}

} // namespace kestrel::cli
