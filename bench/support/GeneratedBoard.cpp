#include "GeneratedBoard.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace kestrel::bench {

LayoutDocument generateDocument(const BoardRecipe& recipe)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.Working.BoardWidth = recipe.widthUnits;
    doc.Working.BoardHeight = recipe.heightUnits;
    ObjectList& list = *doc.currentObjects();
    std::mt19937 rng(recipe.seed);
    auto uniform = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    auto somewhere = [&] {
        return Point{uniform(200, recipe.widthUnits - 200), uniform(-recipe.heightUnits + 200, -200)};
    };
    auto layerOf = [&](bool copper) { return static_cast<uint8_t>(copper ? (uniform(0, 1) ? 1 : 3) : (uniform(0, 1) ? 2 : 4)); };

    std::vector<LayoutObject*> pads;
    for (size_t v = 0; v < recipe.vias && list.size() + 2 <= recipe.objects; ++v) {
        const Point c = somewhere();
        LayoutObject& a = list.append(makePad(c, 60, 1, 1, 30));
        LayoutObject& b = list.append(makePad(c, 60, 1, 3, 30));
        a.Partner = &b;
        b.Partner = &a;
    }
    int32_t group = 1;
    while (list.size() < recipe.objects) {
        const int kind = uniform(0, 9);
        LayoutObject o;
        if (kind <= 2) {
            o = makePad(somewhere(), uniform(40, 120), static_cast<uint8_t>(uniform(1, 9)), layerOf(true), 30);
        } else if (kind <= 5) {
            o = makeTrack(uniform(20, 80), layerOf(true));
            Point p = somewhere();
            const int n = uniform(10, 50);
            for (int i = 0; i < n; ++i) {
                o.Points.push_back(p);
                p.x = std::clamp(p.x + uniform(-500, 500), 0, recipe.widthUnits);
                p.y = std::clamp(p.y + uniform(-500, 500), -recipe.heightUnits, 0);
            }
        } else if (kind == 6) {
            o = makeZone(uniform(10, 40), layerOf(true));
            const Point c = somewhere();
            const int n = uniform(10, 50);
            for (int i = 0; i < n; ++i) {
                const double a = 2 * 3.14159265358979 * i / n;
                const double r = uniform(200, 800);
                o.Points.push_back({c.x + static_cast<int32_t>(r * std::cos(a)), c.y + static_cast<int32_t>(r * std::sin(a))});
            }
        } else if (kind == 7) {
            o = makeCircle(somewhere(), uniform(100, 600), 1, layerOf(uniform(0, 1)), 0);
            o.Y2 = o.X2 - uniform(10, 60);
            o.Angle = uniform(0, 359);
            o.Width = uniform(0, 359);
            o.Filled = static_cast<uint8_t>(uniform(0, 1));
        } else if (kind == 8) {
            const Point a = somewhere();
            std::string label = "R";
            label += std::to_string(list.size() % 1000);
            o = makeText(a, label, 90 * uniform(0, 3), 150, a.x + 600, a.y + 150, layerOf(false));
        } else {
            o = makeLine(somewhere(), somewhere(), uniform(10, 50), layerOf(uniform(0, 1)));
        }
        o.Clearance = 40;
        if (uniform(0, 19) == 0) {
            o.Groups.push_back(group);
            if (uniform(0, 3) == 0)
                o.Groups.push_back(group + 1);
            if (uniform(0, 5) == 0)
                group += 2;
        }
        LayoutObject& added = list.append(std::move(o));
        if (added.is(ObjectKind::Pad))
            pads.push_back(&added);
    }
    for (size_t b = 0; b < recipe.bands && pads.size() > 1; ++b) {
        LayoutObject* a = pads[static_cast<size_t>(uniform(0, static_cast<int32_t>(pads.size()) - 1))];
        LayoutObject* c = pads[static_cast<size_t>(uniform(0, static_cast<int32_t>(pads.size()) - 1))];
        if (a == c)
            continue;
        a->Connections.push_back(c);
        c->Connections.push_back(a);
    }
    return doc;
}

// 20,000 objects on a 160 x 100 mm board laid out as real nets: 1,000 cells
// of 4 x 4 mm with 20 objects each. In every cell a signal net of pads,
// tracks and a via crosses to layer 3 and ends on a pad of the next cell;
// a small zone with its pad is tied by a layer-3 track to the zone of the
// cell below, so each column of zones forms a 75-object ground net; silk
// labels, lines and rings and a few loose copper objects fill the rest.
LayoutDocument generateNetDocument(int32_t columns)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = *doc.currentObjects();
    constexpr int32_t cell = 400, rows = 25;
    for (int32_t row = 0; row < rows; ++row)
        for (int32_t col = 0; col < columns; ++col) {
            const int32_t x0 = col * cell, y0 = -row * cell;
            auto at = [&](int32_t dx, int32_t dy) { return Point{x0 + dx, y0 - dy}; };
            auto track = [&](std::vector<Point> points, int32_t width, uint8_t layer) {
                LayoutObject t = makeTrack(width, layer);
                t.Points = std::move(points);
                list.append(std::move(t));
            };
            list.append(makePad(at(50, 50), 40, static_cast<uint8_t>(1 + (row + col) % 9), 1, 20));
            track({at(50, 50), at(150, 90), at(250, 90)}, 30, 1);
            list.append(makePad(at(250, 90), 40, 1, 1, 20));
            LayoutObject& v1 = list.append(makePad(at(250, 200), 35, 1, 1, 15));
            LayoutObject& v3 = list.append(makePad(at(250, 200), 35, 1, 3, 15));
            v1.Partner = &v3;
            v3.Partner = &v1;
            track({at(250, 90), at(250, 200)}, 30, 1);
            track({at(250, 200), at(350, 200), at(350, 300)}, 30, 3);
            list.append(makePad(at(350, 300), 40, 1, 3, 20));
            if (col + 1 < columns)
                track({at(350, 300), at(cell + 50, 300)}, 30, 3); // to the next cell's end pad
            else
                track({at(350, 300), at(380, 330)}, 30, 3);
            list.append(makePad(at(50, 300), 40, 1, 3, 20));
            LayoutObject zone = makeZone(10, 3);
            zone.Points = {at(120, 250), at(200, 250), at(200, 350), at(120, 350)};
            list.append(std::move(zone));
            list.append(makePad(at(160, 300), 30, 1, 3, 15));
            track({at(160, 300), at(160, cell + 250)}, 30, 3); // into the zone of the cell below
            const std::string label = std::to_string(col);
            list.append(makeText(at(20, 370), label, 0, 40, x0 + 200, y0 - 330, 2));
            list.append(makeLine(at(0, 10), at(cell, 10), 10, 2));
            list.append(makeCircle(at(200, 200), 60, 1, 4, 50));
            list.append(makeCircle(at(60, 190), 45, 1, 1, 30));
            list.append(makeLine(at(300, 380), at(390, 380), 20, 1));
            list.append(makePad(at(350, 50), 30, 3, 1, 15));
            track({at(350, 50), at(330, 20)}, 20, 1);
        }
    return doc;
}

} // namespace kestrel::bench
