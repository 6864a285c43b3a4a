#pragma once
// Growing text buffer for the export writers. Lines are formatted straight
// into its memory, which matters when a board yields millions of lines.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace kestrel {

class TextBuffer {
public:
    // Room for at least `bytes` more characters; write there, then commit
    // the end of what was written.
    char* room(size_t bytes)
    {
        if (size_ + bytes > capacity_)
            grow(size_ + bytes);
        return data_.get() + size_;
    }
    void commit(const char* end) { size_ = static_cast<size_t>(end - data_.get()); }

    void append(std::string_view text)
    {
        char* p = room(text.size());
        std::memcpy(p, text.data(), text.size());
        commit(p + text.size());
    }
    void appendInt(int64_t v)
    {
        char* p = room(24);
        commit(std::to_chars(p, p + 24, v).ptr);
    }
    void endLine() { append("\r\n"); }

    size_t size() const { return size_; }
    void clear() { size_ = 0; }

    // `prefix` followed by the contents; the buffer is left empty.
    std::string take(std::string_view prefix = {})
    {
        std::string out;
        out.reserve(prefix.size() + size_);
        out += prefix;
        out.append(data_.get(), size_);
        data_.reset();
        size_ = capacity_ = 0;
        return out;
    }

private:
    void grow(size_t needed)
    {
        // Left uninitialised: every byte is written before it is read.
        const size_t capacity = std::max({2 * capacity_, needed, size_t{1} << 16});
        auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
        if (size_)
            std::memcpy(bigger.get(), data_.get(), size_);
        data_ = std::move(bigger);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

// Writes "<lead><x><mid><y><tail>\r\n" in one step.
template <typename Int>
void appendCoordinateLine(TextBuffer& out, std::string_view lead, Int x, std::string_view mid, Int y,
                          std::string_view tail)
{
    char* p = out.room(lead.size() + mid.size() + tail.size() + 2 * 21 + 2);
    p += lead.copy(p, lead.size());
    p = std::to_chars(p, p + 21, x).ptr;
    p += mid.copy(p, mid.size());
    p = std::to_chars(p, p + 21, y).ptr;
    p += tail.copy(p, tail.size());
    *p++ = '\r';
    *p++ = '\n';
    out.commit(p);
}

} // namespace kestrel
