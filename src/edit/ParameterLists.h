#pragma once
// The user's entries of the three parameter-list menus (track widths, pad
// diameter pairs, grids) without their menus: the sorted insertion, the
// removal, the entry the current value matches, and the checks every entry
// read from the settings file passes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

// A width or grid entry: its value in units and its caption.
struct TaggedEntry {
    int32_t tag = 0;
    std::string caption;
    bool operator==(const TaggedEntry&) const = default;
};

// A pad size entry's diameters in units.
struct PadSize {
    int32_t outer = 0;
    int32_t inner = 0;
    bool operator==(const PadSize&) const = default;
};

// No list grows beyond this many entries.
constexpr size_t kMaxListEntries = 64;
// Values of width and grid entries: a user grid of 0.1..99.99 mm and a width
// of up to 99.9 mm are 10..9999 units; nothing at or below zero.
constexpr int32_t kMinListTag = 1, kMaxListTag = 9999;
bool ValidListTag(int32_t tag);
// What each list's own field or dialog takes: widths up to 99.9 mm, grids
// from 0.1 mm.
struct TagRange {
    int32_t least, most;
    bool holds(int32_t tag) const { return tag >= least && tag <= most; }
};
constexpr TagRange kWidthTags{kMinListTag, 9990}, kGridTags{10, kMaxListTag};

// Inserts before the first entry with a larger tag; false (list unchanged)
// for an invalid tag or a full list. Equal tags are allowed, as the menus
// let the add command decide.
bool InsertTagged(std::vector<TaggedEntry>& list, TaggedEntry entry);
// Index of the first entry with the tag, or -1.
long FindTagged(const std::vector<TaggedEntry>& list, int32_t tag);
// Whether the add command has something to add: a valid tag not yet listed
// and room in the list.
bool CanAddTagged(const std::vector<TaggedEntry>& list, int32_t tag);
bool RemoveTagged(std::vector<TaggedEntry>& list, int32_t tag);

// The caption of a pad size entry, "1.8 x 0.6 мм": one decimal each, the
// decimal point whatever the locale, then the unit.
std::string PadSizeCaption(int32_t outerDiameter, int32_t innerDiameter, const char* unit);
// Reads the diameters back from a caption: "&" removed, the outer one from
// the first four characters (three when the fourth is a blank), the inner
// one from the four after "x " (likewise). Decimal points only.
std::optional<PadSize> ReadPadSizeCaption(const std::string& caption);
// Inserts by outer, then inner diameter; false for a caption that does not
// read, one whose diameters are listed already, or a full list.
bool InsertPadSize(std::vector<std::string>& list, const std::string& caption);
// Whether InsertPadSize would take the caption. Captions round to 0.1 mm, so
// a pad of 1.85 mm, which no entry matches, may still have its caption listed.
bool CanInsertPadSize(const std::vector<std::string>& list, const std::string& caption);
// Index of the first entry whose diameters halved (toward zero) are the radii, or -1.
long FindPadSize(const std::vector<std::string>& list, int32_t outerRadius, int32_t innerRadius);
bool RemovePadSize(std::vector<std::string>& list, int32_t outerRadius, int32_t innerRadius);

// Entries read from a settings file, rebuilt through the insertions above:
// invalid tags and unreadable captions are dropped, the rest sorted and
// capped.
std::vector<TaggedEntry> SanitizedTaggedList(const std::vector<TaggedEntry>& read);
std::vector<std::string> SanitizedPadSizes(const std::vector<std::string>& read);

} // namespace kestrel
