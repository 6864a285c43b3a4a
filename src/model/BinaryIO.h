#pragma once
// Little-endian byte buffers for the binary file formats. The reader checks
// every access against the bytes that remain and reports where it failed.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrel {

static_assert(std::endian::native == std::endian::little, "the file formats are little-endian");

// What is wrong, in English and, where given, in Russian, and where.
struct FormatError : std::runtime_error {
    FormatError(const std::string& what, size_t offset, std::string russian = {})
        : std::runtime_error(what), offset(offset), russian(std::move(russian)) {}
    std::string detail(bool inRussian) const { return inRussian && !russian.empty() ? russian : what(); }
    size_t offset;
    std::string russian;
};

class ByteWriter {
public:
    void bytes(const void* data, size_t n)
    {
        if (n == 0)
            return;
        grow(n);
        std::memcpy(buf_.data() + size_, data, n);
        size_ += n;
    }
    void u8(uint8_t v) { bytes(&v, 1); }
    void i32(int32_t v) { bytes(&v, 4); }
    void u32(uint32_t v) { bytes(&v, 4); }
    // A string[N] field: length byte, the characters, zero fill to N.
    void shortString(std::string_view s, size_t n)
    {
        const size_t len = std::min(s.size(), n);
        u8(static_cast<uint8_t>(len));
        bytes(s.data(), len);
        grow(n - len);
        std::memset(buf_.data() + size_, 0, n - len);
        size_ += n - len;
    }
    // Overwrites four bytes written earlier (a count known only afterwards).
    void patchI32(size_t at, int32_t v) { std::memcpy(buf_.data() + at, &v, 4); }
    void reserve(size_t n) { grow(n > size_ ? n - size_ : 0); }
    size_t size() const { return size_; }
    std::vector<uint8_t> take()
    {
        buf_.resize(size_);
        size_ = 0;
        return std::move(buf_);
    }

private:
    // The buffer grows geometrically; only its first size_ bytes are content.
    void grow(size_t n)
    {
        if (size_ + n > buf_.size())
            buf_.resize(std::max(size_ + n, buf_.size() * 2));
    }

    std::vector<uint8_t> buf_;
    size_t size_ = 0;
};

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t offset() const { return pos_; }
    size_t remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ == size_; }

    void need(size_t n, const char* what) const
    {
        if (n > remaining())
            throw FormatError(std::string("the file ends inside ") + what, pos_);
    }
    const uint8_t* take(size_t n, const char* what)
    {
        need(n, what);
        const uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    uint8_t u8(const char* what) { return *take(1, what); }
    int16_t i16(const char* what) { return get<int16_t>(what); }
    uint16_t u16(const char* what) { return get<uint16_t>(what); }
    int32_t i32(const char* what) { return get<int32_t>(what); }
    uint32_t u32(const char* what) { return get<uint32_t>(what); }
    double f64(const char* what) { return get<double>(what); }

    // A string[N] field. A length byte above N is an inconsistency.
    std::string shortString(size_t n, const char* what)
    {
        const size_t at = pos_;
        const uint8_t* p = take(n + 1, what);
        if (p[0] > n)
            throw FormatError(std::string(what) + " claims " + std::to_string(p[0]) +
                                  " characters, more than its " + std::to_string(n),
                              at);
        return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
    }
    // A count that announces `count` items of at least `itemSize` bytes each.
    size_t count(int64_t value, size_t itemSize, const char* what) const
    {
        if (value < 0)
            throw FormatError(std::string("negative ") + what + " " + std::to_string(value), pos_ - 4);
        if (itemSize > 0 && static_cast<uint64_t>(value) > remaining() / itemSize)
            throw FormatError(std::string(what) + " " + std::to_string(value) +
                                  " does not fit in the bytes that remain",
                              pos_);
        return static_cast<size_t>(value);
    }

private:
    template <typename T>
    T get(const char* what)
    {
        T v;
        std::memcpy(&v, take(sizeof(T), what), sizeof(T));
        return v;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

} // namespace kestrel
