#pragma once
// A zip archive built in memory (libzip), so the caller writes it to disk
// atomically like every other file.

#include "model/Result.h"

#include <functional>
#include <string>
#include <vector>

namespace kestrel {

struct ZipEntry {
    std::string name; // path inside the archive
    std::string bytes;
};

// The date and time of day a zip keeps for an entry, without a zone, in
// two-second steps, from 1980 to 2107.
struct ZipTime {
    int year = 1980, month = 1, day = 1; // month and day from 1
    int hour = 0, minute = 0, second = 0;
};

// The archive's bytes, handed to `sink` piece by piece, so a large archive
// goes to its file without a whole copy in memory; the first failure of
// the sink ends it. Entries are stored uncompressed, every one stamped with
// `modified` as it stands.
Status writeZipArchive(const std::vector<ZipEntry>& entries, const ZipTime& modified,
                       const std::function<Status(const char* data, size_t size)>& sink);
// The same bytes as one string.
Result<std::string> zipArchive(const std::vector<ZipEntry>& entries, const ZipTime& modified);

// The entries of an archive, in order; a failure when it is no zip.
Result<std::vector<ZipEntry>> unzipArchive(const std::string& bytes);

} // namespace kestrel
