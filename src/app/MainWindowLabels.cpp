// The label tool's dialog and the properties of a placed label, and the pad
// button's shape menu with its via switch.

#include "app/LabelDialog.h"
#include "app/MainWindow.h"
#include "app/ToolIcons.h"
#include "app/ToolPanel.h"
#include "edit/ApplyToolParameter.h"
#include "edit/Labels.h"
#include "edit/PointerMachine.h"
#include "edit/gui/BoardPointer.h"
#include "model/gui/Prompts.h"
#include "view/gui/BoardView.h"
#include "view/gui/LabelPainter.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

namespace kestrel {

void MainWindow::defineLabelHandlers()
{
    handlers_["LAForm_PopupClick"] = [this](int shape) {
        setPadShape(shape);
        applyToolParameter(ToolParameter::PadShape);
    };
    handlers_["Durchkontaktierung1Click"] = [this](int) { toggleViaMode(); };
}

void MainWindow::buildLabelTool()
{
    machine_->setLabelMeasure(labelExtent);
    connect(pointer_, &BoardPointer::labelDialogRequested, this,
            [this](int nextNumber) { afterButtonsReleased([this, nextNumber] { runLabelDialog(nextNumber); }); });
    connect(pointer_, &BoardPointer::labelPropertiesRequested, this, &MainWindow::editLabelProperties);

    auto* padButton = qobject_cast<QToolButton*>(toolPanel_->toolButton(2));
    padButton->setMenu(menus_.at("LAForm_Popup"));
    padButton->setPopupMode(QToolButton::MenuButtonPopup);
    for (int shape = 1; shape <= 9; ++shape)
        menus_.at("LAForm_Popup")->actions().at(shape - 1)->setIcon(padShapeIcon(shape, false));
    setPadShape(tools_.CurrentPadShape);
}

// Made on first use, after the window's own texts went to its children,
// and kept: the dialog remembers its values between uses.
LabelDialog& MainWindow::labelDialog()
{
    if (!labelDialog_)
        labelDialog_ = new LabelDialog(lang_, prompts_, this);
    return *labelDialog_;
}

void MainWindow::setPadShape(int shape)
{
    if (shape < 1 || shape > 9)
        return;
    tools_.CurrentPadShape = static_cast<uint8_t>(shape);
    toolPanel_->toolButton(2)->setIcon(padShapeIcon(shape, tools_.ViaMode));
}

void MainWindow::afterButtonsReleased(std::function<void()> show)
{
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        show();
        return;
    }
    auto* wait = new QTimer(this);
    connect(wait, &QTimer::timeout, this, [wait, show = std::move(show)] {
        if (QGuiApplication::mouseButtons() != Qt::NoButton)
            return;
        wait->stop();
        wait->deleteLater();
        show();
    });
    wait->start(10);
}

// OK makes the dialog's height and angle the current ones and lets a label
// follow the pointer; Cancel returns to the edit tool.
void MainWindow::runLabelDialog(int nextNumber)
{
    LabelDialog& dialog = labelDialog();
    const LabelDialog::Fields kept = dialog.fields();
    dialog.offerNumbering(true);
    if (nextNumber >= 0)
        dialog.continueNumbering(nextNumber);
    dialog.setHeightUnits(tools_.TextHeight);
    dialog.setBoard(doc_.Working.BoardWidth, doc_.Working.BoardHeight, labelExtent);
    if (!prompts_.runDialog(dialog)) {
        dialog.setFields(kept);
        pointer_->answerLabelDialog(std::nullopt);
        return;
    }
    tools_.TextHeight = dialog.heightUnits();
    tools_.TextAngle = dialog.angle();
    pointer_->answerLabelDialog(dialog.choice());
}

void MainWindow::editLabelProperties(long objectIndex)
{
    ObjectList& list = objects();
    if (objectIndex < 0 || static_cast<size_t>(objectIndex) >= list.size())
        return;
    LayoutObject& label = list[static_cast<size_t>(objectIndex)];
    LabelDialog& dialog = labelDialog();
    const LabelDialog::Fields kept = dialog.fields();
    dialog.loadLabel(label);
    dialog.offerNumbering(false);
    dialog.setBoard(doc_.Working.BoardWidth, doc_.Working.BoardHeight, labelExtent);
    // The field shows the height to 0.1 mm: left as shown, the label keeps
    // its own, which may be finer.
    const int32_t shownHeight = dialog.heightUnits();
    if (!prompts_.runDialog(dialog)) {
        dialog.setFields(kept);
        return;
    }
    view_->invalidateObject(label);
    tools_.TextAngle = dialog.angle();
    const int32_t fontHeight =
        dialog.heightUnits() == shownHeight ? label.fontHeight() : LabelFontHeight(dialog.heightUnits());
    EditLabel(doc_, label, dialog.text(), fontHeight, tools_.TextAngle, labelExtent);
    view_->invalidateObject(label);
    updateTitle();
}

} // namespace kestrel
