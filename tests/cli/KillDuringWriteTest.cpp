// kestrel-cli killed at random moments while it exports: every file is the
// previous one or the complete new one, never a part. The files are renamed
// into place one after another once all are written, so a kill between two
// renames may leave some old and some new; no kill before them changes any.
// (Temporaries a killed writer leaves are cleared by the next write:
// FileIO.StaleTemporariesAreRemoved.)

#include "model/LayoutFile.h"

#include "Refusals.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace kestrel;
using namespace kestrel::test;

namespace {

constexpr int kKills = 30;
constexpr const char* kExportNames[] = {"COPPER1.GBR",  "SILKSC1.GBR",  "COPPER2.GBR", "SILKSC2.GBR",
                                        "SLDMASK1.GBR", "SLDMASK2.GBR", "DRILL.DRL"};

// A board large enough that reading, encoding and writing take a while.
LayoutDocument largeDocument(int32_t shift)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.Working.BoardWidth = doc.Working.BoardHeight = 30000;
    ObjectList& list = *doc.currentObjects();
    for (int32_t i = 0; i < 40000; ++i) {
        const Point at{100 + (i % 200) * 140 + shift, -100 - (i / 200) * 140};
        addPad(list, at, 40 + i % 3, static_cast<uint8_t>(1 + i % 9), i % 2 ? 1 : 3, 15);
        if (i % 4 == 0)
            addTrack(list, {at, {at.x + 140, at.y}, {at.x + 140, at.y - 140}}, 20);
    }
    return doc;
}

// Runs to the end and returns how long it took.
std::chrono::microseconds runToEnd(const std::vector<std::string>& args)
{
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    ::waitpid(startCli(args), &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

void killAfter(const std::vector<std::string>& args, std::chrono::microseconds delay)
{
    const pid_t pid = startCli(args);
    ::usleep(static_cast<useconds_t>(delay.count()));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

} // namespace

TEST(KillDuringWrite, ExportLeavesEveryFileOldOrNew)
{
    TempDir dir;
    LayoutDocument big = largeDocument(0), shifted = largeDocument(20);
    const std::string in = writeLayout(dir, big), other = writeLayout(dir, shifted, "other.kbd");
    const std::string folder = dir.file("fab");
    auto snapshot = [&] {
        std::vector<std::vector<uint8_t>> set;
        for (const char* name : kExportNames)
            set.push_back(readBytes(folder + "/" + name));
        return set;
    };
    runToEnd({"export", "--lang", "en", other, folder});
    const auto oldSet = snapshot();
    const auto duration = runToEnd({"export", "--lang", "en", in, folder});
    const auto newSet = snapshot();
    ASSERT_NE(oldSet, newSet);

    std::mt19937 rng(11);
    int sawOld = 0;
    for (int k = 0; k < kKills; ++k) {
        for (size_t i = 0; i < oldSet.size(); ++i)
            writeBytes(folder + "/" + kExportNames[i], oldSet[i]);
        killAfter({"export", "--lang", "en", in, folder}, std::chrono::microseconds(rng() % (duration.count() + 1)));
        const auto now = snapshot();
        for (size_t i = 0; i < now.size(); ++i)
            ASSERT_TRUE(now[i] == oldSet[i] || now[i] == newSet[i]) << "kill " << k << " cut " << kExportNames[i];
        sawOld += now == oldSet;
    }
    EXPECT_GT(sawOld, 0) << "no kill landed before the renames";
}
