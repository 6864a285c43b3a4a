// kestrel-cli pdf and bmp, which run in kestrel-cli-render: exit statuses,
// and what lands on paper and in the bitmap.

#include "model/LayoutFile.h"
#include "output/BmpFile.h"

#include "Refusals.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// A 100 x 80 mm board: a 100 mm copper track, 0.2 mm wide, 10 mm below the
// top edge, and a silk track 40 mm below it.
class RenderCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Built only with the editor; without it pdf and bmp are not there to test.
        if (!std::filesystem::exists(std::filesystem::path(KESTREL_CLI_PATH).parent_path() / "kestrel-cli-render"))
            GTEST_SKIP() << "kestrel-cli-render was not built";
        doc.Working.BoardWidth = 10000;
        doc.Working.BoardHeight = 8000;
        addTrack(*doc.currentObjects(), {{0, -1000}, {10000, -1000}}, 20, 1);
        addTrack(*doc.currentObjects(), {{0, -5000}, {10000, -5000}}, 200, 2);
        writeLayout(dir, doc);
    }

    // The dark runs along the darkest row of the page at ten pixels a
    // millimetre: first column and length, in pixels.
    std::vector<std::pair<int, int>> runsOnPaper(const std::string& pdf)
    {
        const std::string base = dir.file("page");
        const std::string command = "pdftoppm -r 254 -gray -singlefile '" + pdf + "' '" + base + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::ifstream in(base + ".pgm", std::ios::binary);
        std::string magic;
        int w = 0, h = 0, max = 0;
        in >> magic >> w >> h >> max;
        in.get();
        std::vector<unsigned char> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
        in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
        EXPECT_EQ(magic, "P5");
        const auto dark = [](unsigned char p) { return p < 128; };
        long bestRow = 0, bestCount = -1;
        for (long y = 0; y < h; ++y) {
            const long count = std::count_if(pixels.begin() + y * w, pixels.begin() + (y + 1) * w, dark);
            if (count > bestCount)
                bestCount = count, bestRow = y;
        }
        std::vector<std::pair<int, int>> runs;
        for (int x = 0; x < w; ++x) {
            if (!dark(pixels[static_cast<size_t>(bestRow * w + x)]))
                continue;
            if (runs.empty() || runs.back().first + runs.back().second != x)
                runs.push_back({x, 0});
            ++runs.back().second;
        }
        return runs;
    }

    TempDir dir;
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    std::string input = dir.file("in.kbd");
};

} // namespace

TEST_F(RenderCli, BadInvocations)
{
    const std::string in = input, pdf = dir.file("out.pdf");
    expectRefusals({
        {{"pdf", "--scale", "15", "--lang", "en", in, pdf}, 2, "--scale expects 10 to 1000"},
        {{"pdf", "--gap", "2.55", in, pdf}, 2, "--gap: с точностью до 0.1 мм"},
        {{"pdf", "--gap", "nan", "--lang", "en", in, pdf}, 2, "--gap expects a number, not 'nan'"},
        // at 10 % the print's coordinates reach 32 mm on paper: more is refused, not cut short
        {{"pdf", "--scale", "10", "--shift", "100,150", "--lang", "en", in, pdf}, 2,
         "--shift: at this scale X and Y are each -32 to 32 mm"},
        // mirrored, the print starts at the middle of the page and reaches its limit sooner to the right
        {{"pdf", "--mirror", "--scale", "50", "--shift", "100,0", "--lang", "en", in, pdf}, 2,
         "--shift: mirrored at this scale X is from -160 to 58 mm"},
        // at 10 % the middle lies beyond the print's coordinates: it starts as near as they reach
        {{"pdf", "--mirror", "--scale", "10", "--shift", "1,0", "--lang", "en", in, pdf}, 2,
         "--shift: at this scale a mirrored print cannot be shifted sideways"},
        {{"bmp", "--dpi", "4294967396", "--lang", "en", in, dir.file("out.bmp")}, 2, "--dpi expects 100 to 600"},
        {{"pdf", "--layers", "K1,K2", "--lang", "en", in, pdf}, 2, "--layers: the layers of one side only"},
        {{"pdf", "--layers", "X9", "--lang", "en", dir.file("missing.kbd"), pdf}, 2,
         "--layers: unknown layer 'X9' (K1, B1, K2, B2, LStop1 or LStop2)"},
        {{"pdf", "--reverse", "--lang", "en", in, pdf}, 2, "unknown option --reverse"}, // not Qt's to take
        {{"pdf", "--lang", "en", in, dir.file("no/out.pdf")}, 1, "Cannot create a file beside \"" + dir.file("no/out.pdf") + "\""},
        {{"bmp", in, in}, 2, "выходной файл совпадает с входным"},
    });
    EXPECT_FALSE(std::ifstream(pdf).good()) << "nothing written on failure";

    // Run on its own, the renderer takes --lang before the subcommand as
    // kestrel-cli does.
    const std::string renderer =
        (std::filesystem::path(KESTREL_CLI_PATH).parent_path() / "kestrel-cli-render").string();
    const CommandResult leading = runProgram(renderer, {"--lang", "en", "bmp", in, dir.file("out.bmp")});
    EXPECT_EQ(leading.status, 0) << leading.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.bmp")));
    const CommandResult wrong = runProgram(renderer, {"--lang", "bmp", in, dir.file("out2.bmp")});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find("не 'bmp'"), std::string::npos) << wrong.err;
}

