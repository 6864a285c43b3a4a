#include "model/TextCodec.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace kestrel {

namespace {

// Unicode code points of the bytes 0x80..0xFF (the one gap, 0x98, maps to U+0098 so it survives a round trip).
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

const std::unordered_map<uint32_t, char>& reverseTable()
{
    static const std::unordered_map<uint32_t, char> table = [] {
        std::unordered_map<uint32_t, char> t;
        for (size_t i = 0; i < kUpperHalf.size(); ++i)
            if (kUpperHalf[i] != 0xFFFD)
                t[kUpperHalf[i]] = static_cast<char>(0x80 + i);
        return t;
    }();
    return table;
}

} // namespace

std::string cp1251ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        appendUtf8(out, b < 0x80 ? b : kUpperHalf[b - 0x80]);
    }
    return out;
}

std::string utf8ToCp1251(std::string_view utf8, char replacement)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        uint32_t cp = b;
        size_t len = 1;
        if (b >= 0xF0) {
            len = 4;
            cp = b & 0x07;
        } else if (b >= 0xE0) {
            len = 3;
            cp = b & 0x0F;
        } else if (b >= 0xC0) {
            len = 2;
            cp = b & 0x1F;
        }
        // A byte that starts no valid sequence (text in another encoding, a
        // cut sequence) stands for one unknown character; the bytes after it
        // are read again on their own, so no letter is lost with it.
        bool valid = b < 0x80 || (b >= 0xC0 && b < 0xF8 && i + len <= utf8.size());
        for (size_t k = 1; valid && k < len; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += replacement;
            ++i;
            continue;
        }
        i += len;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        const auto& rev = reverseTable();
        auto it = rev.find(cp);
        out += it != rev.end() ? it->second : replacement;
    }
    return out;
}

std::string firstCharacterOutsideCp1251(std::string_view utf8)
{
    for (size_t i = 0; i < utf8.size();) {
        size_t end = i + 1;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            ++end;
        const std::string_view ch = utf8.substr(i, end - i);
        if (utf8ToCp1251(ch, '\0') == std::string(1, '\0'))
            return std::string(ch);
        i = end;
    }
    return {};
}

} // namespace kestrel
