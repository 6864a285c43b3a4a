#include "WindowFixture.h"
#include "app/AutoSaveDialog.h"
#include "app/SettingsFile.h"
#include "edit/ParameterLists.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QSettings>
#include <QSpinBox>

#include <filesystem>

namespace kestrel::test {
namespace {

TEST(Settings, EveryKeyRoundTripsAndMissingKeysGiveTheDefaults)
{
    TempDir dir;
    const QString path = q(dir.file("KESTREL30.INI"));
    const Settings defaults = readSettings(path);
    EXPECT_EQ(defaults.options, Options{}) << "no file";
    EXPECT_EQ(defaults.lists, UserLists{});

    Options options{false, true, true, 7 * 60000, 12, "/w/Макросы", {}};
    UserLists lists{{{40, "0,4 mm"}, {100, "1 mm"}}, {{635, "0,635 mm"}}, {"1.8 x 0.8", "2.5 x 1"}};
    FileHistory history;
    history.entries = {"/w/d.kbd", "/w/Ü c.kbd", "/w/b.kbd", ""};
    writeOptionsAndLists(options, lists, path);
    writeHistory(history, path);
    const Settings back = readSettings(path);
    EXPECT_EQ(back.options, options);
    EXPECT_EQ(back.lists, lists);
    EXPECT_EQ(back.history.entries, history.entries);

    EXPECT_EQ(QSettings(path, QSettings::IniFormat).value("R_POPUP/T7").toInt(), 635) << "user grids start at index 7";

    // Writing shorter lists erases the old entries of the section.
    writeOptionsAndLists(options, UserLists{{{40, "0,4 mm"}, {-1, "-"}, {100, "1 mm"}}, {}, {}}, path);
    const UserLists shorter = readSettings(path).lists;
    EXPECT_EQ(shorter.trackWidths, (std::vector<ListEntry>{{40, "0,4 mm"}})) << "a separator ends the list";
}

// The reading holds the numbers to their ranges (the autosave interval's is
// the model's), and falls back to the default on text that is no number.
TEST(Settings, StoredValuesAreCheckedOnReading)
{
    TempDir dir;
    const QString path = q(dir.file("KESTREL30.INI"));
    struct Row {
        const char* key;
        const char* stored;
        int Options::*field;
        int read;
    };
    const Row rows[] = {
        {"Optionen/AutoSaveTime", "59999", &Options::autoSaveMs, 60000},
        {"Optionen/AutoSaveTime", "soon", &Options::autoSaveMs, 300000},
        {"Optionen/UndoDepth", "500", &Options::undoDepth, 100},
        {"Optionen/UndoDepth", "0", &Options::undoDepth, 1},
        {"Optionen/UndoDepth", "many", &Options::undoDepth, 1},
    };
    for (const Row& r : rows) {
        {
            QSettings file(path, QSettings::IniFormat);
            file.clear();
            file.setValue(r.key, r.stored);
        }
        EXPECT_EQ(readSettings(path).options.*r.field, r.read) << r.key << " = " << r.stored;
    }
    // A list ends at a missing or -1 tag and, for the pad sizes, at an empty caption.
    {
        QSettings file(path, QSettings::IniFormat);
        file.clear();
        for (auto [key, value] : {std::pair{"L_POPUP/T0", "20"}, {"L_POPUP/T1", "-1"}, {"L_POPUP/T2", "30"},
                                  {"R_POPUP/T7", "500"}, {"R_POPUP/T9", "600"}})
            file.setValue(key, value);
    }
    const UserLists lists = readSettings(path).lists;
    EXPECT_EQ(lists.trackWidths, (std::vector<ListEntry>{{20, ""}}));
    EXPECT_EQ(lists.grids, (std::vector<ListEntry>{{500, ""}}));
}

// The autosave dialog's script: switched on, with the interval if given.
WindowFixture::DialogScript autoSaveOn(int minutes = 0)
{
    return [minutes](QDialog& d) {
        d.findChild<QCheckBox*>("RB_AutoSave")->setChecked(true);
        if (minutes)
            d.findChild<QSpinBox*>("SE_Zyklus")->setValue(minutes);
        return WindowFixture::accept(d);
    };
}

std::vector<QString> historyCaptions(WindowFixture& f)
{
    std::vector<QString> out;
    for (const char* name : {"History1", "History2", "History3", "History4"})
        if (f.action(name).isVisible())
            out.push_back(f.action(name).text());
    return out;
}

// A settings file that cannot be written is said once, not at every save.
TEST(Settings, AnUnwritableFileIsReportedOnce)
{
    SettingsHome home;
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(settingsFilePath())); // a folder in the file's place
    WindowFixture f;
    f.saveNames = {q(dir.file("a.kbd")), q(dir.file("b.kbd"))};
    f.trigger("Speichernals1");
    f.trigger("Speichernals1");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages[0].text.startsWith("The settings could not be written to "))
        << f.messages[0].text.toStdString();
    EXPECT_TRUE(f.window().close());
    EXPECT_EQ(f.messages.size(), 1u);
}

