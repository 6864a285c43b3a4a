// kestrel-cli export: every manufacturing file of a board in one go.

#include "cli/Command.h"
#include "cli/ExportRuns.h"

#include <algorithm>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& args)
{
    if (std::find(args.begin(), args.end(), "--font-labels") != args.end())
        return runRenderer("export", args);
    return runExportCommand(args, nullptr);
}

const std::string kUsageRu =
    "использование: kestrel-cli export [--board N] [--font-labels] [--lang ru|en] ВХОД.kbd ПАПКА\n\n"
    "Записывает слои фольги и маркировки обеих сторон, обе паяльные маски и файл сверловки платы N\n"
    "(счёт с 0; по умолчанию активная плата) в папку ПАПКА под их именами по умолчанию\n"
    "(ru: KUPFER1.GBR ... BOHRUNG.DRL; en: COPPER1.GBR ... DRILL.DRL; подходят и 0 и 1), каждый с\n"
    "параметрами, которые заранее выставляет диалог экспорта, и перечисляет записанные файлы. Файлы\n"
    "заменяют прежние в папке ПАПКА только когда готовы все, так что ошибка при записи оставляет\n"
    "прежний набор; лишь сбой в тот миг, когда они один за другим встают на место, может заменить\n"
    "часть из них (один zip без такого мига пишет fab). Если папки ПАПКА нет, она создаётся;\n"
    "папка уровнем выше должна существовать. --font-labels рисует надписи системным шрифтом\n"
    "залитыми контурами букв; без него они пропускаются, а их число печатается в stderr.\n\n"
    "примеры:\n"
    "  kestrel-cli export board.kbd gerber/\n"
    "  kestrel-cli export --lang en --board 1 board.kbd fab/\n";

const std::string kUsageEn =
    "usage: kestrel-cli export [--board N] [--font-labels] [--lang ru|en] IN.kbd OUTDIR\n\n"
    "Writes the copper and silk layers of both sides, both solder masks and the drill\n"
    "file of board N (0-based; default the active board) into OUTDIR under their default\n"
    "names (ru: KUPFER1.GBR ... BOHRUNG.DRL; en: COPPER1.GBR ... DRILL.DRL; 0 and 1 are\n"
    "accepted too), each with the options the export dialog presets, and prints the files\n"
    "written. The files replace those in OUTDIR only once all are complete, so a failure\n"
    "while writing leaves the previous set; only a crash in the instant they are put in\n"
    "place, one after another, can leave some of them replaced (fab writes one zip, without\n"
    "such an instant). OUTDIR is made when it is missing; the folder above it must exist.\n"
    "--font-labels draws labels in a system font as filled glyph outlines; without it\n"
    "they are left out and their count is printed on stderr.\n\n"
    "examples:\n"
    "  kestrel-cli export board.kbd gerber/\n"
    "  kestrel-cli export --lang en --board 1 board.kbd fab/\n";

const Registration reg({"export",
                        {"записать все слои Gerber, обе паяльные маски и файл сверловки",
                         "write every Gerber layer, both solder masks and the drill file"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
