#include "WindowFixture.h"

#include "app/MacroPanel.h"
#include "edit/PointerMachine.h"
#include "edit/Selection.h"
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

QStringList entries(const QListWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
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

// A file that cannot be deleted is named with the reason in the interface
// language (here it is gone before the click).
TEST(MacroPanelWindow, AFailedDeleteSaysWhyInTheInterfaceLanguage)
{
    SettingsHome home;
    TempDir dir;
    writePads(dir.file("a.kmk"), 1);
    WindowFixture f(Language::Russian, q(dir.file("a.kmk")));
    ASSERT_NE(f.control<QListWidget>("LB_Makro").currentItem(), nullptr);
    std::filesystem::remove(dir.file("a.kmk"));
    f.answers = {Answer::Ok};
    f.control<QPushButton>("B_MakroLoeschen").click();
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].text, "Файл \"a.kmk\" не удалён: нет такого файла или папки");
}

// A macro file given to the editor (the desktop opens *.kmk with it) is
// shown in the macro panel, not read as a damaged layout. A macro saved into
// the listed folder is marked in the list; one saved elsewhere, even under a
// listed name, leaves no entry marked. The macro shown drags onto the board.
TEST(MacroPanelWindow, AMacroFileOpensInThePanelAndDragsOntoTheBoard)
{
    SettingsHome home;
    TempDir dir, other;
    writePads(dir.file("a.kmk"), 1);
    writePads(dir.file("DIP.KMK"), 3);
    writePads(other.file("DIP.KMK"), 2);
    WindowFixture f(Language::English, q(dir.file("DIP.KMK")));
    MacroPanel& panel = f.window().macroPanel();
    EXPECT_TRUE(f.messages.empty()) << f.messages.front().text.toStdString();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(f.control<QWidget>("B_MakroLoeschen").toolTip(), "Delete macro") << "hints too";
    EXPECT_EQ(f.control<QWidget>("B_MakroLoeschen").statusTip(), "Delete the file of the macro chosen");
    auto& list = f.control<QListWidget>("LB_Makro");
    ASSERT_NE(list.currentItem(), nullptr);
    EXPECT_EQ(list.currentItem()->text(), "DIP.KMK");
    EXPECT_EQ(panel.macro().size(), 4u);
    EXPECT_EQ(f.list().size(), 0u) << "the layout stays as it was";

    panel.showSaved(q(other.file("DIP.KMK")));
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_EQ(panel.macro().size(), 3u) << "the saved macro is shown";
    panel.showSaved(q(dir.file("DIP.KMK")));
    EXPECT_EQ(list.currentRow(), 1);
    ASSERT_EQ(panel.macro().size(), 4u);

    f.window().boardView().setZoom(0.2);
    std::unique_ptr<QMimeData> data(panel.dragData());
    const Preview& outline = f.window().pointerMachine().previews()[PreviewKind::MoveOutline];
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragEnter, *data, f.pixelOf({2000, -2000})));
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragMove, *data, f.pixelOf({2040, -2030})));
    EXPECT_TRUE(outline.drawn);
    list.setFocus();
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::Drop, *data, f.pixelOf({2040, -2030})));
    EXPECT_FALSE(outline.drawn);
    // Where and as what the objects land: MacroDrop.DropOnTheActiveSide.
    EXPECT_EQ(f.list().size(), 5u) << "three pads, the line and the via's twin";
    EXPECT_EQ(QApplication::focusWidget(), f.window().boardView().scrollBox()) << "the keys act on the dropped part";
    f.trigger("Rckgngig1");
    EXPECT_TRUE(f.list().empty()) << "the drop is one undo step";

    // Near the corner the part comes back onto the board, and its outline
    // shows it there before the drop: it lands where it showed.
    f.window().boardView().zoomBoard();
    ASSERT_EQ(panel.macro().size(), 4u) << "the macro shown is still there to drag";
    const Point corner{f.doc().Working.BoardWidth - 100, -f.doc().Working.BoardHeight + 100};
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragEnter, *data, f.pixelOf(corner)));
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragMove, *data, f.pixelOf(corner)));
    const Point shown = outline.offset;
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::Drop, *data, f.pixelOf(corner)));
    ASSERT_EQ(f.list().size(), 5u);
    const LayoutObject& first = panel.macro()[0];
    EXPECT_EQ(Point(f.list()[0].X1, f.list()[0].Y1), Point(first.X1 + shown.x, first.Y1 + shown.y));
    EXPECT_LE(SelectionBounds(f.list())->right, f.doc().Working.BoardWidth) << "wholly on the board";
    f.trigger("Rckgngig1");
    // The autorouter tool selects only to show its pick: a part dropped
    // there is not left looking selected, where no key or command takes it.
    f.key(Qt::Key_U);
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragEnter, *data, f.pixelOf({2000, -2000})));
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::Drop, *data, f.pixelOf({2000, -2000})));
    ASSERT_EQ(f.list().size(), 5u);
    EXPECT_TRUE(f.selected().empty());
    f.trigger("Rckgngig1");

    // Import from file takes a macro as Open does.
    f.openNames = {q(dir.file("a.kmk"))};
    f.trigger("Platinennachladen1");
    EXPECT_TRUE(f.messages.empty());
    EXPECT_EQ(list.currentItem()->text(), "a.kmk");
    EXPECT_EQ(f.doc().boardCount(), 1u) << "no board added";
}

