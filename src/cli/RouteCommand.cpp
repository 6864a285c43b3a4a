// kestrel-cli route: lays a track for one rubber band with the autorouter.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "cli/StdoutCheck.h"
#include "model/LayerKeys.h"
#include "model/Units.h"
#include "route/Autorouter.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::cli {

namespace {

// --layer K1|K2, or the layer numbers 1|3 scripts used before the names.
std::optional<int> layerOption(Args& args, Language lang)
{
    const auto v = args.value("layer");
    if (!v)
        return std::nullopt;
    std::optional<int> layer = layerFromKey(*v);
    if (*v == "1" || *v == "3")
        layer = std::stoi(*v);
    if (!layer || !RouteSettings::routesOn(*layer)) {
        args.reject(tr(lang, "--layer: слой фольги K1 или K2 (или его номер 1 или 3), не '",
                       "--layer expects the copper layer K1 or K2 (or its number 1 or 3), not '") +
                    *v + "'");
        return std::nullopt;
    }
    return layer;
}

// The board layer as the interface names it, with its number for other layers.
std::string layerName(int layer)
{
    const std::string_view key = layerKey(layer);
    return key.empty() ? std::to_string(layer) : std::string(key);
}

const LayoutObject* padAt(const Board& board, long index, const char* option, Language lang, std::string& error)
{
    if (static_cast<size_t>(index) >= board.Objects.size()) {
        error = std::string("--") + option + tr(lang, ": на плате нет объекта ", ": the board has no object ") +
                std::to_string(index) + tr(lang, " (объектов на ней: ", " (it holds ") +
                std::to_string(board.Objects.size()) + ")";
        return nullptr;
    }
    const LayoutObject& o = board.Objects[static_cast<size_t>(index)];
    if (!o.is(ObjectKind::Pad)) {
        error = std::string("--") + option + tr(lang, ": объект ", ": object ") + std::to_string(index) +
                tr(lang, " не является площадкой", " is not a pad");
        return nullptr;
    }
    return &o;
}

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "from", "to", "layer", "width", "clearance", "lang"}, {});
    // A value of --lang that names no language is the first usage error;
    // the messages are in the language it names, else in Russian.
    languageOption(args);
    const Language lang = args.language();
    const auto boardIndex = args.index("board");
    const auto from = args.index("from");
    const auto to = args.index("to");
    const auto layer = layerOption(args, lang);
    const double widthMm = args.number("width").value_or(0.4);
    const double clearanceMm = args.number("clearance").value_or(0.2);
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    if (!from || !to)
        return fail(kExitUsage, tr(lang, "нужны параметры --from P и --to Q", "--from P and --to Q are required"));
    for (const auto& [name, mm] : {std::pair{"--width", widthMm}, std::pair{"--clearance", clearanceMm}})
        if (!RouteSettings::inRange(mm))
            return fail(kExitUsage, std::string(name) + tr(lang, ": от ", " must lie between ") +
                                        mmText(RouteSettings::kMinMm) + tr(lang, " до ", " and ") +
                                        mmText(RouteSettings::kMaxMm) + " " + mmUnit(lang));

    if (const auto refused = outputIsInput(args, lang))
        return fail(kExitUsage, *refused);
    auto doc = loadDocument(args.positional()[0], nullptr, lang);
    if (!doc)
        return kExitFailure;
    Board* board = chooseBoard(*doc, boardIndex, lang);
    if (!board)
        return kExitFailure;
    std::string error;
    const LayoutObject* start = padAt(*board, *from, "from", lang, error);
    const LayoutObject* target = start ? padAt(*board, *to, "to", lang, error) : nullptr;
    if (!target)
        return fail(kExitFailure, error);
    if (std::find(start->Connections.begin(), start->Connections.end(), target) == start->Connections.end())
        return fail(kExitFailure, tr(lang, "между площадками ", "there is no rubber band between pads ") +
                                      std::to_string(*from) + tr(lang, " и ", " and ") + std::to_string(*to) +
                                      tr(lang, " нет перемычки", ""));
    const int routeLayer = layer.value_or(start->Layer);
    if (!RouteSettings::routesOn(routeLayer))
        return fail(kExitFailure, tr(lang, "площадка ", "pad ") + std::to_string(*from) +
                                      tr(lang, " лежит на слое ", " lies on layer ") + layerName(routeLayer) +
                                      tr(lang, ", это не слой фольги: укажите --layer K1 или K2",
                                         ", which is not a copper layer: give --layer K1 or K2"));
    // The router never changes layer: a track on a layer a pad does not
    // reach (itself or through its via partner) would join nothing to it.
    for (const auto& [pad, index] : {std::pair{start, *from}, std::pair{target, *to}})
        if (pad->Layer != routeLayer && !(pad->Partner && pad->Partner->Layer == routeLayer))
            return fail(kExitFailure, tr(lang, "площадка ", "pad ") + std::to_string(index) +
                                          tr(lang, " не доходит до слоя ", " does not reach layer ") +
                                          layerName(routeLayer) +
                                          tr(lang, " (как и переходное отверстие через неё)",
                                             " (nor does a via through it)"));

    RouteSettings settings;
    settings.layer = static_cast<uint8_t>(routeLayer);
    settings.widthUnits = unitsFromMm(widthMm);
    settings.clearanceUnits = unitsFromMm(clearanceMm);
    settings.newTrackClearance = unitsFromMm(0.4);
    // The chosen board is routed in place, so the active board stays as it was.
    const bool active = board == doc->activeBoard();
    const BoardSettings& size = active ? doc->Working : board->Settings;
    ObjectList& objects = board->Objects;
    const RouteResult result = RouteConnection(objects, size, objects[static_cast<size_t>(*from)],
                                               objects[static_cast<size_t>(*to)], settings);
    if (!saveDocument(*doc, args.positional()[1], lang))
        return kExitFailure;

    std::string out = result.routed ? "{\"routed\": true, \"points\": [" : "{\"routed\": false";
    if (result.routed) {
        for (size_t i = 0; i < result.track->Points.size(); ++i) {
            const Point p = result.track->Points[i];
            out += (i ? ", [" : "[") + std::to_string(p.x) + ", " + std::to_string(p.y) + "]";
        }
        out += "]";
    }
    out += "}\n";
    std::fputs(out.c_str(), reportStream(args.positional()[1]));
    if (!result.routed)
        std::fprintf(stderr, "kestrel-cli: %s\n", RouteStatusText(lang, result.failure).c_str());
    return kExitOk;
}

