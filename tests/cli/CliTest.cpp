#include "model/LayoutFile.h"
#include "output/DrillExport.h"

#include "Refusals.h"
#include "output/OutputTestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

TEST(Cli, ConvertWritesVersionThreeLikeSave)
{
    TempDir dir;
    // A version-0 file, board 8000 x 5000, holding one pad of radius 50 at (1000, -1000) on layer 1.
    std::vector<uint8_t> old = {0x00, 0x33, 0xAA, 0xFF, 0x40, 0x1F, 0, 0, 0x88, 0x13, 0, 0, 1, 0,
                                2,    0xE8, 0x03, 0x18, 0xFC, 50,   0, 0, 0,    0,    0, 0, 1, 1};
    old.resize(14 + 49); // the rest of the record is zero
    writeBytes(dir.file("old.kbd"), old);
    // The file's one board is named in the language, as the editor names it (in
    // Russian too: LayoutFile.OldVersions).
    CommandResult r = runCli({"convert", "--lang", "en", dir.file("old.kbd"), dir.file("new.kbd")});
    ASSERT_EQ(r.status, 0) << r.err;
    auto back = readDocument(dir.file("new.kbd"), Language::English);
    ASSERT_TRUE(succeeded(back));
    EXPECT_EQ(back->document.board(0).Name, "Board 1");
    ASSERT_EQ(back->document.currentObjects()->size(), 1u);
    // Saving the read document again gives the same bytes as convert wrote.
    ASSERT_TRUE(succeeded(writeDocument(back->document, dir.file("again.kbd"), false, Language::English)));
    EXPECT_EQ(readBytes(dir.file("again.kbd")), readBytes(dir.file("new.kbd")));
    // Written to stdout itself, the file is all stdout holds: the line saying
    // so goes to stderr.
    const CommandResult piped = runCli({"convert", "--lang", "en", dir.file("old.kbd"), "/dev/stdout"});
    const std::vector<uint8_t> expected = readBytes(dir.file("new.kbd"));
    EXPECT_EQ(piped.out, std::string(expected.begin(), expected.end()));
    EXPECT_EQ(piped.err, "converted version 0 to version 3: /dev/stdout\n");
    // The summary names the version read, and its board in English whatever the language.
    const std::string summary = "{\"version\": 0, \"active\": 0, \"origin\": [0, 0], \"boards\": [{\"name\": \"Board 1\", "
                                "\"width\": 8000, \"height\": 5000, \"objects\": 1";
    EXPECT_EQ(runCli({"info", "--lang", "ru", dir.file("old.kbd")}).out.rfind(summary, 0), 0u);
    // A summary cut short by a full disk or a size limit on stdout is a failure.
    const CommandResult cut = runCli({"info", "--lang", "en", dir.file("old.kbd")}, 100);
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.err, "kestrel-cli: the output was not written: File too large\n");
    EXPECT_EQ(runCli({"--help"}, 100).status, 1) << "help cut short as well";
}

