#include "model/LayoutFile.h"
#include "output/ZipArchive.h"

#include "Refusals.h"
#include "output/OutputTestUtil.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Board 0: the example board, a track 0.10 mm beside its track and a label
// in a system font on K1. Board 1: the example board alone.
class CheckFabCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.addBoard("clean");
        doc.Working.BoardWidth = doc.Working.BoardHeight = 1000;
        addTrack(*doc.currentObjects(), {{100, -100}, {500, -100}}, 40);
        doc.activate(0);
        doc.activeBoard()->Name = "Demo 1";
        addTrack(*doc.currentObjects(), {{100, -140}, {300, -140}}, 20);
        doc.currentObjects()->append(makeText({200, -400}, "Kb", 0, 150, 400, -550, Layer::K1));
        writeLayout(dir, doc);
    }

    TempDir dir;
    LayoutDocument doc = exampleDocument();
    std::string input = dir.file("in.kbd");
};

} // namespace

TEST_F(CheckFabCli, CheckPrintsViolationsAndExitsOneWhenThereAreAny)
{
    const std::string in = input;
    const std::tuple<std::vector<std::string>, int, std::string> rows[] = { // arguments, status, first line or message
        {{"check", in}, 1, "Зазор 0.10 мм < 0.15 мм: дорожка – дорожка, K1"},
        {{"check", "--lang", "en", in}, 1, "Clearance 0.10 mm < 0.15 mm: track – track, K1"},
        {{"check", "--clearance", "0.1", in}, 0, ""},
        // Limits in hundredths, up to 10 mm.
        {{"check", "--clearance", "0.15", "--hole", "0.35", in}, 1, "Зазор 0.10 мм < 0.15 мм"},
        {{"check", "--lang", "en", "--clearance", "10", in}, 1, "< 10.00 mm"},
        {{"check", "--lang", "en", "--clearance", "10.01", in}, 2, "--clearance must lie between 0 and 10 mm"},
        {{"check", "--json", "--width", "0.3", in}, 1,
         R"({"rule":"clearance","object":0,"other":2,"layer":"K1","measured_mm":0.100,"limit_mm":0.150,)"},
        {{"check", "--lang", "en", "--width", "11", in}, 2, "--width must lie between 0 and 10 mm"},
        {{"check", "--clearance", "0.394", in}, 2, "--clearance: с точностью до 0.01 мм"},
    };
    for (const auto& [args, status, text] : rows) {
        const auto r = runCli(args);
        EXPECT_EQ(r.status, status) << args[1] << ": " << r.err;
        const std::string& where = status == 2 || (status == 1 && r.out.empty()) ? r.err : r.out;
        EXPECT_NE(where.find(text), std::string::npos) << args[1] << ": " << r.out << r.err;
        if (status == 0) {
            EXPECT_TRUE(r.out.empty()) << r.out;
        }
    }
}

// Without --font-labels the count of labels left out goes to stderr; with
// it they are drawn (by kestrel-cli-render).
TEST_F(CheckFabCli, GerberFontLabels)
{
    const std::string out = dir.file("k1.gbr");
    const auto off = runCli({"gerber", "--layer", "K1", "--lang", "en", input, out});
    EXPECT_EQ(off.status, 0) << off.err;
    EXPECT_EQ(off.err, "kestrel-cli: layer K1: 1 label(s) in a system font left out (see --font-labels)\n");
    EXPECT_EQ(off.out, "wrote layer K1 of board \"Demo 1\" to " + out + "\n");
    EXPECT_EQ(fileText(out).find("G36*"), std::string::npos);
    const auto on = runCli({"gerber", "--layer", "K1", "--font-labels", input, out});
    EXPECT_EQ(on.status, 0) << on.err;
    EXPECT_EQ(on.err, "");
    EXPECT_NE(fileText(out).find("G36*"), std::string::npos);
}

