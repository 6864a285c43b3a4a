// File > Save as macro in the window: its message and question, what each
// answer writes, and a failed write reported.

#include "SettingsHome.h"
#include "WindowFixture.h"
#include "model/MacroFile.h"

#include <filesystem>

namespace kestrel::test {
namespace {

size_t objectsInMacro(const std::string& path)
{
    const auto back = readMacro(path, Language::English);
    EXPECT_TRUE(succeeded(back));
    return back ? back->objects.size() : 0;
}

TEST(MacroSaveWindow, MessagesQuestionAndWhatIsWritten)
{
    SettingsHome home;
    TempDir dir;
    WindowFixture f;
    ObjectList& list = *f.doc().currentObjects();

    f.trigger("Makrospeichern1");
    ASSERT_EQ(f.messages.size(), 1u) << "an empty side";
    EXPECT_EQ(f.messages[0].icon, Prompts::Icon::Warning);

    addPad(list, {1000, -1000}, 60);
    addPad(list, {2000, -1000}, 60);
    addPad(list, {3000, -3000}, 60, 1, 3); // side 2
    f.answers = {Answer::Cancel};
    f.trigger("Makrospeichern1");
    ASSERT_EQ(f.questions.size(), 1u) << "nothing selected";
    EXPECT_TRUE(f.exhausted()) << "Cancel stops before the file dialog";

    const std::string whole = dir.file("whole.kmk"), part = dir.file("part.kmk");
    f.answers = {Answer::Ok};
    f.saveNames = {q(whole)};
    f.trigger("Makrospeichern1");
    EXPECT_EQ(objectsInMacro(whole), 2u) << "the whole active side, not side 2";

    list[1].Selected = 1;
    f.saveNames = {q(part)};
    f.trigger("Makrospeichern1");
    EXPECT_EQ(objectsInMacro(part), 1u) << "the selection, without a question";
    EXPECT_EQ(f.questions.size(), 2u);

    f.saveNames = {q(dir.file("missing/m.kmk"))};
    f.trigger("Makrospeichern1");
    ASSERT_EQ(f.messages.size(), 2u) << "a failed write is reported";
    EXPECT_EQ(f.messages[1].icon, Prompts::Icon::Error);
    EXPECT_TRUE(f.exhausted());
}

} // namespace
} // namespace kestrel::test
