// Writes the demo document: a two-sided 555 blinker board that uses every
// object kind and pad shape, vias, rubber bands, groups, labels and a ground
// plane on side 2, plus a small second board with a ground plane on side 1.
//
//   make_demo [output.kbd]     (default: examples/demo.kbd of the source tree)

#include "model/LayoutFile.h"
#include "model/Units.h"
#include "view/gui/LabelPainter.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace kestrel {
namespace {

constexpr int32_t kGrid = kUnitsPerTenthInch;
constexpr int32_t kClearance = 40;

// Places objects on one board; coordinates are board units with y up, so
// points on the board have y <= 0.
class BoardBuilder {
public:
    explicit BoardBuilder(Board& board) : list_(board.Objects) {}

    LayoutObject& pad(const std::string& name, Point at, int32_t outer, uint8_t shape, int32_t hole = 40,
                      uint8_t layer = Layer::K1)
    {
        LayoutObject& p = add(makePad(at, outer, shape, layer, hole));
        pads_[name] = &p;
        return p;
    }

    // Two pads on both copper layers that point at each other.
    LayoutObject& via(const std::string& name, Point at, int32_t outer = 70, int32_t hole = 30)
    {
        LayoutObject& top = pad(name, at, outer, 1, hole, Layer::K1);
        LayoutObject& bottom = add(makePad(at, outer, 1, Layer::K2, hole));
        top.Partner = &bottom;
        bottom.Partner = &top;
        return top;
    }

    LayoutObject& track(std::initializer_list<Point> points, int32_t width, uint8_t layer = Layer::K1)
    {
        LayoutObject& t = add(makeTrack(width, layer));
        t.Points.assign(points);
        return t;
    }

    LayoutObject& zone(std::initializer_list<Point> outline, int32_t width, uint8_t layer)
    {
        LayoutObject& z = add(makeZone(width, layer));
        z.Points.assign(outline);
        z.Points.push_back(*outline.begin());
        return z;
    }

    LayoutObject& line(Point from, Point to, int32_t width = 25, uint8_t layer = Layer::B1)
    {
        return add(makeLine(from, to, width, layer));
    }

    LayoutObject& box(Point topLeft, Point bottomRight, uint8_t layer = Layer::B1)
    {
        const Point tr{bottomRight.x, topLeft.y}, bl{topLeft.x, bottomRight.y};
        line(topLeft, tr, 25, layer);
        line(tr, bottomRight, 25, layer);
        line(bottomRight, bl, 25, layer);
        return line(bl, topLeft, 25, layer);
    }

    // A ring, an arc (start != stop) or a filled sector.
    LayoutObject& circle(Point centre, int32_t outer, int32_t inner, uint8_t layer, int32_t startDeg = 0,
                         int32_t stopDeg = 0, bool filled = false)
    {
        LayoutObject& c = add(makeCircle(centre, outer, 1, layer, inner));
        c.Angle = startDeg;
        c.Width = stopDeg;
        c.Filled = filled ? 1 : 0;
        return c;
    }

    // A label of the given height in millimetres, as the label tool makes it:
    // the font height is the negative pixel height at 96 dpi, the far corner
    // is the extent of the text followed by one blank, turned with the text.
    LayoutObject& label(const std::string& text, Point anchor, double heightMm, uint8_t layer = Layer::B1,
                        int32_t angle = 0)
    {
        const int32_t fontHeight = -static_cast<int32_t>(std::lround(96.0 * heightMm * kUnitsPerMm / 72.0));
        const Point e = labelExtent(text, fontHeight, angle);
        const Point far{anchor.x + e.x, anchor.y + e.y};
        return add(makeText(anchor, text, angle, fontHeight, far.x, far.y, layer));
    }

    void band(const std::string& a, const std::string& b)
    {
        LayoutObject& pa = *pads_.at(a);
        LayoutObject& pb = *pads_.at(b);
        pa.Connections.push_back(&pb);
        pb.Connections.push_back(&pa);
    }

    Point at(const std::string& padName) const
    {
        const LayoutObject& p = *pads_.at(padName);
        return {p.X1, p.Y1};
    }

    // Everything added since the mark joins one new group.
    size_t mark() const { return list_.size(); }
    void groupFrom(size_t first)
    {
        const int32_t g = nextGroupNumber(list_);
        for (size_t i = first; i < list_.size(); ++i)
            list_[i].Groups.push_back(g);
    }

private:
    LayoutObject& add(LayoutObject o)
    {
        o.Clearance = kClearance;
        return list_.append(std::move(o));
    }

