// kestrel-cli pdf: the print dialog's printout, to a PDF file.

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "cli/StdoutCheck.h"
#include "cli/render/Render.h"
#include "model/Units.h"
#include "output/gui/PrintRender.h"
#include "output/gui/PrintSession.h"

#include <QFile>
#include <QPageSize>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace kestrel::cli {

namespace {

std::string text(Language lang, const char* russian, const char* english) { return tr(lang, russian, english); }

// Chooses the layers and their side; false after a usage error. Without a
// list the side is the board's active one.
bool applyLayers(Args& args, PrintOptions& o, Language lang)
{
    const auto list = args.value("layers");
    if (!list)
        return true;
    std::vector<int> layers;
    std::string bad;
    if (!parseLayerList(*list, true, layers, bad)) {
        args.reject(text(lang, "--layers: неизвестный слой '", "--layers: unknown layer '") + bad +
                    text(lang, "' (K1, B1, K2, B2, LStop1 или LStop2)", "' (K1, B1, K2, B2, LStop1 or LStop2)"));
        return false;
    }
    auto sideOf = [](int layer) { return layer == 1 || layer == 2 || layer == 5; };
    o.side1 = sideOf(layers.front());
    if (!std::all_of(layers.begin(), layers.end(), [&](int l) { return sideOf(l) == o.side1; })) {
        args.reject(text(lang, "--layers: слои одной стороны", "--layers: the layers of one side only"));
        return false;
    }
    o.copper = o.silk = o.solderMask = false;
    for (const int l : layers) {
        if (l == 1 || l == 3)
            o.copper = true;
        else if (l == 2 || l == 4)
            o.silk = true;
        else
            o.solderMask = true;
    }
    return true;
}

constexpr double kShiftMaxMm = 300;

// The largest shift on paper, in whole mm: small scales reach the end of the
// print's coordinates before 300 mm.
double shiftLimitMm(const PrintOptions& o)
{
    return std::min(kShiftMaxMm, std::floor(kPrintCoordLimit / (100 * o.effectiveScale())));
}

bool applyScaleAndCopies(Args& args, PrintOptions& o, Language lang)
{
    if (const auto percent = args.integer("scale")) {
        if (*percent < 10 * kScalePositionMin || *percent > 10 * kScalePositionMax || *percent % 10 != 0) {
            args.reject(text(lang, "--scale: от 10 до 1000 с шагом 10", "--scale expects 10 to 1000 in steps of 10"));
            return false;
        }
        o.trueScale = *percent == 100;
        o.scalePosition = static_cast<int>(*percent / 10);
        applyScaleChoice(o);
    }
    if (const auto calibration = args.value("calibrate")) {
        std::istringstream in(*calibration);
        char comma = 0;
        double x = 0, y = 0;
        in.imbue(std::locale::classic());
        if (!(in >> x >> comma >> y) || comma != ',' || !in.eof() || !calibrationAcceptable(x, y)) {
            args.reject(text(lang, "--calibrate: X,Y, каждый от 0.8 до 1.2", "--calibrate expects X,Y, each 0.8 to 1.2"));
            return false;
        }
        o.calibrationX = x;
        o.calibrationY = y;
    }
    if (const auto tiles = args.integer("tiles")) {
        if (*tiles < 1 || *tiles > kTilesMax) {
            args.reject(text(lang, "--tiles: от 1 до 20", "--tiles expects 1 to 20"));
            return false;
        }
        o.tilesX = static_cast<int>(*tiles);
    }
    if (const auto gap = args.number("gap")) {
        if (*gap < 0 || *gap > mmFromUnits(kTileGapMax)) {
            args.reject(text(lang, "--gap: от 0 до 50 мм", "--gap expects 0 to 50 mm"));
            return false;
        }
        // As the dialog takes it: in steps of 0.1 mm.
        if (std::abs(*gap * 10 - std::round(*gap * 10)) > 1e-6) {
            args.reject(text(lang, "--gap: с точностью до 0.1 мм, не больше одного знака после точки",
                             "--gap is kept to 0.1 mm: at most one decimal"));
            return false;
        }
        o.tileGap = unitsFromMm(*gap);
    }
    // Where the dialog's preview drag would put the board: X mm to the
    // right and Y mm down on paper, in board units at the print scale.
    if (const auto shift = args.value("shift")) {
        std::istringstream in(*shift);
        char comma = 0;
        double x = 0, y = 0;
        in.imbue(std::locale::classic());
        if (!(in >> x >> comma >> y) || comma != ',' || !in.eof() || std::abs(x) > kShiftMaxMm ||
            std::abs(y) > kShiftMaxMm) {
            args.reject(text(lang, "--shift: X,Y в мм, каждый от -300 до 300",
                             "--shift expects X,Y in mm, each -300 to 300"));
            return false;
        }
        // The print keeps its offsets within the range of its coordinates,
        // which small scales reach before 300 mm: a shift beyond is refused
        // rather than cut short.
        const double unitsPerMm = 100 * o.effectiveScale();
        const double limitMm = shiftLimitMm(o);
        if (std::abs(x) > limitMm || std::abs(y) > limitMm) {
            const std::string limit = std::to_string(static_cast<int>(limitMm));
            args.reject(text(lang, "--shift: при этом масштабе каждый из X,Y от -",
                             "--shift: at this scale X and Y are each -") +
                        limit + text(lang, " до ", " to ") + limit + text(lang, " мм", " mm"));
            return false;
        }
        o.offsetX = ClampPrintCoord(std::nearbyint(-x * unitsPerMm));
        o.offsetY = ClampPrintCoord(std::nearbyint(y * unitsPerMm));
    }
    return args.ok();
}

} // namespace

