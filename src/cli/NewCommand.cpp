// kestrel-cli new OUT: a document as File > New makes it, its board sized
// and named as the size dialog that follows sets it, written as Save does.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "cli/StdoutCheck.h"
#include "model/BoardProperties.h"
#include "model/TextCodec.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

int32_t sizeOption(Args& args, const char* name, int32_t fallback, Language lang)
{
    const auto text = args.value(name);
    if (!text)
        return fallback;
    const BoardSizeCheck check = checkBoardSize(*text, std::nullopt, lang);
    if (check.message)
        args.reject(std::string("--") + name + ": " + *check.message);
    return check.widthUnits;
}

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"lang", "width", "height", "name"}, {});
    languageOption(args); // a bad value is the first usage error
    const Language lang = args.language();
    LayoutDocument doc = LayoutDocument::withFirstBoard(lang);
    const int32_t width = sizeOption(args, "width", doc.Working.BoardWidth, lang);
    const int32_t height = sizeOption(args, "height", doc.Working.BoardHeight, lang);
    const std::string name = args.value("name").value_or(doc.activeBoard()->Name);
    // Refused rather than cut short: the dialog's field takes no more, and
    // the file keeps names in its 8-bit code page.
    if (cutToCharacters(name, kBoardNameMax) != name)
        args.reject(tr(lang, "--name: длиннее ", "--name is longer than ") + std::to_string(kBoardNameMax) +
                    tr(lang, " знаков", " characters"));
    else if (const std::string ch = firstCharacterOutsideCp1251(name); !ch.empty())
        args.reject(tr(lang, "--name: знак, которого нет в кодировке файла: ",
                       "--name holds a character the file cannot hold: ") +
                    ch);
    if (!args.expectPositional(1))
        return fail(kExitUsage, args.error());
    SetBoardProperties(doc, width, height, name);
    const std::string& out = args.positional()[0];
    if (!saveDocument(doc, out, lang))
        return kExitFailure;
    std::fprintf(reportStream(out), tr(lang, "записан новый документ: %s\n", "new document written: %s\n"),
                 out.c_str());
    return kExitOk;
}

const char* const kUsageRu =
    "использование: kestrel-cli new [--width ММ] [--height ММ] [--name ТЕКСТ] [--lang ru|en] ВЫХОД\n\n"
    "Создаёт документ так же, как команда «Файл > Новый файл»: одну плату «Плата 1»\n"
    "(с --lang en «Board 1») размером 160 x 100 мм, с настройками новой платы; --width,\n"
    "--height и --name задают её размер и название, как их задаёт диалог «Установка\n"
    "размеров», который следует за командой в редакторе: размер в целых миллиметрах\n"
    "от 10 до 300, название не длиннее 30 знаков. ВЫХОД записывается так же, как командой\n"
    "«Сохранить»: целиком или никак. --lang выбирает язык сообщений и названия платы\n"
    "по умолчанию (по умолчанию ru; подходят и 0 и 1).\n\n"
    "пример:\n"
    "  kestrel-cli new --width 100 --height 80 --name \"PSU 5 V\" psu.kbd\n";

const char* const kUsageEn =
    "usage: kestrel-cli new [--width MM] [--height MM] [--name TEXT] [--lang ru|en] OUT\n\n"
    "Makes a document as File > New does: one board, \"Board 1\" with --lang en (named in\n"
    "Russian otherwise), 160 x 100 mm, with a new board's settings; --width, --height and\n"
    "--name set its size and name as the Properties dialog that follows the command in\n"
    "the editor sets them: the size in whole millimetres from 10 to 300, the name at most\n"
    "30 characters. OUT is written as Save writes it: whole or not at all. --lang chooses\n"
    "the language of the messages and of the default board name (default ru; 0 and 1 are\n"
    "accepted too).\n\n"
    "example:\n"
    "  kestrel-cli new --width 100 --height 80 --name \"PSU 5 V\" psu.kbd\n";

const Registration reg({"new",
                        {"создать документ с одной платой, как «Файл > Новый файл»",
                         "make a document of one board, as File > New does"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