// The PDF is made beside its file: a temporary folder that takes no file
// (/proc here, full or read-only for a user) is no reason to refuse it.
TEST_F(RenderCli, PdfWithoutAUsableTemporaryFolder)
{
    const std::string command = std::string("TMPDIR=/proc '") + KESTREL_CLI_PATH + "' pdf --lang en '" +
                                input + "' '" + dir.file("t.pdf") + "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("t.pdf")));
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().filename().string().rfind(".kestrel-save", 0), 0u) << "left behind: " << entry.path();
}

// A write that fails part way (here a file size limit, as on a full disk)
// must be reported and leave the file that was there before.
TEST_F(RenderCli, AFailedWriteKeepsTheOldFile)
{
    for (const auto& [command, name] :
         {std::pair{"pdf", "out.pdf"}, std::pair{"bmp", "out.bmp"}, std::pair{"convert", "out.kbd"}}) {
        SCOPED_TRACE(command);
        const std::string out = dir.file(name);
        writeBytes(out, {'o', 'l', 'd'});
        const CommandResult r = runCli({command, "--lang", "en", input, out}, 600);
        EXPECT_EQ(r.status, 1) << r.out << r.err;
        EXPECT_NE(r.err.find("kestrel-cli:"), std::string::npos) << r.err;
        EXPECT_EQ(readBytes(out), (std::vector<uint8_t>{'o', 'l', 'd'}));
        // Without the limit the same command writes the file.
        EXPECT_EQ(runCli({command, input, out}).status, 0);
        EXPECT_GT(readBytes(out).size(), 600u);
    }
}

// A file name that is no valid UTF-8 is written byte for byte, in a folder
// so named too: the name its bytes would read as (a replacement character
// for each bad byte) may be another file, here the input itself.
TEST_F(RenderCli, APdfNameThatIsNoTextIsTheFileWritten)
{
    std::filesystem::create_directory(dir.file("dir\xe9"));
    const std::string readAs = dir.file("board\xef\xbf\xbd.kbd");
    std::filesystem::copy_file(input, readAs);
    const std::vector<uint8_t> before = readBytes(readAs);
    for (const std::string& named : {dir.file("board\xfe.kbd"), dir.file("dir\xe9/out.pdf")}) {
        const CommandResult r = runCli({"pdf", readAs, named});
        EXPECT_EQ(r.status, 0) << r.err;
        const std::vector<uint8_t> written = readBytes(named);
        EXPECT_EQ(std::string(written.begin(), written.begin() + std::min<size_t>(written.size(), 5)), "%PDF-");
    }
    EXPECT_EQ(readBytes(readAs), before) << "the input is kept";
}

