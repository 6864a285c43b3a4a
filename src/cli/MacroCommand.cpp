// kestrel-cli macro [--board N] [--selection] IN OUT.kmk: the active side of a
// board, or its objects the file marks selected, saved as a macro exactly as
// the editor's Save as macro saves them.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "cli/StdoutCheck.h"
#include "edit/MacroSave.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "lang"}, {"selection"});
    languageOption(args); // a bad value is the first usage error
    const Language lang = args.language();
    const bool selection = args.flag("selection");
    const auto boardIndex = args.index("board");
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    if (const auto refused = outputIsInput(args, lang))
        return fail(kExitUsage, *refused);
    auto doc = loadDocument(args.positional()[0], nullptr, lang);
    if (!doc)
        return kExitFailure;
    Board* board = chooseBoard(*doc, boardIndex, lang);
    if (!board)
        return boardIndex ? kExitFailure
                          : fail(kExitFailure, tr(lang, "в документе нет ни одной платы", "the document has no board"));
    activateBoard(*doc, board);
    const std::string& out = args.positional()[1];
    if (macroSaveScope(*doc) == MacroSaveScope::NothingOnSide)
        return fail(kExitFailure, tr(lang, "на активной стороне платы \"", "board \"") + board->Name +
                                      tr(lang, "\" нет объектов", "\" has no objects on its active side"));
    if (selection) {
        // The reader clears the selection; the file's own flags say what was selected.
        for (auto& o : board->Objects)
            o->Selected = o->SelectedInFile ? 1 : 0;
        const bool side1 = activeSideIs1(*doc);
        if (std::none_of(board->Objects.begin(), board->Objects.end(), [side1](const auto& o) {
                return o->Selected && Layer::isSide1(o->Layer) == side1;
            }))
            return fail(kExitFailure, tr(lang, "на активной стороне платы \"", "board \"") + board->Name +
                                          tr(lang, "\" нет выделенных объектов",
                                             "\" has no selected object on its active side"));
    }
    const Result<size_t> written = saveMacro(*doc, out, selection, lang);
    if (!written)
        return fail(kExitFailure, written.message());
    const int side = activeSideIs1(*doc) ? 1 : 2;
    std::FILE* report = reportStream(out);
    if (lang == Language::English)
        std::fprintf(report, "wrote %zu %sobject(s) of side %d of board \"%s\" to %s\n", *written,
                     selection ? "selected " : "", side, board->Name.c_str(), out.c_str());
    else
        std::fprintf(report, "в %s записано %sобъектов стороны %d платы \"%s\": %zu\n", out.c_str(),
                     selection ? "выделенных " : "", side, board->Name.c_str(), *written);
    return kExitOk;
}

const char* const kUsageRu =
    "использование: kestrel-cli macro [--board N] [--selection] [--lang ru|en] ВХОД.kbd ВЫХОД.kmk\n\n"
    "Записывает объекты активной стороны платы N (счёт с 0; по умолчанию активная плата) так\n"
    "же, как их записывает команда редактора «Сохранить как Макрос»: относительно опорной\n"
    "точки (площадки левее и выше всех, иначе левого верхнего угла, округлённого до сетки\n"
    "платы), на слоях, не привязанных к стороне, без перемычек, с пометкой переходных\n"
    "отверстий, чтобы при переносе макроса на плату они создавались заново. --selection\n"
    "записывает только объекты, которые файл отмечает выделенными (редактор сохраняет\n"
    "выделение вместе с документом). --lang выбирает язык сообщений (по умолчанию ru;\n"
    "подходят и 0 и 1).\n\n"
    "примеры:\n"
    "  kestrel-cli macro board.kbd part.kmk\n"
    "  kestrel-cli macro --board 1 --selection board.kbd part.kmk\n";

const char* const kUsageEn =
    "usage: kestrel-cli macro [--board N] [--selection] [--lang ru|en] IN.kbd OUT.kmk\n\n"
    "Writes the objects of the active side of board N (0-based; default the active\n"
    "board) as the editor's Save as macro writes them: relative to the reference\n"
    "point (the pad furthest left and up, else the upper-left corner rounded to the\n"
    "board's grid), on the side-neutral layers, vias marked so a drop recreates\n"
    "them, without rubber bands. --selection writes only the objects the file\n"
    "marks selected (the editor saves its selection with the document). --lang chooses\n"
    "the language of the messages (default ru; 0 and 1 are accepted too).\n\n"
    "examples:\n"
    "  kestrel-cli macro board.kbd part.kmk\n"
    "  kestrel-cli macro --board 1 --selection board.kbd part.kmk\n";

const Registration reg({"macro",
                        {"сохранить плату или её выделенные объекты как файл макроса",
                         "save a board or its selected objects as a macro file"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
