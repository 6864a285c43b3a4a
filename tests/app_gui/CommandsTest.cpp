#include "WindowFixture.h"

#include "app/BoardSizeDialog.h"
#include "app/CommandTable.h"
#include "app/UiTexts.h"
#include "view/gui/BoardView.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QToolButton>

#include <set>

namespace kestrel::test {
namespace {

// Cyrillic left in a text, the unit "мм" aside (it is part of the English
// texts too).
bool hasRussian(QString text)
{
    text.remove("мм");
    static const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
    return text.contains(cyrillic);
}

TEST(Commands, EveryRowOfTheTablesIsAControlWithItsName)
{
    WindowFixture f(Language::Russian);
    for (const MenuCommand& row : menuCommands()) {
        if (!row.name)
            continue;
        const bool found = row.kind == CommandKind::Item ? f.window().findChild<QAction*>(row.name) != nullptr
                                                         : row.kind == CommandKind::Separator
                                                               ? f.window().findChild<QAction*>(row.name) != nullptr
                                                               : f.window().findChild<QMenu*>(row.name) != nullptr;
        EXPECT_TRUE(found) << row.name;
        if (row.kind != CommandKind::Separator && row.kind != CommandKind::Popup && !row.hidden) {
            EXPECT_STRNE(row.russian, "") << row.name;
        }
    }
    for (const ToolBarCommand& row : toolBarCommands()) {
        EXPECT_NE(f.window().findChild<QAction*>(row.name), nullptr) << row.name;
        EXPECT_NE(f.window().findChild<QToolButton*>(row.name), nullptr) << row.name;
    }
    for (const char* name : {"ToolBar1", "ToolPanel", "Statuszeile", "TabSet", "ScrollBoxEx1", "PaintBox1", "L_XPos",
                             "L_YPos", "L_Hilfetext", "SB_AutoMasse", "SE_FreistanzOffset", "SB_Layoutgroesse",
                             "SE_Breite", "SE_Innen", "SE_Aussen", "SB_Raster", "RasterPopup", "PlatinenPopup",
                             "PopupMenu"})
        EXPECT_NE(f.window().findChild<QObject*>(name), nullptr) << name;
}

// A text row that names no control would silently never be applied.
TEST(Commands, EveryTextRowFindsItsControlAndHasBothLanguages)
{
    WindowFixture f(Language::English);
    EXPECT_TRUE(applyTexts(&f.window(), mainWindowTexts(), Language::English).empty());
    for (const UiText& row : mainWindowTexts()) {
        ASSERT_NE(row.english, nullptr) << row.name;
        EXPECT_STRNE(row.english, "") << row.name;
        if (row.property == TextProperty::Caption) {
            ASSERT_NE(row.russian, nullptr) << row.name;
            EXPECT_STRNE(row.russian, "") << row.name;
        }
    }
    BoardSizeDialog dialog(Language::English, f.prompts());
    EXPECT_TRUE(applyTexts(&dialog, boardSizeDialogTexts(), Language::English).empty());
}

// The English interface shows no Russian text except where it keeps it on
// purpose: the layer menu, the about entry and the origin marker's hint,
// which have no English text.
TEST(Commands, EnglishInterfaceLeavesNoRussianCaptions)
{
    WindowFixture f(Language::English);
    const std::set<QString> keptRussian{"L1", "L1_action", "Info2", "K0_Shape"};
    for (QAction* a : f.window().findChildren<QAction*>()) {
        if (keptRussian.count(a->objectName()))
            continue;
        EXPECT_FALSE(hasRussian(a->text())) << a->objectName().toStdString() << ": " << a->text().toStdString();
        EXPECT_FALSE(hasRussian(a->toolTip())) << a->objectName().toStdString();
    }
    for (QMenu* m : f.window().findChildren<QMenu*>()) {
        if (keptRussian.count(m->objectName()))
            continue;
        EXPECT_FALSE(hasRussian(m->title())) << m->objectName().toStdString();
    }
    for (QWidget* w : f.window().findChildren<QWidget*>()) {
        if (keptRussian.count(w->objectName()))
            continue;
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            text = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            text = l->text();
        EXPECT_FALSE(hasRussian(text)) << w->objectName().toStdString() << ": " << text.toStdString();
        EXPECT_FALSE(hasRussian(w->toolTip())) << w->objectName().toStdString();
        EXPECT_FALSE(hasRussian(w->statusTip())) << w->objectName().toStdString();
    }
    BoardSizeDialog dialog(Language::English, f.prompts());
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            text = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            text = l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            text = g->title();
        EXPECT_FALSE(hasRussian(text)) << w->objectName().toStdString();
    }
    EXPECT_EQ(dialog.windowTitle(), "Board properties");
}

TEST(Commands, ShortcutsOfTheEditCommands)
{
    WindowFixture f;
    const std::pair<const char*, const char*> rows[] = {
        {"Rckgngig1", "Alt+Backspace"}, {"Kopieren1", "Ctrl+C"}, {"Ausschneiden1", "Ctrl+X"}, {"Einfgen1", "Ctrl+V"},
        {"Duplizieren1", "Ctrl+D"},     {"Lschen1", "Del"},      {"Allesmarkieren1", "Ctrl+A"}, {"Rotieren1", "Ctrl+R"},
        {"Horizontalspiegeln2", "Ctrl+H"}, {"Vertikalspiegeln2", "Ctrl+T"}, {"Gruppieren1", "Ctrl+G"},
        {"Gruppierungaufheben1", "Ctrl+U"}};
    for (const auto& [name, keys] : rows)
        EXPECT_EQ(f.action(name).shortcut(), QKeySequence(QString::fromLatin1(keys))) << name;
}

// Commands of parts still to come are shown but cannot be used; the built
// ones are enabled by their rules.
TEST(Commands, LaterCommandsStayDisabledWhileBuiltOnesFollowTheirRules)
{
    WindowFixture f;
    for (const char* name : {"GerberFormat1", "BohrDatenExcellon1", "N1", "Drucken1", "Makrospeichern1",
                             "Autospeichern1", "Rckgngig1", "Vorlage1", "Index1", "TB_Print", "TB_Vorlage",
                             "TB_Makro", "Kopieren2", "R_Hinzufuegen"})
        EXPECT_FALSE(f.action(name).isEnabled()) << name;
    for (const char* name : {"Neu1", "ffnen1", "Speichern1", "Speichernals1", "Beenden1", "NeuePlatine1",
                             "Platinengrsse1", "Platinelschen1", "Platinenachrechts1", "Platinenachlinks1",
                             "Platinennachladen1", "M_AutoMasse", "E_MM", "E_Zoll", "ZoomPlatine1", "Neuzeichnen1",
                             "Hinweistexte1", "K1", "SB2", "Info2", "TB_Neu", "TB_ZoomAlles", "NeuePlatine2",
                             "Rastersichtbar1"})
        EXPECT_TRUE(f.action(name).isEnabled()) << name;

    // An empty board: nothing to zoom to.
    EXPECT_FALSE(f.action("ZoomObjekte1").isEnabled());
    EXPECT_FALSE(f.action("TB_ZoomObjekte").isEnabled());
    EXPECT_FALSE(f.action("ZoomMarkierung1").isEnabled());

    ObjectList& objects = *f.doc().currentObjects();
    LayoutObject& pad = addPad(objects, {1000, -1000}, 90);
    LayoutObject& other = addPad(objects, {2000, -1000}, 90);
    addBand(pad, other);
    f.window().updateCommandStates();
    EXPECT_TRUE(f.action("ZoomObjekte1").isEnabled());
    EXPECT_TRUE(f.action("TB_ZoomObjekte").isEnabled());
    EXPECT_FALSE(f.action("ZoomMarkierung1").isEnabled());
    EXPECT_TRUE(f.window().commandStates().bands);
    EXPECT_FALSE(f.action("Luftlinienentfernen1").isEnabled()) << "rubber-band clean-up comes later";

    pad.Selected = 1;
    f.window().updateCommandStates();
    EXPECT_TRUE(f.action("ZoomMarkierung1").isEnabled());
    EXPECT_TRUE(f.action("TB_ZoomMarkierung").isEnabled());
    EXPECT_TRUE(f.window().commandStates().any);
    EXPECT_FALSE(f.action("Kopieren1").isEnabled()) << "copying comes later";
}

TEST(Commands, CheckMarksFollowTheStateWhenMenusOpen)
{
    WindowFixture f;
    f.trigger("E_Zoll");
    EXPECT_TRUE(f.window().boardView().inchUnit());
    EXPECT_TRUE(f.action("E_Zoll").isChecked());
    EXPECT_FALSE(f.action("E_MM").isChecked());
    f.trigger("E_MM");
    EXPECT_FALSE(f.window().boardView().inchUnit());
    EXPECT_TRUE(f.action("E_MM").isChecked());

    f.trigger("Rastersichtbar1");
    EXPECT_FALSE(f.window().boardView().gridVisible());
    EXPECT_FALSE(f.action("Rastersichtbar1").isChecked());

    EXPECT_TRUE(f.action("Hinweistexte1").isChecked());
    f.trigger("Hinweistexte1");
    EXPECT_FALSE(f.action("Hinweistexte1").isChecked());
}

TEST(Commands, GridMenuOffersThePredefinedGrids)
{
    WindowFixture f;
    f.trigger("R254"); // 2.54 mm
    f.trigger("N0635mm1401");
    EXPECT_DOUBLE_EQ(f.window().boardView().grid(), 63.5);
    EXPECT_DOUBLE_EQ(f.doc().Working.Grid, 63.5);
    EXPECT_EQ(f.control<QToolButton>("SB_Raster").text(), "0.635 мм");
}

} // namespace
} // namespace kestrel::test
