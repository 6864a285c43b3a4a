#include "view/StrokeFont.h"

#include "model/TextCodec.h"

#include <algorithm>
#include <array>

namespace kestrel {

namespace {

struct GlyphRow {
    uint8_t code;
    const char* glyph;
};

constexpr auto kGlyphRows = std::to_array<GlyphRow>({
    {33, "XX0802XX0000ZZ"},
    {37, "XX1058XX0617261506XX6253425162ZZ"},
    {40, "XX18070110ZZ"},
    {41, "XX08171100ZZ"},
    {42, "XX1432XX1234ZZ"},
    {43, "XX0343XX2521ZZ"},
    {44, "XX11100AZZ"},
    {45, "XX0343ZZ"},
    {46, "XX0000ZZ"},
    {47, "XX0048ZZ"},
    {48, "XX010718384741301001XX0048ZZ"},
    {49, "XX063830ZZ"},
    {50, "XX0718384745010040ZZ"},
    {51, "XX0718384745344341301001ZZ"},
    {52, "XX280242XX3033ZZ"},
    {53, "XX480804344341301001ZZ"},
    {54, "XX473818070110304143341403ZZ"},
    {55, "XX084810XX1444ZZ"},
    {56, "XX071838474534140507XX1403011030414334ZZ"},
    {57, "XX011030414738180705143445ZZ"},
    {58, "XX0202XX0404ZZ"},
    {60, "XX0345XX0341ZZ"},
    {61, "XX0545XX0343ZZ"},
    {62, "XX0543XX0143ZZ"},
    {63, "XX07183847462522XX2020ZZ"},
    {64, "XX4020111526465552XX543423324253ZZ"},
    {65, "XX0006284640XX0343ZZ"},
    {66, "XX00083847453443413000XX0434ZZ"},
    {67, "XX4130100107183847ZZ"},
    {68, "XX00083847413000ZZ"},
    {69, "XX40000848XX0434ZZ"},
    {70, "XX000848XX0434ZZ"},
    {71, "XX23434130100107183847ZZ"},
    {72, "XX0008XX4048XX0444ZZ"},
    {73, "XX0007XX0808ZZ"},
    {74, "XX084841301001ZZ"},
    {75, "XX0008XX0448XX0440ZZ"},
    {76, "XX080040ZZ"},
    {77, "XX0008244840ZZ"},
    {78, "XX00084048ZZ"},
    {79, "XX010718384741301001ZZ"},
    {80, "XX00083847453404ZZ"},
    {81, "XX010718384741301001XX2240ZZ"},
    {82, "XX00083847453404XX244240ZZ"},
    {83, "XX011030414334140507183847ZZ"},
    {84, "XX2028XX0848ZZ"},
    {85, "XX080110304148ZZ"},
    {86, "XX082048ZZ"},
    {87, "XX0800244048ZZ"},
    {88, "XX0840XX0048ZZ"},
    {89, "XX082420XX2448ZZ"},
    {90, "XX08480040ZZ"},
    {92, "XX4008ZZ"},
    {95, "XX0040ZZ"},
    {97, "XX0314243330XX321201102031ZZ"},
    {98, "XX0008XX0314243331201001ZZ"},
    {99, "XX3324140301102031ZZ"},
    {100, "XX3038XX3324140301102031ZZ"},
    {101, "XX31201001031424333202ZZ"},
    {102, "XX10172837XX0323ZZ"},
    {103, "XX32211102031434302A1A00ZZ"},
    {104, "XX0008XX0314243330ZZ"},
    {105, "XX0004XX0505ZZ"},
    {106, "XX001A13XX1414ZZ"},
    {107, "XX0008XX0220XX0224ZZ"},
    {108, "XX0008ZZ"},
    {109, "XX0004XX03142320XX23344340ZZ"},
    {110, "XX0004XX0314243330ZZ"},
    {111, "XX100103142433312010ZZ"},
    {112, "XX0A042433322101ZZ"},
    {113, "XX3A341403021131ZZ"},
    {114, "XX0004XX031424ZZ"},
    {115, "XX01102031221203142433ZZ"},
    {116, "XX18112031XX0525ZZ"},
    {117, "XX0401102031XX3034ZZ"},
    {118, "XX042044ZZ"},
    {119, "XX04011021304144ZZ"},
    {120, "XX0440XX0044ZZ"},
    {121, "XX0044XX0422ZZ"},
    {122, "XX04340030ZZ"},
    {181, "XX040AXX0110203134ZZ"},});

constexpr std::string_view kEmptyGlyph = "ZZ";

const std::array<std::string_view, 256>& glyphTable()
{
    static const std::array<std::string_view, 256> table = [] {
        std::array<std::string_view, 256> t;
        t.fill(kEmptyGlyph);
        for (const GlyphRow& row : kGlyphRows)
            t[row.code] = row.glyph;
        return t;
    }();
    return table;
}

} // namespace

std::string_view GlyphString(uint8_t code)
{
    return glyphTable()[code];
}

Point DecodeGlyphPoint(uint8_t code, size_t i)
{
    const std::string_view g = GlyphString(code);
    if (2 * i + 1 >= g.size())
        return kGlyphEnd;
    const char u = g[2 * i], row = g[2 * i + 1];
    if (u == 'X')
        return kGlyphStrokeStart;
    if (u == 'Z' || u < '0' || u > '9')
        return kGlyphEnd;
    if (row >= '0' && row <= '9')
        return {u - '0', -(row - '0')};
    if (row == 'A' || row == 'B')
        return {u - '0', row - 'A' + 1};
    return kGlyphEnd;
}

std::vector<std::vector<Point>> GlyphStrokes(uint8_t code)
{
    std::vector<std::vector<Point>> strokes;
    for (size_t i = 0;; ++i) {
        const Point p = DecodeGlyphPoint(code, i);
        if (p == kGlyphEnd)
            break;
        if (p == kGlyphStrokeStart)
            strokes.emplace_back();
        else if (!strokes.empty())
            strokes.back().push_back({p.x, -p.y});
    }
    return strokes;
}

int32_t CharAdvance(uint8_t code, bool fixedSpacing)
{
    if (fixedSpacing)
        return 4;
    if (code == ' ')
        return 1;
    int32_t widest = 0;
    for (const auto& stroke : GlyphStrokes(code))
        for (Point p : stroke)
            widest = std::max(widest, p.x);
    return widest;
}

std::string StrokeFontCodes(std::string_view utf8)
{
    return utf8ToCp1251(utf8, '\0');
}

bool StrokeFontDrawsAny(std::string_view utf8)
{
    const std::string codes = StrokeFontCodes(utf8);
    return std::any_of(codes.begin(), codes.end(),
                       [](char c) { return !GlyphStrokes(static_cast<uint8_t>(c)).empty(); });
}

} // namespace kestrel
