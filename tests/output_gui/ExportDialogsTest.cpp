#include "output/gui/DrillDialog.h"
#include "output/gui/GerberDialog.h"

#include "support/TestData.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <gtest/gtest.h>

#include <deque>

using namespace kestrel;

namespace {

template <typename T>
T* child(QWidget& w, const char* name)
{
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QString captionOf(QWidget& w, const char* name)
{
    QObject* o = w.findChild<QObject*>(name);
    if (!o)
        return "<missing " + QString(name) + ">";
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(o))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(o))
        return g->title();
    return "<no caption>";
}

// Scripted answers for the prompts of one command run.
struct Script {
    std::deque<std::function<bool(QDialog&)>> dialogAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    QStringList suggestedNames, filters, suffixes;
    struct Message {
        QString caption, text;
        QMessageBox::Icon icon;
    };
    std::vector<Message> messages;

    ExportPrompts prompts()
    {
        ExportPrompts p;
        p.runDialog = [this](QDialog& d) {
            if (dialogAnswers.empty())
                return false;
            auto answer = dialogAnswers.front();
            dialogAnswers.pop_front();
            return answer(d);
        };
        p.saveFileName = [this](QWidget*, const QString& suggested, const QString& filter,
                                const QString& suffix) -> std::optional<QString> {
            suggestedNames << suggested;
            filters << filter;
            suffixes << suffix;
            auto answer = fileAnswers.empty() ? std::nullopt : fileAnswers.front();
            if (!fileAnswers.empty())
                fileAnswers.pop_front();
            return answer;
        };
        p.message = [this](QWidget*, const QString& caption, const QString& text, QMessageBox::Icon icon) {
            messages.push_back({caption, text, icon});
        };
        return p;
    }
};

std::string fileText(const QString& path)
{
    const auto bytes = test::readBytes(path.toStdString());
    return {bytes.begin(), bytes.end()};
}

LayoutDocument exampleDocument()
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.Working.BoardWidth = 1000;
    doc.Working.BoardHeight = 1000;
    test::addTrack(*doc.currentObjects(), {{100, -100}, {500, -100}}, 40);
    test::addPad(*doc.currentObjects(), {500, -100}, 80, 1, 1, 40);
    return doc;
}

} // namespace

TEST(GerberDialog, CaptionsInBothLanguages)
{
    struct Row {
        const char* name;
        const char* russian;
        const char* english;
    };
    const Row rows[] = {
        {"K1", "Фольга", "Copper"},
        {"B1", "Маска", "Silk screen"},
        {"LStop1", "Без паек", "Solder mask"},
        {"K2", "Фольга", "Copper"},
        {"B2", "Маска", "Silk screen"},
        {"LStop2", "Без паек", "Solder mask"},
        {"Spiegeln", "Зеркально", "Mirror"},
        {"Umriss", "Нумерация плат", "Board outline"},
        {"BohrungenFrei", "Разметка сверловки", "Punch drill holes"},
        {"Koernen", "Разм. (круг)", "Mark drill holes"},
        {"Invertieren", "Инвертировать", "&Inverting output"},
        {"OKBtn", "Экспорт в файл", "Create exp&ort file..."},
        {"CancelBtn", "За&кончить", "&Close"},
        {"OffsetLabel", "Сдвиг [мм]:", "Сдвиг [мм]:"},
        {"ExportGroup", "Экспорт", "Export"},
        {"OptionsGroup", "Опции", "Options"},
        {"MaskOptionsGroup", "Опции для варианта (Без паек)", "Options for solder mask"},
        {"InfoLabel", "Экспорт в формате RS-274X", "Kestrel exports Extended-Gerber-Format RS-274X."},
    };
    TGerberDlg ru(Language::Russian), en(Language::English);
    EXPECT_EQ(ru.windowTitle(), QString::fromUtf8("Экспорт в формате Gerber"));
    EXPECT_EQ(en.windowTitle(), "Gerber export");
    for (const Row& r : rows) {
        EXPECT_EQ(captionOf(ru, r.name), QString::fromUtf8(r.russian)) << r.name;
        EXPECT_EQ(captionOf(en, r.name), QString::fromUtf8(r.english)) << r.name;
    }
}