    ObjectList& list_;
    std::map<std::string, LayoutObject*> pads_;
};

Point g(double gx, double gy)
{
    return {static_cast<int32_t>(std::lround(gx * kGrid)), -static_cast<int32_t>(std::lround(gy * kGrid))};
}

void buildBlinker(Board& board)
{
    board.Name = "Blinker 555";
    BoardSettings& s = board.Settings;
    s.BoardWidth = 10000;
    s.BoardHeight = 6500;
    s.Zoom = 0.095;
    s.LayerVisible = {1, 1, 1, 1};
    // The plane on the side of the pads: each drilled hole then has copper
    // of its own in the plane's layer, so a plated board shorts nothing.
    s.GroundPlane1 = 1;
    BoardBuilder b(board);

    // Mounting holes: plain drilled holes (hole as large as the pad) with a
    // copper ring on side 1 around each.
    for (Point corner : {g(1.6, 1.6), g(37.8, 1.6), g(1.6, 24), g(37.8, 24)}) {
        b.circle(corner, 260, 200, Layer::K1);
        b.pad("hole" + std::to_string(corner.x) + std::to_string(corner.y), corner, 160, 1, 160);
    }

    // J1: supply connector, two horizontal rectangles.
    const size_t j1 = b.mark();
    b.pad("J1.1", g(4, 9), 75, 6);
    b.pad("J1.2", g(4, 10), 75, 6);
    b.box(g(2.8, 8.2), g(5.2, 10.8));
    b.label("J1", g(2.8, 6.9), 1.5);
    b.label("+5V", g(1.2, 11.2), 1.2);
    b.groupFrom(j1);

    // IC1: NE555 in DIP-8, pin 1 square, the others octagonal.
    const size_t ic = b.mark();
    for (int pin = 1; pin <= 4; ++pin)
        b.pad("IC1." + std::to_string(pin), g(13 + pin, 12), 65, pin == 1 ? 3 : 2, 35);
    for (int pin = 5; pin <= 8; ++pin)
        b.pad("IC1." + std::to_string(pin), g(18 - (pin - 4), 9), 65, 2, 35);
    b.track({g(13.3, 10.2), g(13.3, 9.6), g(17.7, 9.6), g(17.7, 11.4), g(13.3, 11.4), g(13.3, 10.8)}, 25,
            Layer::B1);
    b.circle(g(13.3, 10.5), 90, 65, Layer::B1, 270, 90);
    b.label("IC1", g(12.4, 7.6), 1.5);
    b.groupFrom(ic);

    // Timing network.
    b.pad("R1.1", g(11, 5), 75, 7);
    b.pad("R1.2", g(15, 5), 75, 7);
    b.box(g(11.8, 4.6), g(14.2, 5.4));
    b.label("R1", g(12.4, 3.3), 1.5);
    b.pad("R2.1", g(20, 5), 75, 8);
    b.pad("R2.2", g(20, 8), 75, 8);
    b.box(g(19.6, 5.8), g(20.4, 7.2));
    b.label("R2", g(20.8, 7.2), 1.5, Layer::B1, 90);
    b.pad("C1.+", g(22, 14), 70, 9);
    b.pad("C1.-", g(22, 16), 70, 1);
    b.circle(g(22, 15), 330, 315, Layer::B1);
    b.circle(g(22, 15), 150, 0, Layer::B1, 180, 360, true); // the minus side, filled
    b.label("C1", g(23.6, 13.4), 1.5);
    b.label("10u", g(23.6, 15.6), 1.2);
    b.pad("C2.1", g(10, 14), 70, 1);
    b.pad("C2.2", g(10, 16), 70, 1);
    b.box(g(9.4, 13.4), g(10.6, 16.6));
    b.label("C2", g(7.4, 14.4), 1.5);

    // Output stage: base resistor, transistor and LED, grouped as a whole
    // around the transistor's and the LED's own groups.
    const size_t stage = b.mark();
    b.pad("R3.1", g(26, 10), 75, 4);
    b.pad("R3.2", g(30, 10), 75, 4);
    b.box(g(26.8, 9.6), g(29.2, 10.4));
    b.label("R3", g(27.3, 8.3), 1.5);
    const size_t q1 = b.mark();
    b.pad("Q1.C", g(30, 14), 60, 5);
    b.pad("Q1.B", g(30, 15), 60, 5);
    b.pad("Q1.E", g(30, 16), 60, 5);
    b.circle(g(30, 15), 330, 315, Layer::B1, 290, 70);
    b.line(g(28.9, 13.6), g(28.9, 16.4));
    b.label("Q1", g(31.6, 14.4), 1.5);
    b.groupFrom(q1);
    const size_t d1 = b.mark();
    b.pad("D1.A", g(34, 6), 80, 1);
    b.pad("D1.K", g(35, 6), 80, 3);
    b.circle(g(34.5, 6), 300, 285, Layer::B1, 30, 330);
    b.label("D1", g(33.8, 3.8), 1.5);
    b.groupFrom(d1);
    b.groupFrom(stage);

    // Side 1 copper.
    b.zone({g(5.7, 4.5), g(7.3, 4.5), g(7.3, 7), g(6.5, 7.8), g(5.7, 7)}, 20, Layer::K1);
    b.track({b.at("J1.1"), g(6.5, 9), b.at("IC1.8")}, 80);
    b.track({g(6.5, 9), g(6.5, 2.5), g(34, 2.5), b.at("D1.A")}, 80);
    b.track({g(11, 2.5), b.at("R1.1")}, 60);
    b.track({b.at("IC1.7"), b.at("R1.2")}, 40);
    b.track({b.at("R1.2"), b.at("R2.1")}, 40);
    b.track({b.at("IC1.6"), g(16, 8), b.at("R2.2")}, 40);
    b.track({b.at("IC1.2"), g(15, 11), g(16, 10), b.at("IC1.6")}, 40);
    b.track({b.at("R2.2"), g(20, 13), g(22, 13), b.at("C1.+")}, 40);
    b.track({b.at("C2.1"), g(10, 9)}, 60);
    b.track({b.at("J1.2"), g(5.5, 10), g(5.5, 12), g(7, 12)}, 80);
    b.track({b.at("IC1.1"), g(14, 17), g(27, 17), g(28, 18)}, 60);
    b.track({b.at("C2.2"), g(10, 17), g(14, 17)}, 60);
    b.track({g(22, 17), b.at("C1.-")}, 60);
    b.track({g(28, 18), g(30, 18), b.at("Q1.E")}, 80);

    // Side 2 carries the ground return, the output and the reset line, each
    // reaching side 1 through a via.
    b.via("V1", g(7, 12));
    b.via("V2", g(28, 18));
    b.track({g(7, 12), g(7, 18), g(28, 18)}, 100, Layer::K2);
    b.via("V3", g(16, 13.3));
    b.via("V4", g(24.5, 11));
    b.track({b.at("IC1.3"), g(16, 13.3)}, 40);
    b.track({g(16, 13.3), g(24.5, 13.3), g(24.5, 11)}, 40, Layer::K2);
    b.track({g(24.5, 11), g(25, 10.5), b.at("R3.1")}, 40);
    b.via("V5", g(18, 11));
    b.via("V6", g(12.5, 10));
    b.track({b.at("IC1.4"), g(18, 11)}, 40);
    b.track({g(18, 11), g(13.5, 11), g(12.5, 10)}, 60, Layer::K2);
    b.track({g(12.5, 10), g(12.5, 9)}, 60);
    b.zone({g(32.5, 18), g(36.5, 18), g(36.5, 21.5), g(32.5, 21.5)}, 20, Layer::K2);

    // Not routed yet: rubber bands.
    b.band("R3.2", "Q1.B");
    b.band("Q1.C", "D1.K");

    // Titles: silk on both sides, copper text on side 1, a silk logo area.
    b.label("KESTREL DEMO", g(2.6, 20.4), 3.0);
    b.label("555 blinker", g(2.6, 22.2), 1.8);
    b.label("REV A", g(30, 21.4), 1.5, Layer::K1);
    b.label("BOTTOM", g(30, 23.2), 1.5, Layer::B2);
    b.zone({g(28, 19.6), g(29.2, 20.6), g(28, 21.6)}, 10, Layer::B1);
}

void buildLedBar(Board& board)
{
    board.Name = "LED bar";
    BoardSettings& s = board.Settings;
    s.BoardWidth = 5000;
    s.BoardHeight = 2500;
    s.Zoom = 0.18;
    s.GroundPlane1 = 1;
    BoardBuilder b(board);
    b.pad("P.1", g(2, 3), 75, 6);
    b.pad("P.2", g(2, 4), 75, 6);
    b.label("LED BAR", g(1, 1), 1.5);
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i);
        b.pad("A" + n, g(6 + 4 * i, 3), 80, 1);
        b.pad("K" + n, g(6 + 4 * i, 5), 80, 3);
        b.circle(g(6 + 4 * i, 4), 330, 315, Layer::B1, 120, 60);
        b.track({b.at("P.1"), g(6 + 4 * i, 3)}, 80);
        b.track({b.at("K" + n), g(6 + 4 * i, 7)}, 80);
    }
    b.track({b.at("P.2"), g(2, 7), g(18, 7)}, 80);
}

} // namespace
} // namespace kestrel

int main(int argc, char** argv)
{
    // Fonts need a GUI application; no window is ever shown.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const std::string out = argc > 1 ? argv[1] : std::string(KESTREL_SOURCE_DIR) + "/examples/demo.kbd";

    using namespace kestrel;
    LayoutDocument doc;
    for (auto build : {buildBlinker, buildLedBar}) {
        auto board = std::make_unique<Board>();
        build(*board);
        doc.appendBoard(std::move(board));
    }
    doc.activate(0);
    const Status written = writeDocument(doc, out, false, Language::English);
    if (!written) {
        std::fprintf(stderr, "%s\n", written.message().c_str());
        return 1;
    }
    std::printf("%s: %zu boards\n", out.c_str(), doc.boardCount());
    return 0;
}
