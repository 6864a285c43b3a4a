#include "output/gui/BitmapExportDialog.h"

#include "model/LayoutFile.h"
#include "output/gui/BoardBitmap.h"

#include "support/DialogControls.h"
#include "support/ScriptedPrompts.h"
#include "support/TestData.h"

#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <gtest/gtest.h>

#include <algorithm>

using namespace kestrel;
using namespace kestrel::test;
using Answer = Prompts::Answer;

namespace {

// The palette index of pixel (x, y), counted from the top, of a 1- or 4-bit file.
int indexAt(const std::vector<uint8_t>& b, int x, int y)
{
    auto u32 = [&b](size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; };
    const int width = static_cast<int>(u32(18)), height = static_cast<int>(u32(22)), bits = b[28];
    const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    const uint8_t byte = b[u32(10) + stride * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x * bits / 8)];
    const int shift = 8 - bits * (x % (8 / bits) + 1);
    return (byte >> shift) & ((1 << bits) - 1);
}

// A 20 x 10 mm board: a copper track along y = -3 mm, a selected and
// autorouted one along y = -7 mm, silk across x = 15 mm and a track of the hidden layer K2 across x = 5 mm.
LayoutDocument exampleBoard()
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.Working.BoardWidth = 2000;
    doc.Working.BoardHeight = 1000;
    ObjectList& list = *doc.currentObjects();
    addTrack(list, {{200, -300}, {1800, -300}}, 100, 1);
    LayoutObject& selected = addTrack(list, {{200, -700}, {1800, -700}}, 100, 1);
    selected.Selected = 1;
    selected.Routed = 1; // blue on the screen while unselected
    addTrack(list, {{1500, -100}, {1500, -900}}, 100, 2);
    addTrack(list, {{500, -100}, {500, -900}}, 100, 3);
    return doc;
}

ScriptedPrompts::DialogScript choose(int dpi, bool colour)
{
    return [dpi, colour](QDialog& d) {
        child<QSlider>(d, "TrackBar").setValue(dpi);
        child<QRadioButton>(d, colour ? "RB_Farbe" : "RB_SW").click();
        return ScriptedPrompts::accept(d);
    };
}

} // namespace

// Over side 1's ground plane (with side 2 shown) the track of side 2 shows
// grey in colour; in black and white, where grey turns white, it is left out
// rather than cut into the plane, and without the copper the plane is left
// out too.
TEST(BitmapExport, WritesTheVisibleLayersInTheirColours)
{
    TempDir dir;
    struct Row {
        bool colour, plane;
        int track, selected, silk, side2, empty; // palette indices at probed points
        int bits;
        bool silkOnly = false;
    } rows[] = {
        {false, false, 0, 0, 0, 1, 1, 1},  // black and white: every drawn colour is dark; side 2 hidden
        {true, false, 0, 12, 9, 15, 15, 4}, // black, blue as unselected routed, red, white
        {false, true, 0, 0, 0, 0, 0, 1},
        {true, true, 0, 12, 9, 8, 0, 4},
        // Silk alone in black and white: the plane is not drawn, or all would be black.
        {false, true, 1, 1, 0, 1, 1, 1, true},
    };
    for (const Row& r : rows) {
        LayoutDocument doc = exampleBoard();
        if (r.plane) {
            doc.Working.GroundPlane1 = 1;
            doc.Working.LayerVisible = {1, 1, 1, 0};
        }
        if (r.silkOnly)
            doc.Working.LayerVisible = {0, 1, 0, 0};
        ScriptedPrompts prompts;
        prompts.dialogs.push_back(choose(254, r.colour)); // 10 pixels a millimetre
        prompts.saveNames.push_back(QString::fromStdString(dir.file("board.bmp")));
        runBitmapExport(nullptr, doc, Language::English, prompts);
        EXPECT_TRUE(prompts.messages.empty());
        const std::vector<uint8_t> b = readBytes(dir.file("board.bmp"));
        ASSERT_GT(b.size(), 62u);
        EXPECT_EQ(b[28], r.bits);
        EXPECT_EQ(indexAt(b, 100, 30), r.track) << r.colour << r.plane;
        EXPECT_EQ(indexAt(b, 100, 70), r.selected) << r.colour << r.plane;
        EXPECT_EQ(indexAt(b, 150, 50), r.silk) << r.colour << r.plane;
        EXPECT_EQ(indexAt(b, 50, 50), r.side2) << r.colour << r.plane;
        EXPECT_EQ(indexAt(b, 100, 50), r.empty) << "the board, or the plane: " << r.colour << r.plane;
    }
}

// A fresh dialog offers black and white; the sizes it gives are width by
// height, as the file comes out.
TEST(BitmapExport, FirstOfferIsBlackAndWhiteAndTheSizesReadWidthByHeight)
{
    TempDir dir;
    LayoutDocument doc = exampleBoard(); // 20 x 10 mm
    ScriptedPrompts prompts;
    QString original, pixels;
    prompts.dialogs.push_back([&](QDialog& d) {
        EXPECT_TRUE(child<QRadioButton>(d, "RB_SW").isChecked());
        EXPECT_FALSE(child<QRadioButton>(d, "RB_Farbe").isChecked());
        child<QSlider>(d, "TrackBar").setValue(254);
        original = child<QLabel>(d, "L_Original").text();
        pixels = child<QLabel>(d, "L_Pixel").text();
        return ScriptedPrompts::accept(d);
    });
    prompts.saveNames.push_back(QString::fromStdString(dir.file("board.bmp")));
    runBitmapExport(nullptr, doc, Language::English, prompts);
    EXPECT_EQ(original, "20.0 mm x 10.0 mm");
    EXPECT_EQ(pixels, "200 x 100");
    const std::vector<uint8_t> b = readBytes(dir.file("board.bmp"));
    ASSERT_GT(b.size(), 62u);
    EXPECT_EQ(b[28], 1) << "one bit a pixel";
    EXPECT_EQ(std::pair(b[18] | b[19] << 8, b[22] | b[23] << 8), std::pair(200, 100));
}

