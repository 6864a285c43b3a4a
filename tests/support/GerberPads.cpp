#include "support/GerberPads.h"

#include "model/Units.h"
#include "output/GerberExport.h"

#include <sstream>
#include <string>
#include <utility>

namespace kestrel::test {

namespace {

// "1.60" as 160 hundredths of a millimetre.
int64_t hundredths(const std::string& mm)
{
    const size_t dot = mm.find('.');
    return std::stoll(mm.substr(0, dot)) * kUnitsPerMm + std::stoll(mm.substr(dot + 1));
}

} // namespace

GerberPad gerberPad(const LayoutObject& pad, int32_t enlargement, int32_t boardHeight)
{
    // The solder mask draws nothing but the pads, grown by its offset.
    ObjectList list;
    list.append(pad);
    BoardSettings settings;
    settings.BoardHeight = boardHeight;
    GerberOptions options = GerberOptions::presetFor(GerberLayer::LStop1);
    options.mirror = options.outline = false;
    options.offsetMm = mmFromUnits(enlargement);
    std::istringstream file(exportGerber(list, settings, options, Language::English));

    GerberPad found;
    std::vector<std::pair<int, std::string>> apertures;
    std::string line;
    bool inRegion = false;
    int selected = 0;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("%ADD", 0) == 0) {
            apertures.emplace_back(std::stoi(line.substr(4)), line.substr(line.find_first_of("CR")));
        } else if (line.rfind("G54D", 0) == 0) {
            selected = std::stoi(line.substr(4));
        } else if (line == "G36*") {
            inRegion = true;
        } else if (line == "G37*") {
            inRegion = false;
        } else if (inRegion && line[0] == 'X') {
            const size_t y = line.find('Y');
            const Point corner{std::stoi(line.substr(1, y - 1)), std::stoi(line.substr(y + 1))};
            if (found.regionCorners.empty() || corner != found.regionCorners.front()) // the closing line
                found.regionCorners.push_back(corner);
        } else if (line == "D03*" || (!found.regionCorners.empty() && line.find("D01*") != std::string::npos)) {
            for (const auto& [code, definition] : apertures) {
                if (code != selected)
                    continue;
                const size_t comma = definition.find(','), x = definition.find('X');
                const std::string first =
                    definition.substr(comma + 1, x == std::string::npos ? std::string::npos : x - comma - 1);
                if (line == "D03*") {
                    found.aperture = definition[0];
                    found.sizeX = hundredths(first);
                    found.sizeY = x == std::string::npos ? found.sizeX : hundredths(definition.substr(x + 1));
                } else {
                    found.strokeDiameter = hundredths(first);
                }
            }
        }
    }
    return found;
}

} // namespace kestrel::test
