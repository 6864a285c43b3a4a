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

} // namespace kestrel::bench
