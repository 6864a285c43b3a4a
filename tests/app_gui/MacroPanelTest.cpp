// The macro library panel in the window: its list, deleting with
// the question, a failed delete, the folder kept in the settings, and a
// macro dragged onto the board.

#include "SettingsHome.h"
#include "WindowFixture.h"
#include "app/MacroPanel.h"
#include "app/SettingsFile.h"
#include "edit/PointerMachine.h"
#include "model/MacroFile.h"

#include <QDropEvent>
#include <QFileSystemModel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>
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

TEST(MacroPanelWindow, ListDeleteAndFolder)
{
    SettingsHome home;
    TempDir dir;
    writePads(dir.file("a.kmk"), 1);
    writePads(dir.file("B.KMK"), 3);
    std::ofstream(dir.file("notes.txt")) << "not a macro";
    {
        WindowFixture f;
        MacroPanel& panel = f.window().macroPanel();
        f.trigger("Makrofenster1");
        EXPECT_TRUE(panel.isVisible());
        EXPECT_TRUE(f.action("Makrofenster1").isChecked());

        auto& tree = f.control<QTreeView>("DirectoryListBox1");
        const auto* folders = static_cast<QFileSystemModel*>(tree.model());
        Q_EMIT tree.clicked(folders->index(q(dir.path())));
        auto& list = f.control<QListWidget>("LB_Makro");
        ASSERT_EQ(entries(list), (QStringList{"a.kmk", "B.KMK"})) << "either letter case, macros only";

        list.setCurrentRow(1);
        EXPECT_EQ(panel.macro().size(), 4u);

        auto& remove = f.control<QPushButton>("B_MakroLoeschen");
        f.answers = {Answer::Cancel, Answer::Ok};
        remove.click();
        EXPECT_TRUE(std::filesystem::exists(dir.file("B.KMK"))) << "Cancel keeps the file";
        remove.click();
        ASSERT_EQ(f.questions.size(), 2u);
        EXPECT_EQ(f.questions[0].text, QString("Delete file \"B.KMK\" ?"));
        EXPECT_EQ(entries(list), QStringList{"a.kmk"});
        EXPECT_EQ(list.currentRow(), 0) << "the last entry takes the deleted one's place";
        EXPECT_EQ(panel.macro().size(), 2u);

        std::filesystem::remove(dir.file("a.kmk")); // gone behind the panel's back
        f.answers = {Answer::Ok};
        remove.click();
        ASSERT_EQ(f.messages.size(), 1u) << "a failed delete is reported";
        EXPECT_EQ(f.messages[0].icon, Prompts::Icon::Error);
        EXPECT_TRUE(f.messages[0].text.contains("a.kmk")) << f.messages[0].text.toStdString();
        EXPECT_TRUE(f.exhausted());
        EXPECT_TRUE(f.window().close());
    }
    const QSettings file(settingsFilePath(), QSettings::IniFormat);
    EXPECT_EQ(file.value("Optionen/MakroOrdner").toString(), QDir(q(dir.path())).absolutePath());
    WindowFixture again;
    EXPECT_EQ(again.window().macroPanel().folder(), QDir(q(dir.path())).absolutePath()) << "the folder is kept";
}

// Sends a drag event of `data` to the drawing area at a board point.
bool sendDrag(QWidget* box, QEvent::Type type, const QMimeData& data, QPoint pixel)
{
    if (type == QEvent::DragEnter) {
        QDragEnterEvent e(pixel, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &e);
        return e.isAccepted();
    }
    QDropEvent e(QPointF(pixel), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier, type);
    if (type == QEvent::DragMove) {
        QDragMoveEvent move(pixel, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &move);
        return move.isAccepted();
    }
    QApplication::sendEvent(box, &e);
    return e.isAccepted();
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
    addPad(*f.doc().currentObjects(), {500, -500}, 60).Selected = 1;

    QMimeData foreign;
    foreign.setText("row.kmk");
    EXPECT_FALSE(sendDrag(f.paintBox(), QEvent::DragEnter, foreign, f.pixelOf({2000, -2000})));
    std::unique_ptr<QMimeData> data(panel.dragData());
    const Preview& outline = f.window().pointerMachine().previews()[PreviewKind::MoveOutline];
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragEnter, *data, f.pixelOf({2000, -2000})));
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragMove, *data, f.pixelOf({2040, -2030})));
    EXPECT_TRUE(outline.drawn);
    EXPECT_EQ(outline.offset, (Point{2032, -2032})) << "the reference point snaps to the grid";
    EXPECT_EQ(outline.strokes.size(), 4u) << "one outline per object";
    sendDrag(f.paintBox(), QEvent::DragLeave, *data, {});
    EXPECT_FALSE(outline.drawn);

    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::DragEnter, *data, f.pixelOf({2040, -2030})));
    EXPECT_TRUE(sendDrag(f.paintBox(), QEvent::Drop, *data, f.pixelOf({2040, -2030})));
    EXPECT_FALSE(outline.drawn);
    const ObjectList& list = *f.doc().currentObjects();
    ASSERT_EQ(list.size(), 6u) << "three pads, the line and the via's twin";
    EXPECT_EQ(f.selected(), (std::vector<size_t>{1, 2, 3, 4, 5}));
    // Where and as what the objects land: MacroDrop.SaveAndDropRoundTrip.
    EXPECT_EQ(std::tie(list[1].X1, list[1].Y1), std::make_tuple(2032, -2032));

    f.trigger("Rckgngig1");
    EXPECT_EQ(f.doc().currentObjects()->size(), 1u) << "the drop is one undo step";
}

} // namespace
} // namespace kestrel::test
