// kestrel-cli edit: applies editing steps to one board, as the editor's
// commands do, and writes the result as Save does.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/EditSteps.h"
#include "cli/ExportOptions.h"
#include "cli/LabelMeasure.h"
#include "cli/StdoutCheck.h"
#include "edit/Selection.h"
#include "edit/Undo.h"
#include "model/MacroFile.h"
#include "route/Autorouter.h"

#include <cstdio>

namespace kestrel::cli {

namespace {

constexpr long kMaxUndoDepth = 100;

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "lang", "undo-depth"}, {});
    const auto boardIndex = args.index("board");
    const auto undoDepth = args.integer("undo-depth");
    languageOption(args);
    if (!args.ok())
        return fail(kExitUsage, args.error());
    const Language lang = args.language();
    if (undoDepth && (*undoDepth < 1 || *undoDepth > kMaxUndoDepth))
        return fail(kExitUsage, tr(lang, "--undo-depth: от 1 до 100", "--undo-depth expects 1 to 100"));
    const auto& files = args.positional();
    if (files.size() < 2)
        return fail(kExitUsage,
                    tr(lang, "нужны файлы ВХОД и ВЫХОД, затем шаги", "expected IN and OUT, then the steps"));
    if (files[0].empty() || files[1].empty())
        return fail(kExitUsage, tr(lang, "пустое имя файла", "an empty file name"));
    if (const auto refused = outputIsInput(args, lang))
        return fail(kExitUsage, *refused);

    // Every step is read before the file, so a typo costs nothing.
    std::vector<ParsedStep> steps;
    for (size_t i = 2; i < files.size(); ++i) {
        std::string error;
        auto step = parseStep(files[i], lang, error);
        if (!step)
            return fail(kExitUsage, error);
        steps.push_back(std::move(*step));
    }

    // Macro files and the files boards are imported from are read with the
    // steps, before the board is touched.
    for (ParsedStep& step : steps) {
        if (!step.row->fileWord)
            continue;
        if (isImportStep(step)) {
            Result<LoadedDocument> boards = readImportedBoards(step.args.word, lang);
            if (!boards)
                return fail(kExitFailure, boards.message());
            step.args.boards = std::make_shared<LoadedDocument>(std::move(*boards));
            continue;
        }
        Result<LoadedMacro> macro = readMacro(step.args.word, lang);
        if (!macro)
            return fail(kExitFailure, macro.message());
        step.args.macro = std::make_shared<ObjectList>(std::move(macro->objects));
    }

    // Label boxes are measured in the label font, also before the board.
    for (ParsedStep& step : steps) {
        if (!isLabelStep(step))
            continue;
        std::string error;
        step.args.extent = measureLabel(step.args.text, LabelStepFontHeight(step.args), LabelStepAngle(step.args),
                                         lang, error);
        if (!step.args.extent)
            return fail(kExitFailure, error);
    }

    auto doc = loadDocument(files[0], nullptr, lang);
    if (!doc)
        return kExitFailure;
    Board* board = chooseBoard(*doc, boardIndex, lang);
    if (!board)
        return kExitFailure;
    const Board* activeBefore = doc->activeBoard();
    activateBoard(*doc, board);

    EditContext context{*doc, {}, {}, {}, lang, activeBefore};
    context.session.setUndoDepth(static_cast<int>(undoDepth.value_or(1)));
    // As after opening a file in the editor: an undo there changes nothing.
    ResetUndoHistory(context.session, *doc);
    for (const ParsedStep& step : steps)
        step.row->apply(context, step.args);

    // The board steps leave the board the editor would show active; the
    // summary is for it. The file keeps the board that was active when it
    // was read, unless a step deleted that board.
    const Board* shown = doc->activeBoard();
    for (size_t i = 0; i < doc->boardCount(); ++i)
        if (&doc->board(i) == context.fileActive)
            doc->activate(static_cast<int>(i));
    if (!saveDocument(*doc, files[1], lang))
        return kExitFailure;
    std::fprintf(reportStream(files[1]), "{\"objects\": %zu, \"selected\": %zu}\n", shown->Objects.size(),
                 SelectedCount(shown->Objects));
    return kExitOk;
}

