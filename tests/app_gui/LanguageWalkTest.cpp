// Walks every command of the main window in each interface language and reads
// every window that shows up: text in the other script, German or mis-encoded fails.

#include "app/HelpWindow.h"
#include "app/InterfaceLanguage.h"
#include "app/MainWindow.h"
#include "model/gui/Prompts.h"
#include "support/TestData.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

namespace kestrel::test {
namespace {

// Latin words a Russian text may hold: names of formats, programs and keys.
const std::set<QString> kLatinNames = {"Kestrel", "Gerber", "Excellon", "EXCELLON", "RS", "KBD", "KMK", "DRL", "BMP",
                                       "GBR", "kbd", "kmk", "drl", "bmp", "gbr", "PDF", "BAK", "Qt", "Shift", "Esc", "Ctrl",
                                       "Alt", "Del", "Backspace", "PgDn", "PgUp",
                                       "DD", "CC"}; // typographic units of Qt's page set-up
// Words that only a German text would hold.
const std::set<QString> kGermanWords = {"Datei", "nicht", "wurde", "erfolgreich", "erstellt", "Fehler", "zwischen",
                                        "liegen", "Wert", "Gerberfile", "Platine", "Bohrdaten", "Speichern",
                                        "Drucken", "Umriss", "Sprache", "Plata"};

// What is wrong with a text shown in the interface language, or nothing.
QString fault(const QString& text, Language lang)
{
    static const QRegularExpression word("[\\p{L}]+");
    static const QRegularExpression cyrillic("\\p{Cyrillic}");
    // File paths and name patterns are the user's and the system's, not the interface's.
    static const QRegularExpression path("(?:^|\\s)/[^\\s/]+/.*$|\\S*/\\S*\\.\\w+|\\*\\.\\w+");
    static const QRegularExpression latin("[A-Za-z]");
    if (text.contains(QRegularExpression("[äöüÄÖÜß]")))
        return "German letters";
    for (auto it = word.globalMatch(QString(text).remove(path)); it.hasNext();) {
        const QString w = it.next().captured();
        const bool hasCyrillic = w.contains(cyrillic), hasLatin = w.contains(latin);
        if (hasCyrillic && hasLatin)
            return "mixed scripts in '" + w + "'";
        if (kGermanWords.count(w))
            return "German word '" + w + "'";
        if (lang == Language::English && hasCyrillic)
            return "Cyrillic word '" + w + "'";
        if (lang == Language::Russian && hasLatin && w.size() > 1 && !kLatinNames.count(w))
            return "Latin word '" + w + "'";
    }
    return {};
}

// A text as read: rich text without its markup.
QString plain(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    QTextDocument doc;
    doc.setHtml(text);
    return doc.toPlainText();
}

// A manual page as read, without what it quotes to be typed (commands, file names).
QString pageWithoutCode(const QUrl& source)
{
    QFile file(source.toLocalFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString html = QString::fromUtf8(file.readAll());
    html.remove(QRegularExpression("<(code|pre|title)>.*?</\\1>", QRegularExpression::DotMatchesEverythingOption));
    return plain(html);
}

// Collects the texts a user can see on a widget tree, with where they sit.
class Reader {
public:
    explicit Reader(Language lang) : lang_(lang) {}

    void read(QWidget* top)
    {
        top_ = top->metaObject()->className() + QString(" ") + top->objectName();
        readObject(top);
        for (QObject* o : top->findChildren<QObject*>())
            readObject(o);
    }

    void add(const QObject* o, const char* what, const QString& text)
    {
        const QString problem = fault(plain(text), lang_);
        if (!problem.isEmpty())
            faults.insert(top_ + " > " + o->metaObject()->className() + " " + o->objectName() + "." + what + ": \"" +
                          text + "\" (" + problem + ")");
    }

    std::set<QString> faults;

private:
    void readObject(QObject* o)
    {
        auto* action = qobject_cast<QAction*>(o);
        if (o->property("properNames").toBool() || (action && (action->isSeparator() || !action->isVisible())))
            return;
        auto* w = qobject_cast<QWidget*>(o);
        // What actions and widgets show, read by property name; a line edit's
        // text is the user's.
        if ((action || w) && !o->inherits("QLineEdit"))
            for (const char* name : {"text", "title", "toolTip", "statusTip", "windowTitle", "suffix", "prefix"})
                if (const QVariant value = o->property(name); value.typeId() == QMetaType::QString)
                    add(o, name, value.toString());
        if (!w)
            return;
        // Qt's page set-up lists paper names as the standards write them.
        if (auto* c = qobject_cast<QComboBox*>(w); c && c->objectName() != "pageSizeCombo")
            for (int i = 0; i < c->count(); ++i)
                add(c, "item", c->itemText(i));
        if (auto* t = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i)
                add(t, "tab", t->tabText(i));
        if (auto* l = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < l->count(); ++i)
                add(l, "item", l->item(i)->text());
        if (auto* b = qobject_cast<QTextBrowser*>(w))
            add(b, "page", pageWithoutCode(b->source()));
    }

    Language lang_;
    QString top_;
};

void walk(Language lang)
{
    ASSERT_TRUE(installQtTranslation(lang)) << "Qt's translation (qt6-translations-l10n) is missing";
    // The file dialogs' kinds, which the system would give in the C locale's English.
    EXPECT_EQ(fileKindName(QFileInfo(QDir::tempPath()), lang) + " / " + fileKindName(QFileInfo("board.kbd"), lang),
              lang == Language::Russian ? QString::fromUtf8("Папка / Файл KBD") : QString("Folder / KBD file"));
    // The described Russian filter names its pattern in the description too.
    EXPECT_EQ(qtNameFilters(QString::fromUtf8("*.kbd|*.kbd|Все Файлы (*.*)      |*.*")),
              QString::fromUtf8("*.kbd (*.kbd *.KBD);;Все Файлы (*.*)"));
    EXPECT_EQ(qtNameFilters("Drill files (Excellon)|*.DRL"), "Drill files (Excellon) (*.DRL *.drl)");
    Reader reader(lang);
    {
        DesktopPrompts prompts(lang);
        MainWindow window(lang, prompts);
        window.show();
        LayoutDocument& doc = window.document();
        addTrack(*doc.currentObjects(), {{1000, -1000}, {3000, -1000}}, 40);
        window.updateCommandStates();
        // Every modal window that opens is read and closed again, so each command
        // runs into its dialogs and their messages as a user would, then cancels.
        int modalsSeen = 0;
        QTimer sweeper;
        QObject::connect(&sweeper, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                modal = QApplication::activePopupWidget();
            if (!modal)
                return;
            ++modalsSeen;
            reader.read(modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->done(QDialog::Rejected);
            else
                modal->close();
        });
        sweeper.start(20);
        reader.read(&window);

        // The Qt standard buttons of a question.
        prompts.ask(&window, "?", "?", Prompts::Buttons::YesNoCancel, Prompts::Icon::Question);
        prompts.ask(&window, "?", "?", Prompts::Buttons::OkCancel, Prompts::Icon::Question);

        auto readTopLevels = [&] {
            QApplication::processEvents();
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->isVisible() && top != &window) {
                    reader.read(top);
                    if (top->inherits("QMenu"))
                        top->hide();
                }
        };
        // The tools (the autorouter brings its window), each with a press on
        // the board, where the label tools ask for their text.
        QWidget* board = window.findChild<QWidget*>("PaintBox1");
        ASSERT_TRUE(board);
        const QPoint onBoard(board->width() / 4, board->height() / 4);
        for (QAbstractButton* tool : window.findChild<QWidget*>("ToolPanel")->findChildren<QAbstractButton*>())
            if (tool->isEnabled() && tool->isCheckable()) {
                tool->click();
                readTopLevels();
                QTest::mouseClick(board, Qt::LeftButton, Qt::NoModifier, onBoard);
                readTopLevels();
                QTest::mouseClick(board, Qt::RightButton, Qt::NoModifier, onBoard);
            }
        window.findChild<QAbstractButton*>("SB_Standard")->click();

        int triggered = 0;
        for (QAction* action : window.findChildren<QAction*>()) {
            if (action->isSeparator() || action->menu() || !action->isVisible())
                continue;
            if (!action->isEnabled()) // commands that need a selection get one
                window.findChild<QAction*>("Allesmarkieren1")->trigger();
            if (!action->isEnabled())
                continue;
            action->trigger();
            ++triggered;
            readTopLevels();
            reader.read(&window);
        }
        EXPECT_GT(triggered, 40);
        EXPECT_GT(modalsSeen, 10) << "dialogs and messages met on the way";

        // F1 outside the drawing area: the manual at the tool's page.
        window.showHelp(window.helpPageOfCurrentTool());
        for (const HelpPage& page : helpPages()) {
            auto* help = window.findChild<HelpWindow*>();
            ASSERT_TRUE(help);
            help->showPage(page.file);
            reader.read(help);
        }
        window.hide();
    }
    for (const QString& f : reader.faults)
        ADD_FAILURE() << f.toStdString();
    installQtTranslation(Language::English);
    // The walk chose languages in the Options menu: leave no choice behind.
    QFile::remove(languageFileFolders({}).first() + "/SPRACHE.INI");
}

TEST(LanguageWalk, RussianShowsNoLatinGermanOrMisencodedText) { walk(Language::Russian); }

TEST(LanguageWalk, EnglishShowsNoCyrillicOrGermanText) { walk(Language::English); }

} // namespace
} // namespace kestrel::test
