#include "edit/MacroSave.h"
#include "model/LayoutFile.h"
#include "output/DrillExport.h"

#include "Refusals.h"
#include "output/OutputTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <tuple>

#include <sys/wait.h>

using namespace kestrel;
using namespace kestrel::test;

TEST(Cli, InfoReportsEveryBoard)
{
    TempDir dir;
    LayoutDocument doc = sampleDocument();
    ASSERT_TRUE(succeeded(writeDocument(doc, dir.file("s.kbd"), false, Language::English)));
    const CommandResult r = runCli({"info", dir.file("s.kbd")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"version\": 3, \"active\": 0, \"origin\": [1270, -1270], \"boards\": ["
              "{\"name\": \"Board 1\", \"width\": 16000, \"height\": 10000, \"objects\": 10, \"lines\": 1, "
              "\"pads\": 5, \"texts\": 1, \"zones\": 1, \"circles\": 1, \"tracks\": 1, \"vias\": 1, \"bands\": 3, "
              "\"groundplane\": [0, 1]}, "
              "{\"name\": \"Zweite Platte\", \"width\": 5000, \"height\": 4000, \"objects\": 2, \"lines\": 0, "
              "\"pads\": 1, \"texts\": 0, \"zones\": 0, \"circles\": 0, \"tracks\": 1, \"vias\": 0, \"bands\": 0, "
              "\"groundplane\": [0, 0]}]}\n");
}

TEST(Cli, ConvertWritesVersionThreeLikeSave)
{
    TempDir dir;
    // A version-0 file, board 8000 x 5000, holding one pad of radius 50 at (1000, -1000) on layer 1.
    std::vector<uint8_t> old = {0x00, 0x33, 0xAA, 0xFF, 0x40, 0x1F, 0, 0, 0x88, 0x13, 0, 0, 1, 0,
                                2,    0xE8, 0x03, 0x18, 0xFC, 50,   0, 0, 0,    0,    0, 0, 1, 1};
    old.resize(14 + 49); // the rest of the record is zero
    writeBytes(dir.file("old.kbd"), old);
    // The file's one board is named in the language, as the editor names it.
    for (const auto& [lang, board] : {std::pair{"ru", "Плата 1"}, std::pair{"en", "Board 1"}}) {
        SCOPED_TRACE(lang);
        CommandResult r = runCli({"convert", "--lang", lang, dir.file("old.kbd"), dir.file("new.kbd")});
        ASSERT_EQ(r.status, 0) << r.err;
        auto back = readDocument(dir.file("new.kbd"), Language::English);
        ASSERT_TRUE(succeeded(back));
        EXPECT_EQ(back->version, 3);
        EXPECT_EQ(back->document.board(0).Name, board);
        ASSERT_EQ(back->document.currentObjects()->size(), 1u);
        // Saving the read document again gives the same bytes as convert wrote.
        ASSERT_TRUE(succeeded(writeDocument(back->document, dir.file("again.kbd"), false, Language::English)));
        EXPECT_EQ(readBytes(dir.file("again.kbd")), readBytes(dir.file("new.kbd")));
    }
    // The summary does not depend on the language.
    const std::string summary = "{\"version\": 0, \"active\": 0, \"origin\": [0, 0], \"boards\": [{\"name\": \"Board 1\", "
                                "\"width\": 8000, \"height\": 5000, \"objects\": 1";
    for (const char* lang : {"ru", "en"})
        EXPECT_EQ(runCli({"info", "--lang", lang, dir.file("old.kbd")}).out.rfind(summary, 0), 0u) << lang;
}

TEST(Cli, ExitStatusesAndMessages)
{
    TempDir dir;
    LayoutDocument doc = sampleDocument(); // board 0 holds 10 objects, board 1 holds 2
    const std::string s = dir.file("s.kbd"), junk = dir.file("junk.kbd"), out = dir.file("out.kbd");
    ASSERT_TRUE(succeeded(writeDocument(doc, s, false, Language::English)));
    writeBytes(junk, {0x03, 0x33, 0xAA});
    const CommandResult bare = runCli({});
    EXPECT_EQ(bare.status, 2);
    EXPECT_NE(bare.err.find("usage"), std::string::npos) << bare.err;
    const CommandResult help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("convert"), std::string::npos) << help.out;
    expectRefusals({
        {{"frobnicate", "--lang", "en"}, 2, "unknown subcommand"},
        {{"info", "--lang", "en"}, 2, "expected 1 file argument"},
        {{"info", "--lang", "en", "--bogus", "x"}, 2, "unknown option"},
        {{"info", dir.file("missing.kbd")}, 1, "missing.kbd"},
        {{"convert", "--lang", "en", junk, out}, 1, "is not a Kestrel layout file"},
        {{"connected", "--lang", "en", "--board", "1", "--object", "2", s}, 1, "no object 2 (it holds 2)"},
        {{"connected", "--lang", "en", "--object", "-1", s}, 2, "--object expects a whole number from 0 up, not '-1'"},
        {{"connected", s}, 2, "--object"},
        {{"clear-bands", "--lang", "en", "--board", "9", s, out}, 1, "no board 9"},
        {{"clear-bands", s, dir.file("no/such/dir/out.kbd")}, 1, "out.kbd"},
        // Every command reads and chooses the board in the language of --lang.
        {{"check", dir.file("missing.kbd")}, 1, "Не удаётся открыть"},
        {{"check", "--lang", "en", dir.file("missing.kbd")}, 1, "Cannot open"},
        {{"gerber", "--layer", "K1", "--board", "9", s, out}, 1, "в документе нет платы 9"},
        {{"edit", "--lang", "ru", "--board", "9", s, out, "rotate"}, 1, "в документе нет платы 9"},
    });
    EXPECT_FALSE(std::filesystem::exists(out));
}