// Lengths on paper, true to scale, calibrated and tiled; --shift moves the
// board on paper as the preview drag does, mirrored too, where the print
// starts at the middle of the page.
TEST_F(RenderCli, PdfTrueToScaleCalibratedTiledAndShifted)
{
    const std::string pdf = dir.file("out.pdf");
    auto print = [&](std::vector<std::string> options) {
        std::vector<std::string> args{"pdf", "--lang", "en", "--layers", "K1"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {input, pdf});
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.out, "printed side 1 of board \"Board 1\" to " + pdf + "\n") << r.err;
        EXPECT_EQ(r.err, "") << "the board lies wholly on the page";
        return runsOnPaper(pdf);
    };
    const auto plain = print({}), mirrored = print({"--mirror"});
    const auto tiled = print({"--calibrate", "1.02,0.98", "--scale", "50", "--tiles", "2", "--gap", "5"});
    ASSERT_EQ(std::tuple(plain.size(), mirrored.size(), tiled.size()), std::tuple(1u, 1u, 2u));
    EXPECT_NEAR(plain[0].second, 1002, 2.5) << "100 mm print 100 mm";
    EXPECT_NEAR(tiled[0].second, 511, 2.5) << "two copies of 51 mm at 50 % and 1.02";
    EXPECT_NEAR(tiled[1].second, 511, 2.5);
    EXPECT_NEAR(print({"--shift", "12,0"}).at(0).first - plain[0].first, 120, 2);
    EXPECT_NEAR(print({"--shift", "3.5,7", "--mirror"}).at(0).first - mirrored[0].first, 35, 2);
    // Mirrored at 10 %, unshifted, as the editor prints it.
    const auto small = print({"--mirror", "--scale", "10"});
    ASSERT_EQ(small.size(), 1u);
    EXPECT_NEAR(small[0].second, 100, 2.5) << "100 mm at 10 %";
    EXPECT_EQ(print({"--mirror", "--scale", "10", "--shift", "0,5"}), small) << "down, not sideways";
    expectRefusals({{{"pdf", "--shift", "1", input, pdf}, 2, "--shift: X,Y в мм"},
                    {{"pdf", "--shift", "-100,0", "--lang", "en", input, pdf}, 1, "the board lies wholly off the page"},
                    {{"pdf", "--tiles", "21", "--lang", "en", input, pdf}, 2, "--tiles expects 1 to 20"}});
    const CommandResult most = runCli({"pdf", "--tiles", "20", "--lang", "en", input, pdf});
    EXPECT_EQ(most.status, 0) << "20 copies are allowed: " << most.err;
    // A millimetre of the 100 mm board left on the page still prints.
    const CommandResult edge = runCli({"pdf", "--shift", "-99,0", input, pdf});
    EXPECT_EQ(edge.status, 0) << edge.err;
    EXPECT_EQ(edge.err, "kestrel-cli: часть платы вне страницы и не напечатана (см. --shift и --scale)\n");
}

// Which layers land in the bitmap is BitmapExport's; here the options reach it.
TEST_F(RenderCli, BitmapOfTheChosenLayers)
{
    const std::string bmp = dir.file("out.bmp");
    // As in a job that inherited a desktop session's platform but not its
    // display: Qt would abort on it.
    std::vector<std::pair<const char*, std::optional<std::string>>> kept;
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY"}) {
        const char* value = std::getenv(name);
        kept.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::unsetenv("DISPLAY");
    const CommandResult r = runCli({"bmp", "--dpi", "254", "--colour", "--layers", "K1", input, bmp});
    for (const auto& [name, value] : kept)
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "записано 1000 x 800 пикселов в " + bmp + "\n");
    const auto decoded = decodeBmp(readBytes(bmp), bmp, Language::English);
    ASSERT_TRUE(succeeded(decoded));
    EXPECT_EQ(decoded->dpi, 254);
    auto dark = [&](int x, int y) { return decoded->dark(x, y); };
    EXPECT_TRUE(dark(500, 100)) << "copper";
    EXPECT_FALSE(dark(500, 500)) << "silk hidden";

    // The layers of the side that is not active are drawn as with that side
    // active: in black and white its grey would vanish.
    addTrack(*doc.currentObjects(), {{0, -3000}, {10000, -3000}}, 200, Layer::K2);
    writeLayout(dir, doc);
    ASSERT_EQ(runCli({"bmp", "--dpi", "254", "--layers", "K2", input, bmp}).status, 0);
    const auto side2 = decodeBmp(readBytes(bmp), bmp, Language::English);
    ASSERT_TRUE(succeeded(side2));
    EXPECT_TRUE(side2->dark(500, 300)) << "copper of side 2";
    EXPECT_FALSE(side2->dark(500, 100)) << "copper of side 1 hidden";

    // With K2 active, a pdf without --layers prints side 2; the bitmap takes up to 600 dpi.
    doc.Working.ActiveLayer = Layer::K2;
    writeLayout(dir, doc);
    const std::string pdf = dir.file("out.pdf");
    EXPECT_EQ(runCli({"pdf", "--lang", "en", input, pdf}).out, "printed side 2 of board \"Board 1\" to " + pdf + "\n");
    EXPECT_EQ(runCli({"bmp", "--dpi", "600", "--lang", "en", input, bmp}).out,
              "wrote 2362 x 1890 pixels to " + bmp + "\n");
}