// The messages of every command, the parser's usage errors among them, come
// in Russian by default and in English with --lang en: one row of each kind
// in both languages, the rest in English.
TEST(Cli, ExitStatusesAndMessages)
{
    TempDir dir;
    const std::string s = dir.file("s.kbd"), out = dir.file("out"), missing = dir.file("missing.kbd");
    // Board 0 holds pads 0 and 1 on K1 and pad 2 on K2 (bands 0-1 and 1-2),
    // a via 3-4, track 5 and four more objects; board 1 holds two.
    LayoutDocument doc = sampleDocument();
    writeLayout(dir, doc, "s.kbd");
    // The arguments, run as given and then with --lang en after the subcommand; the status; the messages.
    const std::tuple<std::vector<std::string>, int, std::string, std::string> rows[] = {
        {{"export", "--board", "x", s, out}, 2, "--board: ожидается целое число, не 'x'",
         "--board expects a whole number, not 'x'"},
        {{"route", "--from", "0", "--to", "2", s, out}, 1, "между площадками 0 и 2 нет перемычки",
         "there is no rubber band between pads 0 and 2"},
        {{"clear-bands", missing, out}, 1, "Не удаётся открыть \"" + missing + "\": нет такого файла или папки",
         "Cannot open \"" + missing + "\": No such file or directory"},
        // An option left without its value takes the input file for it.
        {{"drill", "--board", s, out}, 2, "ожидается файлов: 2, указано: 1; значением --board стал файл '" + s + "'",
         "expected 2 file arguments, got 1; --board took the file '" + s + "' for its value"},
        {{"convert", s, ""}, 2, "пустое имя файла", "an empty file name"},
        {{"edit", "", out, "rotate"}, 2, "пустое имя файла", "an empty file name"},
        {{"edit", s, "", "rotate"}, 2, "пустое имя файла", "an empty file name"},
        // The board numbers stop one short of the count.
        {{"gerber", "--layer", "K1", "--board", "2", s, out}, 1, "в документе нет платы 2 (плат в нём: 2)",
         "the document has no board 2 (it holds 2)"},
    };
    for (const auto& [args, status, russian, englishText] : rows) {
        std::vector<std::string> english = args;
        english.insert(english.begin() + 1, {"--lang", "en"});
        SCOPED_TRACE(englishText);
        const CommandResult ru = runCli(args), en = runCli(english);
        EXPECT_EQ(std::tuple(ru.status, en.status), std::tuple(status, status));
        EXPECT_EQ(ru.err, "kestrel-cli: " + russian + "\n");
        EXPECT_EQ(en.err, "kestrel-cli: " + englishText + "\n");
        EXPECT_EQ(ru.out + en.out, "");
    }
    expectRefusals({
        {{"gerber", "--lang", "en", "--layer", "K1", "--board"}, 2, "option --board needs a value"},
        // A --lang naming no language is refused in the one named before it.
        {{"info", "--lang", "en", "--lang", "de", s}, 2, "--lang expects ru or en (or the language byte 0 or 1), not 'de'"},
        {{"gerber", "--lang", "en", s, out}, 2, "--layer is required (K1, B1, K2, B2, LStop1 or LStop2)"},
        {{"gerber", "--lang", "en", "--layer", "LStop2", "--punch", s, out}, 2,
         "--punch and --mark apply to copper and silk layers only"},
        {{"export", "--lang", "en", s, dir.file("absent/sub")}, 1,
         "cannot create the folder \"" + dir.file("absent/sub") + "\": the folder above it does not exist"},
        {{"frobnicate", "--lang", "en", s}, 2, "unknown subcommand 'frobnicate' (see kestrel-cli --help)"},
        {{"route", "--lang", "en", "--from", "5", "--to", "1", s, out}, 1, "--from: object 5 is not a pad"},
        {{"edit", "--lang", "en", "--undo-depth", "0", s, out}, 2, "--undo-depth expects 1 to 100"},
        {{"edit", "--lang", "en", s}, 2, "expected IN and OUT, then the steps"},
        // Board 1 holds 2 objects.
        {{"connected", "--lang", "en", "--board", "1", "--object", "2", s}, 1, "no object 2 (it holds 2)"},
        // Edit, too, chooses the board in the language of --lang.
        {{"edit", "--lang", "ru", "--board", "9", s, out, "rotate"}, 1, "в документе нет платы 9"},
    });

    EXPECT_EQ(runCli({}).status, 2) << "no subcommand";
    EXPECT_FALSE(std::filesystem::exists(out));
}

// What a command says it wrote comes in the language of --lang too (Russian
// by default); info's summary of every board is the same in either language.
TEST(Cli, SuccessLinesInTheLanguageOfLang)
{
    TempDir dir;
    const std::string s = dir.file("s.kbd"), out = dir.file("out");
    LayoutDocument doc = sampleDocument();
    writeLayout(dir, doc, "s.kbd");
    const std::string tools = std::to_string(drillSizeList(doc.board(0).Objects).size());
    const CommandResult ru = runCli({"drill", s, out}), en = runCli({"drill", "--lang", "en", s, out});
    EXPECT_EQ(std::tuple(ru.status, en.status, ru.err + en.err), std::tuple(0, 0, "")) << ru.err << en.err;
    EXPECT_EQ(ru.out, "сверловка платы \"Board 1\" записана в " + out + " (свёрл: " + tools + ")\n");
    EXPECT_EQ(en.out, "wrote " + tools + " drill tool(s) of board \"Board 1\" to " + out + "\n");
    for (const char* lang : {"ru", "en"})
        EXPECT_EQ(runCli({"info", "--lang", lang, s}).out,
                  "{\"version\": 3, \"active\": 0, \"origin\": [1270, -1270], \"boards\": ["
                  "{\"name\": \"Board 1\", \"width\": 16000, \"height\": 10000, \"objects\": 10, \"lines\": 1, "
                  "\"pads\": 5, \"texts\": 1, \"zones\": 1, \"circles\": 1, \"tracks\": 1, \"vias\": 1, \"bands\": 3, "
                  "\"groundplane\": [0, 1]}, "
                  "{\"name\": \"Zweite Platte\", \"width\": 5000, \"height\": 4000, \"objects\": 2, \"lines\": 0, "
                  "\"pads\": 1, \"texts\": 0, \"zones\": 0, \"circles\": 0, \"tracks\": 1, \"vias\": 0, \"bands\": 0, "
                  "\"groundplane\": [0, 0]}]}\n")
            << lang;
}