namespace {

// The Latin words of a message outside option names, quoted values, names
// holding a digit (layers, numbers), placeholders in capitals (P, IN) and the
// program's names: the words a translation has to replace. ru, en, solder and
// component are option values, the same in either language.
std::set<std::string> latinWords(const std::string& message)
{
    static const std::regex names(R"(--[a-z-]+|'[^']*'|"[^"]*"|\S*\d\S*|\b[A-Z]+\b|Kestrel|kestrel-cli[a-z-]*)"),
        word("[A-Za-z]+");
    const std::string text = std::regex_replace(message, names, " ");
    std::set<std::string> words;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), word); it != std::sregex_iterator(); ++it)
        words.insert(it->str());
    for (const char* value : {"ru", "en", "solder", "component"})
        words.erase(value);
    return words;
}

} // namespace

// The messages of every command, the parser's usage errors among them, come
// in Russian by default and in English with --lang en, each only in its own.
TEST(Cli, ErrorsInTheLanguageOfLang)
{
    TempDir dir;
    const std::string s = dir.file("s.kbd"), out = dir.file("out"), pdf = dir.file("out.pdf");
    const std::string missing = dir.file("missing.kbd"), junk = dir.file("junk.kbd");
    // Board 0 holds pads 0 and 1 on K1 and pad 2 on K2 (bands 0-1 and 1-2),
    // a via 3-4, track 5 and four more objects; board 1 holds two.
    LayoutDocument doc = sampleDocument();
    ASSERT_TRUE(succeeded(writeDocument(doc, s, false, Language::English)));
    writeBytes(junk, {0x03, 0x33, 0xAA});
    const std::string layers = " (K1, B1, K2, B2, LStop1 ";
    struct Row {
        std::vector<std::string> args; // run as given, then with --lang en after the subcommand
        int status;
        std::string russian, english;
    };
    const Row rows[] = {
        {{"gerber", "--layer", "K1", "--board"}, 2, "--board: нет значения", "option --board needs a value"},
        {{"check", "--bogus", s}, 2, "неизвестный параметр --bogus", "unknown option --bogus"},
        {{"export", "--board", "x", s, out}, 2, "--board: ожидается целое число, не 'x'",
         "--board expects a whole number, not 'x'"},
        {{"check", "--clearance", "abc", s}, 2, "--clearance: ожидается число, не 'abc'",
         "--clearance expects a number, not 'abc'"},
        {{"fab", s}, 2, "ожидается файлов: 2, указано: 1", "expected 2 file arguments, got 1"},
        {{"pdf", "--board", "-1", s, pdf}, 2, "--board: ожидается целое число от 0, не '-1'",
         "--board expects a whole number from 0 up, not '-1'"},
        {{"gerber", s, out}, 2, "нужен параметр --layer" + layers + "или LStop2)",
         "--layer is required" + layers + "or LStop2)"},
        {{"gerber", "--layer", "K1", "--mirror", "--no-mirror", s, out}, 2,
         "--mirror и --no-mirror противоречат друг другу", "--mirror and --no-mirror contradict each other"},
        {{"gerber", "--layer", "LStop2", "--punch", s, out}, 2,
         "--punch и --mark только для слоёв фольги и маркировки",
         "--punch and --mark apply to copper and silk layers only"},
        {{"gerber", "--layer", "LStop1", "--offset", "10", s, out}, 2, "--offset: от 0 до 9.9 мм",
         "--offset must lie between 0 and 9.9 mm"},
        {{"export", s, dir.file("absent/sub")}, 1,
         "не удаётся создать папку \"" + dir.file("absent/sub") + "\": нет папки уровнем выше",
         "cannot create the folder \"" + dir.file("absent/sub") + "\": the folder above it does not exist"},
        {{"frobnicate", s}, 2, "неизвестная подкоманда 'frobnicate' (см. kestrel-cli --help)",
         "unknown subcommand 'frobnicate' (see kestrel-cli --help)"},
        {{"route", "--from", "0", s, out}, 2, "нужны параметры --from P и --to Q", "--from P and --to Q are required"},
        {{"route", "--from", "0", "--to", "1", "--layer", "B1", s, out}, 2,
         "--layer: слой фольги K1 или K2 (или его номер 1 или 3), не 'B1'",
         "--layer expects the copper layer K1 or K2 (or its number 1 or 3), not 'B1'"},
        {{"route", "--from", "5", "--to", "1", s, out}, 1, "--from: объект 5 не является площадкой",
         "--from: object 5 is not a pad"},
        {{"route", "--from", "0", "--to", "2", s, out}, 1, "между площадками 0 и 2 нет перемычки",
         "there is no rubber band between pads 0 and 2"},
        {{"route", "--from", "1", "--to", "2", "--layer", "K1", s, out}, 1,
         "площадка 2 не доходит до слоя K1 (как и переходное отверстие через неё)",
         "pad 2 does not reach layer K1 (nor does a via through it)"},
        {{"connected", s}, 2, "нужен параметр --object I", "--object I is required"},
        {{"connected", "--object", "999", s}, 1, "на плате нет объекта 999 (объектов на ней: 10)",
         "the board has no object 999 (it holds 10)"},
        {{"clear-bands", missing, out}, 1, "Не удаётся открыть \"" + missing + "\": нет такого файла или папки",
         "Cannot open \"" + missing + "\": No such file or directory"},
        {{"drill", "--from", "top", s, out}, 2, "--from: solder или component, не 'top'",
         "--from expects solder or component, not 'top'"},
        {{"macro", "--selection", s, out}, 1, "на активной стороне платы \"Board 1\" нет выделенных объектов",
         "board \"Board 1\" has no selected object on its active side"},
        {{"info", missing}, 1, "Не удаётся открыть \"" + missing + "\": нет такого файла или папки",
         "Cannot open \"" + missing + "\": No such file or directory"},
        {{"convert", junk, out}, 1, "Файл \"" + junk + "\" не является платой Kestrel.",
         "\"" + junk + "\" is not a Kestrel layout file."},
        {{"edit", "--undo-depth", "0", s, out}, 2, "--undo-depth: от 1 до 100", "--undo-depth expects 1 to 100"},
        {{"edit", s}, 2, "нужны файлы IN и OUT, затем шаги", "expected IN and OUT, then the steps"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> english = row.args;
        english.insert(english.begin() + 1, {"--lang", "en"});
        SCOPED_TRACE(row.english);
        const CommandResult ru = runCli(row.args), en = runCli(english);
        EXPECT_EQ(ru.status, row.status);
        EXPECT_EQ(en.status, row.status);
        EXPECT_EQ(ru.err, "kestrel-cli: " + row.russian + "\n");
        EXPECT_EQ(en.err, "kestrel-cli: " + row.english + "\n");
        EXPECT_EQ(ru.out + en.out, "");
        const std::set<std::string> left = latinWords(ru.err), words = latinWords(row.english);
        for (const std::string& w : words)
            EXPECT_EQ(left.count(w), 0u) << "'" << w << "' in " << ru.err;
    }

    // Which --lang counts: the last, a language byte too, past an error.
    const std::pair<std::vector<std::string>, std::string> chosen[] = {
        {{"gerber", "--bogus", "--lang=en", s, out}, "unknown option --bogus"}, // read past the error
        {{"export", "--lang", "en", "--lang", "ru", "--board", "x", s, out}, "--board: ожидается целое число, не 'x'"},
        {{"check", "--board", "--lang", "en", s}, "ожидается файлов: 1, указано: 2"}, // --board took "--lang"
        {{"gerber", "--layer", "K1", "--lang", "2", s, out}, "--lang: ru или en (или байт языка 0 или 1), не '2'"},
        {{"edit", "--bogus", "--lang", "1", s, out}, "unknown option --bogus"},
        {{"edit", "--lang", "en", "--lang", "0", "--undo-depth"}, "--undo-depth: нет значения"},
        {{"edit", "--lang", "de", s, out}, "--lang: ru или en (или байт языка 0 или 1), не 'de'"},
    };
    for (const auto& [args, message] : chosen) {
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_EQ(r.err, "kestrel-cli: " + message + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

// What a command says it wrote comes in the language of --lang too (Russian
// by default); JSON output is the same in either language.
TEST(Cli, SuccessLinesInTheLanguageOfLang)
{
    TempDir dir;
    const std::string s = dir.file("s.kbd"), out = dir.file("out");
    LayoutDocument doc = sampleDocument();
    ASSERT_TRUE(succeeded(writeDocument(doc, s, false, Language::English)));
    const std::string tools = std::to_string(drillSizeList(doc.board(0).Objects).size());
    const Result<size_t> saved = saveMacro(doc, dir.file("m.kmk"), false, Language::English);
    ASSERT_TRUE(succeeded(saved));
    const std::string objects = std::to_string(*saved);
    struct Row {
        std::vector<std::string> args; // run as given, then with --lang en after the subcommand
        std::string russian, english;  // both empty: JSON, compared between the runs
    };
    const Row rows[] = {
        {{"drill", s, out}, "сверловка платы \"Board 1\" записана в " + out + " (свёрл: " + tools + ")",
         "wrote " + tools + " drill tool(s) of board \"Board 1\" to " + out},
        {{"macro", s, out}, "в " + out + " записано объектов стороны 1 платы \"Board 1\": " + objects,
         "wrote " + objects + " object(s) of side 1 of board \"Board 1\" to " + out},
        {{"convert", s, out}, "файл версии 3 преобразован в версию 3: " + out,
         "converted version 3 to version 3: " + out},
        {{"info", s}, "", ""},
        {{"route", "--from", "0", "--to", "1", s, out}, "", ""},
        {{"edit", s, out, "select all"}, "", ""},
    };
    for (const Row& row : rows) {
        std::vector<std::string> english = row.args;
        english.insert(english.begin() + 1, {"--lang", "en"});
        SCOPED_TRACE(row.args[0]);
        const CommandResult ru = runCli(row.args), en = runCli(english);
        EXPECT_EQ(std::tuple(ru.status, en.status), std::tuple(0, 0)) << ru.err << en.err;
        EXPECT_EQ(ru.err + en.err, "");
        if (row.russian.empty()) {
            EXPECT_TRUE(ru.out.starts_with("{") || ru.out.starts_with("[")) << ru.out;
            EXPECT_EQ(ru.out, en.out);
            continue;
        }
        EXPECT_EQ(ru.out, row.russian + "\n");
        EXPECT_EQ(en.out, row.english + "\n");
        std::string russian = row.russian;
        russian.erase(russian.find(out), out.size());
        const std::set<std::string> left = latinWords(russian), words = latinWords(row.english);
        for (const std::string& w : words)
            EXPECT_EQ(left.count(w), 0u) << "'" << w << "' in " << ru.out;
    }
}

// A kestrel-cli without kestrel-cli-render beside it says what is missing,
// in the language of --lang, for the commands that need it.
TEST(Cli, MissingRendererInTheLanguageOfLang)
{
    TempDir dir;
    const std::string cli = dir.file("kestrel-cli"), s = dir.file("s.kbd"), out = dir.file("out");
    std::filesystem::copy_file(KESTREL_CLI_PATH, cli);
    LayoutDocument doc = sampleDocument();
    ASSERT_TRUE(succeeded(writeDocument(doc, s, false, Language::English)));
    const std::string beside = " kestrel-cli-render ", where = " kestrel-cli (" + dir.file("kestrel-cli-render") + ")";
    const std::pair<std::string, std::string> rows[] = {
        {"fab", "для fab нужна" + beside + "рядом с" + where},
        {"edit", "шагам с надписями нужна" + beside + "рядом с" + where},
        {"edit --lang en", "label steps need" + beside + "beside" + where},
    };
    for (const auto& [command, message] : rows) {
        const std::string line = "'" + cli + "' " + command + " '" + s + "' '" + out + "'" +
                                 (command.starts_with("edit") ? " 'label 10 5 A'" : "") + " >'" + out + ".txt' 2>'" +
                                 out + ".err'";
        const int status = std::system(line.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << command;
        EXPECT_EQ(fileText(out + ".err"), "kestrel-cli: " + message + "\n");
        EXPECT_EQ(fileText(out + ".txt"), "") << command;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

namespace {

// On both boards pads 0 and 2 are joined by track 1 and by a band. Board 0
// (active) adds silk line 3, board 1 a loose pad 3 banded to pad 0. What is
// connected is checked in the route tests; here that each subcommand works
// on the board asked for.
std::string writeTwoBoards(const TempDir& dir)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.addBoard("second");
    for (size_t b = 0; b < 2; ++b) {
        ObjectList& list = doc.board(b).Objects;
        LayoutObject& p = addPad(list, {1000, -1000}, 80);
        addTrack(list, {{1000, -1000}, {2000, -1000}});
        addBand(p, addPad(list, {2000, -1000}, 80));
        if (b == 0)
            list.append(makeLine({1000, -1000}, {2000, -1000}, 60, 2));
        else
            addBand(p, addPad(list, {6000, -6000}, 80));
    }
    doc.activate(0);
    const std::string file = dir.file("in.kbd");
    EXPECT_TRUE(succeeded(writeDocument(doc, file, false, Language::English)));
    return file;
}

} // namespace

TEST(ConnectivityCommands, ConnectedAndClearBandsWorkOnTheChosenBoard)
{
    TempDir dir;
    const std::string in = writeTwoBoards(dir), out = dir.file("out.kbd");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"connected", "--object", "2", in}, "[0, 1, 2]\n"},
        {{"connected", "--board", "1", "--object", "3", in}, "[3]\n"},
        {{"clear-bands", in, out}, "{\"removed\": 1, \"kept\": 0}\n"},
        {{"clear-bands", "--board", "1", in, out}, "{\"removed\": 1, \"kept\": 1}\n"},
    };
    for (const auto& [args, expected] : cases) {
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << args[1] << " " << args[2] << ": " << r.err;
        EXPECT_EQ(r.out, expected) << args[1] << " " << args[2];
    }

    // The last run cleaned board 1 only; the active board stays board 0.
    auto written = readDocument(out, Language::English);
    ASSERT_TRUE(succeeded(written));
    LayoutDocument& d = written->document;
    EXPECT_EQ(d.ActiveBoard, 0);
    ObjectList& second = d.board(1).Objects;
    ASSERT_EQ(second.size(), 4u);
    EXPECT_EQ(second[0].Connections, std::vector<LayoutObject*>{second.at(3)});
    EXPECT_TRUE(second[2].Connections.empty());
    EXPECT_EQ(d.board(0).Objects[0].Connections.size(), 1u) << "board 0 was not asked for";
}
