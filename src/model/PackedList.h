#pragma once
// A list of plain values that costs one pointer in its owner: size, capacity
// and elements share one heap block, and an empty list holds no block at
// all. Boards hold hundreds of thousands of objects, most with one short or
// empty list each, so the 24 bytes of a std::vector add up. The interface is
// the part of std::vector the board code uses; iterators are plain pointers.
// Copies are deep, moves take the block.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace kestrel {

template <typename T>
class PackedList {
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved with memcpy and realloc");
    static_assert(alignof(T) <= 8, "elements follow an 8-byte header");

public:
    using value_type = T;
    using size_type = size_t;
    using iterator = T*;
    using const_iterator = const T*;
    using reverse_iterator = std::reverse_iterator<T*>;
    using const_reverse_iterator = std::reverse_iterator<const T*>;

    PackedList() = default;
    PackedList(std::initializer_list<T> values) { assign(values.begin(), values.end()); }
    PackedList(const std::vector<T>& values) { assign(values.begin(), values.end()); }
    template <std::forward_iterator It>
    PackedList(It first, It last) { assign(first, last); }
    PackedList(const PackedList& other) { assign(other.begin(), other.end()); }
    PackedList(PackedList&& other) noexcept : items_(std::exchange(other.items_, nullptr)) {}
    ~PackedList() { release(); }

    PackedList& operator=(const PackedList& other)
    {
        if (this != &other)
            assign(other.begin(), other.end());
        return *this;
    }
    PackedList& operator=(PackedList&& other) noexcept
    {
        if (this != &other) {
            release();
            items_ = std::exchange(other.items_, nullptr);
        }
        return *this;
    }
    PackedList& operator=(const std::vector<T>& values)
    {
        assign(values.begin(), values.end());
        return *this;
    }
    PackedList& operator=(std::initializer_list<T> values)
    {
        assign(values.begin(), values.end());
        return *this;
    }

    size_t size() const { return items_ ? header()->size : 0; }
    size_t capacity() const { return items_ ? header()->capacity : 0; }
    bool empty() const { return size() == 0; }

    T* data() { return items_; }
    const T* data() const { return items_; }
    T* begin() { return items_; }
    T* end() { return items_ + size(); }
    const T* begin() const { return items_; }
    const T* end() const { return items_ + size(); }
    reverse_iterator rbegin() { return reverse_iterator(end()); }
    reverse_iterator rend() { return reverse_iterator(begin()); }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

    T& operator[](size_t i) { return items_[i]; }
    const T& operator[](size_t i) const { return items_[i]; }
    T& front() { return items_[0]; }
    const T& front() const { return items_[0]; }
    T& back() { return items_[size() - 1]; }
    const T& back() const { return items_[size() - 1]; }

    void push_back(const T& value)
    {
        const T copy = value; // value may live in this list's block
        grow(size() + 1);
        items_[header()->size++] = copy;
    }
    template <typename... Args>
    T& emplace_back(Args&&... args)
    {
        push_back(T{std::forward<Args>(args)...});
        return back();
    }
    void pop_back() { --header()->size; }

    T* insert(const T* pos, const T& value)
    {
        const T copy = value;
        T* at = openGap(pos, 1);
        *at = copy;
        return at;
    }
    template <std::forward_iterator It>
    T* insert(const T* pos, It first, It last)
    {
        // The source may be this list: take a copy before the block moves.
        const std::vector<T> values(first, last);
        T* at = openGap(pos, values.size());
        if (!values.empty())
            std::memcpy(at, values.data(), values.size() * sizeof(T));
        return at;
    }
    T* insert(const T* pos, std::initializer_list<T> values) { return insert(pos, values.begin(), values.end()); }

    T* erase(const T* pos) { return erase(pos, pos + 1); }
    T* erase(const T* first, const T* last)
    {
        T* at = begin() + (first - begin());
        const size_t removed = static_cast<size_t>(last - first);
        if (removed > 0) {
            std::memmove(at, last, static_cast<size_t>(end() - last) * sizeof(T));
            header()->size -= static_cast<uint32_t>(removed);
        }
        return at;
    }

    void clear()
    {
        if (items_)
            header()->size = 0;
    }
    void reserve(size_t n)
    {
        if (n > capacity())
            reallocate(n);
    }
    void resize(size_t n) { resize(n, T{}); }
    void resize(size_t n, const T& value)
    {
        const size_t old = size();
        if (n > old) {
            const T copy = value;
            reserve(n);
            std::fill(items_ + old, items_ + n, copy);
        }
        if (items_)
            header()->size = static_cast<uint32_t>(n);
    }

    // Builds the new contents in a fresh block, so the source may be this
    // list itself.
    template <std::forward_iterator It>
    void assign(It first, It last)
    {
        const auto n = static_cast<size_t>(std::distance(first, last));
        if (n == 0) {
            clear();
            return;
        }
        PackedList fresh;
        fresh.reallocate(n);
        std::copy(first, last, fresh.items_);
        fresh.header()->size = static_cast<uint32_t>(n);
        std::swap(items_, fresh.items_);
    }
    void assign(std::initializer_list<T> values) { assign(values.begin(), values.end()); }

    friend bool operator==(const PackedList& a, const PackedList& b)
    {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const PackedList& a, const std::vector<T>& b)
    {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    struct Header {
        uint32_t size;
        uint32_t capacity;
    };
    static_assert(sizeof(Header) == 8);

    Header* header() const { return reinterpret_cast<Header*>(items_) - 1; }

    // Room for at least n elements; amortised doubling like std::vector.
    void grow(size_t n)
    {
        if (n > capacity())
            reallocate(std::max(n, 2 * capacity()));
    }

    T* openGap(const T* pos, size_t count)
    {
        const size_t index = static_cast<size_t>(pos - begin());
        grow(size() + count);
        T* at = items_ + index;
        if (count > 0) {
            std::memmove(at + count, at, (size() - index) * sizeof(T));
            header()->size += static_cast<uint32_t>(count);
        }
        return at;
    }

    void reallocate(size_t capacity)
    {
        if (capacity == 0)
            return;
        if (capacity > UINT32_MAX)
            throw std::bad_alloc();
        const size_t oldSize = size();
        void* block = std::realloc(items_ ? header() : nullptr, sizeof(Header) + capacity * sizeof(T));
        if (!block)
            throw std::bad_alloc();
        auto* h = static_cast<Header*>(block);
        h->size = static_cast<uint32_t>(oldSize);
        h->capacity = static_cast<uint32_t>(capacity);
        items_ = reinterpret_cast<T*>(h + 1);
    }

    void release()
    {
        if (items_)
            std::free(header());
        items_ = nullptr;
    }

    T* items_ = nullptr; // just past the header, nullptr before the first element
};

// The std::erase and std::erase_if of std::vector.
template <typename T, typename U>
size_t erase(PackedList<T>& list, const U& value)
{
    T* kept = std::remove(list.begin(), list.end(), value);
    const auto removed = static_cast<size_t>(list.end() - kept);
    list.erase(kept, list.end());
    return removed;
}

template <typename T, typename Pred>
size_t erase_if(PackedList<T>& list, Pred pred)
{
    T* kept = std::remove_if(list.begin(), list.end(), pred);
    const auto removed = static_cast<size_t>(list.end() - kept);
    list.erase(kept, list.end());
    return removed;
}

} // namespace kestrel
