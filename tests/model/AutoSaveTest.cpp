#include "model/AutoSave.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;

TEST(AutoSave, IntervalIsLimitedToOneToSixtyMinutes)
{
    const std::pair<int64_t, int64_t> rows[] = { // stored, read
        {60000, 60000}, {3600000, 3600000}, {-5, 60000}, {59999, 60000}, {3600001, 3600000},
        {int64_t{1} << 40, 3600000}, // larger than an int
    };
    for (const auto& [stored, read] : rows)
        EXPECT_EQ(clampedAutoSaveMs(stored), read) << stored;
}

TEST(AutoSave, WhenASaveMayRun)
{
    const AutoSaveMoment named{"/w/BOARD.KBD"};
    const std::tuple<AutoSaveMoment, bool, const char*> rows[] = { // the moment, whether a save runs, why
        {named, true, "a named document, nothing else going on"},
        {{""}, false, "an unnamed document"},
        {{"/w/BOARD.Bak"}, false, "a document read from a backup file"},
        {{"/w/BOARD.KBD", true}, false, "a document is being loaded"},
        {{"/w/BOARD.KBD", false, false}, false, "no active board"},
        {{"/w/BOARD.KBD", false, true, true}, false, "a modal dialog is open"},
        {{"/w/BOARD.KBD", false, true, false, false}, false, "nothing changed: the backup may be newer work"},
    };
    for (const auto& [moment, runs, why] : rows)
        EXPECT_EQ(autosaveMayRun(moment), runs) << why;
}

// The schedule on a fake clock: due a whole interval after configuring or
// after the last save; a blocked save stays due.
TEST(AutoSave, ScheduleOnAFakeClock)
{
    AutoSaveSchedule s;
    s.configure(false, 2 * kMinuteMs, 1000);
    EXPECT_FALSE(s.due(1000 + 10 * kMinuteMs)) << "disabled";

    s.configure(true, 2 * kMinuteMs, 1000);
    EXPECT_FALSE(s.due(1000 + 2 * kMinuteMs - 1));
    EXPECT_TRUE(s.due(1000 + 2 * kMinuteMs));
    EXPECT_TRUE(s.due(1000 + 3 * kMinuteMs)) << "not saved yet: still due";
    s.saved(1000 + 3 * kMinuteMs);
    EXPECT_FALSE(s.due(1000 + 5 * kMinuteMs - 1));
    EXPECT_TRUE(s.due(1000 + 5 * kMinuteMs));
}
