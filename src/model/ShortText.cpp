#include "model/ShortText.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <ostream>

namespace kestrel {

ShortText& ShortText::operator=(ShortText&& other) noexcept
{
    if (this != &other) {
        release();
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

uint32_t ShortText::length() const
{
    uint32_t n;
    std::memcpy(&n, block_, sizeof n);
    return n;
}

void ShortText::assign(std::string_view text)
{
    char* fresh = nullptr;
    if (!text.empty()) {
        if (text.size() > UINT32_MAX)
            throw std::bad_alloc();
        const auto n = static_cast<uint32_t>(text.size());
        fresh = static_cast<char*>(std::malloc(sizeof n + text.size() + 1));
        if (!fresh)
            throw std::bad_alloc();
        std::memcpy(fresh, &n, sizeof n);
        std::memcpy(fresh + sizeof n, text.data(), text.size());
        fresh[sizeof n + text.size()] = '\0';
    }
    release();
    block_ = fresh;
}

void ShortText::release()
{
    std::free(block_);
    block_ = nullptr;
}

std::ostream& operator<<(std::ostream& out, const ShortText& text)
{
    return out << text.view();
}

} // namespace kestrel