// A folder removed and made anew by another program is listed again, and
// the folder listed comes back in the next window.
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
        const auto openFolder = [&tree](const std::string& path) {
            Q_EMIT tree.clicked(static_cast<QFileSystemModel*>(tree.model())->index(q(path)));
        };
        openFolder(dir.path());
        auto& list = f.control<QListWidget>("LB_Makro");
        ASSERT_EQ(entries(list), (QStringList{"a.kmk", "B.KMK"})) << "either letter case, macros only";

        list.setCurrentRow(1);
        EXPECT_EQ(panel.macro().size(), 4u);
        writePads(dir.file("B.KMK"), 2); // written anew by another program
        Q_EMIT list.itemClicked(list.item(1));
        EXPECT_EQ(panel.macro().size(), 3u) << "a click on the entry reads it again";
        writePads(dir.file("B.KMK"), 3);
        Q_EMIT list.itemClicked(list.item(1));
        openFolder(dir.file("sub"));
        EXPECT_TRUE(panel.macro().empty()) << "nothing of the last folder is left to drag";
        // Marked in the tree with the keys, the folder marked is the one listed.
        tree.setCurrentIndex(static_cast<QFileSystemModel*>(tree.model())->index(q(dir.file("sub"))));
        tree.setFocus();
        QTest::keyClick(&tree, Qt::Key_Left); // from "sub" up to its folder
        EXPECT_EQ(panel.folder(), QDir(q(dir.path())).absolutePath());
        EXPECT_EQ(entries(list), (QStringList{"a.kmk", "B.KMK"}));
        list.setCurrentRow(1);

        auto& remove = f.control<QPushButton>("B_MakroLoeschen");
        // Del in the list asks about its file, not about the board's selection.
        addPad(f.list(), {1000, -1000}, 60);
        f.click({1000, -1000});
        list.setFocus();
        f.answers = {Answer::Cancel, Answer::Cancel, Answer::Ok};
        QTest::keyClick(&list, Qt::Key_Delete);
        QTest::keyClick(&list, Qt::Key_Delete, Qt::KeypadModifier);
        EXPECT_TRUE(std::filesystem::exists(dir.file("B.KMK"))) << "Cancel keeps the file";
        EXPECT_EQ(f.list().size(), 1u) << "and the board its pad";
        // Del in the folder tree or the drive box leaves the board alone too.
        for (const char* name : {"DirectoryListBox1", "DriveComboBox1"}) {
            QWidget& other = f.control<QWidget>(name);
            other.setFocus();
            QTest::keyClick(&other, Qt::Key_Delete);
            EXPECT_EQ(f.list().size(), 1u) << name;
        }
        remove.click();
        EXPECT_EQ(entries(list), QStringList{"a.kmk"});
        EXPECT_EQ(panel.macro().size(), 2u) << "the last entry takes the deleted one's place";

        tree.setFocus(); // the mark the model then moves is no choice of the user's
        std::filesystem::remove_all(dir.path());
        EXPECT_TRUE(QTest::qWaitFor([&] { return list.count() == 0; }, 5000));
        std::filesystem::create_directory(dir.path());
        QTest::qWait(100); // the new folder is watched before the file comes
        writePads(dir.file("c.kmk"), 2);
        EXPECT_TRUE(QTest::qWaitFor([&] { return entries(list) == QStringList{"c.kmk"}; }, 5000))
            << entries(list).join(' ').toStdString();

        // A macro that does not read is said once: other files changing
        // beside it do not read it again.
        std::ofstream(dir.file("c.kmk")) << "not a macro";
        const size_t said = f.messages.size();
        list.setCurrentRow(0);
        EXPECT_EQ(f.messages.size(), said + 1);
        std::ofstream(dir.file("notes.txt")) << "changed";
        QTest::qWait(500);
        EXPECT_EQ(f.messages.size(), said + 1);
        EXPECT_TRUE(f.exhausted());
        EXPECT_TRUE(f.window().close());
    }
    WindowFixture again;
    EXPECT_EQ(again.window().macroPanel().folder(), QDir(q(dir.path())).absolutePath()) << "the folder is kept";
}

