#include "WindowFixture.h"

#include "app/AutoSaveDialog.h"
#include "app/SettingsFile.h"
#include "app/TerminationSignals.h"
#include "model/AutoSave.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QSpinBox>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>

namespace kestrel::test {
namespace {

TEST(Settings, EveryKeyRoundTripsAndStoredValuesAreChecked)
{
    TempDir dir;
    const QString path = q(dir.file("KESTREL30.INI"));
    EXPECT_EQ(readSettings(path).options, Options{}) << "no file";

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

    // Writing shorter lists erases the old entries of the sections; a separator ends a list.
    writeOptionsAndLists(options, UserLists{{{40, "0,4 mm"}, {-1, "-"}, {100, "1 mm"}}, {}, {}}, path);
    EXPECT_EQ(readSettings(path).lists, (UserLists{{{40, "0,4 mm"}}, {}, {}}));

    // Pad sizes written by hand: a decimal comma, outside quotes, reads as a
    // list of values; an entry that cannot be read is skipped, and those
    // after it are kept.
    {
        QFile raw(path);
        ASSERT_TRUE(raw.open(QIODevice::WriteOnly | QIODevice::Truncate));
        raw.write("[LA_POPUP]\nS0=1.8 x 0.6 mm\nS1=1,8 x 0,8 mm\nS2=abc\nS3=&2.0 x 1.0 mm\nS4=10.0 x 1.0 mm\n");
    }
    EXPECT_EQ(readSettings(path).lists.padSizes,
              (std::vector<QString>{"1.8 x 0.6 mm", "1.8 x 0.8 mm", "&2.0 x 1.0 mm", "10.0 x 1.0 mm"}));

    // The reading holds the numbers to their ranges: list entries to what
    // their fields take, a pad's hole to the pad.
    {
        QSettings file(path, QSettings::IniFormat);
        file.clear();
        file.setValue("Optionen/UndoDepth", "0");
        for (const auto& [key, value] : {std::pair{"L_POPUP/T0", "9999"}, {"L_POPUP/T1", "9990"}, {"R_POPUP/T7", "8"},
                                         {"R_POPUP/T8", "10"}, {"LA_POPUP/S0", "0.5 x 3.0 mm"},
                                         {"LA_POPUP/S1", "3.0 x 3.0 mm"}})
            file.setValue(key, value);
    }
    const Settings ranged = readSettings(path);
    EXPECT_EQ(ranged.options.undoDepth, 1);
    EXPECT_EQ(ranged.lists.trackWidths.size(), 1u);
    EXPECT_EQ(ranged.lists.trackWidths.at(0).tag, 9990);
    EXPECT_EQ(ranged.lists.grids.size(), 1u);
    EXPECT_EQ(ranged.lists.grids.at(0).tag, 10);
    EXPECT_EQ(ranged.lists.padSizes, (std::vector<QString>{"3.0 x 3.0 mm"}));

    // Flags as 1 and 0, or in words as a hand may write them; other words
    // keep the defaults.
    for (const auto& [words, expected] :
         {std::pair{std::array{"no", "Off", "FALSE"}, std::array{false, false, false}},
          {std::array{"yes", "on", "true"}, std::array{true, true, true}},
          {std::array{"maybe", "", "2"}, std::array{Options{}.hints, Options{}.macroPanel, Options{}.autoSave}}}) {
        {
            QSettings file(path, QSettings::IniFormat);
            file.clear();
            file.setValue("Optionen/Kurzhilfe", words[0]);
            file.setValue("Optionen/Makro", words[1]);
            file.setValue("Optionen/AutoSave", words[2]);
        }
        const Options o = readSettings(path).options;
        EXPECT_EQ((std::array{o.hints, o.macroPanel, o.autoSave}), expected) << words[0];
    }
}

std::vector<QString> historyCaptions(WindowFixture& f)
{
    std::vector<QString> out;
    for (const char* name : {"History1", "History2", "History3", "History4"})
        if (f.action(name).isVisible())
            out.push_back(f.action(name).text());
    return out;
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
        EXPECT_FALSE(f.action("HistoryTrenner").isVisible()) << "no history: no line";
        f.trigger("Hinweistexte1");
        f.dialogs = {autoSaveOn(7)};
        f.trigger("Autospeichern1");
        f.window().setUndoDepth(7);
        f.saveNames = {q(a), q(b)};
        f.trigger("Speichernals1");
        f.trigger("Speichernals1");
        EXPECT_EQ(historyCaptions(f),
                  (std::vector<QString>{"&1 " + q(b).replace('&', "&&"), "&2 " + q(a)}));
        EXPECT_TRUE(f.window().close());
    }
    WindowFixture f(Language::English, {}, true);
    EXPECT_EQ(f.window().geometry().size(), placed);
    EXPECT_FALSE(f.action("Hinweistexte1").isChecked());
    EXPECT_EQ(f.window().editSession().UndoDepth, 7);
    // The autosave dialog shows the stored choice.
    f.dialogs = {[](QDialog& d) {
        EXPECT_TRUE(child<QCheckBox>(d, "RB_AutoSave").isChecked());
        EXPECT_EQ(child<QSpinBox>(d, "SE_Zyklus").value(), 7);
        return WindowFixture::cancel(d);
    }};
    f.trigger("Autospeichern1");
    f.trigger("History2");
    EXPECT_EQ(f.doc().FileName, a);
    std::filesystem::remove(b);
    f.trigger("History1");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].text, "File not found!\n\n" + q(b)) << "the entry that is gone";
    EXPECT_EQ(f.doc().FileName, a);
    EXPECT_EQ(historyCaptions(f).size(), 2u);
    EXPECT_TRUE(f.exhausted());
}