TEST(GerberDialog, DefaultsAndLayerPresets)
{
    TGerberDlg dlg(Language::English);
    auto* spiegeln = child<QCheckBox>(dlg, "Spiegeln");
    auto* umriss = child<QCheckBox>(dlg, "Umriss");
    auto* punch = child<QCheckBox>(dlg, "BohrungenFrei");
    auto* mark = child<QCheckBox>(dlg, "Koernen");
    auto* offset = child<QDoubleSpinBox>(dlg, "SE_Offset");
    auto* invert = child<QCheckBox>(dlg, "Invertieren");
    EXPECT_TRUE(child<QRadioButton>(dlg, "K1")->isChecked());
    EXPECT_TRUE(spiegeln->isChecked() && umriss->isChecked());
    EXPECT_FALSE(punch->isChecked() || mark->isChecked() || mark->isEnabled() || invert->isChecked());
    EXPECT_FALSE(offset->isEnabled() || invert->isEnabled());
    EXPECT_EQ(offset->minimum(), 0);
    EXPECT_DOUBLE_EQ(offset->maximum(), 9.9);
    EXPECT_DOUBLE_EQ(offset->singleStep(), 0.1);
    EXPECT_EQ(offset->decimals(), 1);
    EXPECT_TRUE(child<QPushButton>(dlg, "OKBtn")->isDefault());

    struct Row {
        const char* button;
        bool mirror, outline, options;
    };
    const Row rows[] = {{"LStop1", true, false, false}, {"K2", false, true, true}, {"B1", false, false, true},
                        {"LStop2", false, false, false}, {"B2", true, false, true}, {"K1", true, true, true}};
    for (const Row& r : rows) {
        spiegeln->setChecked(!r.mirror);
        umriss->setChecked(!r.outline);
        child<QRadioButton>(dlg, r.button)->click();
        EXPECT_EQ(spiegeln->isChecked(), r.mirror) << r.button;
        EXPECT_EQ(umriss->isChecked(), r.outline) << r.button;
        EXPECT_EQ(punch->isEnabled(), r.options) << r.button;
        EXPECT_EQ(offset->isEnabled(), !r.options) << r.button;
        EXPECT_EQ(invert->isEnabled(), !r.options) << r.button;
        EXPECT_EQ(dlg.layer(), *gerberLayerFromKey(r.button));
    }
}

TEST(GerberDialog, MarkingFollowsPunching)
{
    TGerberDlg dlg(Language::Russian);
    auto* punch = child<QCheckBox>(dlg, "BohrungenFrei");
    auto* mark = child<QCheckBox>(dlg, "Koernen");
    punch->click();
    EXPECT_TRUE(mark->isEnabled());
    mark->click();
    EXPECT_TRUE(dlg.options().punch && dlg.options().mark);
    child<QRadioButton>(dlg, "LStop2")->click(); // masks disable both, marking stays checked
    EXPECT_FALSE(punch->isEnabled() || mark->isEnabled());
    child<QRadioButton>(dlg, "K2")->click();
    EXPECT_TRUE(mark->isEnabled() && mark->isChecked());
    punch->click();
    EXPECT_FALSE(mark->isEnabled() || mark->isChecked());
}

TEST(GerberDialog, CommandLoopsUntilClosed)
{
    test::TempDir dir;
    LayoutDocument doc = exampleDocument();
    QWidget window;
    Script script;
    const QString k1 = QString::fromStdString(dir.file("k1.gbr")), mask = QString::fromStdString(dir.file("m.gbr"));
    script.dialogAnswers = {
        [](QDialog&) { return true; }, // K1 as preset
        [](QDialog& d) {               // solder mask side 1, offset and inversion; save dialog cancelled
            child<QRadioButton>(d, "LStop1")->click();
            child<QDoubleSpinBox>(d, "SE_Offset")->setValue(0.2);
            child<QCheckBox>(d, "Invertieren")->click();
            return true;
        },
        [](QDialog&) { return true; }, // the same again, saved
        [](QDialog&) { return true; }, // into a missing directory
        [](QDialog&) { return false; },
    };
    script.fileAnswers = {k1, std::nullopt, mask, QString::fromStdString(dir.file("none/x.gbr"))};
    runGerberDialog(&window, doc, Language::English, script.prompts());

    EXPECT_EQ(script.suggestedNames, (QStringList{"COPPER1.GBR", "SLDMASK1.GBR", "SLDMASK1.GBR", "SLDMASK1.GBR"}));
    EXPECT_EQ(script.filters.front(), "*.gbr|*.gbr");
    EXPECT_EQ(script.suffixes.front(), "GBR");
    EXPECT_EQ(fileText(k1), exportGerber(*doc.currentObjects(), doc.Working, GerberOptions::presetFor(GerberLayer::K1),
                                         Language::English));
    GerberOptions maskOptions = GerberOptions::presetFor(GerberLayer::LStop1);
    maskOptions.offsetMm = 0.2;
    maskOptions.invert = true;
    EXPECT_EQ(fileText(mask), exportGerber(*doc.currentObjects(), doc.Working, maskOptions, Language::English));
    ASSERT_EQ(script.messages.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(script.messages[i].caption, "Gerber file (RS274X format)");
        EXPECT_EQ(script.messages[i].text, "File created successfully.");
        EXPECT_EQ(script.messages[i].icon, QMessageBox::Information);
    }
    EXPECT_TRUE(script.messages[2].text.startsWith("Can not create file!\n\n"));
    EXPECT_EQ(script.messages[2].icon, QMessageBox::Critical);

    // The next run starts with the layer and options of the last one.
    Script again;
    GerberOptions seen;
    again.dialogAnswers = {[&seen](QDialog& d) {
        seen = static_cast<TGerberDlg&>(d).options();
        return false;
    }};
    runGerberDialog(&window, doc, Language::English, again.prompts());
    EXPECT_EQ(seen.layer, GerberLayer::LStop1);
    EXPECT_TRUE(seen.invert);
    EXPECT_DOUBLE_EQ(seen.offsetMm, 0.2);
}

