// kestrel-cli fab: the fab package of a board, one zip for a board house.

#include "cli/Command.h"
#include "cli/ExportRuns.h"

namespace kestrel::cli {

namespace {

// The package draws labels in a system font, which needs Qt.
int run(const std::vector<std::string>& args) { return runRenderer("fab", args); }

const std::string kUsageRu =
    "использование: kestrel-cli fab [--board N] [--clearance ММ] [--width ММ] [--hole ММ] [--ring ММ]\n"
    "                               [--force] [--lang ru|en] ВХОД.kbd ВЫХОД.zip\n\n"
    "Записывает один архив zip для изготовителя плат со слоями платы N (счёт с 0; по умолчанию\n"
    "активная плата) в виде сверху, без зеркала: ИМЯ.GTL — фольга верхней стороны (сторона 2),\n"
    "ИМЯ.GBL — фольга нижней стороны (сторона 1), ИМЯ.GTO — маркировка верхней стороны (сторона 1),\n"
    "ИМЯ.GBO — маркировка нижней стороны (сторона 2), ИМЯ.GTS и ИМЯ.GBS — паяльные маски, ИМЯ.GKO —\n"
    "контур платы, ИМЯ.TXT — файл сверловки Excellon и README.txt с данными платы; ИМЯ — название\n"
    "платы, приведённое к допустимому имени файла. Надписи системным шрифтом рисуются контурами\n"
    "букв. Сначала выполняется проверка правил с пределами --clearance, --width, --hole и --ring,\n"
    "как их принимает kestrel-cli check (по умолчанию — обычные требования изготовителей плат);\n"
    "если она находит нарушения, они печатаются в stderr, и ничего не записывается, если не задан\n"
    "--force. Архив заменяет ВЫХОД.zip, только когда он готов целиком. --lang выбирает язык\n"
    "сообщений (по умолчанию ru; подходят и 0 и 1); README.txt — по-английски, для изготовителя.\n\n"
    "примеры:\n"
    "  kestrel-cli fab board.kbd board-fab.zip\n"
    "  kestrel-cli fab --board 1 --force board.kbd second.zip\n"
    "  kestrel-cli fab --clearance 0.2 --hole 0.4 board.kbd board-fab.zip\n";

const std::string kUsageEn =
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
    "  kestrel-cli fab --clearance 0.2 --hole 0.4 board.kbd board-fab.zip\n";

const Registration reg({"fab",
                        {"записать пакет для производства платы: все слои, контур и файл сверловки в zip",
                         "write the fab package of a board: every layer, outline and drill file in a zip"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
