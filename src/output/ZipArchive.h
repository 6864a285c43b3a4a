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

// The archive's bytes, handed to `sink` piece by piece, so a large archive
// goes to its file without a whole copy in memory; the first failure of
// the sink ends it. Entries are stored uncompressed; the time stamp of
// every entry is `modified` (seconds since 1970).
Status writeZipArchive(const std::vector<ZipEntry>& entries, long long modified,
                       const std::function<Status(const char* data, size_t size)>& sink);
// The same bytes as one string.
Result<std::string> zipArchive(const std::vector<ZipEntry>& entries, long long modified);

// The entries of an archive, in order; a failure when it is no zip.
Result<std::vector<ZipEntry>> unzipArchive(const std::string& bytes);

} // namespace kestrel
