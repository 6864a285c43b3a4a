#include "model/LayoutFile.h"
#include "output/DrillExport.h"
#include "output/GerberExport.h"

#include "OutputTestUtil.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrel;
using kestrel::test::runCli;

namespace {

std::string fileText(const std::string& path)
{
    const auto bytes = test::readBytes(path);
    return {bytes.begin(), bytes.end()};
}

// Board 0 (active): the example board of 1000 x 1000 units; board 1: one
// pad on side 2 with a ground plane.
class ExportCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
        doc.Working.BoardWidth = 1000;
        doc.Working.BoardHeight = 1000;
        test::addTrack(*doc.currentObjects(), {{100, -100}, {500, -100}}, 40);
        test::addPad(*doc.currentObjects(), {500, -100}, 80, 1, 1, 40);
        doc.addBoard("second");
        doc.Working.BoardWidth = 2000;
        doc.Working.BoardHeight = 1000;
        doc.Working.GroundPlane2 = 1;
        test::addPad(*doc.currentObjects(), {300, -300}, 60, 3, 3, 25);
        doc.activate(0);
        input = dir.file("in.kbd");
        ASSERT_EQ(writeDocument(doc, input, false, Language::English), "");
    }

    test::TempDir dir;
    std::string input;
};

} // namespace

TEST_F(ExportCli, GerberDefaultsGiveTheExampleFile)
{
    const auto r = runCli({"gerber", "--layer", "K1", input, dir.file("k1.gbr")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fileText(dir.file("k1.gbr")),
              test::crlf({"%FSLAX32Y32*%", "%MOMM*%", "%LNLAYOUTLOETSEITE*%", "G71*", "G1*", "%ADD10C,0.20*%",
                          "%ADD11C,0.40*%", "%ADD12C,1.60*%", "%LPD*%", "G54D10*", "X1000Y0D02*", "X0Y0D01*",
                          "X0Y1000D01*", "X1000Y1000D01*", "X1000Y0D01*", "G54D11*", "X900Y900D02*", "X500Y900D01*",
                          "X500Y900D02*", "G54D12*", "D03*", "M02*"}));
}

TEST_F(ExportCli, GerberOptionsReachTheFile)
{
    struct Row {
        std::vector<std::string> args;
        std::vector<std::string> present, absent;
    };
    const Row rows[] = {
        {{"--layer", "K1", "--no-mirror", "--no-outline"}, {"X100Y900D02*"}, {"X1000Y0D02*", "%ADD10C,0.20*%"}},
        {{"--layer", "K1", "--lang", "1"}, {"%LNCOPPERSOLDERSIDE*%"}, {}},
        {{"--layer", "K1", "--punch"}, {"%LNAUGENFREISTANZEN*%", "%ADD13C,0.80*%"}, {}},
        {{"--layer", "K1", "--punch", "--mark"}, {"%ADD13C,0.30*%"}, {"%ADD13C,0.80*%"}},
        {{"--layer", "LStop1", "--offset", "0.5"}, {"%ADD10C,2.60*%", "X500Y900D02*"}, {"G36*"}},
        {{"--layer", "LStop1", "--invert"}, {"G36*", "%LPC*%"}, {}},
        {{"--layer", "B1", "--outline"}, {"X0Y0D02*", "%LNBESTUECKUNGSPLANBESTUECKUNGSSEITE*%"}, {"D03*"}},
        {{"--layer", "K2", "--board", "1"}, {"%LNLAYOUTBESTUECKUNGSSEITE*%", "G36*", "%ADD11R,2.00X2.00*%", "%ADD12R,1.20X1.20*%"}, {}},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args{"gerber"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        args.push_back(input);
        args.push_back(dir.file("out.gbr"));
        const auto r = runCli(args);
        ASSERT_EQ(r.status, 0) << row.args[1] << r.err;
        const std::string text = fileText(dir.file("out.gbr"));
        for (const std::string& s : row.present)
            EXPECT_NE(text.find(s + "\r\n"), std::string::npos) << row.args.back() << ": " << s;
        for (const std::string& s : row.absent)
            EXPECT_EQ(text.find(s + "\r\n"), std::string::npos) << row.args.back() << ": " << s;
    }
}

TEST_F(ExportCli, BadInvocationsExitWithTheirStatus)
{
    const std::string out = dir.file("bad.gbr");
    struct Row {
        std::vector<std::string> args;
        int status;
    };
    const Row rows[] = {
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
    for (const Row& row : rows) {
        const auto r = runCli(row.args);
        EXPECT_EQ(r.status, row.status) << row.args[1] << " " << row.args[2] << ": " << r.err;
        EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // only in.kbd
}

TEST_F(ExportCli, DrillFromEitherSide)
{
    ASSERT_EQ(runCli({"drill", input, dir.file("a.drl")}).status, 0);
    EXPECT_EQ(fileText(dir.file("a.drl")), test::crlf({"M48", "METRIC,TZ", "T1C0.800", "%", "G05", "M71", "T1",
                                                       "X5000Y9000", "M30"}));
    ASSERT_EQ(runCli({"drill", "--from", "component", "--board", "1", input, dir.file("b.drl")}).status, 0);
    EXPECT_EQ(fileText(dir.file("b.drl")), test::crlf({"M48", "METRIC,TZ", "T1C0.500", "%", "G05", "M71", "T1",
                                                       "X3000Y7000", "M30"}));
}

TEST_F(ExportCli, ExportWritesEverythingUnderDefaultNames)
{
    for (auto [lang, names] :
         {std::pair<std::string, std::vector<std::string>>{"0", {"KUPFER1.GBR", "BESTCK1.GBR", "KUPFER2.GBR",
                                                                 "BESTCK2.GBR", "LOETSTP1.GBR", "LOETSTP2.GBR",
                                                                 "BOHRUNG.DRL"}},
          {"1", {"COPPER1.GBR", "SILKSC1.GBR", "COPPER2.GBR", "SILKSC2.GBR", "SLDMASK1.GBR", "SLDMASK2.GBR",
                 "DRILL.DRL"}}}) {
        test::TempDir out;
        const auto r = runCli({"export", "--lang", lang, "--board", "1", input, out.path()});
        ASSERT_EQ(r.status, 0) << r.err;
        std::string listed;
        for (const std::string& n : names)
            listed += out.file(n) + "\n";
        EXPECT_EQ(r.out, listed);
        auto doc = readDocument(input, Language::English);
        ASSERT_TRUE(doc.document);
        doc.document->activate(1);
        const Board& b = doc.document->board(1);
        EXPECT_EQ(fileText(out.file(names[2])),
                  exportGerber(b.Objects, doc.document->Working, GerberOptions::presetFor(GerberLayer::K2),
                               static_cast<Language>(lang[0] - '0')));
        EXPECT_EQ(fileText(out.file(names[6])), exportDrill(b.Objects, doc.document->Working, DrillSide::Solder));
    }
}
