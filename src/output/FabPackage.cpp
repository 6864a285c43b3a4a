#include "output/FabPackage.h"

#include "model/PendingFile.h"
#include "model/TextCodec.h"
#include "model/Units.h"
#include "output/DesignCheck.h"
#include "output/DrillExport.h"
#include "output/GerberExport.h"
#include "route/BothLayers.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace kestrel {

namespace {

struct FabLayer {
    const char* extension;
    GerberLayer layer;
    const char* description;
};

// Side 2 is the component side: its copper is the top copper, and the silk
// of side 1 is printed on the component side.
constexpr FabLayer kFabLayers[] = {
    {"GTL", GerberLayer::K2, "top copper (copper of side 2)"},
    {"GBL", GerberLayer::K1, "bottom copper (copper of side 1)"},
    {"GTO", GerberLayer::B1, "top silk screen (silk of side 1)"},
    {"GBO", GerberLayer::B2, "bottom silk screen (silk of side 2)"},
    {"GTS", GerberLayer::LStop2, "top solder mask"},
    {"GBS", GerberLayer::LStop1, "bottom solder mask"},
};

std::string mmText(double units)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", mmFromUnits(units));
    return text;
}

std::string readme(const std::string& name, const std::vector<ZipEntry>& files, const Board& board,
                   const BoardSettings& settings, const DesignFigures& figures)
{
    std::string text = "Fab package of board \"" + board.Name + "\" (" + name + ")\r\n\r\nFiles:\r\n";
    for (const ZipEntry& f : files) {
        text += "  " + f.name;
        for (const FabLayer& l : kFabLayers)
            if (f.name == name + "." + l.extension)
                text += std::string("  ") + l.description;
        if (f.name == name + ".GKO")
            text += "  board outline";
        if (f.name == name + ".TXT")
            text += "  Excellon drill file";
        text += "\r\n";
    }
    text += "  README.txt  this file\r\n\r\n";
    text += "All layers are seen from the top, unmirrored; coordinates in mm from the board's lower left corner.\r\n";
    text += "Board size: " + mmText(settings.BoardWidth) + " x " + mmText(settings.BoardHeight) + " mm\r\n";
    text += "Copper layers: " + std::to_string(figures.copperLayers) + "\r\n";
    text += "Smallest track width: " +
            (figures.smallestTrackUnits < 0 ? std::string("no tracks") : mmText(figures.smallestTrackUnits) + " mm") +
            "\r\n";
    text += "Smallest clearance: " +
            (figures.smallestClearanceUnits < 0
                 ? "more than " + mmText(DesignFigures::kClearanceSearchUnits) + " mm"
                 : measuredMmText(figures.smallestClearanceUnits) + " mm") +
            "\r\n";
    text += "Hole sizes:";
    if (figures.holeDiametersUnits.empty())
        text += " no holes";
    for (size_t i = 0; i < figures.holeDiametersUnits.size(); ++i)
        text += (i ? ", " : " ") + mmText(figures.holeDiametersUnits[i]);
    text += figures.holeDiametersUnits.empty() ? "\r\n" : " mm\r\n";
    return text;
}

// The drill file of a board without holes is a header and an end, which
// viewers do not take for a drill file: the package's unloads the tool (T0)
// to say there is nothing to drill.
std::string fabDrillFile(const ObjectList& objects, const BoardSettings& settings)
{
    std::string drill = exportDrill(objects, settings, DrillSide::Component);
    constexpr std::string_view kEnd = "M30\r\n";
    if (drillSizeList(objects).empty() && drill.ends_with(kEnd))
        drill.insert(drill.size() - kEnd.size(), "T0\r\n");
    return drill;
}

ZipEntry readmeFile(const Board& board, const BoardSettings& settings, const std::vector<ZipEntry>& layerFiles,
                    const DesignFigures& figures)
{
    return {"README.txt", readme(fabBaseName(board.Name), layerFiles, board, settings, figures)};
}

// Latin letters for a Cyrillic letter of the file's code page (lower case),
// or nullptr for any other byte.
const char* latinFor(unsigned char c)
{
    static const char* const kLetters[32] = {"a", "b", "v",  "g",  "d",  "e",    "zh", "z", "i", "y", "k",
                                             "l", "m", "n",  "o",  "p",  "r",    "s",  "t", "u", "f", "kh",
                                             "ts", "ch", "sh", "shch", "", "y", "",   "e", "yu", "ya"};
    if (c >= 0xC0)
        return kLetters[(c - 0xC0) % 32];
    // Ё ё, І і, Ї ї, Є є, Ґ ґ, Ў ў
    static const std::pair<unsigned char, const char*> kOthers[] = {
        {0xA8, "e"},  {0xB8, "e"},  {0xB2, "i"}, {0xB3, "i"}, {0xAF, "yi"}, {0xBF, "yi"},
        {0xAA, "ye"}, {0xBA, "ye"}, {0xA5, "g"}, {0xB4, "g"}, {0xA1, "u"},  {0xA2, "u"},
    };
    for (const auto& [byte, latin] : kOthers)
        if (byte == c)
            return latin;
    return nullptr;
}

