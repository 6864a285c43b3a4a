#pragma once
// Little-endian byte buffers for the binary file formats. The reader checks
// every access against the bytes that remain and reports where it failed.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
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

// The Russian name of a part of a file, as the readers name it in English;
// the English name for one not in the table.
inline std::string russianPart(std::string_view english)
{
    static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
        {"a board header", "заголовок платы"},
        {"a board name", "имя платы"},
        {"a connection count", "число соединений"},
        {"connection count", "число соединений"},
        {"a connection index", "номер соединения"},
        {"a group count", "число групп"},
        {"group count", "число групп"},
        {"a group number", "номер группы"},
        {"a label text", "текст надписи"},
        {"a partner index", "номер пары"},
        {"a point count", "число точек"},
        {"point count", "число точек"},
        {"a point", "точка"},
        {"an object count", "число объектов"},
        {"object count", "число объектов"},
        {"the object count", "число объектов"},
        {"an object record", "запись объекта"},
        {"an old object record", "запись объекта"},
        {"board count", "число плат"},
        {"the board count", "число плат"},
        {"the active board index", "номер активной платы"},
        {"the board height", "высота платы"},
        {"the board width", "ширина платы"},
        {"the connection indices", "номера соединений"},
        {"the file header", "заголовок файла"},
        {"the first scanned-copy file name", "имя файла фонового рисунка стороны 1"},
        {"the second scanned-copy file name", "имя файла фонового рисунка стороны 2"},
        {"the group numbers", "номера групп"},
        {"the origin", "начало координат"},
        {"the points", "точки"},
    };
    for (const auto& [en, ru] : kNames)
        if (en == english)
            return std::string(ru);
    return std::string(english);
}

// Collects bytes in memory, or, given a drain, hands them on in chunks of
// about `chunkBytes` as they are produced so that a large image never has
// to exist whole. The drain may take the chunk's buffer and leave another
// in its place.
class ByteWriter {
public:
    using Drain = std::function<void(std::vector<uint8_t>& chunk)>;

    ByteWriter() = default;
    ByteWriter(size_t chunkBytes, Drain drain) : chunk_(chunkBytes), drain_(std::move(drain)) { buf_.reserve(chunk_); }

    void bytes(const void* data, size_t n)
    {
        if (drain_ && buf_.size() + n > chunk_)
            drainBuffer();
        if (n == 0)
            return;
        const size_t at = buf_.size();
        buf_.resize(at + n);
        std::memcpy(buf_.data() + at, data, n);
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
        buf_.resize(buf_.size() + n - len);
    }
    // Overwrites four bytes written earlier (a count known only afterwards);
    // in memory only, never once bytes have been drained.
    void patchI32(size_t at, int32_t v) { std::memcpy(buf_.data() + at, &v, 4); }
    void reserve(size_t n) { buf_.reserve(n); }
    // Bytes produced so far, drained ones included.
    size_t size() const { return drained_ + buf_.size(); }
    // Hands on whatever the buffer still holds.
    void finish()
    {
        if (drain_)
            drainBuffer();
    }
    std::vector<uint8_t> take() { return std::move(buf_); }

private:
    void drainBuffer()
    {
        if (buf_.empty())
            return;
        drained_ += buf_.size();
        drain_(buf_);
        buf_.clear();
        buf_.reserve(chunk_);
    }

    // Grows only by what is written, so no pass zero-fills a buffer ahead.
    std::vector<uint8_t> buf_;
    size_t chunk_ = 0;
    size_t drained_ = 0;
    Drain drain_;
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
            throw FormatError(std::string("the file ends inside ") + what, pos_,
                              "файл обрывается: " + russianPart(what));
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
                              at,
                              russianPart(what) + ": знаков " + std::to_string(p[0]) + ", допустимо не больше " +
                                  std::to_string(n));
        return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
    }
    // A count that announces `count` items of at least `itemSize` bytes each.
    size_t count(int64_t value, size_t itemSize, const char* what) const
    {
        if (value < 0)
            throw FormatError(std::string("negative ") + what + " " + std::to_string(value), pos_ - 4,
                              russianPart(what) + ": отрицательное значение " + std::to_string(value));
        if (itemSize > 0 && static_cast<uint64_t>(value) > remaining() / itemSize)
            throw FormatError(std::string(what) + " " + std::to_string(value) +
                                  " does not fit in the bytes that remain",
                              pos_,
                              russianPart(what) + " " + std::to_string(value) + " не умещается в оставшихся байтах");
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
