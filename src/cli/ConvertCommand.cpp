// kestrel-cli convert IN OUT: any readable layout version to version 3.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "cli/StdoutCheck.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"lang"}, {});
    languageOption(args); // a bad value is the first usage error
    const Language lang = args.language();
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    if (const auto refused = outputIsInput(args, lang))
        return fail(kExitUsage, *refused);
    int version = -1;
    auto doc = loadDocument(args.positional()[0], &version, lang);
    if (!doc)
        return kExitFailure;
    if (!saveDocument(*doc, args.positional()[1], lang))
        return kExitFailure;
    std::fprintf(reportStream(args.positional()[1]),
                 tr(lang, "файл версии %d преобразован в версию 3: %s\n", "converted version %d to version 3: %s\n"),
                 version, args.positional()[1].c_str());
    return kExitOk;
}

const char* const kUsageRu =
    "использование: kestrel-cli convert [--lang ru|en] ВХОД ВЫХОД\n\n"
    "Читает файл раскладки версии 0, 1, 2 или 3 и записывает его в версии 3 точно так же, как\n"
    "команда «Сохранить» редактора (объекты за пределами активной платы, а также закраски и\n"
    "дорожки меньше чем из двух точек удаляются, номера групп идут подряд без пропусков).\n"
    "--lang выбирает язык сообщений и, как в редакторе, название единственной платы файла\n"
    "версии ниже 3 (по умолчанию ru; подходят и 0 и 1).\n\n"
    "пример:\n"
    "  kestrel-cli convert old.kbd new.kbd\n";

const char* const kUsageEn =
    "usage: kestrel-cli convert [--lang ru|en] IN OUT\n\n"
    "Reads a layout file of version 0, 1, 2 or 3 and writes it as version 3 exactly as\n"
    "the editor's Save does (objects outside the active board and zones or tracks of\n"
    "fewer than two points are dropped, group numbers are compacted). --lang chooses the\n"
    "language of the messages and, as in the editor, the name of the one board of a file\n"
    "older than version 3 (default ru; 0 and 1 are accepted too).\n\n"
    "example:\n"
    "  kestrel-cli convert old.kbd new.kbd\n";

const Registration reg({"convert",
                        {"переписать файл раскладки любой версии как версию 3",
                         "rewrite a layout file of any version as version 3"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
