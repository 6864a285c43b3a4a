#include "model/BoardProperties.h"

#include "Refusals.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// `new` writes what File > New and the size dialog after it make, saved:
// byte for byte.
TEST(NewCommand, WritesTheEditorsNewDocument)
{
    TempDir dir;
    const std::string out = dir.file("new.kbd"), expected = dir.file("expected.kbd");
    struct Row {
        std::vector<std::string> args;
        Language lang;
        int32_t width, height;
        const char* name; // nullptr: the board's own
        std::string report;
    };
    const Row rows[] = {
        {{"new", out}, Language::Russian, 16000, 10000, nullptr, "записан новый документ: " + out + "\n"},
        {{"new", "--lang", "en", "--width", "10", "--height", "300", "--name", "PSU  5 V", out}, Language::English,
         1000, 30000, "PSU  5 V", "new document written: " + out + "\n"},
        {{"new", "--width=300", "--name=", out}, Language::Russian, 30000, 10000, "",
         "записан новый документ: " + out + "\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.size());
        const CommandResult r = runCli(row.args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, row.report);
        LayoutDocument doc = LayoutDocument::withFirstBoard(row.lang);
        SetBoardProperties(doc, row.width, row.height, row.name ? row.name : doc.activeBoard()->Name);
        ASSERT_TRUE(succeeded(writeDocument(doc, expected, false, row.lang)));
        EXPECT_EQ(readBytes(out), readBytes(expected));
    }
    const auto read = readDocument(dir.file("new.kbd"), Language::English);
    ASSERT_TRUE(succeeded(read));
    EXPECT_EQ(read->document.board(0).Name, "");
}

// The dialog's limits, each just outside; nothing is written.
TEST(NewCommand, RefusesWhatTheDialogRefuses)
{
    TempDir dir;
    const std::string out = dir.file("new.kbd");
    const auto run = [&out](std::vector<std::string> options) {
        options.insert(options.begin(), {"new", "--lang", "en"});
        options.push_back(out);
        return options;
    };
    expectRefusals({
        {run({"--width", "9"}), 2, "--width: Please enter values from 10 mm to 300 mm."},
        {run({"--height", "301"}), 2, "--height: Please enter values from 10 mm to 300 mm."},
        {run({"--width", "100.5"}), 2, "--width: Please enter the board size in whole millimetres"},
        {run({"--name", std::string(31, 'N')}), 2, "--name is longer than 30 characters"},
        {run({"--name", "日"}), 2, "--name holds a character the file cannot hold: 日"},
        {{"new", "--width", "9", out}, 2, "--width: Введите значения от 10 до 300 мм."},
        {{"new", "--lang", "en"}, 2, "expected 1 file argument, got 0"},
        {{"new", "--lang", "en", dir.file("missing/new.kbd")}, 1, "The file was not saved."},
    });
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
