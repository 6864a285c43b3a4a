#include "model/FileHistory.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
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
    struct Row {
        const char* name;
        bool backup;
        const char* backupName;
    };
    const Row rows[] = {
        {"/w/BOARD.KBD", false, "/w/BOARD.bak"},
        {"/w/board.Bak", true, "/w/board.bak"},
        {"/w/board.bak.kbd", false, "/w/board.bak.bak"}, // only the last extension counts
        {"/w/v1.2/board", false, "/w/v1.2/board.bak"},   // a dot in a directory is no extension
    };
    for (const Row& r : rows) {
        EXPECT_EQ(isBackupName(r.name), r.backup) << r.name;
        EXPECT_EQ(backupNameFor(r.name), r.backupName) << r.name;
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

    struct Row {
        std::string name;
        bool changes;
        const char* why;
    };
    const Row rows[] = {
        {c, false, "a listed file stays where it is"},
        {dir.file("sub/../c.kbd"), false, "the same file under another spelling of its path"},
        {dir.file("d.BAK"), false, "a backup file is never listed"},
        {dir.file("C.kbd"), true, "names differing in case are two files here"},
    };
    fs::create_directories(fs::path(dir.path()) / "sub");
    for (const Row& r : rows)
        EXPECT_EQ(h.add(r.name), r.changes) << r.why;
    EXPECT_EQ(entries(h), (std::vector<std::string>{dir.file("C.kbd"), e, d, c})) << "only the new name moved in";
}

TEST(FileHistory, ShownEntriesNeedTwoCharacters)
{
    FileHistory h;
    h.entries = {"/x.kbd", "x", "", "ab"};
    EXPECT_EQ(h.shown(1), "/x.kbd");
    EXPECT_EQ(h.shown(2), "");
    EXPECT_EQ(h.shown(4), "ab");
    EXPECT_EQ(h.shown(0), "");
}
