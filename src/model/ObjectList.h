#pragma once
// The ordered, owning list of a board's objects. Order is drawing order
// within a layer and is kept in files. References between objects
// (Partner, Connections, RouteFrom, RouteTo) never dangle: removing an
// object scrubs it from every other object of the list.

#include "model/LayoutObject.h"

#include <functional>
#include <memory>
#include <vector>

namespace kestrel {

class ObjectList {
public:
    ObjectList() = default;
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;
    ObjectList(ObjectList&&) = default;
    ObjectList& operator=(ObjectList&&) = default;

    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    void reserve(size_t n) { items_.reserve(n); }
    LayoutObject& operator[](size_t i) { return *items_[i]; }
    const LayoutObject& operator[](size_t i) const { return *items_[i]; }
    LayoutObject* at(size_t i) { return items_[i].get(); }
    const LayoutObject* at(size_t i) const { return items_[i].get(); }

    // Appends a record (taking a copy of the value) and returns the stored one.
    LayoutObject& append(LayoutObject o);
    LayoutObject& append(std::unique_ptr<LayoutObject> o);
    LayoutObject& insert(size_t index, LayoutObject o);

    // Position of an object in the list, -1 when it is not in it.
    long indexOf(const LayoutObject* o) const;

    void remove(size_t index);
    // Removes every object for which the predicate holds, in one pass.
    size_t removeIf(const std::function<bool(const LayoutObject&)>& pred);
    void clear();

    // Takes an object out of the list without freeing it; references to it
    // from the remaining objects are scrubbed.
    std::unique_ptr<LayoutObject> take(size_t index);

    // Replaces the whole contents (used when swapping in a snapshot).
    void swap(ObjectList& other) { items_.swap(other.items_); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    void scrubReferences(const std::vector<const LayoutObject*>& gone);

    std::vector<std::unique_ptr<LayoutObject>> items_;
};

// Deletes every zone and track with fewer than 2 points.
size_t removeDegenerate(ObjectList& list);
// Clears partner references that are not mutual or point outside the list,
// and those of two pads that make no via (not one on each side's copper, or
// each side's silk, at one place).
void repairPartners(ObjectList& list);
// 1 + the largest group number in use at any depth, 1 when nothing is grouped.
int32_t nextGroupNumber(const ObjectList& list);

} // namespace kestrel