const std::string kUsageRu =
    "использование: kestrel-cli edit [--board N] [--undo-depth N] [--lang ru|en] ВХОД ВЫХОД ШАГ...\n\n"
    "Применяет каждый ШАГ (один аргумент, слова через пробел) по порядку к плате N (счёт с 0;\n"
    "по умолчанию активная плата) собственными командами редактора, затем записывает ВЫХОД\n"
    "так же, как команда «Сохранить», и выводит {\"objects\": n, \"selected\": n} для платы.\n"
    "Координаты и расстояния задаются в миллиметрах, x вправо и y вниз от левого верхнего угла\n"
    "платы; сетка — сетка платы. При --undo-depth 1 (по умолчанию) шаг undo переключает между\n"
    "двумя состояниями; при значении больше 1 (не более 100) он возвращает назад до N снимков,\n"
    "а redo снова ведёт вперёд. ВЫХОД не должен быть тем же файлом, что ВХОД.\n"
    "--lang выбирает язык сообщений (по умолчанию ru; подходят и 0 и 1).\n\n"
    "Шаги:\n"
    "  select all | select none        только слои, доступные для выделения, вместе с группами\n"
    "                                  и переходными отверстиями\n"
    "  select frame X1 Y1 X2 Y2        заменяет выделение тем, чего касается рамка\n"
    "  select at X Y                   щелчок; select add X Y: щелчок с Shift\n"
    "  move DX DY                      не выходя за плату; nudge left|right|up|down\n"
    "  rotate | mirror horizontal|vertical | align\n"
    "  group | ungroup | copy | cut | paste | duplicate | delete | undo | redo\n"
    "  set width|outer|inner|clearance ММ   (outer и inner — диаметры)\n"
    "  set shape 1..9                  форма площадки\n"
    "  layer K1|B1|K2|B2               активный слой, на котором работают paste и route\n"
    "  band X1 Y1 X2 Y2                перемычка между площадками в двух точках: проводится,\n"
    "                                  а если она уже есть — удаляется\n"
    "  test X Y                        выделяет медь, соединённую с объектом в точке\n"
    "  clear bands                     удаляет перемычки, площадки которых уже соединены медью\n"
    "  route ШИРИНА ЗАЗОР              прокладывает дорожку вместо перемычки между выделенными\n"
    "                                  площадками (мм, от " + mmText(RouteSettings::kMinMm) + " до " +
        mmText(RouteSettings::kMaxMm) + "); если выделено\n"
    "                                  несколько перемычек — вместо первой по списку\n"
    "  unroute                         выделенная дорожка, проложенная трассировщиком, снова\n"
    "                                  становится своей перемычкой; только дорожка шага route\n"
    "                                  того же запуска: файл не хранит, какие дорожки проложены\n"
    "                                  трассировщиком\n"
    "  track X1 Y1 X2 Y2 ...           дорожка через точки прямыми отрезками\n"
    "  zone X1 Y1 X2 Y2 X3 Y3 ...      замкнутая закраска через точки; отбрасывается, если\n"
    "                                  не охватывает площади\n"
    "  pad X Y | circle X Y R          площадка (после \"via on\" — с парной площадкой переходного\n"
    "                                  отверстия) или окружность радиуса R; точки берутся\n"
    "                                  в точности как заданы\n"
    "  via on|off                      режим переходных отверстий для новых площадок; применяется\n"
    "                                  и к выделенным площадкам\n"
    "  via                             делает из выделенных площадок переходные отверстия\n"
    "  track-label X Y ТЕКСТ [--height ММ] [--stroke ММ] [--angle 0|90|180|270] [--mirror]\n"
    "              [--fixed] [--layer K1|B1|K2|B2]\n"
    "                                  надпись из дорожек шрифтом дорожек; X Y — левый конец\n"
    "                                  её базовой линии (правый, если надпись зеркальна);\n"
    "                                  высота от 0.1 до 50 (5), толщина штриха, если не задана,\n"
    "                                  берётся по высоте, поворот по часовой стрелке; расстояние\n"
    "                                  между знаками пропорциональное, с --fixed постоянное;\n"
    "                                  в шрифте есть только латинские буквы, цифры и знаки\n"
    "                                  ! % ( ) * + , - . / : < = > ? @ \\ _ µ, на месте\n"
    "                                  остальных остаются пробелы; надпись больше платы\n"
    "                                  не добавляется\n"
    "  polygon X Y --corners N --radius ММ [--offset ГРАД] [--width ММ] [--fill]\n"
    "                                  замкнутая дорожка (с --fill — закраска) через N углов\n"
    "                                  (от 3 до 99) вокруг точки, первый под углом ГРАД против\n"
    "                                  часовой стрелки от оси x (от -180 до 180); радиус от 1\n"
    "                                  до 99.9 мм\n"
    "  arc X Y --radius ММ --width ММ --from ГРАД --to ГРАД [--fill]\n"
    "                                  сектор круга заданной ширины вдоль окружности заданного\n"
    "                                  радиуса, против часовой стрелки от ГРАД до ГРАД, в целых\n"
    "                                  градусах (при равных — полная окружность); --fill\n"
    "                                  заливает его до хорды\n"
    "  segment ОТ ДО [--fill]          выделенные окружности становятся дугами от ОТ до ДО\n"
    "                                  в целых градусах, против часовой стрелки\n"
    "  corner add|remove|grid|split X Y   меню узла на узле выделенной дорожки или закраски:\n"
    "                                  новый узел перед ним, удаление узла (у закраски остаётся\n"
    "                                  площадь), подгонка к сетке или разделение дорожки в нём\n"
    "  drag X1 Y1 X2 Y2                перетаскивание инструментом «Указка»: от объекта оно\n"
    "                                  двигает выделение (с притяжением к сетке, не выходя\n"
    "                                  за плату), от пустого места платы выделяет рамкой\n"
    "  label X Y ТЕКСТ [--height В] [--angle 0|90|180|270] [--layer K1|B1|K2|B2]\n"
    "                                  надпись системным шрифтом (полужирный Arial): левый\n"
    "                                  верхний угол текста, как он читается, — в точке, текст\n"
    "                                  повёрнут вокруг неё по часовой стрелке на угол (при 90\n"
    "                                  рамка лежит левее и ниже точки) и сдвинут внутрь, как это\n"
    "                                  делает инструмент надписей, так что рамка остаётся на\n"
    "                                  плате: В — высота в диалоге надписи (от 1 до 99.9, по\n"
    "                                  умолчанию 3), текст не длиннее 15 знаков; слой\n"
    "                                  по умолчанию — активный; надпись больше платы\n"
    "                                  не добавляется\n"
    "  relabel X Y ТЕКСТ [--height В] [--angle 0|90|180|270]\n"
    "                                  свойства надписи системным шрифтом в точке, как их задаёт\n"
    "                                  её диалог: новый текст, В и угол — как у label (где они\n"
    "                                  не заданы, остаются прежние); рамка измеряется заново и,\n"
    "                                  если выходит за плату, возвращается на неё\n"
    "  macro ФАЙЛ X Y                  кладёт макрос из ФАЙЛА опорной точкой в точку\n"
    "                                  (с притяжением к сетке, точка остаётся на плате) одной\n"
    "                                  новой группой на активную сторону, переходные отверстия\n"
    "                                  создаются заново; макрос, выходящий за край, целиком\n"
    "                                  возвращается на плату шагами сетки; в имени ФАЙЛ могут\n"
    "                                  быть пробелы, но не в начале и не в конце\n"
    "  ground-plane on|off             общая шина активной стороны (стороны активного слоя,\n"
    "                                  см. layer) включена или выключена\n"
    "  grid ММ                         шаг сетки платы, к которой притягивают align, nudge,\n"
    "                                  drag, corner grid и macro: от 0.1 до 99.99 мм в сотых\n"
    "                                  долях или сетка из меню (0.15875, 0.3175, 0.635, 1.27,\n"
    "                                  2.54, 5.08); сохраняется в файле\n"
    "  board-size Ш В                  размер платы в целых миллиметрах (от 10 до 300), как его\n"
    "                                  задаёт «Плата > Установка размеров»; сообщается, сколько\n"
    "                                  объектов окажутся целиком за краем: их удалит сохранение,\n"
    "                                  при котором эта плата активна\n"
    "  board-name ТЕКСТ                название платы, не длиннее 30 знаков\n"
    "  board add | board delete        новая плата («Плата n») становится активной; после\n"
    "                                  удаления активной платы активна соседняя (последнюю\n"
    "                                  плату документа удалить нельзя)\n"
    "  board move left|right           перемещает активную плату в начало или в конец\n"
    "  board import ФАЙЛ               добавляет в конец платы из ФАЙЛА (единственная плата\n"
    "                                  файла старой версии становится активной); ФАЙЛ\n"
    "                                  читается вместе с шагами, до ВХОДА\n\n"
    "После шага board следующие шаги работают с платой, которую он сделал активной, и\n"
    "{\"objects\": n, \"selected\": n} выводится для неё. ВЫХОД хранит активной плату,\n"
    "активную в файле ВХОД, если её не удалили, иначе — плату, активную после шагов.\n"
    "ТЕКСТ шага берётся как набран, с пробелами внутри; параметры шага стоят до или после\n"
    "него, каждый не более одного раза.\n"
    "Если шаг не удаётся разобрать, программа, назвав его, завершается с кодом 2, прежде чем\n"
    "что-либо прочитано или записано. Шаг band или route, которому нечего делать (нет площадки\n"
    "в точке, нет перемычки между выделенными площадками, путь не найден), сообщает об этом\n"
    "в stderr; следующие за ним шаги всё равно выполняются. При записи файла ВЫХОД удаляется\n"
    "всё, что целиком лежит за пределами платы, активной в файле ВХОД, как это делает\n"
    "«Сохранить» с активной платой, и сообщается, сколько удалено.\n\n"
    "примеры:\n"
    "  kestrel-cli edit in.kbd out.kbd \"select frame 10 10 60 40\" \"move 5 0\" rotate\n"
    "  kestrel-cli edit in.kbd out.kbd \"select at 20 30\" copy \"layer K2\" paste \"label 10 5 R12 --angle 90\"\n"
    "  kestrel-cli edit in.kbd out.kbd \"board add\" \"board-size 100 80\" \"board-name PSU 5 V\" \"grid 1.27\"\n";

