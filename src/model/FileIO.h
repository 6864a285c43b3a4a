#pragma once
// Whole-file reads and atomic writes. A write goes to a temporary file beside
// the target, is flushed to disk and renamed over the target, so a failure
// never destroys the previous file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// The file's bytes, or nullopt with `error` set to a message naming the file.
std::optional<std::vector<uint8_t>> readWholeFile(const std::string& path, std::string& error);

// Returns an empty string on success, else a message naming the file.
std::string writeFileAtomically(const std::string& path, const void* data, size_t size);
inline std::string writeFileAtomically(const std::string& path, std::string_view text)
{
    return writeFileAtomically(path, text.data(), text.size());
}
inline std::string writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return writeFileAtomically(path, bytes.data(), bytes.size());
}

} // namespace kestrel
