// kestrel-cli info FILE: a JSON summary of a layout document.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "model/LayoutFile.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

std::string boardJson(const Board& board, const BoardSettings& settings)
{
    size_t counts[7] = {};
    size_t partnered = 0;
    size_t bandEnds = 0;
    for (const auto& o : board.Objects) {
        if (o->Kind >= 1 && o->Kind <= 6)
            ++counts[o->Kind];
        if (o->is(ObjectKind::Pad)) {
            if (o->Partner)
                ++partnered;
            bandEnds += o->Connections.size();
        }
    }
    std::string out = "{\"name\": " + jsonString(board.Name);
    auto field = [&out](const char* name, auto value) {
        out += ", \"";
        out += name;
        out += "\": ";
        out += std::to_string(value);
    };
    field("width", settings.BoardWidth);
    field("height", settings.BoardHeight);
    field("objects", board.Objects.size());
    const char* kinds[] = {"lines", "pads", "texts", "zones", "circles", "tracks"};
    for (int k = 1; k <= 6; ++k)
        field(kinds[k - 1], counts[k]);
    field("vias", partnered / 2);
    field("bands", bandEnds / 2);
    out += ", \"groundplane\": [" + std::to_string(settings.GroundPlane1) + ", " +
           std::to_string(settings.GroundPlane2) + "]}";
    return out;
}

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"lang"}, {});
    languageOption(args); // a bad value is the first usage error
    const Language lang = args.language();
    if (!args.expectPositional(1))
        return fail(kExitUsage, args.error());
    const std::string& path = args.positional()[0];
    // The summary is the same in either language: a file older than
    // version 3 is read as in English, which names its one board; only a
    // refusal is worded in the language asked for.
    auto read = readDocument(path, Language::English);
    if (!read && lang != Language::English)
        read = readDocument(path, lang);
    if (!read)
        return fail(kExitFailure, read.message());
    const int version = read->version;
    const LayoutDocument* doc = &read->document;
    std::string out = "{\"version\": " + std::to_string(version) + ", \"active\": " + std::to_string(doc->ActiveBoard) +
                      ", \"origin\": [" + std::to_string(doc->Origin.x) + ", " + std::to_string(doc->Origin.y) +
                      "], \"boards\": [";
    for (size_t b = 0; b < doc->boardCount(); ++b) {
        if (b)
            out += ", ";
        const BoardSettings& s =
            static_cast<int>(b) == doc->ActiveBoard ? doc->Working : doc->board(b).Settings;
        out += boardJson(doc->board(b), s);
    }
    out += "]}\n";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

const char* const kUsageRu =
    "использование: kestrel-cli info [--lang ru|en] ФАЙЛ\n\n"
    "Выводит один объект JSON: версию файла, номер активной платы, нулевую точку и для\n"
    "каждой платы её название, размер в единицах (0.01 мм), число объектов по видам, пар\n"
    "переходных отверстий и перемычек и флаги общей шины обеих сторон. JSON одинаков на\n"
    "любом языке; --lang выбирает язык сообщений (по умолчанию ru; подходят и 0 и 1).\n\n"
    "пример:\n"
    "  kestrel-cli info board.kbd\n";

const char* const kUsageEn =
    "usage: kestrel-cli info [--lang ru|en] FILE\n\n"
    "Prints one JSON object: the file version, the active board index, the origin\n"
    "and, per board, its name, size in units (0.01 mm), object counts by kind,\n"
    "via and rubber-band pairs and the ground-plane flags of both sides. The JSON is\n"
    "the same in either language; --lang chooses the language of the messages (default\n"
    "ru; 0 and 1 are accepted too).\n\n"
    "example:\n"
    "  kestrel-cli info board.kbd\n";

const Registration reg({"info",
                        {"вывести сводку документа раскладки в виде JSON", "print a JSON summary of a layout document"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
