#include "model/FileHistory.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace kestrel {

namespace {

namespace fs = std::filesystem;

std::string canonicalName(const std::string& path)
{
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? fs::path(path).lexically_normal().string() : canonical.string();
}

} // namespace

namespace {

std::string lowerExtension(const std::string& path)
{
    std::string extension = fs::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

} // namespace

bool isBackupName(const std::string& path)
{
    return lowerExtension(path) == ".bak";
}

std::string backupNameFor(const std::string& path)
{
    // A layout's .kbd gives way to .bak; another extension stays, so that
    // board.v1 and board.v2 do not share one backup (and one lock), nor
    // either with board.kbd.
    const std::string extension = lowerExtension(path);
    if (!extension.empty() && extension != ".kbd" && extension != ".bak")
        return path + ".bak";
    return fs::path(path).replace_extension(".bak").string();
}

bool FileHistory::remove(const std::string& path)
{
    const std::string canonical = canonicalName(path);
    const auto listed = std::find_if(entries.begin(), entries.end(), [&](const std::string& entry) {
        return !entry.empty() && canonicalName(entry) == canonical;
    });
    if (listed == entries.end())
        return false;
    std::move(listed + 1, entries.end(), listed);
    entries.back().clear();
    return true;
}

bool FileHistory::add(const std::string& path)
{
    if (path.empty() || isBackupName(path))
        return false;
    const std::string canonical = canonicalName(path);
    for (const std::string& entry : entries)
        if (!entry.empty() && canonicalName(entry) == canonical)
            return false;
    std::move_backward(entries.begin(), entries.end() - 1, entries.end());
    entries[0] = path;
    return true;
}

std::string FileHistory::shown(int number) const
{
    if (number < 1 || number > kHistoryEntries)
        return {};
    const std::string& entry = entries[static_cast<size_t>(number - 1)];
    return entry.size() >= 2 ? entry : std::string();
}

} // namespace kestrel
