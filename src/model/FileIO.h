#pragma once
// Whole-file reads and atomic writes. A write goes to a temporary file beside
// the target, is flushed to disk and renamed over the target, so a failure
// never destroys the previous file.

#include "model/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// The file's bytes, or a failure naming the file.
Result<std::vector<uint8_t>> readWholeFile(const std::string& path);

// Success, or a failure naming the file.
Status writeFileAtomically(const std::string& path, const void* data, size_t size);
inline Status writeFileAtomically(const std::string& path, std::string_view text)
{
    return writeFileAtomically(path, text.data(), text.size());
}
inline Status writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return writeFileAtomically(path, bytes.data(), bytes.size());
}

} // namespace kestrel
