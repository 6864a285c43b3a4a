#pragma once
// When the open document is saved to its backup file: the interval, the
// moments a save falls due on a clock the caller supplies, and the states in
// which a save must wait.

#include <cstdint>
#include <string>

namespace kestrel {

constexpr int kMinuteMs = 60000;
constexpr int kDefaultAutoSaveMs = 5 * kMinuteMs;
constexpr int kMinAutoSaveMinutes = 1;
constexpr int kMaxAutoSaveMinutes = 60;

// An interval read from the settings file, limited to 1..60 minutes.
int clampedAutoSaveMs(int64_t ms);

// What the window is doing when a save falls due.
struct AutoSaveMoment {
    std::string fileName; // the document's current name
    bool loading = false;  // a document is being read
    bool boardActive = true;
    bool modalDialog = false;
    bool modified = true; // changed since it was read or saved
};

// An unnamed document, one read from a backup file, a load in progress, no
// active board and an open modal dialog all keep the save from running; so
// does a document without changes, whose backup may hold work a crash kept
// from being saved.
bool autosaveMayRun(const AutoSaveMoment& moment);

// The backup of the document at `path` when it exists and was written after
// the document: it may hold work that was not saved.
std::string newerBackupOf(const std::string& path);

// Gives a newer backup its document's time, keeping its content: the user
// discarded the changes it holds, and opening the document need not name it.
void dateBackupAsDocument(const std::string& path);

// The timer's arithmetic on a millisecond clock. A save that falls due while
// it may not run stays due and runs at the first tick that allows it; the
// next one is then due a whole interval later.
class AutoSaveSchedule {
public:
    void configure(bool enabled, int intervalMs, int64_t nowMs);
    bool enabled() const { return enabled_; }
    int intervalMs() const { return intervalMs_; }
    bool due(int64_t nowMs) const { return enabled_ && nowMs - lastMs_ >= intervalMs_; }
    void saved(int64_t nowMs) { lastMs_ = nowMs; }

private:
    bool enabled_ = false;
    int intervalMs_ = kDefaultAutoSaveMs;
    int64_t lastMs_ = 0;
};

} // namespace kestrel
