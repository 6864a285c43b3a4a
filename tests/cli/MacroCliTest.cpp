#include "edit/MacroSave.h"
#include "model/LayoutFile.h"

#include "Refusals.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// A board with a via, a pad and a silk line on side 1, a pad on side 2; the
// second board is empty and active.
LayoutDocument twoBoards()
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = *doc.currentObjects();
    addVia(list, {1000, -1000});
    addPad(list, {3000, -2000}, 60);
    list.append(makeLine({500, -3000}, {2500, -3000}, 20, 2));
    addPad(list, {4000, -4000}, 60, 1, 3);
    doc.newBoard(Language::English);
    return doc;
}

// The subcommand writes the same bytes as the editor's Save as macro: of the
// side stored as active on the board asked for (not the active board), or
// of the selection saved with the document. An empty side is refused.
TEST(MacroCli, SavesAsTheEditorDoes)
{
    TempDir dir;
    LayoutDocument doc = twoBoards();
    doc.activate(0);
    doc.Working.ActiveLayer = 3;
    doc.activate(1);
    const std::string in = writeLayout(dir, doc, "b.kbd");
    expectRefusals({{{"macro", in, dir.file("m.kmk")}, 1, "на активной стороне платы \"Board 2\" нет объектов"}});
    const CommandResult c = runCli({"macro", "--lang", "en", "--board", "0", in, dir.file("cli.kmk")});
    ASSERT_EQ(c.status, 0) << c.err;
    EXPECT_EQ(c.out.rfind("wrote 2 object(s) of side 2 of board \"Board 1\"", 0), 0u) << c.out;
    auto read = readDocument(in, Language::English);
    ASSERT_TRUE(succeeded(read));
    read->document.activate(0);
    ASSERT_TRUE(succeeded(saveMacro(read->document, dir.file("editor.kmk"), false, Language::English)));
    EXPECT_EQ(readBytes(dir.file("cli.kmk")), readBytes(dir.file("editor.kmk")));
    // Written to stdout itself, the macro is all stdout holds.
    const CommandResult piped = runCli({"macro", "--lang", "en", "--board", "0", in, "/dev/stdout"});
    const std::vector<uint8_t> macro = readBytes(dir.file("cli.kmk"));
    EXPECT_EQ(piped.out, std::string(macro.begin(), macro.end()));
    EXPECT_EQ(piped.err.rfind("wrote 2 object(s)", 0), 0u) << piped.err;

    doc.activate(0);

    doc.Working.ActiveLayer = 1;
    ObjectList& list = *doc.currentObjects();
    list[0].Selected = list[1].Selected = 1; // the via pair
    list[3].Selected = 1;                    // the silk line
    writeLayout(dir, doc, "b.kbd");
    ASSERT_TRUE(succeeded(saveMacro(doc, dir.file("editor.kmk"), true, Language::English)));
    const CommandResult s = runCli({"macro", "--lang", "en", "--board", "0", "--selection", in, dir.file("cli.kmk")});
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(s.out.rfind("wrote 2 selected object(s) of side 1", 0), 0u) << s.out;
    EXPECT_EQ(readBytes(dir.file("cli.kmk")), readBytes(dir.file("editor.kmk")));
}

// The edit step drops a macro as the panel does (where, on which side and
// as what group are checked in the edit tests).
TEST(MacroCli, EditStepDropsAMacro)
{
    TempDir dir;
    LayoutDocument source = twoBoards();
    source.activate(0);
    ASSERT_TRUE(succeeded(saveMacro(source, dir.file("part.kmk"), false, Language::English)));
    LayoutDocument target = LayoutDocument::withFirstBoard(Language::English); // grid 2.54 mm
    ASSERT_TRUE(succeeded(writeDocument(target, dir.file("in.kbd"), false, Language::English)));
    const std::string in = dir.file("in.kbd"), out = dir.file("out.kbd");

    const CommandResult c = runCli({"edit", in, out, "macro " + dir.file("part.kmk") + " 10 10"});
    ASSERT_EQ(c.status, 0) << c.err;
    EXPECT_EQ(c.out, "{\"objects\": 4, \"selected\": 4}\n") << "3 objects and the via's twin";
    auto back = readDocument(out, Language::English);
    ASSERT_TRUE(succeeded(back));
    const ObjectList& list = *back->document.currentObjects();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(std::tie(list[0].X1, list[0].Y1, list[0].Layer), std::make_tuple(1016, -1016, 1));
    expectRefusals({{{"edit", in, out, "macro " + dir.file("no.kmk") + " 1 1"}, 1, "no.kmk"},
                    {{"edit", in, out, "macro 1 1"}, 2, "macro 1 1"},
                    // The two kinds of file begin alike: each is named for what it is.
                    {{"edit", "--lang", "en", in, out, "macro " + in + " 1 1"}, 1, "is a layout file, not a macro"},
                    {{"info", dir.file("part.kmk")}, 1, "— макрос, а не плата"}});

    // A file name with blanks, runs of them kept, is taken whole.
    ASSERT_TRUE(succeeded(saveMacro(source, dir.file("my  part 2.kmk"), false, Language::English)));
    const CommandResult spaced = runCli({"edit", in, out, "  macro " + dir.file("my  part 2.kmk") + "  10 10 "});
    ASSERT_EQ(spaced.status, 0) << spaced.err;
    EXPECT_EQ(spaced.out, c.out);

    // An old layout 400 mm wide cut short is damaged, not a macro: read as
    // an old macro, its width would give a count of none.
    writeBytes(dir.file("cut.kbd"), {0x02, 0x33, 0xAA, 0xFF, 0x40, 0x9C, 0, 0, 0x10, 0x27, 0, 0, 1, 0, 2, 0});
    const CommandResult cut = runCli({"info", "--lang", "en", dir.file("cut.kbd")});
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.err.find("macro"), std::string::npos) << cut.err;
    EXPECT_NE(cut.err.find("at byte"), std::string::npos) << cut.err;

    // A macro of no objects adds nothing, and the step says so.
    writeBytes(dir.file("empty.kmk"), {0x03, 0x33, 0xAA, 0xFF, 0, 0, 0, 0});
    const CommandResult empty = runCli({"edit", "--lang", "en", in, out, "macro " + dir.file("empty.kmk") + " 10 10"});
    ASSERT_EQ(empty.status, 0) << empty.err;
    EXPECT_EQ(empty.out, "{\"objects\": 0, \"selected\": 0}\n");
    EXPECT_EQ(empty.err, "kestrel-cli: step macro: the macro holds no objects; nothing added\n");
}

} // namespace
