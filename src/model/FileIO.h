#pragma once
// Whole-file reads and atomic writes. A read accepts only a regular file no
// larger than the readers' limit. A write goes to a temporary beside the
// target (PendingFile.h) and replaces the target only when complete, so a
// failure or a kill never destroys the previous file; a set of files is
// replaced only once every member is complete.

#include "model/Language.h"
#include "model/Result.h"
#include "model/ValueRanges.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// The file's bytes, or a failure naming the file.
// Whether both names lead to one existing file (an output about to replace
// an input, whatever path names it).
bool sameFile(const std::string& a, const std::string& b);

Result<std::vector<uint8_t>> readWholeFile(const std::string& path, Language lang,
                                           uint64_t maxBytes = ranges::kMaxFileBytes);

// Success, or a failure naming the file.
Status writeFileAtomically(const std::string& path, const void* data, size_t size, Language lang);
inline Status writeFileAtomically(const std::string& path, std::string_view text, Language lang)
{
    return writeFileAtomically(path, text.data(), text.size(), lang);
}
inline Status writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, Language lang)
{
    return writeFileAtomically(path, bytes.data(), bytes.size(), lang);
}

struct FileContent {
    std::string path;
    std::string bytes;
};

// Writes every file to its temporary and renames them over their targets
// only when all are complete; a failure before that replaces none of them
// and says so.
Status writeFilesAtomically(const std::vector<FileContent>& files, Language lang);

} // namespace kestrel
