#include "model/AutoSave.h"

#include "model/FileHistory.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kestrel {

int clampedAutoSaveMs(int64_t ms)
{
    return static_cast<int>(
        std::clamp<int64_t>(ms, int64_t{kMinAutoSaveMinutes} * kMinuteMs, int64_t{kMaxAutoSaveMinutes} * kMinuteMs));
}

bool autosaveMayRun(const AutoSaveMoment& moment)
{
    return !moment.fileName.empty() && !isBackupName(moment.fileName) && !moment.loading && moment.boardActive &&
           !moment.modalDialog && moment.modified;
}

std::string newerBackupOf(const std::string& path)
{
    if (isBackupName(path))
        return {};
    const std::string backup = backupNameFor(path);
    std::error_code ec, backupEc;
    const auto documentTime = std::filesystem::last_write_time(path, ec);
    const auto backupTime = std::filesystem::last_write_time(backup, backupEc);
    if (ec || backupEc || !std::filesystem::is_regular_file(backup, backupEc) || backupTime <= documentTime)
        return {};
    return backup;
}

void dateBackupAsDocument(const std::string& path)
{
    const std::string backup = newerBackupOf(path);
    if (backup.empty())
        return;
    std::error_code ec;
    const auto documentTime = std::filesystem::last_write_time(path, ec);
    if (!ec)
        std::filesystem::last_write_time(backup, documentTime, ec);
}

void AutoSaveSchedule::configure(bool enabled, int intervalMs, int64_t nowMs)
{
    enabled_ = enabled;
    intervalMs_ = clampedAutoSaveMs(intervalMs);
    lastMs_ = nowMs;
}

} // namespace kestrel
