// kestrel-cli gerber: one layer of a board as an RS-274X file.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportRuns.h"
#include "output/GerberExport.h"

#include <algorithm>

namespace kestrel::cli {

namespace {

// Glyph outlines need Qt: with --font-labels kestrel-cli-render does the work.
int run(const std::vector<std::string>& args)
{
    if (std::find(args.begin(), args.end(), "--font-labels") != args.end())
        return runRenderer("gerber", args);
    return runGerberCommand(args, nullptr);
}

const std::string kUsageRu =
    "использование: kestrel-cli gerber [--board N] --layer K1|B1|K2|B2|LStop1|LStop2\n"
    "                                  [--mirror|--no-mirror] [--outline|--no-outline] [--punch] [--mark]\n"
    "                                  [--offset ММ] [--invert] [--font-labels] [--lang ru|en]\n"
    "                                  ВХОД.kbd ВЫХОД.gbr\n\n"
    "Записывает один слой платы N (счёт с 0; по умолчанию активная плата): фольгу K1/K2 (с общей\n"
    "шиной, если она есть на этой стороне), маркировку B1/B2 или паяльную маску LStop1/LStop2.\n"
    "Незаданные параметры принимают значения, которые диалог экспорта выставляет для этого слоя:\n"
    "зеркало включено для K1, LStop1 и B2, контур платы — для K1 и K2; --punch, --mark и --invert\n"
    "выключены, --offset 0.\n"
    "  --punch        вырезать из слоя отверстия его собственных площадок (площадка без отверстия\n"
    "                 остаётся целой); на слое маркировки вырезаются отверстия лежащих на нём\n"
    "                 площадок, хотя их и не сверлят\n"
    "  --mark         вместе с --punch: метки центров 0.3 мм вместо полных отверстий\n"
    "  --offset ММ    паяльная маска: расширить каждое окно на ММ (от " +
    mmText(GerberOptions::kMinOffsetMm) + " до " + mmText(GerberOptions::kMaxOffsetMm) + ")\n" +
    "  --invert       паяльная маска: вырезать окна из тёмной платы\n"
    "  --font-labels  рисовать надписи системным шрифтом залитыми контурами букв (иначе они\n"
    "                 пропускаются, а их число печатается в stderr)\n"
    "  --lang ru|en   язык сообщений и имени слоя в файле: ru — русский (по умолчанию), en —\n"
    "                 английский; подходят и 0 и 1\n\n"
    "примеры:\n"
    "  kestrel-cli gerber --layer K1 board.kbd KUPFER1.GBR\n"
    "  kestrel-cli gerber --layer LStop2 --offset 0.2 --lang en board.kbd SLDMASK2.GBR\n";

const std::string kUsageEn =
    "usage: kestrel-cli gerber [--board N] --layer K1|B1|K2|B2|LStop1|LStop2 [--mirror|--no-mirror]\n"
    "                          [--outline|--no-outline] [--punch] [--mark] [--offset MM] [--invert]\n"
    "                          [--font-labels] [--lang ru|en] IN.kbd OUT.gbr\n\n"
    "Writes one layer of board N (0-based; default the active board): copper K1/K2 (with the\n"
    "ground plane when the side has one), silk screen B1/B2, or the solder mask LStop1/LStop2.\n"
    "Options left unset take the values the export dialog presets for the layer: mirror on for\n"
    "K1, LStop1 and B2, board outline on for K1 and K2; punch, mark and invert off, offset 0.\n"
    "  --punch        cut the holes of the layer's own pads out of it (a pad without a hole\n"
    "                 stays whole); on a silk layer the holes of pads placed on it are cut,\n"
    "                 though they are never drilled\n"
    "  --mark         with --punch: 0.3 mm centre marks instead of full holes\n"
    "  --offset MM    solder mask: enlarge every opening by MM (" +
    mmText(GerberOptions::kMinOffsetMm) + " to " + mmText(GerberOptions::kMaxOffsetMm) + ")\n" +
    "  --invert       solder mask: cut the openings out of a dark board\n"
    "  --font-labels  draw labels in a system font as filled glyph outlines (otherwise they\n"
    "                 are left out and their count is printed on stderr)\n"
    "  --lang ru|en   the language of the messages and of the layer name in the file: ru\n"
    "                 Russian (default), en English; 0 and 1 are accepted too\n\n"
    "examples:\n"
    "  kestrel-cli gerber --layer K1 board.kbd KUPFER1.GBR\n"
    "  kestrel-cli gerber --layer LStop2 --offset 0.2 --lang en board.kbd SLDMASK2.GBR\n";

const Registration reg({"gerber",
                        {"экспортировать один слой платы в файл Gerber RS-274X",
                         "export one layer of a board as an RS-274X Gerber file"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