bool isCapital(unsigned char c)
{
    return (c >= 0xC0 && c <= 0xDF) || c == 0xA8 || c == 0xB2 || c == 0xAF || c == 0xAA || c == 0xA5 || c == 0xA1;
}

// Names that take a prefix: those a Windows folder cannot hold a file under,
// whatever the extension, and the README's own, whose NAME.TXT beside
// README.txt would be one file where case does not count.
bool needsPrefix(const std::string& name)
{
    std::string upper;
    for (char c : name)
        upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" || upper == "README")
        return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
           upper[3] <= '9';
}

} // namespace

std::string fabBaseName(const std::string& boardName)
{
    std::string name;
    auto gap = [&name] {
        if (!name.empty() && name.back() != '_')
            name += '_';
    };
    for (unsigned char c : utf8ToCp1251(boardName, ' ')) {
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '_';
        if (kept) {
            name += static_cast<char>(c);
        } else if (const char* latin = latinFor(c)) {
            std::string letters = latin;
            if (isCapital(c) && !letters.empty())
                letters[0] = static_cast<char>(letters[0] - 'a' + 'A');
            name += letters;
        } else {
            gap();
        }
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    if (name.empty())
        return "board";
    return needsPrefix(name) ? "board-" + name : name;
}

std::vector<ZipEntry> fabLayerFiles(const Board& board, const BoardSettings& settings,
                                    const LabelOutlineSource* labels)
{
    const std::string name = fabBaseName(board.Name);
    constexpr size_t kLayers = std::size(kFabLayers);
    std::vector<ZipEntry> files(kLayers + 2);
    const auto make = [&](size_t i) {
        if (i == kLayers) {
            files[i] = {name + ".GKO", exportBoardOutline(settings, "Kestrel fab package: board outline")};
            return;
        }
        if (i == kLayers + 1) {
            files[i] = {name + ".TXT", fabDrillFile(board.Objects, settings)};
            return;
        }
        const FabLayer& l = kFabLayers[i];
        GerberOptions options = GerberOptions::presetFor(l.layer);
        options.mirror = false;
        options.outline = false;
        options.fontLabels = true;
        options.filledCircles = true;
        options.fullCirclesFromZero = true;
        const std::string comment = std::string("Kestrel fab package: ") + l.description;
        options.comment = comment;
        files[i] = {name + "." + l.extension, exportGerber(board.Objects, settings, options, Language::English, labels)};
    };
    // The files do not depend on each other: every other one is made on a
    // second thread. Top and bottom alternate, so the halves weigh alike.
    forBothLayers(true, [&](int half) {
        for (size_t i = size_t(half); i < files.size(); i += 2)
            make(i);
    });
    return files;
}

std::vector<ZipEntry> fabPackageFiles(const Board& board, const BoardSettings& settings,
                                      const LabelOutlineSource* labels, const DesignFigures& figures)
{
    std::vector<ZipEntry> files = fabLayerFiles(board, settings, labels);
    files.push_back(readmeFile(board, settings, files, figures));
    return files;
}

PreparedFabPackage prepareFabPackage(const Board& board, const BoardSettings& settings, const DesignRules& rules,
                                     const LabelOutlineSource* labels)
{
    // One after the other: on a large board the check and the files each
    // keep two threads busy, and side by side they only took turns (and the
    // floods' waiting threads spun).
    PreparedFabPackage package{checkDesignWithFigures(board.Objects, settings, rules),
                               fabLayerFiles(board, settings, labels)};
    package.files.push_back(readmeFile(board, settings, package.files, package.report.figures));
    return package;
}

namespace {

// The entries' date: SOURCE_DATE_EPOCH where a build pipeline sets it, so one
// board gives the same zip byte for byte, else now. A zip keeps a date and
// time of day without a zone: the pipeline's moment goes in as the UTC date
// and time, whatever the zone, within the years a zip can hold; now goes in
// as the local time, as archivers write it.
ZipTime archiveTime()
{
    std::tm fields{};
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    char* end = nullptr;
    errno = 0;
    const long long seconds = epoch && *epoch ? std::strtoll(epoch, &end, 10) : -1;
    if (seconds >= 0 && *end == '\0' && errno != ERANGE) {
        constexpr long long kFirst = 315532800, kLast = 4354819198; // 1980-01-01 to 2107-12-31, UTC
        const auto utc = static_cast<time_t>(std::clamp(seconds, kFirst, kLast));
        gmtime_r(&utc, &fields);
    } else {
        const time_t now = std::time(nullptr);
        localtime_r(&now, &fields);
    }
    ZipTime t{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec};
    t.year = std::clamp(t.year, 1980, 2107);
    return t;
}

} // namespace

Status writeFabPackage(const std::string& path, const std::vector<ZipEntry>& files, Language lang)
{
    auto file = PendingFile::open(path, lang);
    if (!file)
        return file.status();
    bool fileFailed = false;
    const Status zipped = writeZipArchive(files, archiveTime(),
                                          [&](const char* data, size_t size) {
                                              Status s = file->write(data, size);
                                              fileFailed = !s.ok();
                                              return s;
                                          });
    if (!zipped)
        return fileFailed ? zipped
                          : Status::failure(std::string(tr(lang, "Файл не создан: ", "Cannot create ")) + path +
                                            ": " + zipped.message());
    return file->complete();
}

} // namespace kestrel
