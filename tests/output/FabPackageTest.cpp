#include "output/FabPackage.h"
#include "output/GerberExport.h"

#include "OutputTestUtil.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <mutex>

using namespace kestrel;
using namespace kestrel::test;

TEST(FabPackage, BaseNames)
{
    const std::pair<std::string, std::string> rows[] = {
        {"a/b\\c:d", "a_b_c_d"}, {"  x--y__", "x--y"}, {"ЁЖ щука №5", "EZh_shchuka_5"}, {"Підсилювач", "Pidsilyuvach"},
        {"№ ?", "board"}, {"com1", "board-com1"}, {"COM10", "COM10"}, {"ReadMe", "board-ReadMe"},
    };
    for (const auto& [name, expected] : rows)
        EXPECT_EQ(fabBaseName(name), expected) << name;
}

// A ground plane keeps the box of a label in a system font, grown by the
// clearance, free (the glyphs drawn: GerbvReading.FabPackageLayersLineUp).
TEST(FabPackage, FontLabelsInGerber)
{
    ObjectList list;
    addTrack(list, {{100, -100}, {500, -100}}, 40);
    LayoutObject& label = list.append(makeText({300, -300}, "A", 0, 200, 500, -500, Layer::K1));
    label.Clearance = 20;
    BoardSettings settings = boardOf(1000, 1000);
    const SquareGlyphs glyphs;
    GerberOptions on = GerberOptions::presetFor(GerberLayer::K1);
    on.fontLabels = true;

    settings.GroundPlane1 = 1;
    const Lines plane = splitCrlf(exportGerber(list, settings, on, Language::English, &glyphs));
    const auto clear = std::find(plane.begin(), plane.end(), "%LPC*%");
    ASSERT_NE(clear, plane.end());
    // The label's box (300..500, -500..-300) grown by 20 is cut out, mirrored.
    EXPECT_TRUE(std::any_of(clear, plane.end(), [](const std::string& l) { return l.starts_with("X720Y480D0"); }));
}

// The files are made beside the check, on two threads: they are what
// fabPackageFiles gives (the layers' sides and mirroring:
// GerbvReading.FabPackageLayersLineUp), each label is asked for once, and the
// check is the check's.
TEST(FabPackage, FilesNamesAndReadme)
{
    struct CountingGlyphs : SquareGlyphs {
        std::vector<Polygon> labelContours(const LayoutObject& l) const override
        {
            const std::lock_guard lock(mutex);
            ++asked;
            return SquareGlyphs::labelContours(l);
        }
        mutable std::mutex mutex;
        mutable int asked = 0;
    };
    Board board;
    board.Name = "Blinker 555";
    addTrack(board.Objects, {{100, -100}, {500, -100}}, 25);
    addTrack(board.Objects, {{100, -130}, {300, -130}}, 10); // too narrow, and too close to the first
    addPad(board.Objects, {500, -100}, 80, 1, Layer::K2, 40);
    addVia(board.Objects, {800, -500}, 60, 20);
    board.Objects.append(makeText({300, -300}, "A", 0, 200, 500, -500, Layer::B1));
    board.Objects.append(makeText({300, -500}, "B", 0, 200, 500, -700, Layer::K2));
    const BoardSettings settings = boardOf(1000, 800);
    const DesignRules rules;
    const CountingGlyphs glyphs;

    const PreparedFabPackage package = prepareFabPackage(board, settings, rules, &glyphs);
    const DesignReport report = checkDesignWithFigures(board.Objects, settings, rules);
    ASSERT_FALSE(report.violations.empty());
    ASSERT_EQ(package.report.violations.size(), report.violations.size());
    for (size_t i = 0; i < report.violations.size(); ++i) {
        EXPECT_EQ(package.report.violations[i].kind, report.violations[i].kind);
        EXPECT_EQ(package.report.violations[i].object, report.violations[i].object);
    }
    EXPECT_EQ(glyphs.asked, 2);

    const std::vector<ZipEntry> files = fabPackageFiles(board, settings, &glyphs, report.figures);
    ASSERT_EQ(package.files.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(package.files[i].bytes, files[i].bytes) << files[i].name;

    std::vector<std::string> names;
    for (const ZipEntry& f : files)
        names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Blinker_555.GTL", "Blinker_555.GBL", "Blinker_555.GTO",
                                               "Blinker_555.GBO", "Blinker_555.GTS", "Blinker_555.GBS",
                                               "Blinker_555.GKO", "Blinker_555.TXT", "README.txt"}));
    // Which side and mirroring each file has: GerbvReading.FabPackageLayersLineUp.
    EXPECT_NE(files[0].bytes.find("G36*"), std::string::npos) << "the label of side 2 drawn on the top copper";
    const std::string& readme = files[8].bytes;
    for (const char* line : {"Blinker_555.GTL  top copper (copper of side 2)", "Copper layers: 2",
                             "Smallest track width: 0.10 mm", "Hole sizes: 0.40, 0.80 mm"})
        EXPECT_NE(readme.find(line), std::string::npos) << line << "\n" << readme;
    // A gap just below the board house's 0.15 mm is not written as 0.15 mm.
    DesignFigures close = designFigures(board.Objects);
    close.smallestClearanceUnits = 14.99;
    EXPECT_NE(fabPackageFiles(board, settings, &glyphs, close).back().bytes.find("Smallest clearance: 0.149 mm"),
              std::string::npos);

    TempDir dir;
    const std::string zip = dir.file("fab.zip");
    ASSERT_TRUE(succeeded(writeFabPackage(zip, files, Language::English)));
    EXPECT_FALSE(writeFabPackage(dir.file("missing/fab.zip"), files, Language::English).ok());

    // Unpacked, the files are plain files writable by their owner only (the contents read back:
    // FabPackageCommand.AsksAboutViolationsThenWritesTheZip).
    const std::string bytes = fileText(zip);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    ASSERT_NE(source, nullptr);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    ASSERT_NE(archive, nullptr);
    for (zip_uint64_t i = 0; i < files.size(); ++i) {
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        ASSERT_EQ(zip_file_get_external_attributes(archive, i, 0, &system, &attributes), 0);
        EXPECT_EQ(system, ZIP_OPSYS_UNIX) << files[i].name;
        EXPECT_EQ(attributes >> 16, 0100644u) << files[i].name;
    }
    zip_close(archive);
}

