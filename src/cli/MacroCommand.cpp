// kestrel-cli macro [--board N] IN OUT.kmk: the active side of a board saved
// as a macro exactly as the editor's Save as macro saves a whole side. A
// layout file carries no selection once read, so there is no selection to save.

#include "cli/Args.h"
#include "cli/Command.h"
#include "edit/MacroSave.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board"}, {});
    const auto boardIndex = args.index("board");
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    auto doc = loadDocument(args.positional()[0]);
    if (!doc)
        return kExitFailure;
    const Board* board = chooseBoard(*doc, boardIndex);
    if (!board)
        return boardIndex ? kExitFailure : fail(kExitFailure, "the document has no board");
    activateBoard(*doc, board);
    const std::string& out = args.positional()[1];
    if (macroSaveScope(*doc) == MacroSaveScope::NothingOnSide)
        return fail(kExitFailure, "board \"" + board->Name + "\" has no objects on its active side");
    const Result<size_t> written = saveMacro(*doc, out, false, Language::English);
    if (!written)
        return fail(kExitFailure, written.message());
    std::printf("wrote %zu objects of side %d of board \"%s\" to %s\n", *written, activeSideIs1(*doc) ? 1 : 2,
                board->Name.c_str(), out.c_str());
    return kExitOk;
}

const Registration reg({"macro", "save a board or its selected objects as a macro file",
                        "usage: kestrel-cli macro [--board N] IN.kbd OUT.kmk\n\n"
                        "Writes the objects of the active side of board N (0-based; default the active\n"
                        "board) as the editor's Save as macro writes a whole side: relative to the reference point (the pad furthest left and up, else the\n"
                        "upper-left corner rounded to the board's grid), on the side-neutral layers, vias\n"
                        "marked so a drop recreates them, without rubber bands.\n\n"
                        "examples:\n"
                        "  kestrel-cli macro board.kbd part.kmk\n"
                        "  kestrel-cli macro --board 1 board.kbd part.kmk\n",
                        run});

} // namespace
} // namespace kestrel::cli
