#pragma once
// ToolPanel: the column of tool buttons left of the board, the grid button
// and the spin edits of the track width and the pad diameters. The edits
// report only what the user changes: showing values never reports them, so
// a rounded value shown for a selection is not applied back to it.
// It is as wide as its longest caption and scrolls when the window is too
// short for it.

#include <QColor>
#include <QScrollArea>

#include <map>

class QAbstractButton;
class QButtonGroup;
class QDoubleSpinBox;
class QToolButton;

namespace kestrel {

class ToolPanel : public QScrollArea {
    Q_OBJECT
public:
    explicit ToolPanel(QWidget* parent = nullptr);

    // The button of a tool mode (0 edit, 3 zoom, ...), nullptr for none.
    QAbstractButton* toolButton(int toolMode) const;
    // Presses a tool's button without reporting it.
    void showTool(int toolMode);
    QToolButton* gridButton() const { return grid_; }
    void showGridCaption(const QString& caption);
    // Shows the values without reporting them.
    void showParameters(double trackWidthMm, double padOuterMm, double padInnerMm);
    // A value typed but not yet entered applies now, as on leaving its edit:
    // a command (Ctrl+S in the edit) sees the value the edit shows.
    void applyTypedValues();

    // The edits' colour while they have the focus.
    static const QColor kFocusColour;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void toolChosen(int toolMode);
    // The user changed a value, or left an edit whose text was typed in.
    void trackWidthEdited(double mm);
    void padOuterEdited(double mm);
    void padInnerEdited(double mm);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wireEdit(QDoubleSpinBox* edit, void (ToolPanel::*edited)(double));

    QButtonGroup* tools_ = nullptr;
    QToolButton* grid_ = nullptr;
    QDoubleSpinBox* width_ = nullptr;
    QDoubleSpinBox* outer_ = nullptr;
    QDoubleSpinBox* inner_ = nullptr;
};

} // namespace kestrel
