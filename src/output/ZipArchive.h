#pragma once
// A zip archive built in memory (libzip), so the caller writes it to disk
// atomically like every other file.

#include "model/Result.h"

#include <string>
#include <vector>

namespace kestrel {

struct ZipEntry {
    std::string name; // path inside the archive
    std::string bytes;
};

// The archive's bytes; entries stored uncompressed. The time stamp of
// every entry is `modified` (seconds since 1970).
Result<std::string> zipArchive(const std::vector<ZipEntry>& entries, long long modified);

// The entries of an archive, in order; a failure when it is no zip.
Result<std::vector<ZipEntry>> unzipArchive(const std::string& bytes);

} // namespace kestrel
