// The generator tools' dialogs: labels made of tracks, polygons and the arc
// segment of circles.

#include "app/MainWindow.h"

#include "app/ToolPanel.h"
#include "edit/ApplyToolParameter.h"
#include "edit/Generators.h"
#include "edit/PointerMachine.h"
#include "edit/TrackLabel.h"
#include "edit/gui/ArcDialog.h"
#include "edit/gui/BoardPointer.h"
#include "edit/gui/DialogParts.h"
#include "edit/gui/PolygonDialog.h"
#include "edit/gui/TrackLabelDialog.h"
#include "model/gui/Prompts.h"

namespace kestrel {

void MainWindow::defineGeneratorHandlers()
{
    handlers_["Kreisbogen1Click"] = [this](int) { editArcSegment(); };
}

void MainWindow::buildGeneratorTools()
{
    // After the click that placed the label has been handled in full.
    connect(
        pointer_, &BoardPointer::trackLabelAsked, this,
        [this] { afterButtonsReleased([this] { askNextTrackLabel(); }); }, Qt::QueuedConnection);
}

// After a label without numbering, or one whose next number would not fit.
void MainWindow::askNextTrackLabel()
{
    // Numbering goes on from the next number; past the last one the
    // dialog takes, it ends rather than repeat that number.
    if (trackLabelDialog_ && trackLabelDialog_->settings().numbered) {
        TrackLabelSettings next = trackLabelDialog_->settings();
        next.start = pointer_->machine().state().LabelCounter;
        if (next.start > TrackLabelSettings::kMaxStart) {
            next.start = TrackLabelSettings::kMaxStart;
            next.numbered = false;
        }
        trackLabelDialog_->load(next);
    }
    // Back because the label no longer fits (its number grew a digit, or
    // another board is shown): the dialog's return says why.
    if (trackLabelDialog_) {
        const TrackLabelSettings s = trackLabelDialog_->settings();
        const int32_t width = doc_.Working.BoardWidth, height = doc_.Working.BoardHeight;
        if (!TrackLabelFits(s, s.start, width, height))
            prompts_.message(this, "Kestrel", labelLargerThanBoard(lang_, TrackLabelSize(s, s.start), width, height),
                             Prompts::Icon::Information);
    }
    if (!askTrackLabel())
        showToolChoice(static_cast<int>(ToolMode::Edit));
}

void MainWindow::chooseGeneratorTool(int toolMode)
{
    // The dialog opens with no operation running and nothing selected.
    pointer_->selectTool(ToolMode::Edit);
    pointerSelectionChanged();
    const bool started = toolMode == static_cast<int>(ToolMode::TrackText) ? askTrackLabel() : askPolygon();
    showToolChoice(started ? toolMode : static_cast<int>(ToolMode::Edit));
}

// The label and polygon dialogs are made at their first use, after the
// window's own captions went out by object name, and keep the values last
// used from one use to the next: a cancel drops what was typed.
bool MainWindow::askTrackLabel()
{
    if (!trackLabelDialog_)
        trackLabelDialog_ = new TrackLabelDialog(lang_, prompts_, this);
    const TrackLabelSettings used = trackLabelDialog_->settings();
    trackLabelDialog_->setBoardSize(doc_.Working.BoardWidth, doc_.Working.BoardHeight);
    if (!prompts_.runDialog(*trackLabelDialog_)) {
        trackLabelDialog_->load(used);
        pointer_->selectTool(ToolMode::Edit);
        return false;
    }
    if (pointer_->startTrackLabel(trackLabelDialog_->settings()))
        return true;
    prompts_.message(this, kestrel::tr(lang_, "Текст платы", "Layout-text"),
                     kestrel::tr(lang_, "Не удалось создать текст.", "The text could not be generated."),
                     Prompts::Icon::Warning);
    return false;
}

bool MainWindow::askPolygon()
{
    if (!polygonDialog_)
        polygonDialog_ = new PolygonDialog(lang_, this);
    const PolygonSettings used = polygonDialog_->settings();
    if (!prompts_.runDialog(*polygonDialog_)) {
        polygonDialog_->load(used);
        return false;
    }
    pointer_->startPolygon(polygonDialog_->settings());
    return true;
}

// No undo step, as the command has none; the view shows the new arcs.
void MainWindow::editArcSegment()
{
    const std::optional<ArcSettings> shown = ArcOfSelection(objects());
    if (!shown)
        return;
    ArcDialog dialog(lang_, this);
    dialog.load(*shown);
    if (!prompts_.runDialog(dialog))
        return;
    runEdit([this, arc = dialog.settings()] { ApplyArcSegment(doc_, arc); });
}

// The menu item and F12 alike: the pad button shows the via glyph too.
void MainWindow::toggleViaMode()
{
    tools_.ViaMode = !tools_.ViaMode;
    setPadShape(tools_.CurrentPadShape);
    applyToolParameter(ToolParameter::Via);
}

} // namespace kestrel
