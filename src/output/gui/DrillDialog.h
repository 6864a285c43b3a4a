#pragma once
// The drill export dialog and the command that runs it: choose the side the
// board is drilled from, then a file name, and write the drill file.

#include "model/LayoutDocument.h"
#include "output/DrillExport.h"
#include "model/gui/Prompts.h"

#include <QDialog>

class QRadioButton;

namespace kestrel {

class TLochDlg : public QDialog {
    Q_OBJECT
public:
    TLochDlg(Language lang, QWidget* parent = nullptr);
    DrillSide side() const;
    void setSide(DrillSide side);

private:
    QRadioButton* RB_Kupfer_ = nullptr;
    QRadioButton* RB_Best_ = nullptr;
};

// The command behind the menu item BohrDatenExcellon1, on the active board
// of `doc`. The dialog is kept as a child of `parent`.
void runDrillDialog(QWidget* parent, LayoutDocument& doc, Language lang,
                    Prompts& prompts);

} // namespace kestrel