// The package is refused while the check finds violations, unless forced.
TEST_F(CheckFabCli, FabWritesTheZip)
{
    const std::string zip = dir.file("fab.zip");
    // In the language asked for, the violations too.
    const auto refused = runCli({"fab", "--lang", "en", input, zip});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("1 design check violation(s); nothing written"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find("мм"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(zip));

    // A write that fails half way (here at a file size limit) keeps the old file.
    writeBytes(zip, {'o', 'l', 'd'});
    const auto cut = runCli({"fab", "--force", "--lang", "en", input, zip}, 2000);
    EXPECT_EQ(cut.status, 1) << cut.out;
    EXPECT_NE(cut.err.find("kestrel-cli: "), std::string::npos) << cut.err;
    EXPECT_EQ(readBytes(zip), (std::vector<uint8_t>{'o', 'l', 'd'}));

    const auto forced = runCli({"fab", "--force", "--lang", "en", input, zip});
    ASSERT_EQ(forced.status, 0) << forced.err;
    const std::string violation = refused.err.substr(0, refused.err.find('\n') + 1);
    EXPECT_EQ(forced.err.substr(0, violation.size()), violation) << "listed when forced too";
    const auto files = unzipArchive(fileText(zip));
    ASSERT_TRUE(succeeded(files));
    ASSERT_EQ(files->size(), 9u);
    EXPECT_EQ((*files)[1].name, "Demo_1.GBL");
    EXPECT_NE((*files)[1].bytes.find("G36*"), std::string::npos) << "the label on the bottom copper";

    EXPECT_EQ(runCli({"fab", "--board", "1", input, dir.file("clean.zip")}).status, 0);
    // The check's limits as kestrel-cli check takes them: its 0.40 mm track is too thin for 0.5.
    EXPECT_EQ(runCli({"fab", "--board", "1", "--width", "0.5", input, dir.file("strict.zip")}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("strict.zip")));
}

// A user's German locale leaves the board house's notes alone (no decimal
// comma), and the system's part of an English message stays English.
TEST_F(CheckFabCli, NotesAndMessagesIgnoreTheUsersLocale)
{
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale here (scripts/install-deps.sh makes it when run as root)";
    std::setlocale(LC_NUMERIC, "C");
    const std::string zip = dir.file("comma.zip");
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    const auto r = runCli({"fab", "--board", "1", input, zip});
    const auto missing = runCli({"fab", "--board", "1", "--lang", "en", input, dir.file("no/such/folder.zip")});
    unsetenv("LC_ALL");
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
    ASSERT_EQ(r.status, 0) << r.err;
    const auto files = unzipArchive(fileText(zip));
    ASSERT_TRUE(succeeded(files));
    ASSERT_EQ(files->back().name, "README.txt");
    const std::string& notes = files->back().bytes;
    EXPECT_NE(notes.find("Board size: 10.00 x 10.00 mm"), std::string::npos) << notes;
    EXPECT_NE(notes.find("Smallest track width: 0.40 mm"), std::string::npos) << notes;
}

// With SOURCE_DATE_EPOCH set, as build pipelines do, one board gives the same
// zip byte for byte: its moment as the UTC date and time, whatever the zone.
TEST_F(CheckFabCli, TheZipIsReproducibleWithSourceDateEpoch)
{
    const auto fab = [this](const char* zone) {
        const std::string zip = dir.file("fab.zip");
        const std::string command = std::string("SOURCE_DATE_EPOCH=1711848600 TZ='") + zone + "' '" +
                                    KESTREL_CLI_PATH + "' fab --board 1 '" + input + "' '" + zip + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return readBytes(zip);
    };
    const std::vector<uint8_t> utc = fab("UTC0");
    // Half an hour after central Europe's clocks went forward (a rule the
    // zone names itself, so no zone files are needed): still the UTC time.
    EXPECT_EQ(fab("CET-1CEST,M3.5.0,M10.5.0/3"), utc);
    // 2024-03-31 01:30:00 as the first entry's DOS time and date.
    ASSERT_GT(utc.size(), 14u);
    EXPECT_EQ(std::vector<uint8_t>(utc.begin() + 10, utc.begin() + 14), (std::vector<uint8_t>{0xC0, 0x0B, 0x7F, 0x58}));
}
