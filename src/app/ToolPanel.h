#pragma once
// ToolPanel: the column of tool buttons left of the board, the grid button
// and the spin edits of the track width and the pad diameters.

#include <QWidget>

#include <map>

class QAbstractButton;
class QButtonGroup;
class QDoubleSpinBox;
class QToolButton;

namespace kestrel {

class ToolPanel : public QWidget {
    Q_OBJECT
public:
    explicit ToolPanel(QWidget* parent = nullptr);

    // The button of a tool mode (0 edit, 3 zoom, ...), nullptr for none.
    QAbstractButton* toolButton(int toolMode) const;
    // Presses a tool's button without reporting it.
    void showTool(int toolMode);
    QToolButton* gridButton() const { return grid_; }
    void showGridCaption(const QString& caption);
    void showParameters(double trackWidthMm, double padOuterMm, double padInnerMm);

Q_SIGNALS:
    void toolChosen(int toolMode);

private:
    QButtonGroup* tools_ = nullptr;
    QToolButton* grid_ = nullptr;
    QDoubleSpinBox* width_ = nullptr;
    QDoubleSpinBox* outer_ = nullptr;
    QDoubleSpinBox* inner_ = nullptr;
};

} // namespace kestrel
