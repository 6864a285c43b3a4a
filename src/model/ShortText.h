#pragma once
// A string that costs one pointer in its owner: the length, the bytes and a
// terminating zero share one heap block, and the empty string holds no block.
// Every object carries a label text but only labels fill it, so this keeps
// the 32 bytes of a std::string out of all the others.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kestrel {

class ShortText {
public:
    ShortText() = default;
    ShortText(std::string_view text) { assign(text); }
    ShortText(const std::string& text) : ShortText(std::string_view(text)) {}
    ShortText(const char* text) : ShortText(std::string_view(text)) {}
    ShortText(const ShortText& other) : ShortText(other.view()) {}
    ShortText(ShortText&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    ~ShortText() { release(); }

    ShortText& operator=(const ShortText& other)
    {
        if (this != &other)
            assign(other.view());
        return *this;
    }
    ShortText& operator=(ShortText&& other) noexcept;
    ShortText& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }
    ShortText& operator=(const std::string& text) { return *this = std::string_view(text); }
    ShortText& operator=(const char* text) { return *this = std::string_view(text); }

    size_t size() const { return block_ ? length() : 0; }
    bool empty() const { return block_ == nullptr; }
    const char* data() const { return block_ ? block_ + sizeof(uint32_t) : ""; }
    const char* c_str() const { return data(); }
    std::string_view view() const { return {data(), size()}; }
    std::string str() const { return std::string(view()); }
    operator std::string_view() const { return view(); }
    operator std::string() const { return str(); }

    friend bool operator==(const ShortText& a, const ShortText& b) { return a.view() == b.view(); }
    friend bool operator==(const ShortText& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const ShortText& a, const std::string& b) { return a.view() == b; }
    friend bool operator==(const ShortText& a, const char* b) { return a.view() == b; }
    friend std::ostream& operator<<(std::ostream& out, const ShortText& text);

private:
    uint32_t length() const;
    // Replaces the contents; the text may be this one's own bytes.
    void assign(std::string_view text);
    void release();

    char* block_ = nullptr; // length (4 bytes), the bytes, a zero; nullptr when empty
};

} // namespace kestrel
