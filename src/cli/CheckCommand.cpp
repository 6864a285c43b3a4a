// kestrel-cli check: the design-rule check of a board.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "output/DesignCheck.h"

#include <cmath>
#include <cstdio>

namespace kestrel::cli {

namespace {

std::string jsonLine(const Violation& v, const ObjectList& objects)
{
    auto mmText = [](double mm) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", mm);
        return std::string(text);
    };
    auto mm = [&](double units) { return mmText(mmFromUnits(units)); };
    std::string line = std::string("{\"rule\":\"") + violationKey(v.kind) + "\",\"object\":" +
                       std::to_string(v.object);
    if (v.other >= 0)
        line += ",\"other\":" + std::to_string(v.other);
    line += ",\"layer\":\"" + layerKeyOrNumber(violationLayer(v, objects)) + "\"";
    if (hasMeasure(v.kind))
        line += ",\"measured_mm\":" + mmText(measuredMm(v.measuredUnits)) + ",\"limit_mm\":" + mm(v.limitUnits);
    if (v.kind == ViolationKind::HoleInPlane)
        line += ",\"plane\":\"" + layerKeyOrNumber(v.planeLayer) + "\"";
    line += ",\"area_mm\":[" + mm(v.area.left) + "," + mm(v.area.top) + "," + mm(v.area.right) + "," +
            mm(v.area.bottom) + "]";
    line += ",\"text\":" + jsonString(describeViolation(v, objects, Language::English)) + "}";
    return line;
}

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "clearance", "width", "hole", "ring", "lang"}, {"json"});
    if (!args.expectPositional(1))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.index("board");
    const auto lang = languageOption(args);
    const DesignRules rules = designRulesOption(args, lang.value_or(Language::English));
    if (!args.ok())
        return fail(kExitUsage, args.error());
    std::optional<LayoutDocument> doc;
    const Board* board = loadExportBoard(args.positional()[0], boardIndex, doc, *lang);
    if (!board)
        return kExitFailure;
    const std::vector<Violation> violations = checkDesign(board->Objects, doc->Working, rules);
    for (const Violation& v : violations) {
        const std::string line =
            args.flag("json") ? jsonLine(v, board->Objects) : describeViolation(v, board->Objects, *lang);
        std::printf("%s\n", line.c_str());
    }
    return violations.empty() ? kExitOk : kExitFailure;
}

const std::string kUsageRu =
    "использование: kestrel-cli check [--board N] [--clearance ММ] [--width ММ] [--hole ММ] [--ring ММ]\n"
    "                                 [--json] [--lang ru|en] ВХОД.kbd\n\n"
    "Проверяет плату N (счёт с 0; по умолчанию активная плата) и печатает по строке на каждое\n"
    "нарушение: фольга разных цепей ближе --clearance (цепи — как их находит проверка соединений,\n"
    "через фольгу и переходные отверстия; перемычки ничего не соединяют, как и надписи системным\n"
    "шрифтом: такая надпись относится к той одной цепи, на фольге которой лежит), причём зазоры\n"
    "измеряются по фольге так, как её рисуют файлы Gerber; дорожки, линии и дуги на фольге уже\n"
    "--width; отверстия меньше --hole (по диаметру); пояски тоньше --ring; фольга ближе --clearance\n"
    "к краю платы; объекты, выходящие за пределы платы; отверстия сквозь фольгу другой цепи на\n"
    "другой стороне (у отверстия, занимающего всю площадку, — на любой стороне, ведь меди у такой\n"
    "площадки нет); а при включённой общей шине — её зазоры (у каждого объекта свой) меньше\n"
    "--clearance и отверстия, лежащие не целиком в вырезах общей шины. Пределы — от 0 до 10 мм\n"
    "с шагом 0.01; по умолчанию — обычные требования изготовителей плат: зазор и ширина 0.15,\n"
    "отверстие 0.3, поясок 0.15. Места указываются от левого верхнего угла платы, y вниз.\n"
    "--json печатает вместо этого по одному объекту JSON на строку, его area_mm — в координатах платы\n"
    "(y вверх, плата от -высоты до 0);\n"
    "--lang выбирает язык строк (по умолчанию ru; подходят и 0 и 1; тексты JSON английские).\n"
    "Код выхода 1, если нарушения есть, и 0, если их нет.\n\n"
    "примеры:\n"
    "  kestrel-cli check board.kbd\n"
    "  kestrel-cli check --clearance 0.2 --hole 0.4 --json board.kbd\n";

const std::string kUsageEn =
    "usage: kestrel-cli check [--board N] [--clearance MM] [--width MM] [--hole MM] [--ring MM]\n"
    "                         [--json] [--lang ru|en] IN.kbd\n\n"
    "Checks board N (0-based; default the active board) and prints one line per violation:\n"
    "copper of different nets closer than --clearance (nets as the connectivity test finds\n"
    "them, through copper and vias; rubber bands join nothing, nor do labels in a system\n"
    "font, which belong to the one net whose copper they lie on), gaps measured on the\n"
    "copper as the Gerber files draw it; tracks, lines and arcs on copper narrower than\n"
    "--width, drilled holes smaller than --hole (diameter), annular rings thinner than\n"
    "--ring, copper closer than --clearance to the board edge, objects reaching off the\n"
    "board, drilled holes through copper of another net on the other side (on either\n"
    "side for a hole that fills its pad, as such a pad has no copper), and with a\n"
    "ground plane on: plane gaps (each object's own clearance) below --clearance, and\n"
    "drilled holes not wholly inside the plane's cut-outs. Limits are 0 to 10 mm in steps\n"
    "of 0.01; the defaults are a common board-house profile: clearance and width 0.15,\n"
    "hole 0.3, ring 0.15. Places are given from the board's top-left corner, y downwards.\n"
    "--json prints one JSON object per line instead, its area_mm in board coordinates\n"
    "(y upwards, the board from -height to 0);\n"
    "--lang chooses the language of the lines (default ru; 0 and 1 are accepted too;\n"
    "JSON texts are English).\n"
    "Exits 1 when there are violations, 0 when there are none.\n\n"
    "examples:\n"
    "  kestrel-cli check board.kbd\n"
    "  kestrel-cli check --clearance 0.2 --hole 0.4 --json board.kbd\n";

const Registration reg({"check",
                        {"проверить плату по правилам (зазор, ширина, отверстия, пояски, край)",
                         "check a board against design rules (clearance, width, holes, rings, edge)"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
