#pragma once
// Shared by the output tests: exported text as lines, boards and files.

#include "geometry/CutIns.h"
#include "model/LayoutDocument.h"
#include "output/LabelOutlines.h"
#include "support/TestData.h"

#include <string>
#include <vector>

namespace kestrel::test {

using Lines = std::vector<std::string>;

inline Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The lines joined with CR LF, each line ended by one.
inline std::string crlf(const Lines& lines)
{
    std::string out;
    for (const std::string& l : lines)
        out += l + "\r\n";
    return out;
}

// Splits text at CR LF; a bare LF stays part of its line.
inline Lines splitCrlf(const std::string& text)
{
    Lines lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

inline std::string fileText(const std::string& path)
{
    const auto bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

// A glyph stand-in for labels in a system font: a 200-unit square with a
// square hole 100 wide, hanging below the anchor.
struct SquareGlyphs : LabelOutlineSource {
    std::vector<Polygon> labelContours(const LayoutObject& l) const override
    {
        const int32_t x = l.X1, y = l.Y1;
        return cutInContours(
            Region::fromPolygons({{{x, y - 200}, {x + 200, y - 200}, {x + 200, y}, {x, y}},
                                  {{x + 50, y - 150}, {x + 50, y - 50}, {x + 150, y - 50}, {x + 150, y - 150}}}));
    }
};

inline BoardSettings boardOf(int32_t widthUnits, int32_t heightUnits)
{
    BoardSettings s;
    s.BoardWidth = widthUnits, s.BoardHeight = heightUnits;
    return s;
}

// A 10 x 10 mm board: a 0.4 mm track ending on a round pad (radius 80, hole 40).
inline LayoutDocument exampleDocument()
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.Working.BoardWidth = doc.Working.BoardHeight = 1000;
    addTrack(*doc.currentObjects(), {{100, -100}, {500, -100}}, 40);
    addPad(*doc.currentObjects(), {500, -100}, 80, 1, 1, 40);
    return doc;
}

// The example board with a label in a system font on K1 and a second track
// 0.10 mm beside the first: one clearance violation at the default rules.
inline LayoutDocument labelledDocument()
{
    LayoutDocument doc = exampleDocument();
    doc.currentObjects()->append(makeText({200, -400}, "Kb", 0, 150, 400, -550, Layer::K1));
    addTrack(*doc.currentObjects(), {{100, -140}, {300, -140}}, 20);
    return doc;
}

// Its layer K1 with the preset options in language 0, and its drill file from the solder side.
inline const Lines kExampleK1 = {"%FSLAX32Y32*%", "%MOMM*%", "%LNLAYOUTLOETSEITE*%", "G71*", "G1*", "%ADD10C,0.20*%",
                                 "%ADD11C,0.40*%", "%ADD12C,1.60*%", "%LPD*%", "G54D10*", "X1000Y0D02*", "X0Y0D01*",
                                 "X0Y1000D01*", "X1000Y1000D01*", "X1000Y0D01*", "G54D11*", "X900Y900D02*",
                                 "X500Y900D01*", "X500Y900D02*", "G54D12*", "D03*", "M02*"};
inline const Lines kExampleDrill = {"M48", "METRIC,TZ", "T1C0.800", "%", "G05", "M71", "T1", "X5000Y9000", "M30"};

} // namespace kestrel::test
