// kestrel-cli fab: the fab package of a board, one zip for a board house.

#include "cli/Command.h"
#include "cli/ExportRuns.h"

namespace kestrel::cli {

namespace {

// The package draws labels in a system font, which needs Qt.
int run(const std::vector<std::string>& args) { return runRenderer("fab", args); }

const Registration reg({"fab", "write the fab package of a board: every layer, outline and drill file in a zip",
                        "usage: kestrel-cli fab [--board N] [--clearance MM] [--width MM] [--hole MM] [--ring MM]\n"
                        "                       [--force] [--lang ru|en] IN.kbd OUT.zip\n\n"
                        "Writes one zip for a board house with the layers of board N (0-based; default the\n"
                        "active board) seen from the top, unmirrored: NAME.GTL top copper (side 2), NAME.GBL\n"
                        "bottom copper (side 1), NAME.GTO top silk (side 1), NAME.GBO bottom silk (side 2),\n"
                        "NAME.GTS and NAME.GBS the solder masks, NAME.GKO the board outline, NAME.TXT the\n"
                        "Excellon drill file and README.txt with the board's figures; NAME is the board's\n"
                        "name made file-safe. Labels in a system font are drawn as glyph outlines. The design\n"
                        "check runs first, with the limits of --clearance, --width, --hole and --ring as\n"
                        "kestrel-cli check takes them (by default the board-house profile); when it finds\n"
                        "violations they are printed on stderr and nothing is written unless --force is\n"
                        "given. The zip replaces OUT.zip only once it is complete. --lang chooses the\n"
                        "language of the messages (default ru; 0 and 1 are accepted too); README.txt is\n"
                        "English, for the board house.\n\n"
                        "examples:\n"
                        "  kestrel-cli fab board.kbd board-fab.zip\n"
                        "  kestrel-cli fab --board 1 --force board.kbd second.zip\n"
                        "  kestrel-cli fab --clearance 0.2 --hole 0.4 board.kbd board-fab.zip\n",
                        run});

} // namespace
} // namespace kestrel::cli