// Two windows: each writes on closing only the options it changed, so the
// one closed last does not take back what the other chose.
TEST(Settings, AWindowClosedLastKeepsTheOptionsAnotherChose)
{
    SettingsHome home;
    std::optional<WindowFixture> first(std::in_place, Language::English, QString(), true);
    WindowFixture second(Language::English, {}, true);
    first->dialogs = {autoSaveOn(7)};
    first->trigger("Autospeichern1");
    EXPECT_TRUE(first->window().close());
    first.reset();
    second.trigger("Hinweistexte1"); // hints off, in this window only
    EXPECT_TRUE(second.window().close());
    const Options stored = readSettings().options;
    EXPECT_TRUE(stored.autoSave) << "the first window's choice stays";
    EXPECT_EQ(stored.autoSaveMs, 7 * 60 * 1000);
    EXPECT_FALSE(stored.hints) << "and the second window's own";
}

// Entries added to a list in two windows are all kept, whichever closes last.
TEST(Settings, ListEntriesAddedInTwoWindowsAreAllKept)
{
    SettingsHome home;
    const auto addWidth = [](WindowFixture& f, double mm) {
        f.control<QDoubleSpinBox>("SE_Breite").setValue(mm);
        Q_EMIT f.control<QMenu>("LinienPopup").aboutToShow();
        f.trigger("L_Hinzufuegen");
    };
    std::optional<WindowFixture> first(std::in_place, Language::English, QString(), true);
    WindowFixture second(Language::English, {}, true);
    addWidth(*first, 0.3);
    addWidth(second, 0.9);
    EXPECT_TRUE(second.window().close());
    EXPECT_TRUE(first->window().close());
    std::vector<int> tags;
    for (const ListEntry& e : readSettings().lists.trackWidths)
        tags.push_back(e.tag);
    EXPECT_EQ(tags, (std::vector<int>{30, 90}));
}