// An empty side is reported; with nothing selected the command asks whether
// to save the whole active side; a failed write is reported. Which objects go:
// MacroSave.ScopeCountAndFailedWrite.
TEST(MacroSaveWindow, MessagesQuestionAndWhatIsWritten)
{
    SettingsHome home;
    TempDir dir;
    WindowFixture f;
    f.trigger("Makrospeichern1");
    EXPECT_EQ(f.messages.size(), 1u) << "an empty side";
    addPad(f.list(), {1000, -1000}, 60);
    addPad(f.list(), {3000, -3000}, 60, 1, 3); // side 2
    f.answers = {Answer::Cancel, Answer::Ok};
    f.trigger("Makrospeichern1");
    EXPECT_EQ(f.questions.size(), 1u) << "nothing selected";
    const std::string whole = dir.file("whole.kmk");
    f.saveNames = {q(whole), q(dir.file("missing/m.kmk"))};
    f.trigger("Makrospeichern1");
    EXPECT_TRUE(std::filesystem::exists(whole));

    f.list()[0].Selected = 1;
    f.trigger("Makrospeichern1");
    EXPECT_EQ(f.questions.size(), 2u) << "a selection is saved without a question";
    EXPECT_EQ(f.messages.size(), 2u) << "a failed write is reported";

    // Saved over a file another differs from only in letter case: the list
    // marks the file written.
    writePads(dir.file("Part.kmk"), 1);
    writePads(dir.file("part.kmk"), 1);
    f.trigger("Makrofenster1");
    auto& tree = f.control<QTreeView>("DirectoryListBox1");
    Q_EMIT tree.clicked(static_cast<QFileSystemModel*>(tree.model())->index(q(dir.path())));
    // The replace question is the window's own, about the name written, and
    // Enter does not say Yes to it.
    f.saveNames = {q(dir.file("part.kmk"))};
    f.answers = {Answer::Yes};
    f.trigger("Makrospeichern1");
    EXPECT_EQ(f.questions.back().text, "part.kmk already exists. Do you want to replace it?");
    EXPECT_EQ(f.questions.back().icon, Prompts::Icon::Warning);
    const QListWidgetItem* marked = f.control<QListWidget>("LB_Makro").currentItem();
    ASSERT_TRUE(marked);
    EXPECT_EQ(marked->text(), "part.kmk");

    // A name with a dot of its own gets the ending, so the list shows it;
    // a file of the name it then takes is replaced only when the answer is
    // Yes, and No asks for another name.
    f.saveNames = {q(dir.file("LM7805.TO220")), q(dir.file("LM7805.TO220"))};
    f.trigger("Makrospeichern1");
    ASSERT_TRUE(f.control<QListWidget>("LB_Makro").currentItem());
    EXPECT_EQ(f.control<QListWidget>("LB_Makro").currentItem()->text(), "LM7805.TO220.kmk");
    EXPECT_FALSE(std::filesystem::exists(dir.file("LM7805.TO220")));
    const auto before = std::filesystem::last_write_time(dir.file("LM7805.TO220.kmk"));
    f.answers = {Answer::No};
    f.saveNames = {q(dir.file("LM7805.TO220")), q(dir.file("LM7805-2.kmk"))};
    f.trigger("Makrospeichern1");
    EXPECT_EQ(f.questions.back().text, "LM7805.TO220.kmk already exists. Do you want to replace it?");
    EXPECT_EQ(std::filesystem::last_write_time(dir.file("LM7805.TO220.kmk")), before);
    EXPECT_TRUE(std::filesystem::exists(dir.file("LM7805-2.kmk"))) << "the name given after No";
    f.saveNames = {q(dir.file(".kmk"))}; // a name the system hides is listed all the same
    f.trigger("Makrospeichern1");
    ASSERT_TRUE(f.control<QListWidget>("LB_Makro").currentItem());
    EXPECT_EQ(f.control<QListWidget>("LB_Makro").currentItem()->text(), ".kmk");
    EXPECT_TRUE(f.exhausted());
}

} // namespace
} // namespace kestrel::test
