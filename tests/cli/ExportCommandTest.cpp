#include "model/LayoutFile.h"
#include "output/DrillExport.h"
#include "output/GerberExport.h"

#include "output/OutputTestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrel;
using namespace kestrel::test;
using L = GerberLayer;

namespace {

// Board 0 (active): the example board; board 1: a square pad on side 2 with a ground plane.
class ExportCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.addBoard("second");
        doc.Working.BoardWidth = 2000, doc.Working.BoardHeight = 1000;
        doc.Working.GroundPlane2 = 1;
        addPad(*doc.currentObjects(), {300, -300}, 60, 3, 3, 25);
        doc.activate(0);
        ASSERT_TRUE(succeeded(writeDocument(doc, input, false, Language::English)));
    }

    // The file the export functions give for board `index`.
    std::string gerberOf(int index, const GerberOptions& options, Language lang = Language::Russian)
    {
        doc.activate(index);
        return exportGerber(doc.board(index).Objects, doc.Working, options, lang);
    }

    TempDir dir;
    LayoutDocument doc = exampleDocument();
    std::string input = dir.file("in.kbd");
};

} // namespace

// Options reach the file; bad invocations exit 2 (usage) or 1 (input or output) with one line on stderr.
// Which option sets are allowed is the core's table (GerberOptions.CheckNamesWhatTheDialogCannotProduce);
// here one row for each of its refusals. Reading --board and other numbers: Cli.ExitStatusesAndMessages.
TEST_F(ExportCli, GerberAndDrillCommands)
{
    const std::string out = dir.file("out"), in = input;
    const std::tuple<std::vector<std::string>, int, std::string> rows[] = { // arguments, status, file or message
        {{"gerber", "--layer", "K1", in, out}, 0, gerberOf(0, {})}, // the layer's preset options, language ru
        {{"gerber", "--layer", "K1", "--no-mirror", "--no-outline", in, out}, 0,
         gerberOf(0, {.mirror = false, .outline = false})},
        {{"gerber", "--layer", "K1", "--lang", "1", in, out}, 0, gerberOf(0, {}, Language::English)},
        {{"gerber", "--layer", "K1", "--punch", "--mark", in, out}, 0, gerberOf(0, {.punch = true, .mark = true})},
        {{"gerber", "--layer", "LStop1", "--offset", "0.5", "--invert", in, out}, 0,
         gerberOf(0, {.layer = L::LStop1, .outline = false, .offsetMm = 0.5, .invert = true})},
        {{"gerber", "--layer", "K2", "--board", "1", in, out}, 0, gerberOf(1, {.layer = L::K2, .mirror = false})},
        {{"drill", in, out}, 0, crlf(kExampleDrill)},
        {{"drill", "--from", "component", "--board", "1", in, out}, 0,
         crlf({"M48", "METRIC,TZ", "T1C0.500", "%", "G05", "M71", "T1", "X3000Y7000", "M30"})},
        {{"gerber", in, out}, 2, "--layer is required"},
        {{"gerber", "--layer", "K3", in, out}, 2, "unknown layer 'K3'"},
        {{"gerber", "--layer", "K1", "--lang", "2", in, out}, 2, "--lang expects ru or en"},
        {{"gerber", "--layer", "K1", "--mirror", "--no-mirror", in, out}, 2, "contradict"},
        {{"gerber", "--layer", "LStop1", "--offset", "10", in, out}, 2, "--offset must lie between 0 and 9.9 mm"},
        {{"gerber", "--layer", "K1", "--offset", "0.1", in, out}, 2, "apply to the solder masks"},
        {{"gerber", "--layer", "LStop1", "--punch", in, out}, 2, "apply to copper and silk layers only"},
        {{"gerber", "--layer", "K1", "--mark", in, out}, 2, "--mark needs --punch"},
        {{"gerber", "--layer", "K1", "--board", "5", in, out}, 1, "no board 5"},
        {{"gerber", "--layer", "K1", in, dir.file("no/dir/out.gbr")}, 1, "no/dir/out.gbr"},
        {{"drill", "--from", "top", in, out}, 2, "--from expects solder or component"},
        {{"export", in, input}, 1, "is not a directory"},
        {{"export", in, dir.file("absent/sub")}, 1, "the folder above it does not exist"},
        {{"export", dir.file("missing.kbd"), dir.file("fab")}, 1, "missing.kbd"}, // no folder for a bad input
    };
    for (const auto& [args, status, text] : rows) {
        const auto r = runCli(args);
        std::string what;
        for (const std::string& a : args)
            what += a + " ";
        EXPECT_EQ(r.status, status) << what << ": " << r.err;
        if (status == 0) {
            EXPECT_EQ(fileText(out), text) << what;
            std::filesystem::remove(out);
        } else {
            EXPECT_NE(r.err.find(text), std::string::npos) << what << ": " << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // only in.kbd
}

// The files land under their default names in a folder made for them.
TEST_F(ExportCli, ExportWritesEverythingUnderDefaultNames)
{
    const Lines files = {"COPPER1.GBR", "SILKSC1.GBR", "COPPER2.GBR", "SILKSC2.GBR", "SLDMASK1.GBR", "SLDMASK2.GBR", "DRILL.DRL"};
    TempDir out;
    const std::string folder = out.file("fab");
    const auto r = runCli({"export", "--lang", "en", "--board", "1", input, folder});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string listed;
    for (const std::string& n : files)
        listed += folder + "/" + n + "\n";
    EXPECT_EQ(r.out, listed);
    EXPECT_EQ(fileText(folder + "/COPPER2.GBR"), gerberOf(1, GerberOptions::presetFor(L::K2), Language::English));
    EXPECT_EQ(fileText(folder + "/DRILL.DRL"), exportDrill(doc.board(1).Objects, doc.Working, DrillSide::Solder));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 7);
}