// A file named relative to the working folder goes into the history with
// its whole path, so the entry opens it from anywhere. A settings file that
// cannot be written is said once, not at every save.
TEST(Settings, HistoryKeepsWholePathsAndAnUnwritableFileIsReportedOnce)
{
    SettingsHome home;
    TempDir dir;
    writeSample(dir.file("rel.kbd"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(q(dir.path()));
    {
        WindowFixture f(Language::English, "rel.kbd", true);
        EXPECT_EQ(historyCaptions(f), std::vector<QString>{"&1 " + q(dir.file("rel.kbd"))});
        EXPECT_TRUE(f.action("HistoryTrenner").isVisible()) << "a single entry has its line above Quit";
    }
    QDir::setCurrent(before);
    WindowFixture elsewhere(Language::English, {}, true);
    elsewhere.trigger("History1");
    EXPECT_TRUE(elsewhere.messages.empty());
    EXPECT_EQ(QFileInfo(QString::fromStdString(elsewhere.doc().FileName)).absoluteFilePath(),
              QFileInfo(q(dir.file("rel.kbd"))).absoluteFilePath());

    ASSERT_TRUE(QFile::remove(settingsFilePath()));
    ASSERT_TRUE(QDir().mkpath(settingsFilePath())); // a folder in the file's place
    elsewhere.saveNames = {q(dir.file("a.kbd")), q(dir.file("b.kbd"))};
    elsewhere.trigger("Speichernals1");
    elsewhere.trigger("Speichernals1");
    ASSERT_EQ(elsewhere.messages.size(), 1u);
    EXPECT_TRUE(elsewhere.messages[0].text.startsWith("The settings could not be written to "))
        << elsewhere.messages[0].text.toStdString();
    EXPECT_TRUE(elsewhere.window().close());
    EXPECT_EQ(elsewhere.messages.size(), 1u);
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
    f.addContent();
    // The target becomes a directory: Save fails, the backup beside it works.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    f.trigger("Speichern1");
    ASSERT_EQ(f.messages.size(), 1u) << "the failed save is reported";
    const QString title = f.shownTitle();
    f.window().autoSaveTick(); // overdue since the unnamed tick: runs now
    EXPECT_EQ(objectsInFile(backup), 2u);
    EXPECT_EQ(f.shownTitle(), title);
    EXPECT_TRUE(f.doc().Modified) << "New still asks";
    EXPECT_EQ(f.doc().FileName, path);
}

// A window left mostly beyond the screen's edge comes back whole onto it
// (give or take the frame the window system adds once it is shown).
TEST(Settings, AWindowLeftOffTheScreenComesBackOntoIt)
{
    SettingsHome home;
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QSize placed;
    {
        WindowFixture f(Language::English, {}, true);
        f.window().setGeometry(available.right() - 100, available.bottom() - 50, 400, 300);
        placed = f.window().geometry().size();
        EXPECT_TRUE(f.window().close());
    }
    WindowFixture f(Language::English, {}, true);
    const QRect back = f.window().geometry();
    EXPECT_TRUE(available.adjusted(-8, -8, 8, 8).contains(back))
        << back.x() << "," << back.y() << " " << back.width() << "x" << back.height();
    EXPECT_EQ(back.size(), placed);
}

// OK in the autosave dialog with nothing changed keeps the schedule; a new
// interval starts it afresh.
TEST(Settings, AnUnchangedAutoSaveDialogKeepsTheSchedule)
{
    SettingsHome home;
    TempDir dir;
    const std::string backup = dir.file("board.bak");
    int64_t now = 0;
    WindowFixture f;
    f.window().setAutoSaveClock([&now] { return now; });
    f.saveNames = {q(dir.file("board.kbd"))};
    f.trigger("Speichernals1");
    f.dialogs = {autoSaveOn(2)};
    f.trigger("Autospeichern1");
    f.addContent();
    now = 90000;
    f.dialogs = {autoSaveOn(2)};
    f.trigger("Autospeichern1");
    now = 120000;
    f.window().autoSaveTick();
    EXPECT_TRUE(std::filesystem::exists(backup)) << "due two minutes after it was set";

    std::filesystem::remove(backup);
    f.addContent();
    now = 150000;
    f.dialogs = {autoSaveOn(3)};
    f.trigger("Autospeichern1");
    now = 150000 + 3 * 60000 - 1;
    f.window().autoSaveTick();
    EXPECT_FALSE(std::filesystem::exists(backup)) << "a new interval counts from its choice";
    now += 1;
    f.window().autoSaveTick();
    EXPECT_TRUE(std::filesystem::exists(backup));

    // An interval of no whole minutes (from the settings file) shows rounded
    // and stays as it is while the field is left alone.
    AutoSaveDialog dialog(Language::English);
    dialog.load(true, 150000);
    EXPECT_EQ(dialog.intervalMs(), 150000);
    child<QSpinBox>(dialog, "SE_Zyklus").setValue(3);
    EXPECT_EQ(dialog.intervalMs(), 180000);

    // The interval is greyed while autosave is off.
    dialog.load(false, 120000);
    EXPECT_FALSE(child<QSpinBox>(dialog, "SE_Zyklus").isEnabled());
    child<QCheckBox>(dialog, "RB_AutoSave").click();
    EXPECT_TRUE(child<QSpinBox>(dialog, "SE_Zyklus").isEnabled());
    child<QCheckBox>(dialog, "RB_AutoSave").click();
    EXPECT_FALSE(child<QSpinBox>(dialog, "SE_Zyklus").isEnabled());
}

// After a crash the backup is newer than its document: opening the document
// offers it, since the next autosave of a changed document replaces it; a
// document that cannot be read offers it too.
TEST(Settings, ANewerBackupIsOfferedOnOpening)
{
    SettingsHome home;
    TempDir dir;
    const std::string path = dir.file("B.KBD"), backup = dir.file("B.bak");
    {
        WindowFixture saved;
        saved.addContent();
        saved.saveNames = {q(path)};
        saved.trigger("Speichernals1");
        saved.addContent();
        saved.addContent();
        saved.saveNames = {q(backup)};
        saved.trigger("Speichernals1");
    }
    std::filesystem::last_write_time(backup, std::filesystem::last_write_time(path) + std::chrono::seconds(10));
    int64_t now = 0;
    WindowFixture f;
    f.window().setAutoSaveClock([&now] { return now; });
    f.dialogs = {autoSaveOn(1)};
    f.trigger("Autospeichern1");
    f.answers = {Answer::No};
    f.openNames = {q(path)};
    f.trigger("ffnen1");
    ASSERT_EQ(f.questions.size(), 1u);
    EXPECT_TRUE(f.questions[0].text.startsWith(q("The backup is newer than the document: " + backup)))
        << f.questions[0].text.toStdString();
    EXPECT_EQ(f.doc().FileName, path);
    now = 2 * 60000;
    f.window().autoSaveTick();
    EXPECT_EQ(objectsInFile(backup), 3u) << "an unchanged document leaves the backup";
    f.addContent();
    now = 4 * 60000;
    f.window().autoSaveTick();
    EXPECT_EQ(objectsInFile(backup), 2u) << "declined, and the changed document written over it";
    // Changes discarded: the backup holding them is not offered at the next opening.
    f.answers = {Answer::No};
    f.openNames = {q(path)};
    f.trigger("ffnen1");
    EXPECT_EQ(f.questions.size(), 2u) << "only the save question";
    EXPECT_EQ(objectsInFile(backup), 2u) << "kept, only no longer newer";

    // Accepted: the backup is opened.
    std::filesystem::last_write_time(backup, std::filesystem::last_write_time(path) + std::chrono::seconds(10));
    f.answers = {Answer::Yes};
    f.openNames = {q(path)};
    f.trigger("ffnen1");
    EXPECT_EQ(f.doc().FileName, backup);
    EXPECT_EQ(f.list().size(), 2u);

    // A damaged document: the reason and the offer in one question.
    std::filesystem::resize_file(path, 40);
    std::filesystem::last_write_time(backup, std::filesystem::last_write_time(path) + std::chrono::seconds(10));
    f.answers = {Answer::Yes};
    f.openNames = {q(path)};
    f.trigger("ffnen1");
    ASSERT_EQ(f.questions.size(), 4u);
    EXPECT_TRUE(f.questions[3].text.startsWith("Cannot read")) << f.questions[3].text.toStdString();
    EXPECT_TRUE(f.questions[3].text.contains("The backup is newer than the document"));
    EXPECT_EQ(f.doc().FileName, backup);
    EXPECT_TRUE(f.messages.empty());
    EXPECT_TRUE(f.exhausted());
}

// Another window's additions to the history are kept; a damaged settings
// file is written anew without being called unwritable; a long path is cut
// in the middle, keeping the file's name.
TEST(Settings, HistoryOfTwoWindowsDamagedSettingsAndLongPaths)
{
    SettingsHome home;
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(settingsFilePath()).absolutePath()));
        QFile garbage(settingsFilePath());
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        QByteArray bytes(4096, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>((i * 7919 + 13) % 251);
        garbage.write(bytes);
    }
    TempDir dir;
    const std::string deep = dir.file(std::string(60, 'd') + "/" + std::string(60, 'e') + "/" + std::string(60, 'f'));
    ASSERT_TRUE(QDir().mkpath(q(deep)));
    WindowFixture one(Language::English, {}, true), two(Language::English, {}, true);
    one.saveNames = {q(dir.file("a.kbd")), q(dir.file("c.kbd"))};
    two.saveNames = {q(dir.file("b.kbd")), q(deep + "/board.kbd")};
    one.trigger("Speichernals1");
    two.trigger("Speichernals1");
    one.trigger("Speichernals1");
    EXPECT_EQ(historyCaptions(one), (std::vector<QString>{"&1 " + q(dir.file("c.kbd")),
                                                          "&2 " + q(dir.file("b.kbd")),
                                                          "&3 " + q(dir.file("a.kbd"))}));
    two.trigger("Speichernals1");
    const QString longest = historyCaptions(two).at(0);
    EXPECT_LT(longest.size(), 120) << longest.toStdString();
    EXPECT_TRUE(longest.endsWith("/board.kbd")) << longest.toStdString();
    EXPECT_TRUE(longest.contains(QChar(0x2026)));
    EXPECT_TRUE(one.messages.empty() && two.messages.empty()) << "the damaged file was written";
    EXPECT_EQ(readSettings().history.entries[0], deep + "/board.kbd");
}

