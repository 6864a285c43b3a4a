#include "output/BmpFile.h"
#include "output/gui/BitmapExportDialog.h"

#include "support/DialogControls.h"
#include "support/ScriptedPrompts.h"
#include "support/TestData.h"

#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <gtest/gtest.h>

#include <tuple>

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

// The language reaches the title and the controls; "&&" keeps an ampersand out of the mnemonic.
TEST(BitmapExport, CaptionsInBothLanguages)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"", "В файл *.BMP", "Bitmap export (all visible layers)"},
        {"GroupBox1", "Качество рисунка", "Resolution"},
        {"RB_SW", "Цв/Чб", "&B&&W"},
    };
    ScriptedPrompts prompts;
    for (const Language lang : {Language::Russian, Language::English}) {
        TExportDlg dialog(lang, prompts);
        for (const auto& [name, russian, english] : rows)
            EXPECT_EQ(captionOf(dialog, name), QString::fromUtf8(lang == Language::English ? english : russian))
                << name;
    }
}

TEST(BitmapExport, EstimatesFollowResolutionAndFormat)
{
    ScriptedPrompts prompts;
    const std::tuple<Language, int, bool, const char*, const char*, const char*, const char*> rows[] = {
        {Language::Russian, 300, false, "160.0 мм x 100.0 мм", "1890 x 1181", "300 точек/дюйм", "272 кБ"},
        {Language::English, 300, true, "160.0 mm x 100.0 mm", "1890 x 1181", "300 dpi", "1090 kB"},
        {Language::English, 100, false, "160.0 mm x 100.0 mm", "630 x 394", "100 dpi", "30 kB"},
    };
    for (const auto& [lang, dpi, colour, size, pixels, resolution, memory] : rows) {
        TExportDlg dialog(lang, prompts);
        dialog.setBoardSize(16000, 10000);
        child<QSlider>(dialog, "TrackBar").setValue(dpi);
        child<QRadioButton>(dialog, colour ? "RB_Farbe" : "RB_SW").click();
        EXPECT_EQ(child<QLabel>(dialog, "L_Original").text(), QString::fromUtf8(size));
        EXPECT_EQ(child<QLabel>(dialog, "L_Pixel").text(), pixels);
        EXPECT_EQ(child<QLabel>(dialog, "L_dpi").text(), resolution);
        EXPECT_EQ(child<QLabel>(dialog, "L_Speicher").text(), QString::fromUtf8(memory));
    }
}

TEST(BitmapExport, LargeBitmapsAskFirst)
{
    const std::tuple<int32_t, Answer, bool, size_t> rows[] = {
        // board width, answer, accepted, questions asked
        {30000, Answer::No, true, 0}, // 24524 kB: no question
        {31000, Answer::No, false, 1},
        {31000, Answer::Yes, true, 1},
    };
    for (const auto& [width, answer, accepted, asked] : rows) {
        ScriptedPrompts prompts;
        if (asked)
            prompts.answers.push_back(answer);
        TExportDlg dialog(Language::English, prompts);
        dialog.setBoardSize(width, 30000);
        child<QSlider>(dialog, "TrackBar").setValue(600);
        child<QRadioButton>(dialog, "RB_Farbe").click();
        EXPECT_EQ(ScriptedPrompts::accept(dialog), accepted) << width;
        ASSERT_EQ(prompts.questions.size(), asked);
        if (asked) {
            EXPECT_TRUE(prompts.questions[0].text.startsWith("You are about to create a large bitmap."));
        }
    }
}

TEST(BitmapExport, WritesTheVisibleLayersInTheirColours)
{
    TempDir dir;
    struct Row {
        bool colour;
        int track, selected, silk, hidden, empty; // palette indices at probed points
        int bits;
    } rows[] = {
        {false, 0, 0, 0, 1, 1, 1},  // black and white: every drawn colour is dark
        {true, 0, 12, 9, 15, 15, 4}, // black, blue as unselected routed, red, white
    };
    for (const Row& r : rows) {
        LayoutDocument doc = exampleBoard();
        ScriptedPrompts prompts;
        prompts.dialogs.push_back(choose(254, r.colour)); // 10 pixels a millimetre
        prompts.saveNames.push_back(QString::fromStdString(dir.file("board.bmp")));
        runBitmapExport(nullptr, doc, Language::English, prompts);
        EXPECT_TRUE(prompts.messages.empty());
        const std::vector<uint8_t> b = readBytes(dir.file("board.bmp"));
        ASSERT_GT(b.size(), 62u);
        EXPECT_EQ(b[28], r.bits);
        EXPECT_EQ(b[18] | b[19] << 8, 200);
        EXPECT_EQ(b[22] | b[23] << 8, 100);
        EXPECT_EQ(indexAt(b, 100, 30), r.track) << r.colour;
        EXPECT_EQ(indexAt(b, 100, 70), r.selected) << r.colour;
        EXPECT_EQ(indexAt(b, 150, 50), r.silk) << r.colour;
        EXPECT_EQ(indexAt(b, 50, 50), r.hidden) << "a hidden layer is not drawn";
        EXPECT_EQ(indexAt(b, 100, 50), r.empty) << r.colour;
        const auto scan = decodeBmp(b, "board.bmp");
        ASSERT_TRUE(succeeded(scan));
        EXPECT_EQ(scan->dpi, 254);
    }
}

TEST(BitmapExport, CancelWritesNothingAndFailuresAreReported)
{
    TempDir dir;
    LayoutDocument doc = exampleBoard();
    ScriptedPrompts prompts;
    prompts.dialogs.push_back(ScriptedPrompts::cancel);
    runBitmapExport(nullptr, doc, Language::English, prompts);
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

    // 4 x 4 m at 600 dpi: refused before any memory is taken.
    doc.Working.BoardWidth = doc.Working.BoardHeight = 400000;
    prompts.dialogs.push_back(choose(600, false));
    prompts.answers.push_back(Answer::Yes);
    runBitmapExport(nullptr, doc, Language::English, prompts);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_TRUE(prompts.messages[1].text.contains("too large")) << prompts.messages[1].text.toStdString();
    EXPECT_TRUE(prompts.exhausted());
}
