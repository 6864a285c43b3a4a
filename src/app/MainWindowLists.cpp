// The parameter lists of the tool panel: track widths (LinienPopup), pad
// sizes (LA_Popup) and grids (RasterPopup). Each keeps the user's entries
// sorted; choosing one makes its value current, the add and remove commands
// follow the current value, and a check mark shows it when it is listed.

#include "app/GridDialog.h"
#include "app/MainWindow.h"
#include "app/ToolPanel.h"
#include "edit/ApplyToolParameter.h"
#include "edit/ParameterLists.h"
#include "model/Units.h"
#include "model/gui/Prompts.h"
#include "view/gui/BoardView.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

#include <cmath>

namespace kestrel {

namespace {

constexpr const char* kEntry = "listEntry"; // marks the actions of user entries

QString unitText(Language lang)
{
    return QString::fromUtf8(kestrel::tr(lang, " мм", " mm"));
}

// Millimetres with a decimal point: one decimal, two where the value has them.
QString mmText(int32_t units, int minDecimals)
{
    return QString::number(units / 100.0, 'f', units % 10 != 0 ? 2 : minDecimals);
}

QAction* namedAction(QMenu& menu, const char* name)
{
    for (QAction* a : menu.actions())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void removeEntries(QMenu& menu)
{
    for (QAction* a : menu.actions())
        if (a->property(kEntry).toBool()) {
            menu.removeAction(a);
            a->deleteLater();
        }
}

// Inserts an entry's action before the named fixed item.
QAction* addEntry(QMenu& menu, const char* before, const QString& caption, std::function<void()> choose)
{
    auto* a = new QAction(caption, &menu);
    a->setCheckable(true);
    a->setProperty(kEntry, true);
    QObject::connect(a, &QAction::triggered, &menu, std::move(choose));
    menu.insertAction(namedAction(menu, before), a);
    return a;
}

std::vector<QAction*> entries(QMenu& menu)
{
    std::vector<QAction*> out;
    for (QAction* a : menu.actions())
        if (a->property(kEntry).toBool())
            out.push_back(a);
    return out;
}

// Checks the entry at index (none for -1); add as the caller finds it has
// something to add (always for the grids, whose add command chooses a
// listed grid), remove when an entry is checked; the separator shows only
// with entries before it.
void showListState(QMenu& menu, long checked, const char* separator, const char* add, const char* remove,
                   bool addEnabled)
{
    const std::vector<QAction*> items = entries(menu);
    for (size_t i = 0; i < items.size(); ++i)
        items[i]->setChecked(static_cast<long>(i) == checked);
    namedAction(menu, separator)->setVisible(!items.empty());
    namedAction(menu, add)->setEnabled(addEnabled);
    namedAction(menu, remove)->setEnabled(checked >= 0);
}

// The user's grids are whole units; a predefined one of thousandths
// (0.635 mm, 63.5 units) is none of them, though it rounds to 0.64 mm.
int32_t userGridTag(double gridUnits)
{
    return std::abs(gridUnits - std::round(gridUnits)) < 1e-6 ? static_cast<int32_t>(std::lround(gridUnits)) : 0;
}

} // namespace

void MainWindow::defineListHandlers()
{
    auto on = [this](const char* name, std::function<void()> f) {
        handlers_[name] = [f = std::move(f)](int) { f(); };
    };
    on("L_HinzufuegenClick", [this] {
        const int32_t w = tools_.CurrentTrackWidth;
        if (CanAddTagged(widthList_, w) && InsertTagged(widthList_, {w, (mmText(w, 1) + unitText(lang_)).toStdString()}))
            fillListMenus();
    });
    on("L_EntfernenClick", [this] {
        if (RemoveTagged(widthList_, tools_.CurrentTrackWidth))
            fillListMenus();
    });
    on("LA_HinzufuegenClick", [this] {
        if (InsertPadSize(padSizeList_, padSizeCaption()))
            fillListMenus();
    });
    on("LA_EntfernenClick", [this] {
        if (RemovePadSize(padSizeList_, tools_.CurrentPadOuter, tools_.CurrentPadInner))
            fillListMenus();
    });
    on("R_HinzufuegenClick", [this] {
        GridDialog dialog(lang_, this);
        if (!prompts_.runDialog(dialog))
            return;
        const int32_t grid = dialog.gridUnits();
        // A grid already listed is chosen instead of added twice.
        if (FindTagged(gridList_, grid) < 0 && InsertTagged(gridList_, {grid, (mmText(grid, 2) + unitText(lang_)).toStdString()}))
            fillListMenus();
        view_->chooseGridTag(grid);
    });
    on("R_EntfernenClick", [this] {
        if (RemoveTagged(gridList_, userGridTag(view_->grid())))
            fillListMenus();
    });
}

// The menus of the two arrow buttons, and the entries read at start-up.
void MainWindow::buildParameterLists()
{
    for (const ListEntry& e : userLists_.trackWidths)
        InsertTagged(widthList_, {e.tag, e.caption.toStdString()});
    for (const ListEntry& e : userLists_.grids)
        InsertTagged(gridList_, {e.tag, e.caption.toStdString()});
    for (const QString& caption : userLists_.padSizes)
        InsertPadSize(padSizeList_, caption.toStdString());

    const std::pair<const char*, const char*> buttons[] = {{"LMDSpeedButton1", "LinienPopup"},
                                                           {"LMDSpeedButton2", "LA_Popup"}};
    for (const auto& [button, menu] : buttons) {
        auto* b = toolPanel_->findChild<QToolButton*>(button);
        b->setMenu(menus_.at(menu));
        b->setPopupMode(QToolButton::InstantPopup);
        b->setStyleSheet("QToolButton::menu-indicator { image: none; }");
        b->setEnabled(true);
    }
    // A value typed but not yet entered is the one the list marks, adds or
    // removes, as the edit shows it.
    for (const char* menu : {"LinienPopup", "LA_Popup"})
        connect(menus_.at(menu), &QMenu::aboutToShow, this, [this] {
            toolPanel_->applyTypedValues();
            showListStates();
        });
    connect(gridMenu_, &QMenu::aboutToShow, this, &MainWindow::showListStates);
    fillListMenus();
}

void MainWindow::fillListMenus()
{
    QMenu& widths = *menus_.at("LinienPopup");
    removeEntries(widths);
    for (const TaggedEntry& e : widthList_)
        addEntry(widths, "L_Trenner", mmText(e.tag, 1) + unitText(lang_), [this, tag = e.tag] {
            tools_.CurrentTrackWidth = tag;
            showToolParameters();
            applyToolParameter(ToolParameter::Width);
        });

    QMenu& pads = *menus_.at("LA_Popup");
    removeEntries(pads);
    for (const std::string& caption : padSizeList_) {
        const auto size = ReadPadSizeCaption(caption);
        const QString shown = QString::fromStdString(PadSizeCaption(size->outer, size->inner, kestrel::tr(lang_, "мм", "mm")));
        addEntry(pads, "LA_Trenner", shown, [this, size = *size] {
            // Twice, so the hole never exceeds the pad on the way.
            for (int pass = 0; pass < 2; ++pass) {
                setCurrentPadOuter(tools_, size.outer / 2);
                setCurrentPadInner(tools_, size.inner / 2);
            }
            showToolParameters();
            applyToolParameter(ToolParameter::OuterRadius);
            applyToolParameter(ToolParameter::InnerRadius);
        });
    }

    removeEntries(*gridMenu_);
    for (const TaggedEntry& e : gridList_)
        addEntry(*gridMenu_, "R_Trenner", QString(6, ' ') + mmText(e.tag, 2) + unitText(lang_),
                 [this, tag = e.tag] { view_->chooseGridTag(tag); });
    showListStates();
}

void MainWindow::showListStates()
{
    showListState(*menus_.at("LinienPopup"), FindTagged(widthList_, tools_.CurrentTrackWidth), "L_Trenner",
                  "L_Hinzufuegen", "L_Entfernen", CanAddTagged(widthList_, tools_.CurrentTrackWidth));
    showListState(*menus_.at("LA_Popup"), FindPadSize(padSizeList_, tools_.CurrentPadOuter, tools_.CurrentPadInner),
                  "LA_Trenner", "LA_Hinzufuegen", "LA_Entfernen", CanInsertPadSize(padSizeList_, padSizeCaption()));
    // The predefined grids carry thousandths and are never checked.
    showListState(*gridMenu_, FindTagged(gridList_, userGridTag(view_->grid())), "R_Trenner",
                  "R_Hinzufuegen", "R_Entfernen", true);
}

std::string MainWindow::padSizeCaption() const
{
    return PadSizeCaption(2 * tools_.CurrentPadOuter, 2 * tools_.CurrentPadInner, kestrel::tr(lang_, "мм", "mm"));
}

UserLists MainWindow::parameterLists() const
{
    UserLists out;
    for (const TaggedEntry& e : widthList_)
        out.trackWidths.push_back({e.tag, QString::fromStdString(e.caption)});
    for (const TaggedEntry& e : gridList_)
        out.grids.push_back({e.tag, QString::fromStdString(e.caption)});
    for (const std::string& caption : padSizeList_)
        out.padSizes.push_back(QString::fromStdString(caption));
    return out;
}

} // namespace kestrel
