#include "WindowFixture.h"
#include "app/MacroPanel.h"
#include "edit/PointerMachine.h"
#include "model/MacroFile.h"

#include <QDropEvent>
#include <QFileSystemModel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>

#include <filesystem>
#include <fstream>

namespace kestrel::test {
namespace {

// A macro of `pads` pads 2.54 mm apart in a row, the first one a via, and
// a wide silk line under them.
void writePads(const std::string& path, int pads)
{
    ObjectList list;
    for (int i = 0; i < pads; ++i)
        addPad(list, {1000 + 254 * i, -1000}, 60);
    list.append(makeLine({1000, -1200}, {1000 + 254 * (pads - 1), -1200}, 60, Layer::B1));
    list[0].Partner = &list[0]; // written as a via; only the flag is kept
    ASSERT_TRUE(succeeded(writeMacro(path, list, true, false, 254, Language::English)));
}

size_t macroSize(const std::string& path)
{
    const auto back = readMacro(path, Language::English);
    EXPECT_TRUE(succeeded(back));
    return back ? back->objects.size() : 0;
}

QStringList entries(const QListWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

// A macro file given to the editor (the desktop opens *.kmk with it) is
// shown in the macro panel, not read as a damaged layout.
TEST(MacroPanelWindow, AMacroFileOpensInThePanel)
{
    SettingsHome home;
    TempDir dir;
    writePads(dir.file("a.kmk"), 1);
    writePads(dir.file("DIP.KMK"), 3);
    WindowFixture f(Language::English, q(dir.file("DIP.KMK")));
    MacroPanel& panel = f.window().macroPanel();
    EXPECT_TRUE(f.messages.empty()) << f.messages.front().text.toStdString();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.folder(), q(dir.path()));
    const QListWidgetItem* shown = f.control<QListWidget>("LB_Makro").currentItem();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(), "DIP.KMK");
    EXPECT_EQ(panel.macro().size(), 4u);
    EXPECT_EQ(f.list().size(), 0u) << "the layout stays as it was";
}

// A folder removed and made anew by another program is listed again.
TEST(MacroPanelWindow, AFolderMadeAnewIsWatchedAgain)
{
    SettingsHome home;
    TempDir dir;
    std::filesystem::create_directory(dir.file("lib"));
    writePads(dir.file("lib/a.kmk"), 1);
    WindowFixture f;
    f.window().macroPanel().setFolder(q(dir.file("lib")));
    auto& list = f.control<QListWidget>("LB_Makro");
    ASSERT_EQ(entries(list), QStringList{"a.kmk"});
    std::filesystem::remove_all(dir.file("lib"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.count() == 0; }, 5000));
    std::filesystem::create_directory(dir.file("lib"));
    QTest::qWait(100); // the new folder is watched before the file comes
    writePads(dir.file("lib/c.kmk"), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return entries(list) == QStringList{"c.kmk"}; }, 5000))
        << entries(list).join(' ').toStdString();
}

TEST(MacroPanelWindow, ListDeleteAndFolder)
{
    SettingsHome home;
    TempDir dir;
    writePads(dir.file("a.kmk"), 1);
    writePads(dir.file("B.KMK"), 3);
    std::ofstream(dir.file("notes.txt")) << "not a macro";
    std::filesystem::create_directory(dir.file("sub"));
    {
        WindowFixture f;
        MacroPanel& panel = f.window().macroPanel();
        f.trigger("Makrofenster1");
        EXPECT_TRUE(panel.isVisible());

        auto& tree = f.control<QTreeView>("DirectoryListBox1");
        const auto* folders = static_cast<QFileSystemModel*>(tree.model());
        Q_EMIT tree.clicked(folders->index(q(dir.path())));
        auto& list = f.control<QListWidget>("LB_Makro");
        ASSERT_EQ(entries(list), (QStringList{"a.kmk", "B.KMK"})) << "either letter case, macros only";

        list.setCurrentRow(1);
        EXPECT_EQ(panel.macro().size(), 4u);
        Q_EMIT tree.clicked(folders->index(q(dir.file("sub"))));
        EXPECT_TRUE(panel.macro().empty()) << "nothing of the last folder is left to drag";
        Q_EMIT tree.clicked(folders->index(q(dir.path())));
        list.setCurrentRow(1);

        auto& remove = f.control<QPushButton>("B_MakroLoeschen");
        f.answers = {Answer::Cancel, Answer::Ok};
        remove.click();
        EXPECT_TRUE(std::filesystem::exists(dir.file("B.KMK"))) << "Cancel keeps the file";
        EXPECT_EQ(f.questions.back().caption, "Delete file");
        remove.click();
        EXPECT_EQ(entries(list), QStringList{"a.kmk"});
        EXPECT_EQ(panel.macro().size(), 2u) << "the last entry takes the deleted one's place";

        std::filesystem::remove(dir.file("a.kmk")); // gone behind the panel's back
        f.answers = {Answer::Ok};
        remove.click();
        ASSERT_EQ(f.messages.size(), 1u) << "a failed delete is reported";
        EXPECT_TRUE(f.messages[0].text.contains("a.kmk")) << f.messages[0].text.toStdString();
        EXPECT_TRUE(f.exhausted());
        EXPECT_TRUE(f.window().close());
    }
    WindowFixture again;
    EXPECT_EQ(again.window().macroPanel().folder(), QDir(q(dir.path())).absolutePath()) << "the folder is kept";
}