// A termination signal writes the unsaved changes to the backup and the
// settings, and the window then closes without a question.
TEST(Settings, ATerminationSignalKeepsTheWorkInTheBackup)
{
    SettingsHome home;
    TempDir dir;
    const std::string path = dir.file("T.kbd"), backup = dir.file("T.bak");
    WindowFixture f(Language::English, {}, true);
    f.addContent();
    f.saveNames = {q(path)};
    f.trigger("Speichernals1");
    f.addContent();
    f.window().setUndoDepth(9);
    int signalled = 0;
    onTerminationSignal(&f.window(), [&](int signal) {
        signalled = signal;
        f.window().keepWorkForTermination();
    });
    std::raise(SIGTERM);
    for (int i = 0; i < 200 && !signalled; ++i)
        QTest::qWait(10);
    EXPECT_EQ(signalled, SIGTERM);
    EXPECT_EQ(objectsInFile(backup), 2u);
    EXPECT_EQ(objectsInFile(path), 1u) << "the document itself is left as saved";
    EXPECT_EQ(readSettings().options.undoDepth, 9);
    EXPECT_TRUE(f.window().close());
    EXPECT_TRUE(f.questions.empty());

    // A document opened from its backup writes that backup again.
    WindowFixture fromBackup(Language::English, q(backup), true);
    fromBackup.addContent();
    fromBackup.window().keepWorkForTermination();
    EXPECT_EQ(objectsInFile(backup), 3u);
    // An unnamed one's work becomes a file of its own, first among the recent files.
    WindowFixture unnamed(Language::English, {}, true);
    unnamed.addContent();
    unnamed.window().keepWorkForTermination();
    const std::string kept = readSettings().history.entries[0];
    EXPECT_TRUE(QFileInfo(q(kept)).fileName().startsWith("Unnamed ")) << kept;
    EXPECT_EQ(objectsInFile(kept), 1u);
    // So does a named one's when its folder is gone and no backup can be written there.
    const std::string gone = dir.file("gone/G.kbd");
    std::filesystem::create_directory(dir.file("gone"));
    WindowFixture named(Language::English, {}, true);
    named.addContent();
    named.saveNames = {q(gone)};
    named.trigger("Speichernals1");
    named.addContent();
    std::filesystem::remove_all(dir.file("gone"));
    named.window().keepWorkForTermination();
    const std::string rescued = readSettings().history.entries[0];
    EXPECT_TRUE(QFileInfo(q(rescued)).fileName().startsWith("G ")) << rescued;
    EXPECT_EQ(objectsInFile(rescued), 2u);
    // And a saved one's whose file was deleted, which is nowhere else.
    const std::string deleted = dir.file("D.kbd");
    WindowFixture saved(Language::English, {}, true);
    saved.addContent();
    saved.saveNames = {q(deleted)};
    saved.trigger("Speichernals1");
    std::filesystem::remove(deleted);
    saved.window().keepWorkForTermination();
    const std::string kept2 = readSettings().history.entries[0];
    EXPECT_TRUE(QFileInfo(q(kept2)).fileName().startsWith("D ")) << kept2;
    EXPECT_EQ(objectsInFile(kept2), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("D.bak"))) << "not beside the file gone";
}

