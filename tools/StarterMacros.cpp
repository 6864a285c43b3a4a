#include "StarterMacros.h"

#include "model/MacroFile.h"
#include "model/Units.h"

#include <cmath>
#include <numbers>

namespace kestrel {

namespace {

// All lengths in board units (0.01 mm); y grows upwards, so a column of
// pins runs to negative y.
constexpr int32_t kPitch = 254;      // 2.54 mm
constexpr int32_t kFinePitch = 127;  // 1.27 mm
constexpr int32_t kClearance = 40;   // 0.4 mm to a ground plane
constexpr int32_t kSilkWidth = 20;   // 0.2 mm
constexpr auto kRound = static_cast<uint8_t>(PadShape::Round);
constexpr auto kSquare = static_cast<uint8_t>(PadShape::Square);
constexpr auto kRectH = static_cast<uint8_t>(PadShape::RectH);
constexpr auto kRectV = static_cast<uint8_t>(PadShape::RectV);
constexpr auto kRoundedV = static_cast<uint8_t>(PadShape::RoundedV);

class Footprint {
public:
    explicit Footprint(std::string name) { macro_.fileName = std::move(name) + ".kmk"; }

    // A through-hole pad; holeRadius 0 makes a surface-mount pad.
    void pad(Point at, int32_t outerRadius, uint8_t shape, int32_t holeRadius)
    {
        add(makePad(at, outerRadius, shape, Layer::K1, holeRadius));
    }
    void line(Point from, Point to) { add(makeLine(from, to, kSilkWidth, Layer::B1)); }
    void box(Point topLeft, Point bottomRight)
    {
        const Point topRight{bottomRight.x, topLeft.y}, bottomLeft{topLeft.x, bottomRight.y};
        line(topLeft, topRight);
        line(topRight, bottomRight);
        line(bottomRight, bottomLeft);
        line(bottomLeft, topLeft);
    }
    // A silk arc on its centre line, counter-clockwise from start to stop
    // degrees; equal angles draw the full circle.
    void arc(Point centre, int32_t radius, int32_t startDegrees, int32_t stopDegrees)
    {
        LayoutObject& c = add(makeCircle(centre, radius + kSilkWidth / 2, kRound, Layer::B1, radius - kSilkWidth / 2));
        c.setArcStartDegrees(startDegrees);
        c.setArcStopDegrees(stopDegrees);
    }
    StarterMacro take() { return std::move(macro_); }

private:
    LayoutObject& add(LayoutObject o)
    {
        o.Clearance = kClearance;
        return macro_.objects.append(std::move(o));
    }
    StarterMacro macro_;
};

// Dual in-line: pin 1 square at the top left, down the left row and up the
// right one, rows 7.62 mm apart; the body between the rows with its notch.
StarterMacro dip(int pins)
{
    const int perRow = pins / 2;
    constexpr int32_t rows = 762;
    Footprint f("DIP-" + std::to_string(pins));
    for (int i = 0; i < perRow; ++i)
        f.pad({0, -kPitch * i}, 80, i == 0 ? kSquare : kRound, 40);
    for (int i = perRow - 1; i >= 0; --i)
        f.pad({rows, -kPitch * i}, 80, kRound, 40);
    const int32_t top = kPitch / 2, bottom = -kPitch * (perRow - 1) - kPitch / 2;
    f.box({190, top}, {rows - 190, bottom});
    f.arc({rows / 2, top}, 64, 180, 360);
    return f.take();
}

// Small outline: 1.27 mm pitch, pad rows 5.4 mm apart, surface-mount pads
// 1.2 x 0.6 mm; the body's long edges and a mark beside pin 1.
StarterMacro soic(int pins)
{
    const int perRow = pins / 2;
    constexpr int32_t rows = 540;
    Footprint f("SOIC-" + std::to_string(pins));
    for (int i = 0; i < perRow; ++i)
        f.pad({0, -kFinePitch * i}, 30, kRectH, 0);
    for (int i = perRow - 1; i >= 0; --i)
        f.pad({rows, -kFinePitch * i}, 30, kRectH, 0);
    const int32_t top = 80, bottom = -kFinePitch * (perRow - 1) - 80;
    f.line({120, top}, {rows - 120, top});
    f.line({120, bottom}, {rows - 120, bottom});
    f.arc({-40, 90}, 15, 0, 0);
    return f.take();
}

StarterMacro to92()
{
    Footprint f("TO-92");
    for (int i = 0; i < 3; ++i)
        f.pad({kFinePitch * i, 0}, 45, kRoundedV, 30);
    // The round side of the body above the pins, the flat side below them.
    constexpr int32_t radius = 250, flat = -120;
    const int angle = static_cast<int>(std::lround(std::asin(double(flat) / radius) * 180 / std::numbers::pi));
    const auto half = static_cast<int32_t>(std::lround(std::sqrt(double(radius) * radius - double(flat) * flat)));
    f.arc({kFinePitch, 0}, radius, 360 + angle, 180 - angle);
    f.line({kFinePitch - half, flat}, {kFinePitch + half, flat});
    return f.take();
}

StarterMacro to220()
{
    Footprint f("TO-220");
    for (int i = 0; i < 3; ++i)
        f.pad({kPitch * i, 0}, 90, i == 0 ? kSquare : kRound, 50);
    f.box({kPitch - 500, 180}, {kPitch + 500, -270});
    f.line({kPitch - 500, 130}, {kPitch + 500, 130}); // the edge of the metal tab
    return f.take();
}

StarterMacro sot23()
{
    Footprint f("SOT-23");
    f.pad({0, -220}, 30, kRectV, 0);
    f.pad({190, -220}, 30, kRectV, 0);
    f.pad({95, 0}, 30, kRectV, 0);
    f.line({-80, -40}, {-80, -180});
    f.line({270, -40}, {270, -180});
    return f.take();
}

// Two-terminal chip parts: pads and the body's long edges between them.
StarterMacro chip(const char* name, int32_t span, int32_t radius, uint8_t shape, int32_t silkY)
{
    Footprint f(name);
    f.pad({0, 0}, radius, shape, 0);
    f.pad({span, 0}, radius, shape, 0);
    const int32_t inset = span / 4;
    f.line({inset, silkY}, {span - inset, silkY});
    f.line({inset, -silkY}, {span - inset, -silkY});
    return f.take();
}

StarterMacro radialCapacitor()
{
    Footprint f("C-radial");
    f.pad({0, 0}, 70, kSquare, 40); // +
    f.pad({kPitch, 0}, 70, kRound, 40);
    f.arc({kPitch / 2, 0}, 250, 0, 0);
    f.line({-230, 200}, {-130, 200}); // the plus sign beside pin 1
    f.line({-180, 250}, {-180, 150});
    return f.take();
}

// Lying parts on 10.16 mm: the body between the pads, the leads up to it.
StarterMacro axial(const char* name, int32_t bodyHalfLength, int32_t bodyHalfWidth)
{
    constexpr int32_t span = 4 * kPitch;
    Footprint f(name);
    f.pad({0, 0}, 70, kRound, 40);
    f.pad({span, 0}, 70, kRound, 40);
    const int32_t left = span / 2 - bodyHalfLength, right = span / 2 + bodyHalfLength;
    f.box({left, bodyHalfWidth}, {right, -bodyHalfWidth});
    f.line({100, 0}, {left, 0});
    f.line({right, 0}, {span - 100, 0});
    return f.take();
}

// A standing resistor: the body over pin 1, the bent lead to pin 2.
StarterMacro radialResistor()
{
    Footprint f("R-radial");
    f.pad({0, 0}, 70, kRound, 40);
    f.pad({kPitch, 0}, 70, kRound, 40);
    f.arc({0, 0}, 125, 0, 0);
    f.line({125, 0}, {kPitch - 100, 0});
    return f.take();
}

StarterMacro header(int pins)
{
    Footprint f("Header-1x" + std::string(pins < 10 ? "0" : "") + std::to_string(pins));
    for (int i = 0; i < pins; ++i)
        f.pad({kPitch * i, 0}, 85, i == 0 ? kSquare : kRound, 50);
    f.box({-kPitch / 2, kPitch / 2}, {kPitch * (pins - 1) + kPitch / 2, -kPitch / 2});
    return f.take();
}

// M3: a 3.2 mm hole in a 6 mm ring.
StarterMacro mountingHole()
{
    Footprint f("M3-hole");
    f.pad({0, 0}, 300, kRound, 160);
    return f.take();
}

} // namespace

std::vector<StarterMacro> starterMacros()
{
    std::vector<StarterMacro> all;
    for (int pins : {8, 14, 16})
        all.push_back(dip(pins));
    for (int pins : {8, 14})
        all.push_back(soic(pins));
    all.push_back(to92());
    all.push_back(to220());
    all.push_back(sot23());
    all.push_back(chip("0805", 190, 55, kSquare, 100));
    all.push_back(chip("1206", 300, 45, kRectV, 130));
    all.push_back(radialCapacitor());
    all.push_back(axial("C-axial", 250, 120));
    all.push_back(radialResistor());
    all.push_back(axial("R-axial", 315, 110));
    for (int pins = 2; pins <= 10; ++pins)
        all.push_back(header(pins));
    all.push_back(mountingHole());
    return all;
}

std::vector<uint8_t> starterMacroBytes(StarterMacro& macro)
{
    return encodeMacro(macro.objects, true, false, kUnitsPerTenthInch).bytes;
}

} // namespace kestrel
