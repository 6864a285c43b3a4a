#include "model/LayoutFile.h"
#include "output/DrillExport.h"
#include "output/GerberExport.h"

#include "OutputTestUtil.h"

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
        ASSERT_EQ(writeDocument(doc, input, false, Language::English), "");
    }

    // The file the export functions give for board `index`.
    std::string gerberOf(int index, const GerberOptions& options, Language lang)
    {
        doc.activate(index);
        return exportGerber(doc.board(index).Objects, doc.Working, options, lang);
    }

    TempDir dir;
    LayoutDocument doc = exampleDocument();
    std::string input = dir.file("in.kbd");
};

} // namespace

TEST_F(ExportCli, GerberOptionsReachTheFile)
{
    ASSERT_EQ(runCli({"gerber", "--layer", "K1", input, dir.file("k1.gbr")}).status, 0);
    EXPECT_EQ(fileText(dir.file("k1.gbr")), crlf(kExampleK1));
    struct Row {
        std::vector<std::string> args;
        GerberOptions options;
        Language lang = Language::Russian;
        int board = 0;
    };
    const Row rows[] = {
        {{"--layer", "K1", "--no-mirror", "--no-outline"}, {.mirror = false, .outline = false}},
        {{"--layer", "K1", "--lang", "1"}, {}, Language::English},
        {{"--layer", "K1", "--punch", "--mark"}, {.punch = true, .mark = true}},
        {{"--layer", "LStop1", "--offset", "0.5", "--invert"},
         {.layer = L::LStop1, .outline = false, .offsetMm = 0.5, .invert = true}},
        {{"--layer", "B1", "--outline"}, {.layer = L::B1, .mirror = false}},
        {{"--layer", "K2", "--board", "1"}, {.layer = L::K2, .mirror = false}, Language::Russian, 1},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args{"gerber"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        args.insert(args.end(), {input, dir.file("out.gbr")});
        const auto r = runCli(args);
        ASSERT_EQ(r.status, 0) << row.args[1] << r.err;
        EXPECT_EQ(fileText(dir.file("out.gbr")), gerberOf(row.board, row.options, row.lang)) << row.args.back();
    }
}

TEST_F(ExportCli, DrillFromEitherSide)
{
    ASSERT_EQ(runCli({"drill", input, dir.file("a.drl")}).status, 0);
    EXPECT_EQ(fileText(dir.file("a.drl")), crlf(kExampleDrill));
    ASSERT_EQ(runCli({"drill", "--from", "component", "--board", "1", input, dir.file("b.drl")}).status, 0);
    EXPECT_EQ(fileText(dir.file("b.drl")),
              crlf({"M48", "METRIC,TZ", "T1C0.500", "%", "G05", "M71", "T1", "X3000Y7000", "M30"}));
}

TEST_F(ExportCli, ExportWritesEverythingUnderDefaultNames)
{
    const std::pair<Language, Lines> names[] = {
        {Language::Russian,
         {"KUPFER1.GBR", "BESTCK1.GBR", "KUPFER2.GBR", "BESTCK2.GBR", "LOETSTP1.GBR", "LOETSTP2.GBR", "BOHRUNG.DRL"}},
        {Language::English,
         {"COPPER1.GBR", "SILKSC1.GBR", "COPPER2.GBR", "SILKSC2.GBR", "SLDMASK1.GBR", "SLDMASK2.GBR", "DRILL.DRL"}}};
    for (const auto& [lang, files] : names) {
        TempDir out;
        const auto r = runCli({"export", "--lang", std::to_string(int(lang)), "--board", "1", input, out.path()});
        ASSERT_EQ(r.status, 0) << r.err;
        std::string listed;
        for (const std::string& n : files)
            listed += out.file(n) + "\n";
        EXPECT_EQ(r.out, listed);
        EXPECT_EQ(fileText(out.file(files[2])), gerberOf(1, GerberOptions::presetFor(L::K2), lang));
        EXPECT_EQ(fileText(out.file(files[6])), exportDrill(doc.board(1).Objects, doc.Working, DrillSide::Solder));
    }
}

TEST_F(ExportCli, BadInvocationsExitWithTheirStatus)
{
    const std::string out = dir.file("bad.gbr");
    const std::pair<std::vector<std::string>, int> rows[] = {
        {{"gerber", input, out}, 2},
        {{"gerber", "--layer", "K3", input, out}, 2},
        {{"gerber", "--layer", "K1", "--lang", "2", input, out}, 2},
        {{"gerber", "--layer", "K1", "--mirror", "--no-mirror", input, out}, 2},
        {{"gerber", "--layer", "LStop1", "--offset", "10", input, out}, 2},
        {{"gerber", "--layer", "LStop1", "--offset", "abc", input, out}, 2},
        {{"gerber", "--layer", "K1", "--offset", "0.1", input, out}, 2},
        {{"gerber", "--layer", "K1", "--mark", input, out}, 2},
        {{"gerber", "--layer", "K1", input}, 2},
        {{"gerber", "--layer", "K1", "--board", "5", input, out}, 1},
        {{"gerber", "--layer", "K1", dir.file("missing.kbd"), out}, 1},
        {{"gerber", "--layer", "K1", input, dir.file("no/dir/out.gbr")}, 1},
        {{"drill", "--from", "top", input, out}, 2},
        {{"drill", input, dir.file("no/dir/out.drl")}, 1},
        {{"export", "--lang", "x", input, dir.path()}, 2},
        {{"export", input, dir.file("absent")}, 1},
    };
    for (const auto& [args, status] : rows) {
        const auto r = runCli(args);
        EXPECT_EQ(r.status, status) << args[1] << " " << args[2] << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err; // one line on stderr
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // only in.kbd
}
