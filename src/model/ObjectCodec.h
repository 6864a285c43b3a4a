#pragma once
// Object blocks shared by layout and macro files: the version-3 blocks
// (74-byte record, groups, points, partner field, then one connection block
// per pad) and the old blocks of versions 0..2.

#include "model/BinaryIO.h"
#include "model/Language.h"
#include "model/ObjectList.h"

namespace kestrel {

// The message for a file that does not read: names the file, what is wrong and where.
std::string readFailureMessage(Language lang, const std::string& name, const std::string& detail, size_t offset);

// The four header bytes of layout and macro files hold this plus the version
// in the low byte. A file without them is not one of ours.
constexpr uint32_t kFileMagic = 0xFFAA3300u;
// Versions above this are no plausible successor of ours: such a header is
// taken for another file's bytes, not for a newer layout.
constexpr int kLastPlausibleVersion = 15;
// The version byte, or -1 when the file does not start with a plausible header.
int headerVersion(const uint8_t* data, size_t size);

// One version-3 object block; `partnerField` is written for pads only.
void writeObjectBlock(ByteWriter& out, const LayoutObject& o, int32_t partnerField);

// Reads `count` version-3 object blocks and then the connection block of
// every pad into `list` (which must be empty), linking partners and bands
// by index. Partner fields below 0 mean none.
// In a macro the partner and connection indices are never followed: a pad
// keeps only the fact that it was a via (PartnerBytesSet).
void readObjectsV3(ByteReader& in, ObjectList& list, int64_t count, bool macro = false);

// Reads an i16 count and that many old object blocks of version 0, 1 or 2.
void readOldObjects(ByteReader& in, ObjectList& list, int version, bool macro = false);

} // namespace kestrel
