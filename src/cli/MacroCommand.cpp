// kestrel-cli macro [--board N] [--selection] IN OUT.kmk: the active side of a
// board, or its objects the file marks selected, saved as a macro exactly as
// the editor's Save as macro saves them.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "edit/MacroSave.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board"}, {"selection"});
    const bool selection = args.flag("selection");
    const auto boardIndex = args.index("board");
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    if (const auto refused = outputIsInput(args, Language::English))
        return fail(kExitUsage, *refused);
    auto doc = loadDocument(args.positional()[0]);
    if (!doc)
        return kExitFailure;
    Board* board = chooseBoard(*doc, boardIndex);
    if (!board)
        return boardIndex ? kExitFailure : fail(kExitFailure, "the document has no board");
    activateBoard(*doc, board);
    const std::string& out = args.positional()[1];
    if (macroSaveScope(*doc) == MacroSaveScope::NothingOnSide)
        return fail(kExitFailure, "board \"" + board->Name + "\" has no objects on its active side");
    if (selection) {
        // The reader clears the selection; the file's own flags say what was selected.
        for (auto& o : board->Objects)
            o->Selected = o->SelectedInFile ? 1 : 0;
        const bool side1 = activeSideIs1(*doc);
        if (std::none_of(board->Objects.begin(), board->Objects.end(), [side1](const auto& o) {
                return o->Selected && Layer::isSide1(o->Layer) == side1;
            }))
            return fail(kExitFailure, "board \"" + board->Name + "\" has no selected object on its active side");
    }
    const Result<size_t> written = saveMacro(*doc, out, selection, Language::English);
    if (!written)
        return fail(kExitFailure, written.message());
    std::printf("wrote %zu %sobjects of side %d of board \"%s\" to %s\n", *written, selection ? "selected " : "",
                activeSideIs1(*doc) ? 1 : 2, board->Name.c_str(), out.c_str());
    return kExitOk;
}

const Registration reg({"macro", "save a board or its selected objects as a macro file",
                        "usage: kestrel-cli macro [--board N] [--selection] IN.kbd OUT.kmk\n\n"
                        "Writes the objects of the active side of board N (0-based; default the active\n"
                        "board) as the editor's Save as macro writes them: relative to the reference\n"
                        "point (the pad furthest left and up, else the upper-left corner rounded to the\n"
                        "board's grid), on the side-neutral layers, vias marked so a drop recreates\n"
                        "them, without rubber bands. --selection writes only the objects the file\n"
                        "marks selected (the editor saves its selection with the document).\n\n"
                        "examples:\n"
                        "  kestrel-cli macro board.kbd part.kmk\n"
                        "  kestrel-cli macro --board 1 --selection board.kbd part.kmk\n",
                        run});

} // namespace
} // namespace kestrel::cli
