#include "model/FileHistory.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

using namespace kestrel;
using kestrel::test::TempDir;

namespace {

namespace fs = std::filesystem;

std::vector<std::string> entries(const FileHistory& h)
{
    return {h.entries.begin(), h.entries.end()};
}

} // namespace

TEST(FileHistory, BackupNames)
{
    const std::tuple<const char*, bool, const char*> rows[] = { // name, a backup's, the name of its backup
        {"/w/BOARD.KBD", false, "/w/BOARD.bak"},
        {"/w/board.Bak", true, "/w/board.bak"},
        {"/w/board.bak.kbd", false, "/w/board.bak.bak"}, // only the last extension counts
        {"/w/v1.2/board", false, "/w/v1.2/board.bak"},   // a dot in a directory is no extension
        // Another extension is kept: board.v1 and board.v2 would share one backup.
        {"/w/board.v1", false, "/w/board.v1.bak"},
    };
    for (const auto& [name, backup, backupName] : rows) {
        EXPECT_EQ(isBackupName(name), backup) << name;
        EXPECT_EQ(backupNameFor(name), backupName) << name;
    }
}

TEST(FileHistory, OrderDuplicatesAndBackups)
{
    TempDir dir;
    const std::string a = dir.file("a.kbd"), b = dir.file("b.kbd"), c = dir.file("c.kbd"), d = dir.file("d.kbd"),
                      e = dir.file("e.kbd");
    std::ofstream(c) << "x";
    std::ofstream(dir.file("C.kbd")) << "y";

    FileHistory h;
    for (const std::string& name : {a, b, c, d, e})
        EXPECT_TRUE(h.add(name)) << name;
    EXPECT_EQ(entries(h), (std::vector<std::string>{e, d, c, b})) << "five files keep the last four, newest first";

    const std::tuple<std::string, bool, const char*> rows[] = { // name, whether adding it changes the list, why
        {c, false, "a listed file stays where it is"},
        {dir.file("sub/../c.kbd"), false, "the same file under another spelling of its path"},
        {dir.file("d.BAK"), false, "a backup file is never listed"},
        {dir.file("C.kbd"), true, "names differing in case are two files here"},
    };
    fs::create_directories(fs::path(dir.path()) / "sub");
    for (const auto& [name, changes, why] : rows)
        EXPECT_EQ(h.add(name), changes) << why;
    EXPECT_EQ(entries(h), (std::vector<std::string>{dir.file("C.kbd"), e, d, c})) << "only the new name moved in";
}
