#pragma once
// The Gerber export dialog and the command that runs it: pick a layer and
// its options, choose a file, write it, and come back for the next layer
// until the dialog is closed.

#include "model/LayoutDocument.h"
#include "output/GerberExport.h"
#include "model/gui/Prompts.h"

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QRadioButton;

namespace kestrel {

class TGerberDlg : public QDialog {
    Q_OBJECT
public:
    TGerberDlg(Language lang, QWidget* parent = nullptr);

    GerberLayer layer() const;
    // The options as the controls say; those the layer does not take are
    // left at their defaults, so the result always passes check().
    GerberOptions options() const;

private:
    void layerClicked(GerberLayer layer);
    void EnableOptions(GerberLayer layer);
    void BohrungenFreiClick();

    QRadioButton* layerButtons_[6] = {};
    QCheckBox* Spiegeln_ = nullptr;
    QCheckBox* Umriss_ = nullptr;
    QCheckBox* BohrungenFrei_ = nullptr;
    QCheckBox* Koernen_ = nullptr;
    QLabel* offsetLabel_ = nullptr;
    QDoubleSpinBox* SE_Offset_ = nullptr;
    QCheckBox* Invertieren_ = nullptr;
    QCheckBox* FontLabels_ = nullptr;
};

// The command behind the menu item GerberFormat1. Exports the active board
// of `doc`. The dialog is kept as a child of `parent`, so the next call
// shows the layer and options of the last one.
void runGerberDialog(QWidget* parent, LayoutDocument& doc, Language lang,
                     Prompts& prompts);

} // namespace kestrel