int runPdfCommand(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "layers", "scale", "calibrate", "tiles", "gap", "shift", "lang"}, {"mirror"});
    const auto lang = languageOption(args);
    if (!args.ok() || !args.expectPositional(2))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.index("board");
    PrintOptions options;
    options.mirror = args.flag("mirror");
    if (!args.ok() || !applyScaleAndCopies(args, options, *lang) || !applyLayers(args, options, *lang))
        return fail(kExitUsage, args.error());
    if (const auto refused = outputIsInput(args, *lang))
        return fail(kExitUsage, *refused);
    std::optional<LayoutDocument> doc;
    Board* board = loadExportBoard(args.positional()[0], boardIndex, doc, *lang);
    if (!board)
        return kExitFailure;
    if (!args.value("layers"))
        options.side1 = doc->Working.ActiveLayer < 3;

    PrintSession session;
    session.printerNames = [] { return QStringList(); };
    session.chooseTarget({});
    session.options = options;
    session.printer().setPageSize(QPageSize(QPageSize::A4)); // whatever the locale would choose
    session.printer().setOutputFileName(QFile::decodeName(QByteArray::fromStdString(args.positional()[1])));
    session.pdfPath = args.positional()[1];
    PrintJob job;
    job.objects = &board->Objects;
    job.boardWidth = doc->Working.BoardWidth;
    job.boardHeight = doc->Working.BoardHeight;
    job.groundPlane1 = doc->Working.GroundPlane1 != 0;
    job.groundPlane2 = doc->Working.GroundPlane2 != 0;
    job.options = options;
    const QSizeF page = session.pageSizeMm();
    if (options.mirror && args.value("shift")) {
        // A mirrored print starts at the middle of the page, so its shift
        // reaches the end of the print's coordinates sooner on one side. At
        // small scales the middle lies beyond them: the print then starts as
        // near it as they reach, as in the editor, and cannot be shifted
        // sideways.
        const double unitsPerMm = 100 * options.effectiveScale();
        const double middle = mirroredPageStart(options, page.width());
        const double limitMm = shiftLimitMm(options);
        const double low = std::max(-limitMm, std::ceil((-kPrintCoordLimit - middle) / unitsPerMm));
        const double high = std::min(limitMm, std::floor((kPrintCoordLimit - middle) / unitsPerMm));
        const double x = -options.offsetX / unitsPerMm;
        if (low > high && x != 0)
            return fail(kExitUsage, text(*lang, "--shift: при этом масштабе зеркальную печать нельзя сдвинуть по X",
                                         "--shift: at this scale a mirrored print cannot be shifted sideways"));
        if (low <= high && (x < low || x > high))
            return fail(kExitUsage, text(*lang, "--shift: зеркально при этом масштабе X от ",
                                         "--shift: mirrored at this scale X is from ") +
                                        std::to_string(static_cast<int>(low)) + text(*lang, " до ", " to ") +
                                        std::to_string(static_cast<int>(high)) + text(*lang, " мм", " mm"));
    }
    const BoardOnPage onPage = boardOnPage(options, page.width(), page.height(), job.boardWidth, job.boardHeight);
    if (onPage == BoardOnPage::Off)
        return fail(kExitFailure, text(*lang, "плата целиком вне страницы (см. --shift); PDF не записан",
                                       "the board lies wholly off the page (see --shift); no PDF written"));
    if (const Status printed = printPage(session, job, *lang); !printed)
        return fail(kExitFailure, printed.message());
    if (onPage == BoardOnPage::Partly)
        std::fprintf(stderr, "kestrel-cli: %s\n",
                     text(*lang, "часть платы вне страницы и не напечатана (см. --shift и --scale)",
                          "part of the board lies off the page and is not printed (see --shift and --scale)")
                         .c_str());
    std::fprintf(reportStream(args.positional()[1]), "%s\n",
                 (text(*lang, "напечатана сторона ", "printed side ") + (options.side1 ? "1" : "2") +
                  text(*lang, " платы \"", " of board \"") + board->Name + "\" " + text(*lang, "в ", "to ") +
                  args.positional()[1])
                     .c_str());
    return kExitOk;
}

} // namespace kestrel::cli