TEST(GerberDialog, RussianMessages)
{
    test::TempDir dir;
    LayoutDocument doc = exampleDocument();
    Script script;
    script.dialogAnswers = {[](QDialog&) { return true; }, [](QDialog&) { return true; }};
    script.fileAnswers = {QString::fromStdString(dir.file("a.gbr")), QString::fromStdString(dir.file("no/a.gbr"))};
    runGerberDialog(nullptr, doc, Language::Russian, script.prompts());
    EXPECT_EQ(script.suggestedNames.front(), "KUPFER1.GBR");
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[0].caption, "Gerberfile im RS274X-Format");
    EXPECT_EQ(script.messages[0].text, "Datei wurde erfolgreich erstellt.");
    EXPECT_TRUE(script.messages[1].text.startsWith("Datei konnte nicht erstellt werden!"));
    EXPECT_NE(fileText(QString::fromStdString(dir.file("a.gbr"))).find("%LNLAYOUTLOETSEITE*%"), std::string::npos);
}

TEST(DrillDialog, CaptionsAndDefaults)
{
    struct Row {
        const char* name;
        const char* russian;
        const char* english;
    };
    const Row rows[] = {
        {"Label1", "Экспорт в файл EXCELLON", "Drill data uses EXCELLON format."},
        {"GroupBox2", "Выбор стороны сверловки", "Origin of coordinates"},
        {"RB_Kupfer", "Сверлить со стороны Деталей", "Drill from solder side"},
        {"RB_Best", "Сверлить со стороны Монтажа", "Drill from component side"},
        {"Button1", "&OK", "&OK"},
        {"Button2", "О&тмена", "&Cancel"},
    };
    TLochDlg ru(Language::Russian), en(Language::English);
    EXPECT_EQ(ru.windowTitle(), QString::fromUtf8("Экспорт сверловки"));
    EXPECT_EQ(en.windowTitle(), "Excellon export");
    for (const Row& r : rows) {
        EXPECT_EQ(captionOf(ru, r.name), QString::fromUtf8(r.russian)) << r.name;
        EXPECT_EQ(captionOf(en, r.name), QString::fromUtf8(r.english)) << r.name;
    }
    EXPECT_TRUE(child<QRadioButton>(en, "RB_Kupfer")->isChecked());
    EXPECT_EQ(en.side(), DrillSide::Solder);
}

TEST(DrillDialog, CommandWritesTheChosenSide)
{
    test::TempDir dir;
    LayoutDocument doc = exampleDocument();
    QWidget window;
    const QString path = QString::fromStdString(dir.file("holes.drl"));

    Script cancelled;
    cancelled.dialogAnswers = {[](QDialog&) { return false; }};
    runDrillDialog(&window, doc, Language::English, cancelled.prompts());
    EXPECT_TRUE(cancelled.suggestedNames.empty());

    Script component;
    component.dialogAnswers = {[](QDialog& d) {
        child<QRadioButton>(d, "RB_Best")->click();
        return true;
    }};
    component.fileAnswers = {path};
    runDrillDialog(&window, doc, Language::English, component.prompts());
    EXPECT_EQ(component.filters, QStringList{"Drill files (Excellon)|*.DRL"});
    EXPECT_EQ(component.suffixes, QStringList{"DRL"});
    EXPECT_TRUE(component.messages.empty()); // success is silent
    EXPECT_EQ(fileText(path), exportDrill(*doc.currentObjects(), doc.Working, DrillSide::Component));

    Script failing;
    failing.dialogAnswers = {[](QDialog& d) { return static_cast<TLochDlg&>(d).side() == DrillSide::Component; }};
    failing.fileAnswers = {QString::fromStdString(dir.file("none/holes.drl"))};
    runDrillDialog(&window, doc, Language::Russian, failing.prompts());
    EXPECT_EQ(failing.filters, QStringList{"*.drl|*.drl"});
    ASSERT_EQ(failing.messages.size(), 1u);
    EXPECT_TRUE(failing.messages[0].text.startsWith("Datei konnte nicht erstellt werden!"));
    EXPECT_EQ(failing.messages[0].icon, QMessageBox::Critical);
}
