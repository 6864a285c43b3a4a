// The edit commands of the main window: undo and redo, the clipboard,
// deleting, turning, mirroring, aligning, groups, selecting all and the
// arrow keys. Each runs the core
// operation on the active board and repaints what it changed.

#include "app/MainWindow.h"

#include "edit/Clipboard.h"
#include "edit/Grouping.h"
#include "edit/Selection.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "edit/PointerMachine.h"
#include "edit/gui/BoardPointer.h"
#include "model/gui/Prompts.h"
#include "route/gui/RouteToolActions.h"
#include "view/gui/BoardView.h"

#include <QShortcut>

namespace kestrel {

void MainWindow::defineEditHandlers()
{
    auto edit = [this](const char* name, std::function<void()> command) {
        handlers_[name] = [this, command = std::move(command)](int) { runEdit(command); };
    };
    // A route undone or redone is no longer the autorouter's last result.
    edit("Rckgngig1Click", [this] {
        Undo(session_, doc_);
        routeTools_->resultNoLongerStands();
    });
    edit("RedoClick", [this] {
        Redo(session_, doc_);
        routeTools_->resultNoLongerStands();
    });
    edit("SB_CopyClick", [this] { CopySelection(session_, doc_); });
    edit("SB_CutClick", [this] { CutSelection(session_, doc_); });
    edit("SB_InsertClick", [this] { Paste(session_, doc_); });
    edit("Duplizieren1Click", [this] { Duplicate(session_, doc_); });
    handlers_["SB_DelClick"] = [this](int) { deleteKey(); };
    // A turn or mirror the board has no room for changes nothing, and says so.
    auto onBoard = [this](bool changed) {
        if (!changed)
            prompts_.message(this, "Kestrel",
                             kestrel::tr(lang_, "Выделенное так не уместится на плате; ничего не изменено.",
                                         "The selection would not fit on the board that way; nothing changed."),
                             Prompts::Icon::Information);
    };
    edit("SB_RotateClick", [this, onBoard] { onBoard(RotateSelection(session_, doc_)); });
    edit("SB_HSpiegelnClick", [this, onBoard] { onBoard(MirrorHorizontal(session_, doc_)); });
    edit("SB_VSpiegelnClick", [this, onBoard] { onBoard(MirrorVertical(session_, doc_)); });
    edit("SB_AusrichtenClick", [this] { AlignToGrid(session_, doc_); });
    edit("SB_GruppierenClick", [this] { GroupSelection(doc_); });
    edit("SB_GruppeAufloesenClick", [this] { Ungroup(doc_); });
    handlers_["Allesmarkieren1Click"] = [this](int) { selectAll(); };
}

// The arrow keys nudge the selection while the board has the focus; with
// Ctrl by one unit instead of one grid step.
void MainWindow::buildEditKeys()
{
    const std::pair<Qt::Key, NudgeDirection> keys[] = {{Qt::Key_Left, NudgeDirection::Left},
                                                       {Qt::Key_Right, NudgeDirection::Right},
                                                       {Qt::Key_Up, NudgeDirection::Up},
                                                       {Qt::Key_Down, NudgeDirection::Down}};
    for (const auto& [key, direction] : keys) {
        for (const bool fine : {false, true}) {
            auto* shortcut = new QShortcut(QKeySequence(fine ? (Qt::CTRL | key) : QKeyCombination(key)),
                                           view_->scrollBox());
            shortcut->setContext(Qt::WidgetWithChildrenShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, direction, fine] { nudge(direction, fine); });
        }
    }
}

void MainWindow::deleteKey()
{
    if (!machine_->building()) {
        runEdit([this] { DeleteSelection(session_, doc_); });
        return;
    }
    // The track or zone being drawn stays and gives back its last point.
    pointer_->key(PointerKey::Delete);
    updateCommandStates();
    updateTitle();
}

void MainWindow::runEdit(const std::function<void()>& command)
{
    session_.objectsWillChange();
    command();
    view_->redraw();
    refreshLayerControls(); // a paste shows the layers it put objects on
    updateCommandStates();
    updateTitle();
}

void MainWindow::resetUndoHistory()
{
    ResetUndoHistory(session_, doc_);
    updateCommandStates();
}

// No undo step: each object and its rubber bands are repainted where they
// were and where they are now.
void MainWindow::nudge(NudgeDirection direction, bool fine)
{
    endDrag();
    pointer_->releaseShownPick();
    if (SelectedCount(objects()) == 0)
        return;
    const auto invalidateSelection = [this] {
        std::vector<Rect> bands;
        SelectedBandPieces(objects(), bands);
        view_->invalidateBoardRects(bands);
        std::vector<const LayoutObject*> selected;
        for (const auto& o : objects())
            if (o->Selected)
                selected.push_back(o.get());
        view_->invalidateObjects(selected);
    };
    invalidateSelection();
    NudgeSelection(doc_, direction, fine);
    invalidateSelection();
    updateCommandStates(); // above depth 1 Undo now has the nudge to take back
    updateTitle();
}

} // namespace kestrel