const std::string kUsageRu =
    "использование: kestrel-cli route [--board N] --from P --to Q [--layer K1|K2] [--width ММ]\n"
    "                                 [--clearance ММ] [--lang ru|en] ВХОД ВЫХОД\n\n"
    "Прокладывает вместо перемычки дорожку от площадки P (начало) к площадке Q (цель); P и Q —\n"
    "позиции в списке объектов платы, счёт с 0. Дорожка ложится на слой фольги K1 или K2 (подходят\n"
    "и 1 и 3; по умолчанию слой P) с заданными в миллиметрах шириной и зазором до чужой меди\n"
    "(от " +
    mmText(RouteSettings::kMinMm) + " до " + mmText(RouteSettings::kMaxMm) +
    "; по умолчанию 0.4 и 0.2).\n"
    "Обе площадки должны лежать на этом слое или быть переходными отверстиями, доходящими до него.\n"
    "Зазор задаёт шаг сетки трассировки и выдерживается, с точностью до растра трассировки 0.05 мм,\n"
    "каждым отрезком между углами; первый и последний отрезки, выходящие из центров площадок, ему\n"
    "не подчинены, но ни один отрезок не касается чужой меди (результат измеряет kestrel-cli check).\n"
    "Новая дорожка получает зазор до общей шины 0.4 мм. Записывает документ в ВЫХОД, как команда\n"
    "«Сохранить» редактора, и печатает {\"routed\": true, \"points\": [[x, y], ...]} с точками дорожки\n"
    "от Q к P в том виде, в каком их хранит файл: в единицах 0.01 мм, x от левого края, y вверх от\n"
    "верхнего края (поэтому на плате y отрицателен; шаги edit принимают y вниз в мм).\n"
    "{\"routed\": false} — если путь не найден, если отверстие занимает всю площадку на этом слое\n"
    "или если площадка лежит вне платы или за пределами области трассировки (о причине сообщается\n"
    "в stderr); код выхода во всех случаях 0.\n"
    "--board (счёт с 0) по умолчанию — активная плата. --lang выбирает язык сообщений (по умолчанию\n"
    "ru; подходят и 0 и 1; JSON остаётся английским).\n\n"
    "примеры:\n"
    "  kestrel-cli route --from 3 --to 7 board.kbd routed.kbd\n"
    "  kestrel-cli route --from 3 --to 7 --layer K2 --width 0.6 board.kbd routed.kbd\n";

const std::string kUsageEn =
    "usage: kestrel-cli route [--board N] --from P --to Q [--layer K1|K2] [--width MM]\n"
    "                         [--clearance MM] [--lang ru|en] IN OUT\n\n"
    "Routes the rubber band from pad P (the start) to pad Q (the target), both 0-based\n"
    "positions in the board's object list, on the copper layer K1 or K2 (1 and 3 are\n"
    "accepted too; default: P's layer) with the track width and the clearance to foreign\n"
    "copper in millimetres (" +
    mmText(RouteSettings::kMinMm) + " to " + mmText(RouteSettings::kMaxMm) +
    "; defaults 0.4 and 0.2).\n"
    "Both pads must lie on that layer, or be vias reaching it. The clearance sizes the\n"
    "routing grid and is kept, to within the 0.05 mm routing raster, by every segment\n"
    "between corners; the first and last segments, which leave the pads' centres, are not\n"
    "held to it, but no segment touches foreign copper (kestrel-cli check measures the result).\n"
    "The new track gets the clearance 0.4 mm for the ground plane. Writes the document to\n"
    "OUT as the editor's Save does and prints {\"routed\": true, \"points\": [[x, y], ...]}\n"
    "with the track's points from Q to P as the file stores them: 0.01 mm, x from the left\n"
    "edge, y upwards from the top edge (so negative on the board; the edit steps take y\n"
    "downwards in mm). {\"routed\": false} when no way was found, or when a hole fills a pad\n"
    "on the layer or a pad lies off the board or beyond the area the router covers (the\n"
    "reason said on stderr); all exit 0.\n"
    "--board (0-based) defaults to the active board. --lang chooses the language of the\n"
    "messages (default ru; 0 and 1 are accepted too; the JSON stays English).\n\n"
    "examples:\n"
    "  kestrel-cli route --from 3 --to 7 board.kbd routed.kbd\n"
    "  kestrel-cli route --from 3 --to 7 --layer K2 --width 0.6 board.kbd routed.kbd\n";

const Registration reg({"route",
                        {"проложить автотрассировщиком дорожку вместо одной перемычки",
                         "route one rubber band as a track with the autorouter"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