// Sends a drag event of `data` to the drawing area at a pixel; whether it was taken.
bool sendDrag(QWidget* box, QEvent::Type type, const QMimeData& data, QPoint pixel)
{
    std::unique_ptr<QDropEvent> e;
    if (type == QEvent::DragEnter)
        e = std::make_unique<QDragEnterEvent>(pixel, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    else if (type == QEvent::DragMove)
        e = std::make_unique<QDragMoveEvent>(pixel, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    else
        e = std::make_unique<QDropEvent>(QPointF(pixel), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier, type);
    QApplication::sendEvent(box, e.get());
    return e->isAccepted();
}

// A macro saved into the listed folder is marked in the list; one saved
// elsewhere, even under a listed name, leaves no entry marked.
TEST(MacroPanelWindow, SavedMacroMarkedOnlyWhereItIsListed)
{
    SettingsHome home;
    TempDir listed, other;
    writePads(listed.file("a.kmk"), 1);
    writePads(listed.file("b.kmk"), 2);
    writePads(other.file("b.kmk"), 3);
    WindowFixture f;
    MacroPanel& panel = f.window().macroPanel();
    panel.setFolder(q(listed.path()));
    auto& list = f.control<QListWidget>("LB_Makro");
    list.setCurrentRow(0);
    panel.showSaved(q(other.file("b.kmk")));
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_EQ(panel.macro().size(), 4u) << "the saved macro is shown";
    panel.showSaved(q(listed.file("b.kmk")));
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(panel.macro().size(), 3u);
}

TEST(MacroPanelWindow, DragOntoTheBoard)
{
    SettingsHome home;
    TempDir dir;
    writePads(dir.file("row.kmk"), 3);
    WindowFixture f;
    MacroPanel& panel = f.window().macroPanel();
    f.window().boardView().setZoom(0.2);
    panel.showSaved(q(dir.file("row.kmk")));
    ASSERT_EQ(panel.macro().size(), 4u);

    QMimeData foreign;
    foreign.setText("row.kmk");
    EXPECT_FALSE(sendDrag(f.paintBox(), QEvent::DragEnter, foreign, f.pixelOf({2000, -2000})));
    std::unique_ptr<QMimeData> data(panel.dragData());
    const Preview& outline = f.window().pointerMachine().previews()[PreviewKind::MoveOutline];
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragEnter, *data, f.pixelOf({2000, -2000})));
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragMove, *data, f.pixelOf({2040, -2030})));
    EXPECT_TRUE(outline.drawn);
    EXPECT_EQ(outline.offset, (Point{2032, -2032})) << "the reference point snaps to the grid";
    sendDrag(f.paintBox(), QEvent::DragLeave, *data, {});
    EXPECT_FALSE(outline.drawn);

    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragEnter, *data, f.pixelOf({2040, -2030})));
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::Drop, *data, f.pixelOf({2040, -2030})));
    EXPECT_FALSE(outline.drawn);
    // Where and as what the objects land: MacroDrop.SaveAndDropRoundTrip.
    EXPECT_EQ(f.list().size(), 5u) << "three pads, the line and the via's twin";
    f.trigger("Rckgngig1");
    EXPECT_TRUE(f.list().empty()) << "the drop is one undo step";
}

TEST(MacroSaveWindow, MessagesQuestionAndWhatIsWritten)
{
    SettingsHome home;
    TempDir dir;
    WindowFixture f;
    ObjectList& list = f.list();

    f.trigger("Makrospeichern1");
    EXPECT_EQ(f.messages.size(), 1u) << "an empty side";

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
    EXPECT_EQ(macroSize(whole), 2u) << "the whole active side, not side 2";

    list[1].Selected = 1;
    f.saveNames = {q(part)};
    f.trigger("Makrospeichern1");
    EXPECT_EQ(macroSize(part), 1u) << "the selection, without a question";
    EXPECT_EQ(f.questions.size(), 2u);

    f.saveNames = {q(dir.file("missing/m.kmk"))};
    f.trigger("Makrospeichern1");
    EXPECT_EQ(f.messages.size(), 2u) << "a failed write is reported";
    EXPECT_TRUE(f.exhausted());
}

} // namespace
} // namespace kestrel::test
