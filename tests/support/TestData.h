#pragma once
// Shared fixtures: sample documents, temporary directories, running the CLI.

#include "model/LayoutDocument.h"
#include "model/Result.h"

#include <gtest/gtest.h>

#include <sys/types.h>

#include <string>
#include <vector>

namespace kestrel::test {

// A fresh directory below the system temp dir, removed by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Appends a pad and returns it (clearance 40).
LayoutObject& addPad(ObjectList& list, Point centre, int32_t outerRadius, uint8_t shape = 1, uint8_t layer = 1,
                     int32_t holeRadius = 40);
// Appends a track through the points (clearance 40).
LayoutObject& addTrack(ObjectList& list, std::vector<Point> points, int32_t width = 40, uint8_t layer = 1);
// Appends a via: two pads on layers 1 and 3 with mutual partners.
std::pair<LayoutObject*, LayoutObject*> addVia(ObjectList& list, Point centre, int32_t outerRadius = 70,
                                               int32_t holeRadius = 30);
// Joins two pads by a rubber band.
void addBand(LayoutObject& a, LayoutObject& b);

// Two boards using every object kind, a via, rubber bands and nested groups.
LayoutDocument sampleDocument(Language lang = Language::English);

// For ASSERT_TRUE / EXPECT_TRUE: a failure shows the read or write's message.
inline ::testing::AssertionResult succeeded(const Status& status)
{
    if (status)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << status.message();
}
template <class T>
::testing::AssertionResult succeeded(const Result<T>& result)
{
    return result ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << result.message();
}

std::vector<uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};
// Runs kestrel-cli with the arguments (no shell quoting needed). A file size
// limit (bytes, 0 for none) makes every write beyond it fail, as on a full disk.
CommandResult runCli(const std::vector<std::string>& args, long fileSizeLimit = 0);
// The same for another program, named by its path.
CommandResult runProgram(const std::string& program, const std::vector<std::string>& args, long fileSizeLimit = 0);
// Starts kestrel-cli without waiting for it, its output going to the files.
pid_t startCli(const std::vector<std::string>& args, const std::string& outPath = "/dev/null",
               const std::string& errPath = "/dev/null", long fileSizeLimit = 0);

} // namespace kestrel::test
