#include "edit/Selection.h"

#include "geometry/Geometry.h"
#include "model/LayerSwitches.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

namespace kestrel {

namespace {

void setWithPartner(LayoutObject& o, uint8_t state)
{
    o.Selected = state;
    if (o.Partner)
        o.Partner->Selected = state;
}

std::optional<Rect> unite(std::optional<Rect> sum, const Rect& r)
{
    return sum ? sum->united(r) : r;
}

} // namespace

bool IsPickable(const BoardSettings& view, int layer)
{
    return IsLayerVisible(view, layer) && Layer::isSide1(layer) == Layer::isSide1(static_cast<int>(view.ActiveLayer));
}

bool SelectObject(ObjectList& list, size_t i, bool state)
{
    LayoutObject& o = list[i];
    const uint8_t value = state ? 1 : 0;
    if (o.Selected == value)
        return false;
    setWithPartner(o, value);
    if (const int32_t group = o.outerGroup(); group != -1)
        for (auto& member : list)
            if (member->outerGroup() == group)
                setWithPartner(*member, value);
    return true;
}

void SelectObjects(ObjectList& list, const std::vector<uint32_t>& positions)
{
    std::unordered_set<int32_t> groups;
    for (const uint32_t i : positions) {
        LayoutObject& o = list[i];
        setWithPartner(o, 1);
        if (o.outerGroup() != -1)
            groups.insert(o.outerGroup());
    }
    if (groups.empty())
        return;
    for (auto& o : list)
        if (o->outerGroup() != -1 && groups.count(o->outerGroup()))
            setWithPartner(*o, 1);
}

void DeselectAll(ObjectList& list)
{
    for (auto& o : list)
        o->Selected = 0;
}

void SelectAll(ObjectList& list, const BoardSettings& view)
{
    std::vector<uint32_t> pickable;
    for (size_t i = 0; i < list.size(); ++i)
        if (IsPickable(view, list[i].Layer))
            pickable.push_back(static_cast<uint32_t>(i));
    SelectObjects(list, pickable);
}

size_t SelectedCount(const ObjectList& list)
{
    size_t n = 0;
    for (const auto& o : list)
        n += o->Selected ? 1 : 0;
    return n;
}

std::optional<Rect> SelectionBounds(const ObjectList& list)
{
    std::optional<Rect> bounds;
    for (const auto& o : list)
        if (o->Selected)
            bounds = unite(bounds, BoundingRect(*o));
    return bounds;
}

PixelRect InvalidateObject(const Viewport& viewport, const LayoutObject& o)
{
    return viewport.invalidationRect(o);
}

void SelectedBandPieces(const ObjectList& list, std::vector<Rect>& out)
{
    constexpr int64_t kPiece = 1000;
    for (const auto& o : list) {
        if (!o->Selected || !o->is(ObjectKind::Pad))
            continue;
        for (const LayoutObject* far : o->Connections) {
            const Point a = o->centre(), b = far->centre();
            const int64_t length = std::max(std::abs(int64_t{b.x} - a.x), std::abs(int64_t{b.y} - a.y));
            const int64_t n = std::max<int64_t>(1, (length + kPiece - 1) / kPiece);
            Point from = a;
            for (int64_t k = 1; k <= n; ++k) {
                const Point to{static_cast<int32_t>(a.x + (int64_t{b.x} - a.x) * k / n),
                               static_cast<int32_t>(a.y + (int64_t{b.y} - a.y) * k / n)};
                out.push_back(Rect{from.x, from.y, to.x, to.y}.normalised().grown(kDefaultHalfWidth));
                from = to;
            }
        }
    }
}

} // namespace kestrel