const std::string kUsageEn =
    "usage: kestrel-cli edit [--board N] [--undo-depth N] [--lang ru|en] IN OUT STEP...\n\n"
    "Applies each STEP (one argument, words separated by blanks) in order to board N\n"
    "(0-based; default the active board) through the editor's own commands, then writes\n"
    "OUT as Save does and prints {\"objects\": n, \"selected\": n} for the board.\n"
    "Coordinates and distances are millimetres, x to the right and y downwards from\n"
    "the board's top-left corner; the grid is the board's grid. With --undo-depth 1 (the\n"
    "default) undo toggles between two states; above 1 (at most 100) it steps back up to N\n"
    "snapshots and redo steps forward again. OUT must not be IN. --lang chooses the\n"
    "language of the messages (default ru; 0 and 1 are accepted too).\n\n"
    "Steps:\n"
    "  select all | select none        pickable layers only, with groups and vias\n"
    "  select frame X1 Y1 X2 Y2        replaces the selection by what the frame touches\n"
    "  select at X Y                   a click; select add X Y: a click with Shift\n"
    "  move DX DY                      kept on the board; nudge left|right|up|down\n"
    "  rotate | mirror horizontal|vertical | align\n"
    "  group | ungroup | copy | cut | paste | duplicate | delete | undo | redo\n"
    "  set width|outer|inner|clearance MM   (outer and inner are diameters)\n"
    "  set shape 1..9                  the pad shape\n"
    "  layer K1|B1|K2|B2               the active layer, which paste and route use\n"
    "  band X1 Y1 X2 Y2                the rubber band between the pads at the two points:\n"
    "                                  drawn, or removed when it is there\n"
    "  test X Y                        selects the copper joined to the object at the point\n"
    "  clear bands                     removes the bands whose pads copper already joins\n"
    "  route WIDTH CLEARANCE           routes the band between the selected pads (mm,\n"
    "                                  " + mmText(RouteSettings::kMinMm) + " to " +
        mmText(RouteSettings::kMaxMm) + "); with several bands\n"
    "                                  selected, the first in the list\n"
    "  unroute                         the selected router-laid track becomes its band again;\n"
    "                                  only a track a route step of the same run laid: the\n"
    "                                  file does not keep which tracks the router laid\n"
    "  track X1 Y1 X2 Y2 ...           a track through the points, in straight segments\n"
    "  zone X1 Y1 X2 Y2 X3 Y3 ...      a filled zone through the points, closed; dropped\n"
    "                                  when it encloses no area\n"
    "  pad X Y | circle X Y R          a pad (with its via twin after \"via on\") or a\n"
    "                                  circle of radius R; points are taken as given\n"
    "  via on|off                      via mode for new pads, applied to the selected pads\n"
    "  via                             makes vias of the selected pads\n"
    "  track-label X Y TEXT [--height MM] [--stroke MM] [--angle 0|90|180|270] [--mirror]\n"
    "              [--fixed] [--layer K1|B1|K2|B2]\n"
    "                                  a label made of tracks in the stroke font, X Y the\n"
    "                                  left end of its baseline (the right end when\n"
    "                                  mirrored); height 0.1 to 50 (5), the stroke from\n"
    "                                  the height unless given, turned clockwise; character\n"
    "                                  distance proportional, fixed with --fixed; the font\n"
    "                                  has Latin letters, digits and the signs\n"
    "                                  ! % ( ) * + , - . / : < = > ? @ \\ _ µ only, others\n"
    "                                  are left as gaps; a label larger than the board is\n"
    "                                  not added\n"
    "  polygon X Y --corners N --radius MM [--offset DEG] [--width MM] [--fill]\n"
    "                                  a closed track (a zone with --fill) through N corners\n"
    "                                  (3 to 99) around the point, the first at DEG\n"
    "                                  counter-clockwise from the x axis (-180 to 180); the\n"
    "                                  radius 1 to 99.9 mm\n"
    "  arc X Y --radius MM --width MM --from DEG --to DEG [--fill]\n"
    "                                  a circle segment of the width along the radius,\n"
    "                                  counter-clockwise from DEG to DEG, whole degrees\n"
    "                                  (equal: the full circle); --fill fills it up to\n"
    "                                  the chord\n"
    "  segment FROM TO [--fill]        the selected circles become arcs from FROM to TO\n"
    "                                  whole degrees, counter-clockwise\n"
    "  corner add|remove|grid|split X Y   the corner menu at a corner of a selected track\n"
    "                                  or zone: a corner added before it, the corner\n"
    "                                  removed (a zone keeps an area), put on the grid,\n"
    "                                  or the track split there\n"
    "  drag X1 Y1 X2 Y2                the edit tool's drag: from an object it moves the\n"
    "                                  selection (snapped, kept on the board), from empty\n"
    "                                  board it selects by a frame\n"
    "  label X Y TEXT [--height H] [--angle 0|90|180|270] [--layer K1|B1|K2|B2]\n"
    "                                  a label in the system font (bold Arial), the top-left\n"
    "                                  corner of its text as it reads at the point and the\n"
    "                                  text turned clockwise about it by the angle (at 90 the\n"
    "                                  box lies left of and below the point), moved in as the\n"
    "                                  label tool does so the box stays on the board: H is\n"
    "                                  the label dialog's height (1 to 99.9, default 3), the\n"
    "                                  text at most 15 characters; the default layer is the\n"
    "                                  active one; a label larger than the board is not added\n"
    "  relabel X Y TEXT [--height H] [--angle 0|90|180|270]\n"
    "                                  the properties of the label in the system font at\n"
    "                                  the point, as its dialog sets them: the new text, H\n"
    "                                  and the angle as for label (the label's own where\n"
    "                                  left out); the box is measured again and moved back\n"
    "                                  onto the board where it would reach off it\n"
    "  macro FILE X Y                  drops the macro file with its reference point at the\n"
    "                                  point (snapped, the point kept on the board) as one\n"
    "                                  new group, vias made anew, on the active side; one\n"
    "                                  reaching past an edge comes back onto the board whole,\n"
    "                                  in grid steps; FILE may hold blanks, though not at its ends\n"
    "  ground-plane on|off             the ground plane of the active side (the side of the\n"
    "                                  active layer, see layer) on or off\n"
    "  grid MM                         the board's grid, which align, nudge, drag, corner grid\n"
    "                                  and macro snap to: 0.1 to 99.99 mm in hundredths, or a\n"
    "                                  grid of the menu (0.15875, 0.3175, 0.635, 1.27, 2.54,\n"
    "                                  5.08); kept in the file\n"
    "  board-size W H                  the board's size in whole millimetres (10 to 300), as\n"
    "                                  Board > Properties sets it; says how many objects it\n"
    "                                  leaves wholly off the board: a save with this board\n"
    "                                  active deletes them\n"
    "  board-name TEXT                 the board's name, at most 30 characters\n"
    "  board add | board delete        a new board (\"Board n\") becomes active; deleting\n"
    "                                  the active board makes its neighbour active (the last\n"
    "                                  board of a document is kept)\n"
    "  board move left|right           moves the active board to the front or to the end\n"
    "  board import FILE               appends the boards of FILE (the one board of an old\n"
    "                                  version's file becomes active); FILE is read with the\n"
    "                                  steps, before IN\n\n"
    "After a board step the following steps act on the board it left active, and\n"
    "{\"objects\": n, \"selected\": n} is printed for that board. OUT keeps the board that\n"
    "was active in IN active, unless a step deleted it; then the board active after the steps.\n"
    "A step's TEXT is taken as typed, blanks inside included; the step's options come\n"
    "before or after it, each at most once.\n"
    "A step that cannot be read exits 2 naming it, before anything is read or written.\n"
    "A band or route step that finds nothing to do (no pad at a point, no band between\n"
    "the selected pads, no way found) says so on stderr; the steps after it still run.\n"
    "Writing OUT removes what lies wholly off the board that was active in IN, as Save\n"
    "does with the active board, and says how many.\n\n"
    "examples:\n"
    "  kestrel-cli edit in.kbd out.kbd \"select frame 10 10 60 40\" \"move 5 0\" rotate\n"
    "  kestrel-cli edit in.kbd out.kbd \"select at 20 30\" copy \"layer K2\" paste \"label 10 5 R12 --angle 90\"\n"
    "  kestrel-cli edit in.kbd out.kbd \"board add\" \"board-size 100 80\" \"board-name PSU 5 V\" \"grid 1.27\"\n";

const Registration reg({"edit",
                        {"применить к плате шаги правки (select, move, rotate, copy, paste, undo...)",
                         "apply editing steps (select, move, rotate, copy, paste, undo...) to a board"},
                        {kUsageRu, kUsageEn}, run});

} // namespace
} // namespace kestrel::cli
