#include "model/ObjectList.h"

#include <algorithm>
#include <unordered_set>

namespace kestrel {

LayoutObject& ObjectList::append(LayoutObject o)
{
    return append(std::make_unique<LayoutObject>(std::move(o)));
}

LayoutObject& ObjectList::append(std::unique_ptr<LayoutObject> o)
{
    items_.push_back(std::move(o));
    return *items_.back();
}

LayoutObject& ObjectList::insert(size_t index, LayoutObject o)
{
    auto it = items_.insert(items_.begin() + static_cast<long>(std::min(index, items_.size())),
                            std::make_unique<LayoutObject>(std::move(o)));
    return **it;
}

long ObjectList::indexOf(const LayoutObject* o) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == o)
            return static_cast<long>(i);
    return -1;
}

void ObjectList::scrubReferences(const std::vector<const LayoutObject*>& gone)
{
    if (gone.empty())
        return;
    auto isGone = [&](const LayoutObject* p) {
        return p && std::find(gone.begin(), gone.end(), p) != gone.end();
    };
    std::unordered_set<const LayoutObject*> goneSet;
    const bool useSet = gone.size() > 8;
    if (useSet)
        goneSet.insert(gone.begin(), gone.end());
    auto dead = [&](const LayoutObject* p) { return p && (useSet ? goneSet.count(p) > 0 : isGone(p)); };

    for (auto& item : items_) {
        LayoutObject& o = *item;
        if (dead(o.Partner))
            o.Partner = nullptr;
        if (dead(o.RouteFrom))
            o.RouteFrom = nullptr;
        if (dead(o.RouteTo))
            o.RouteTo = nullptr;
        if (!o.Connections.empty())
            erase_if(o.Connections, dead);
    }
}

std::unique_ptr<LayoutObject> ObjectList::take(size_t index)
{
    std::unique_ptr<LayoutObject> o = std::move(items_[index]);
    items_.erase(items_.begin() + static_cast<long>(index));
    scrubReferences({o.get()});
    return o;
}

void ObjectList::remove(size_t index)
{
    take(index);
}

size_t ObjectList::removeIf(const std::function<bool(const LayoutObject&)>& pred)
{
    // Most calls remove nothing: look for the first match before moving anything.
    size_t first = 0;
    while (first < items_.size() && !pred(*items_[first]))
        ++first;
    if (first == items_.size())
        return 0;
    std::vector<std::unique_ptr<LayoutObject>> removed;
    std::vector<std::unique_ptr<LayoutObject>> kept;
    kept.reserve(items_.size());
    for (size_t i = 0; i < first; ++i)
        kept.push_back(std::move(items_[i]));
    removed.push_back(std::move(items_[first]));
    for (size_t i = first + 1; i < items_.size(); ++i)
        (pred(*items_[i]) ? removed : kept).push_back(std::move(items_[i]));
    items_ = std::move(kept);
    std::vector<const LayoutObject*> gone;
    gone.reserve(removed.size());
    for (auto& r : removed)
        gone.push_back(r.get());
    scrubReferences(gone);
    return removed.size();
}

void ObjectList::clear()
{
    items_.clear();
}

size_t removeDegenerate(ObjectList& list)
{
    return list.removeIf([](const LayoutObject& o) { return o.hasPoints() && o.Points.size() < 2; });
}

void repairPartners(ObjectList& list)
{
    // Only the objects some pad names need looking up.
    std::unordered_set<const LayoutObject*> named, members;
    for (const auto& o : list)
        if (o->Partner)
            named.insert(o->Partner);
    if (!named.empty())
        for (const auto& o : list)
            if (named.count(o.get()))
                members.insert(o.get());
    for (auto& item : list) {
        LayoutObject& o = *item;
        if (!o.is(ObjectKind::Pad)) {
            o.Partner = nullptr;
            continue;
        }
        if (!o.Partner)
            continue;
        if (!members.count(o.Partner)) {
            o.Partner = nullptr;
        } else if (o.Partner->Partner != &o) {
            // Only the one-sided link goes; the pad it names may still form
            // a sound via with another pad.
            o.Partner = nullptr;
        } else if (LayoutObject& p = *o.Partner; !p.is(ObjectKind::Pad) || p.centre() != o.centre() ||
                                                  p.Layer != Layer::partnerLayer(o.Layer) ||
                                                  o.Layer != Layer::partnerLayer(p.Layer)) {
            // A via is a pad on each side's copper (or, as the via tool
            // makes them on silk, each side's silk) at one place: two pads
            // linked otherwise are two pads, each drilled and joined as such.
            o.Partner = p.Partner = nullptr;
        }
    }
}

int32_t nextGroupNumber(const ObjectList& list)
{
    // Every number counts, not only the outermost: an inner number above
    // its outer one (old files numbered past 32767 from -32768 on) would
    // otherwise be issued again, and a new group would merge with it.
    int32_t best = 0;
    bool any = false;
    for (const auto& o : list) {
        for (const int32_t g : o->Groups) {
            best = any ? std::max(best, g) : g;
            any = true;
        }
    }
    return any ? best + 1 : 1;
}

} // namespace kestrel
