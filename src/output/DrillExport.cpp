#include "output/DrillExport.h"

#include "model/FileIO.h"
#include "model/Units.h"
#include "output/TextBuffer.h"

#include <unordered_map>
#include <unordered_set>

namespace kestrel {

namespace {

// Board units (0.01 mm) as micrometres: one "0" appended, 0 stays "0".
void appendMicrometres(TextBuffer& out, int64_t units)
{
    out.appendInt(units);
    if (units != 0)
        out.append("0");
}

// A diameter in board units as millimetres with three decimals.
void appendDiameterMm(TextBuffer& out, int64_t diameterUnits)
{
    const int64_t um = umFromUnits(diameterUnits);
    if (um < 0)
        out.append("-");
    const int64_t a = um < 0 ? -um : um;
    out.appendInt(a / 1000);
    const char frac[4] = {'.', static_cast<char>('0' + a % 1000 / 100), static_cast<char>('0' + a % 100 / 10),
                          static_cast<char>('0' + a % 10)};
    out.append({frac, 4});
}

} // namespace

bool isDrilledPad(const LayoutObject& o)
{
    return o.is(ObjectKind::Pad) && (o.Layer == Layer::K1 || o.Layer == Layer::K2) &&
           (o.Partner == nullptr || o.Layer == Layer::K1);
}

std::vector<int32_t> drillSizeList(const ObjectList& objects)
{
    std::vector<int32_t> sizes;
    std::unordered_set<int32_t> seen;
    for (const auto& o : objects)
        if (isDrilledPad(*o) && o->holeRadius() > 0 && seen.insert(o->holeRadius()).second)
            sizes.push_back(o->holeRadius());
    return sizes;
}

std::string exportDrill(const ObjectList& objects, const BoardSettings& settings, DrillSide side)
{
    const std::vector<int32_t> sizes = drillSizeList(objects);
    // Holes grouped by tool in one pass, each group in list order.
    std::unordered_map<int32_t, size_t> toolOf;
    for (size_t i = 0; i < sizes.size(); ++i)
        toolOf.emplace(sizes[i], i);
    std::vector<std::vector<const LayoutObject*>> holes(sizes.size());
    for (const auto& o : objects)
        if (isDrilledPad(*o) && o->holeRadius() > 0)
            holes[toolOf.at(o->holeRadius())].push_back(o.get());

    TextBuffer out;
    out.append("M48\r\nMETRIC,TZ\r\n");
    for (size_t i = 0; i < sizes.size(); ++i) {
        out.append("T");
        out.appendInt(static_cast<int64_t>(i + 1));
        out.append("C");
        appendDiameterMm(out, 2 * static_cast<int64_t>(sizes[i]));
        out.endLine();
    }
    out.append("%\r\nG05\r\nM71\r\n");
    for (size_t i = 0; i < sizes.size(); ++i) {
        out.append("T");
        out.appendInt(static_cast<int64_t>(i + 1));
        out.endLine();
        for (const LayoutObject* pad : holes[i]) {
            const int64_t x = side == DrillSide::Solder ? int64_t{settings.BoardWidth} - pad->X1 : pad->X1;
            const int64_t y = int64_t{pad->Y1} + settings.BoardHeight;
            out.append("X");
            appendMicrometres(out, x);
            out.append("Y");
            appendMicrometres(out, y);
            out.endLine();
        }
    }
    out.append("M30\r\n");
    return out.take();
}

Status writeDrill(const std::string& path, const ObjectList& objects, const BoardSettings& settings, DrillSide side,
                  Language lang)
{
    return writeFileAtomically(path, exportDrill(objects, settings, side), lang);
}

std::string drillDefaultFileName(Language lang) { return lang == Language::English ? "DRILL.DRL" : "BOHRUNG.DRL"; }

} // namespace kestrel
