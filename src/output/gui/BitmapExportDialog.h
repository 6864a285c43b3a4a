#pragma once
// The bitmap export dialog TExportDlg and the command behind N1: the board's
// size, the pixels and memory at the chosen resolution, a question before a
// very large bitmap, then the file.

#include "model/LayoutDocument.h"
#include "model/gui/Prompts.h"

#include <QDialog>

class QLabel;
class QRadioButton;
class QSlider;

namespace kestrel {

class TExportDlg : public QDialog {
    Q_OBJECT
public:
    TExportDlg(Language lang, Prompts& prompts, QWidget* parent = nullptr);

    void setBoardSize(int32_t widthUnits, int32_t heightUnits);
    int dpi() const;
    bool colour() const;
    // Puts back a choice, as a cancel does with the one made before.
    void choose(int dpi, bool colour);
    // Asks before closing when the estimate is above kLargeBitmapKb.
    void accept() override;

private:
    void UpdateExportEstimate();

    Language lang_;
    Prompts& prompts_;
    int32_t widthUnits_ = 0, heightUnits_ = 0;
    QLabel* L_Original_ = nullptr;
    QLabel* L_Pixel_ = nullptr;
    QLabel* L_dpi_ = nullptr;
    QLabel* L_Speicher_ = nullptr;
    QSlider* TrackBar_ = nullptr;
    QRadioButton* RB_Farbe_ = nullptr;
    QRadioButton* RB_SW_ = nullptr;
};

// The command behind N1: exports the active board of `doc`; the dialog is
// kept as a child of `parent`.
void runBitmapExport(QWidget* parent, LayoutDocument& doc, Language lang, Prompts& prompts);

} // namespace kestrel
