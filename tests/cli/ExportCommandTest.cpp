#include "model/LayoutFile.h"
#include "output/DrillExport.h"
#include "output/GerberExport.h"

#include "Refusals.h"
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
        writeLayout(dir, doc);
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

// Options reach the file. Which option sets are allowed is the core's table
// (GerberOptions.CheckNamesWhatTheDialogCannotProduce); that a refusal reaches
// the command line, reading --board and missing inputs, the usage errors and
// the output folder's: Cli.ExitStatusesAndMessages.
TEST_F(ExportCli, GerberAndDrillCommands)
{
    const std::string out = dir.file("out"), in = input;
    const std::pair<std::vector<std::string>, std::string> written[] = {
        {{"gerber", "--layer", "K1", in, out}, gerberOf(0, {})}, // the layer's preset options, language ru
        {{"gerber", "--layer", "K1", "--no-mirror", "--no-outline", "--punch", "--mark", "--lang", "1", in, out},
         gerberOf(0, {.mirror = false, .outline = false, .punch = true, .mark = true}, Language::English)},
        {{"gerber", "--layer", "LStop1", "--offset", "0.5", "--invert", in, out},
         gerberOf(0, {.layer = L::LStop1, .outline = false, .offsetMm = 0.5, .invert = true})},
        {{"drill", "--from", "component", "--board", "1", in, out},
         crlf({"M48", "METRIC,TZ", "T1C0.500", "%", "G05", "M71", "T1", "X3000Y7000", "M30"})},
        // Drilled from the solder side unless asked otherwise: x mirrored across the 20 mm board.
        {{"drill", "--board", "1", in, out},
         crlf({"M48", "METRIC,TZ", "T1C0.500", "%", "G05", "M71", "T1", "X17000Y7000", "M30"})},
    };
    for (const auto& [args, text] : written) {
        const auto r = runCli(args);
        EXPECT_EQ(r.status, 0) << args[2] << ": " << r.err;
        EXPECT_EQ(fileText(out), text) << args[2];
        std::filesystem::remove(out);
    }
    expectRefusals({
        {{"gerber", "--layer", "K1", in, dir.file("no/dir/out.gbr")}, 1, "no/dir/out.gbr"},
        {{"export", dir.file("missing.kbd"), dir.file("fab")}, 1, "missing.kbd"}, // no folder for a bad input
        {{"drill", "--lang", "en", "--from", "comp", in, out}, 2, "--from expects solder or component, not 'comp'"},
        {{"gerber", "--lang", "en", "--layer", "K1", "--mirror", "--no-mirror", in, out}, 2, "contradict each other"},
        {{"gerber", "--lang", "en", "--layer", "K1", "--mark", in, out}, 2, "--mark needs --punch"},
    });
    // No output may replace the layout it is made from, by any name (one check
    // for all, so one row for each command).
    const std::vector<uint8_t> layout = readBytes(in);
    const std::string sameFile = dir.path() + "/./in.kbd";
    expectRefusals({
        {{"gerber", "--layer", "K1", in, sameFile}, 2, "выходной файл совпадает с входным"},
        {{"drill", "--lang", "en", in, sameFile}, 2, "the output is the input file"},
        {{"macro", in, sameFile}, 2, "выходной файл совпадает с входным"},
        {{"fab", "--force", "--lang", "en", in, in}, 2, "the output is the input file"},
        {{"convert", in, sameFile}, 2, "выходной файл совпадает с входным"},
        {{"edit", "--lang", "en", in, in, "select all", "delete"}, 2, "the output is the input file"},
        {{"clear-bands", "--lang", "en", in, sameFile}, 2, "the output is the input file"},
        {{"route", "--from", "0", "--to", "1", "--lang", "en", in, in}, 2, "the output is the input file"},
    });
    EXPECT_EQ(readBytes(in), layout);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // only in.kbd
    // A layout stored under a name the export writes, in its output folder.
    std::filesystem::create_directory(dir.file("fab"));
    const std::string named = dir.file("fab/DRILL.DRL");
    std::filesystem::copy_file(in, named);
    expectRefusals({{{"export", "--lang", "en", named, dir.file("fab")}, 2, "the output is the input file"}});
    EXPECT_EQ(readBytes(named), layout);
}

// The files land under their default names in a folder made for them.
TEST_F(ExportCli, ExportWritesEverythingUnderDefaultNames)
{
    const Lines files = {"COPPER1.GBR", "SILKSC1.GBR", "COPPER2.GBR", "SILKSC2.GBR", "SLDMASK1.GBR", "SLDMASK2.GBR", "DRILL.DRL"};
    const std::string folder = dir.file("fab");
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
