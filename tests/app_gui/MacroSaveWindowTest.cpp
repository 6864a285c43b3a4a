// File > Save as macro in the window: its messages and question in both
// languages, what each answer writes, and a failed write reported.

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
    for (Language lang : {Language::English, Language::Russian}) {
        const bool english = lang == Language::English;
        SCOPED_TRACE(english ? "English" : "Russian");
        SettingsHome home;
        TempDir dir;
        WindowFixture f(lang);
        ObjectList& list = *f.doc().currentObjects();

        f.trigger("Makrospeichern1");
        ASSERT_EQ(f.messages.size(), 1u) << "an empty side";
        EXPECT_EQ(f.messages[0].caption, english ? "Save as macro" : "Сохранение Макроса");
        EXPECT_EQ(f.messages[0].text, english ? "There are no objects on this side of the board."
                                              : "На чертеже нет объектов для сохранения Макроса.");
        EXPECT_EQ(f.messages[0].icon, Prompts::Icon::Warning);

        addPad(list, {1000, -1000}, 60);
        addPad(list, {2000, -1000}, 60);
        addPad(list, {3000, -3000}, 60, 1, 3); // side 2
        f.answers = {Answer::Cancel};
        f.trigger("Makrospeichern1");
        ASSERT_EQ(f.questions.size(), 1u) << "nothing selected";
        EXPECT_EQ(f.questions[0].caption, english ? QString("Save as macro") : "Сохранить" + QString(6, ' '));
        EXPECT_EQ(f.questions[0].text,
                  english ? QString("No object is selected.\nSave whole layout as macro?")
                          : "Нет выделенных объектов на плате. \nСохранить чертёж платы целиком как Макрос?" +
                                QString(19, ' '));
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
        EXPECT_TRUE(f.messages[1].text.startsWith(english ? "The macro was not saved." : "Макрос не сохранён."));
        EXPECT_TRUE(f.exhausted());
    }
}

} // namespace
} // namespace kestrel::test
