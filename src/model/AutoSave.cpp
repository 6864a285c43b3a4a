#include "model/AutoSave.h"

#include "model/FileHistory.h"

#include <algorithm>

namespace kestrel {

int clampedAutoSaveMs(int64_t ms)
{
    return static_cast<int>(
        std::clamp<int64_t>(ms, int64_t{kMinAutoSaveMinutes} * kMinuteMs, int64_t{kMaxAutoSaveMinutes} * kMinuteMs));
}

bool autosaveMayRun(const AutoSaveMoment& moment)
{
    return !moment.fileName.empty() && !isBackupName(moment.fileName) && !moment.loading && moment.boardActive &&
           !moment.modalDialog;
}

void AutoSaveSchedule::configure(bool enabled, int intervalMs, int64_t nowMs)
{
    enabled_ = enabled;
    intervalMs_ = clampedAutoSaveMs(intervalMs);
    lastMs_ = nowMs;
}

} // namespace kestrel