// What the window keeps in the settings file comes back in the next window:
// the options and the window's size, written on close, and the file history,
// which follows saves and opens.
TEST(Settings, OptionsAndHistoryComeBackInTheNextWindow)
{
    SettingsHome home;
    TempDir dir;
    const std::string a = dir.file("A.kbd"), b = dir.file("R&D.kbd"); // '&' shown, no access key
    QSize placed;
    {
        WindowFixture f(Language::English, {}, true);
        f.window().setGeometry(60, 70, 900, 640);
        placed = f.window().geometry().size();
        EXPECT_TRUE(f.action("Hinweistexte1").isChecked()) << "no file: hints on";
        EXPECT_TRUE(historyCaptions(f).empty());
        EXPECT_FALSE(f.action("HistoryTrenner").isVisible());
        f.trigger("Hinweistexte1");
        f.dialogs = {autoSaveOn(7)};
        f.trigger("Autospeichern1");
        f.window().setUndoDepth(7);
        f.saveNames = {q(a), q(b)};
        f.trigger("Speichernals1");
        f.trigger("Speichernals1");
        EXPECT_EQ(historyCaptions(f),
                  (std::vector<QString>{"&1 " + q(b).toLower().replace('&', "&&"), "&2 " + q(a).toLower()}));
        EXPECT_TRUE(f.action("HistoryTrenner").isVisible());
        EXPECT_TRUE(f.window().close());
    }
    const QSettings file(settingsFilePath(), QSettings::IniFormat);
    EXPECT_EQ(file.value("Optionen/Kurzhilfe").toString(), "0");
    EXPECT_EQ(file.value("Optionen/AutoSave").toString(), "1");

    WindowFixture f(Language::English, {}, true);
    EXPECT_EQ(f.window().geometry().size(), placed);
    EXPECT_FALSE(f.action("Hinweistexte1").isChecked());
    EXPECT_EQ(f.window().editSession().UndoDepth, 7);
    f.dialogs = {[](QDialog& d) {
        EXPECT_TRUE(d.findChild<QCheckBox*>("RB_AutoSave")->isChecked());
        EXPECT_EQ(d.findChild<QSpinBox*>("SE_Zyklus")->value(), 7);
        return WindowFixture::cancel(d);
    }};
    f.trigger("Autospeichern1");
    EXPECT_EQ(historyCaptions(f).size(), 2u);
    f.trigger("History2");
    EXPECT_EQ(f.doc().FileName, a);
    std::filesystem::remove(b);
    f.trigger("History1");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.doc().FileName, a);
    EXPECT_EQ(historyCaptions(f).size(), 2u);
    EXPECT_TRUE(f.exhausted());
}

// A file named relative to the working folder goes into the history with
// its whole path, so the entry opens it from anywhere.
TEST(Settings, HistoryKeepsWholePaths)
{
    SettingsHome home;
    TempDir dir;
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ASSERT_TRUE(succeeded(writeDocument(doc, dir.file("rel.kbd"), false, Language::English)));
    const QString before = QDir::currentPath();
    QDir::setCurrent(q(dir.path()));
    {
        WindowFixture f(Language::English, "rel.kbd", true);
        EXPECT_EQ(historyCaptions(f), std::vector<QString>{"&1 " + q(dir.file("rel.kbd")).toLower()});
    }
    QDir::setCurrent(before);
    WindowFixture elsewhere(Language::English, {}, true);
    elsewhere.trigger("History1");
    EXPECT_TRUE(elsewhere.messages.empty());
    EXPECT_EQ(QFileInfo(QString::fromStdString(elsewhere.doc().FileName)).absoluteFilePath(),
              QFileInfo(q(dir.file("rel.kbd"))).absoluteFilePath());
}

TEST(Settings, AutoSaveDialogEnablesTheIntervalWithTheBox)
{
    AutoSaveDialog d(Language::English);
    d.load(false, 420000);
    auto* minutes = d.findChild<QSpinBox*>("SE_Zyklus");
    EXPECT_FALSE(minutes->isEnabled());
    d.show();
    QTest::mouseClick(d.findChild<QLabel*>("Label1"), Qt::LeftButton);
    EXPECT_TRUE(d.findChild<QCheckBox*>("RB_AutoSave")->isChecked()) << "a click on the text toggles the box";
    EXPECT_TRUE(minutes->isEnabled());
    EXPECT_EQ(minutes->value(), 7);
    minutes->setValue(90);
    EXPECT_EQ(d.intervalMs(), 60 * 60000) << "at most an hour";
}

// Autosave on a fake clock: the backup appears a whole interval after the
// dialog's OK, and leaves the name, the title and the unsaved state alone, so
// a failed Save does not become a saved document through a later autosave.
TEST(Settings, AutoSaveWritesTheBackupOnTheClockAndLeavesTheDocumentUnsaved)
{
    SettingsHome home;
    TempDir dir;
    const std::string path = dir.file("BOARD.KBD"), backup = dir.file("BOARD.bak");
    int64_t now = 0;
    WindowFixture f;
    f.window().setAutoSaveClock([&now] { return now; });
    f.dialogs = {autoSaveOn(2)};
    f.trigger("Autospeichern1");

    f.addContent();
    now = 5 * 60000;
    f.window().autoSaveTick();
    EXPECT_FALSE(std::filesystem::exists(backup)) << "an unnamed document";

    f.saveNames = {q(path)};
    f.trigger("Speichernals1");
    EXPECT_EQ(QSettings(settingsFilePath(), QSettings::IniFormat).value("History/D1").toString(), q(path));
    f.addContent();
    // The target becomes a directory: Save fails, the backup beside it works.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    f.trigger("Speichern1");
    ASSERT_EQ(f.messages.size(), 1u) << "the failed save is reported";
    const QString title = f.window().windowTitle();
    f.window().autoSaveTick(); // overdue since the unnamed tick: runs now
    const auto written = readDocument(backup, Language::English);
    ASSERT_TRUE(succeeded(written));
    EXPECT_EQ(written->document.board(0).Objects.size(), 2u);
    EXPECT_EQ(f.window().windowTitle(), title);
    EXPECT_TRUE(f.doc().Modified);
    f.answers = {Answer::Cancel};
    f.trigger("Neu1");
    EXPECT_EQ(f.questions.size(), 1u) << "New still asks";
    EXPECT_EQ(f.doc().FileName, path);
}

} // namespace
} // namespace kestrel::test