// connected and clear-bands work on the board asked for. Board 0 of the sample:
// pad 0 joined by track 5 to via 3-4 and banded to it, banded also to pad 1,
// which no copper reaches, and a lone pad 2 on K2; board 1: pad 0 on K1 and
// track 1 on K2, here ending on a pad 2 banded to pad 0.
TEST(ConnectivityCommands, ConnectedAndClearBandsWorkOnTheChosenBoard)
{
    TempDir dir;
    LayoutDocument doc = sampleDocument();
    ObjectList& second = doc.board(1).Objects;
    addBand(second[0], addPad(second, {2500, -1500}, 50, 1, 3));
    // A pad off the active board 0, as another program may leave it: writing
    // removes it, whichever board was asked for, and says so.
    addPad(doc.board(0).Objects, {30000, -1000}, 50);
    const std::string in = dir.file("in.kbd"), out = dir.file("out.kbd");
    writeBytes(in, encodeDocument(doc));
    EXPECT_EQ(runCli({"connected", "--object", "2", in}).out, "[2]\n");
    EXPECT_EQ(runCli({"connected", "--board", "1", "--object", "2", in}).out, "[1, 2]\n");
    const CommandResult onSecond = runCli({"clear-bands", "--board", "1", "--lang", "en", in, out});
    EXPECT_EQ(onSecond.out, "{\"removed\": 0, \"kept\": 1}\n");
    EXPECT_EQ(onSecond.err, "kestrel-cli: objects off the board removed on writing (as Save does): 1\n");
    auto kept = readDocument(out, Language::English);
    ASSERT_TRUE(succeeded(kept));
    EXPECT_EQ(kept->document.ActiveBoard, 0);
    EXPECT_EQ(kept->document.board(0).Objects[0].Connections.size(), 2u) << "board 0 was not asked for";
    EXPECT_EQ(runCli({"clear-bands", in, out}).out, "{\"removed\": 1, \"kept\": 2}\n");
    auto cleared = readDocument(out, Language::English);
    ASSERT_TRUE(succeeded(cleared));
    EXPECT_EQ(cleared->document.board(0).Objects[0].Connections.size(), 1u) << "the band to pad 1 stays";
}

// Written to /dev/stdout, the file is all stdout holds, wherever it points
// (here into a file the script wrote before and after): the line saying
// what was written goes to stderr.
TEST(Cli, OutputThroughAnOpenDescriptorKeepsTheRestOfTheFile)
{
    TempDir dir;
    LayoutDocument doc = exampleDocument();
    const std::string in = writeLayout(dir, doc), out = dir.file("all.txt");
    const std::string cli = std::string("'") + KESTREL_CLI_PATH + "'";
    const std::string script =
        "{ echo BEGIN; " + cli + " drill '" + in + "' /dev/stdout 2>/dev/null; echo END; } > '" + out + "'";
    ASSERT_EQ(std::system(script.c_str()), 0);
    const std::string text = fileText(out);
    EXPECT_EQ(text.rfind("BEGIN\nM48", 0), 0u) << text.substr(0, 40);
    EXPECT_TRUE(text.ends_with("M30\r\nEND\n")) << text;
    // Output and stdout both /dev/null: the line saying what was written is thrown away, not moved to stderr.
    const std::string quiet = cli + " drill '" + in + "' /dev/null >/dev/null 2>'" + dir.file("err.txt") + "'";
    ASSERT_EQ(std::system(quiet.c_str()), 0);
    EXPECT_EQ(fileText(dir.file("err.txt")), "");
}