// A document open in two windows: the second says so, and its backups go to
// a file of its own, so neither window's work replaces the other's.
TEST(Settings, ADocumentOpenTwiceKeepsEachWindowsBackup)
{
    SettingsHome home;
    TempDir dir;
    const std::string path = dir.file("Twice.kbd"), backup = dir.file("Twice.bak");
    writeSample(path);
    std::optional<WindowFixture> first(std::in_place, Language::English, q(path), true);
    EXPECT_TRUE(first->messages.empty());
    WindowFixture second(Language::English, q(path), true);
    ASSERT_EQ(second.messages.size(), 1u);
    EXPECT_TRUE(second.messages[0].text.contains("is already open in another Kestrel window"))
        << second.messages[0].text.toStdString();
    const size_t objects = first->list().size();
    first->addContent();
    first->window().keepWorkForTermination();
    second.addContent();
    second.addContent();
    second.window().keepWorkForTermination();
    EXPECT_EQ(objectsInFile(backup), objects + 1) << "the first window's backup stays";
    // That backup, newer than the document, is the first window's work in
    // progress, not work lost: a window opening the document now does not
    // offer it.
    std::optional<WindowFixture> another(std::in_place, Language::English, q(path), true);
    EXPECT_EQ(another->messages.size(), 1u);
    EXPECT_TRUE(another->questions.empty());
    const std::string own = readSettings().history.entries[0];
    EXPECT_TRUE(QFileInfo(q(own)).fileName().startsWith("Twice ")) << own;
    EXPECT_EQ(objectsInFile(own), objects + 2);

    // Once the first window has ended, its backup is offered as lost work
    // to a window opening the document again.
    first.reset();
    another->answers = {Answer::No};
    another->openNames = {q(path)};
    another->trigger("ffnen1");
    ASSERT_EQ(another->questions.size(), 1u);
    EXPECT_TRUE(another->questions[0].text.startsWith("The backup is newer"))
        << another->questions[0].text.toStdString();
    another.reset();

    // With no window left, the file opens without a word (its backup made
    // older, which would be offered).
    std::filesystem::last_write_time(backup, std::filesystem::last_write_time(path) - std::chrono::seconds(10));
    WindowFixture third(Language::English, q(path), true);
    EXPECT_TRUE(third.messages.empty());
    // The backup itself, or the file by way of a link to it or to its
    // folder, is the same document to the window that has it.
    std::filesystem::create_directory_symlink(dir.path(), dir.file("link"));
    std::filesystem::create_symlink(path, dir.file("alias.kbd"));
    for (const std::string& other : {backup, dir.file("link/Twice.kbd"), dir.file("alias.kbd")}) {
        WindowFixture again(Language::English, q(other), true);
        EXPECT_EQ(again.messages.size(), 1u) << other;
    }
}