TEST(BitmapExport, CancelWritesNothingAndFailuresAreReported)
{
    TempDir dir;
    LayoutDocument doc = exampleBoard();
    ScriptedPrompts prompts;
    prompts.dialogs.push_back(ScriptedPrompts::cancel);
    runBitmapExport(nullptr, doc, Language::English, prompts);

    // The dialog kept by the window offers what was last confirmed, not
    // what a cancel left in it.
    QWidget window;
    prompts.dialogs.push_back(choose(300, false));
    prompts.saveNames.push_back(QString());
    runBitmapExport(&window, doc, Language::English, prompts);
    prompts.dialogs.push_back([](QDialog& d) {
        child<QSlider>(d, "TrackBar").setValue(600);
        child<QRadioButton>(d, "RB_Farbe").click();
        return ScriptedPrompts::cancel(d);
    });
    runBitmapExport(&window, doc, Language::English, prompts);
    std::pair<int, bool> offered;
    prompts.dialogs.push_back([&offered](QDialog& d) {
        offered = {static_cast<TExportDlg&>(d).dpi(), static_cast<TExportDlg&>(d).colour()};
        return ScriptedPrompts::cancel(d);
    });
    runBitmapExport(&window, doc, Language::English, prompts);
    EXPECT_EQ(offered, std::pair(300, false));

    prompts.dialogs.push_back(choose(300, false));
    prompts.saveNames.push_back(QString());
    runBitmapExport(nullptr, doc, Language::English, prompts);
    EXPECT_TRUE(prompts.messages.empty());

    prompts.dialogs.push_back(choose(300, false));
    prompts.saveNames.push_back(QString::fromStdString(dir.file("missing/board.bmp")));
    runBitmapExport(nullptr, doc, Language::Russian, prompts);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.contains("board.bmp"));
    EXPECT_TRUE(prompts.messages[0].text.startsWith(QString::fromUtf8("Файл не может быть создан!")));

    // 1.2 x 1.2 m at 600 dpi: asked first, "no" keeps the dialog open and writes nothing.
    doc.Working.BoardWidth = doc.Working.BoardHeight = 120000;
    prompts.dialogs.push_back(choose(600, false));
    prompts.answers.push_back(Answer::No);
    runBitmapExport(nullptr, doc, Language::English, prompts);
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.questions.size(), 1u);
    // 4 x 4 m: refused at once, not asked about first; a board too small for
    // a single pixel is refused as empty, not as too large.
    doc.Working.BoardWidth = doc.Working.BoardHeight = 400000;
    prompts.dialogs.push_back(choose(600, false));
    runBitmapExport(nullptr, doc, Language::English, prompts);
    doc.Working.BoardWidth = doc.Working.BoardHeight = 10;
    prompts.dialogs.push_back(choose(100, false));
    runBitmapExport(nullptr, doc, Language::Russian, prompts);
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_TRUE(prompts.messages[1].text.contains("too large")) << prompts.messages[1].text.toStdString();
    EXPECT_TRUE(prompts.messages[2].text.contains(QString::fromUtf8("пуст"))) << prompts.messages[2].text.toStdString();
    EXPECT_EQ(prompts.questions.size(), 1u);
    EXPECT_TRUE(prompts.exhausted());
}

// The bitmap is drawn a strip of rows at a time: objects crossing the
// strips' edges, labels, arcs and the ground plane's cut-outs must come out
// as when the board is drawn whole. The painter may round a figure's edge a
// pixel differently where a strip cuts it; nothing more may differ.
TEST(BitmapExport, StripsGiveTheWholeBoardsPixels)
{
    auto read = readDocument(std::string(KESTREL_SOURCE_DIR) + "/examples/demo.kbd", Language::English);
    ASSERT_TRUE(succeeded(read));
    LayoutDocument& doc = read->document;
    for (const bool plane : {false, true}) {
        doc.Working.GroundPlane1 = plane;
        LayerState layers = LayerState::of(doc.Working);
        layers.visible.fill(true);
        for (const bool colour : {false, true}) {
            const auto whole = boardBitmap(*doc.currentObjects(), doc.Working, layers, 300, colour, Language::English,
                                           1 << 20);
            ASSERT_TRUE(whole);
            const auto background = std::count(whole->pixels.begin(), whole->pixels.end(), whole->pixels.front());
            ASSERT_LT(static_cast<size_t>(background), whole->pixels.size()) << "the board is drawn";
            for (const int rows : {1, 7, 100}) {
                const auto strips =
                    boardBitmap(*doc.currentObjects(), doc.Working, layers, 300, colour, Language::English, rows);
                ASSERT_TRUE(strips);
                ASSERT_EQ(strips->pixels.size(), whole->pixels.size());
                size_t differing = 0;
                for (size_t i = 0; i < whole->pixels.size(); ++i)
                    differing += strips->pixels[i] != whole->pixels[i];
                EXPECT_LE(differing, whole->pixels.size() / 10000)
                    << "plane " << plane << ", colour " << colour << ", rows " << rows;
            }
        }
    }
}
