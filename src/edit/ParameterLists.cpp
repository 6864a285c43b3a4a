#include "edit/ParameterLists.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace kestrel {

namespace {

// A decimal number of the whole text, read with a decimal point only.
std::optional<double> readDecimal(const std::string& text)
{
    double v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || text.empty() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Four characters from pos, three when the fourth is a blank.
std::optional<int32_t> diameterAt(const std::string& caption, size_t pos)
{
    if (pos >= caption.size())
        return std::nullopt;
    std::string field = caption.substr(pos, 4);
    if (field.size() == 4 && field[3] == ' ')
        field.pop_back();
    const auto mm = readDecimal(field);
    if (!mm || *mm < 0 || *mm > 99.9)
        return std::nullopt;
    return static_cast<int32_t>(std::lround(*mm * 100));
}

bool padSizeBefore(const PadSize& a, const PadSize& b)
{
    return a.outer < b.outer || (a.outer == b.outer && a.inner < b.inner);
}

} // namespace

bool ValidListTag(int32_t tag)
{
    return tag >= kMinListTag && tag <= kMaxListTag;
}

bool InsertTagged(std::vector<TaggedEntry>& list, TaggedEntry entry)
{
    if (!ValidListTag(entry.tag) || list.size() >= kMaxListEntries)
        return false;
    const auto at = std::find_if(list.begin(), list.end(), [&](const TaggedEntry& e) { return e.tag > entry.tag; });
    list.insert(at, std::move(entry));
    return true;
}

long FindTagged(const std::vector<TaggedEntry>& list, int32_t tag)
{
    const auto it = std::find_if(list.begin(), list.end(), [&](const TaggedEntry& e) { return e.tag == tag; });
    return it == list.end() ? -1 : static_cast<long>(it - list.begin());
}

bool CanAddTagged(const std::vector<TaggedEntry>& list, int32_t tag)
{
    return ValidListTag(tag) && list.size() < kMaxListEntries && FindTagged(list, tag) < 0;
}

bool RemoveTagged(std::vector<TaggedEntry>& list, int32_t tag)
{
    const long i = FindTagged(list, tag);
    if (i >= 0)
        list.erase(list.begin() + i);
    return i >= 0;
}

std::string PadSizeCaption(int32_t outerDiameter, int32_t innerDiameter, const char* unit)
{
    // Tenths of a millimetre, rounded as the panel's one decimal shows them.
    const int32_t outer = (std::max(outerDiameter, 0) + 5) / 10, inner = (std::max(innerDiameter, 0) + 5) / 10;
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d x %d.%d %s", outer / 10, outer % 10, inner / 10, inner % 10, unit);
    return text;
}

std::optional<PadSize> ReadPadSizeCaption(const std::string& caption)
{
    std::string plain;
    for (char c : caption)
        if (c != '&')
            plain += c;
    const size_t x = plain.find('x');
    if (x == std::string::npos)
        return std::nullopt;
    const auto outer = diameterAt(plain, 0);
    const auto inner = diameterAt(plain, x + 2);
    // No pad's hole is larger than the pad.
    if (!outer || !inner || *outer == 0 || *inner > *outer)
        return std::nullopt;
    return PadSize{*outer, *inner};
}

bool InsertPadSize(std::vector<std::string>& list, const std::string& caption)
{
    if (!CanInsertPadSize(list, caption))
        return false;
    const auto size = ReadPadSizeCaption(caption);
    const auto at = std::find_if(list.begin(), list.end(), [&](const std::string& e) {
        const auto other = ReadPadSizeCaption(e);
        return !other || padSizeBefore(*size, *other);
    });
    list.insert(at, caption);
    return true;
}

bool CanInsertPadSize(const std::vector<std::string>& list, const std::string& caption)
{
    const auto size = ReadPadSizeCaption(caption);
    return size && list.size() < kMaxListEntries &&
           std::none_of(list.begin(), list.end(), [&](const std::string& e) { return ReadPadSizeCaption(e) == size; });
}

long FindPadSize(const std::vector<std::string>& list, int32_t outerRadius, int32_t innerRadius)
{
    for (size_t i = 0; i < list.size(); ++i) {
        const auto size = ReadPadSizeCaption(list[i]);
        if (size && size->outer / 2 == outerRadius && size->inner / 2 == innerRadius)
            return static_cast<long>(i);
    }
    return -1;
}

bool RemovePadSize(std::vector<std::string>& list, int32_t outerRadius, int32_t innerRadius)
{
    const long i = FindPadSize(list, outerRadius, innerRadius);
    if (i >= 0)
        list.erase(list.begin() + i);
    return i >= 0;
}

std::vector<TaggedEntry> SanitizedTaggedList(const std::vector<TaggedEntry>& read)
{
    std::vector<TaggedEntry> out;
    for (const TaggedEntry& e : read)
        if (FindTagged(out, e.tag) < 0)
            InsertTagged(out, e);
    return out;
}

std::vector<std::string> SanitizedPadSizes(const std::vector<std::string>& read)
{
    std::vector<std::string> out;
    for (const std::string& caption : read) {
        const auto size = ReadPadSizeCaption(caption);
        if (size && FindPadSize(out, size->outer / 2, size->inner / 2) < 0)
            InsertPadSize(out, caption);
    }
    return out;
}

} // namespace kestrel