// Save as onto a file another window has open asks first, and No leaves the
// file as it was.
TEST(Settings, SaveAsOverADocumentOpenInAnotherWindowAsksFirst)
{
    SettingsHome home;
    TempDir dir;
    const std::string path = dir.file("Open.kbd");
    const size_t objects = writeSample(path).board(0).Objects.size();
    WindowFixture first(Language::English, q(path), true);
    WindowFixture second;
    second.addContent();
    second.saveNames = {q(path), q(path)};
    second.answers = {Answer::No, Answer::Yes};
    second.trigger("Speichernals1");
    ASSERT_EQ(second.questions.size(), 1u);
    EXPECT_TRUE(second.questions[0].text.contains("is open in another Kestrel window"))
        << second.questions[0].text.toStdString();
    EXPECT_EQ(second.questions[0].icon, Prompts::Icon::Warning);
    EXPECT_EQ(objectsInFile(path), objects) << "No: the file stays";
    second.trigger("Speichernals1");
    EXPECT_EQ(objectsInFile(path), 1u) << "Yes: replaced";
}

// A document opened through a link to its file keeps that file's backup,
// which opening the file by its own name then offers.
TEST(Settings, ADocumentOpenedThroughALinkKeepsItsFilesBackup)
{
    SettingsHome home;
    TempDir dir;
    const std::string path = dir.file("Doc.kbd"), backup = dir.file("Doc.bak");
    writeSample(path);
    std::filesystem::create_symlink(path, dir.file("alias.kbd"));
    {
        WindowFixture viaLink(Language::English, q(dir.file("alias.kbd")), true);
        viaLink.addContent();
        viaLink.window().keepWorkForTermination();
    }
    EXPECT_TRUE(std::filesystem::exists(backup));
    EXPECT_FALSE(std::filesystem::exists(dir.file("alias.bak")));
    WindowFixture direct(Language::English, {}, true);
    direct.answers = {Answer::No};
    direct.openNames = {q(path)};
    direct.trigger("ffnen1");
    ASSERT_EQ(direct.questions.size(), 1u);
    EXPECT_TRUE(direct.questions[0].text.startsWith("The backup is newer")) << direct.questions[0].text.toStdString();
}

// Changes given up in the second window on a document leave the first
// window's backup, which holds that window's work, newer than the document,
// to be offered after a crash.
TEST(Settings, ChangesGivenUpInASecondWindowLeaveTheFirstWindowsBackup)
{
    SettingsHome home;
    TempDir dir;
    const std::string path = dir.file("Twice.kbd"), backup = dir.file("Twice.bak");
    writeSample(path);
    WindowFixture first(Language::English, q(path), true);
    WindowFixture second(Language::English, q(path), true);
    first.addContent();
    first.window().keepWorkForTermination(); // as an autosave writes it
    ASSERT_GT(std::filesystem::last_write_time(backup), std::filesystem::last_write_time(path));
    second.addContent();
    second.answers = {Answer::No};
    second.dialogs = {WindowFixture::cancel}; // the new document's board size
    second.trigger("Neu1");
    EXPECT_EQ(second.questions.size(), 1u);
    EXPECT_GT(std::filesystem::last_write_time(backup), std::filesystem::last_write_time(path));
}

// The second window's own backup, written while the first had the document,
// goes with its entry among the recent files once the work is saved.
TEST(Settings, ASecondWindowsOwnBackupGoesOnceItsWorkIsSaved)
{
    SettingsHome home;
    TempDir dir;
    const std::string path = dir.file("Twice.kbd");
    writeSample(path);
    WindowFixture first(Language::English, q(path), true);
    WindowFixture second(Language::English, q(path), true);
    int64_t now = 0;
    second.window().setAutoSaveClock([&now] { return now; });
    second.dialogs = {autoSaveOn(1)};
    second.trigger("Autospeichern1");
    second.addContent();
    now = 2 * 60000;
    second.window().autoSaveTick();
    const std::string own = readSettings().history.entries[0];
    ASSERT_TRUE(QFileInfo(q(own)).fileName().startsWith("Twice ")) << own;
    ASSERT_TRUE(std::filesystem::exists(own));
    second.trigger("Speichern1");
    EXPECT_FALSE(std::filesystem::exists(own));
    for (const std::string& entry : readSettings().history.entries)
        EXPECT_NE(entry, own);
}

// A signal while the save question is open: the question's end neither
// discards the document nor makes the backup look older than it.
TEST(Settings, ATerminationSignalDuringTheSaveQuestionKeepsTheBackupNewer)
{
    SettingsHome home;
    TempDir dir;
    const std::string path = dir.file("Q.kbd");
    WindowFixture f(Language::English, {}, true);
    f.addContent();
    f.saveNames = {q(path)};
    f.trigger("Speichernals1");
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::seconds(10));
    f.addContent();
    f.onQuestion = [&f](const ScriptedPrompts::Shown&) { f.window().keepWorkForTermination(); };
    f.answers = {Answer::No}; // what the interrupted question hands back
    f.trigger("Neu1");
    EXPECT_EQ(f.list().size(), 2u) << "the document stays";
    EXPECT_EQ(newerBackupOf(path), dir.file("Q.bak"));
    EXPECT_EQ(objectsInFile(dir.file("Q.bak")), 2u);
}

} // namespace
} // namespace kestrel::test
