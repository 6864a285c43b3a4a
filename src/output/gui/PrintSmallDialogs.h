#pragma once
// The two small dialogs of the print dialog: the copies of the board on one
// sheet (TKachel_Dlg) and the printer calibration (TKorrekturDlg).

#include "model/Language.h"
#include "model/gui/Prompts.h"
#include "output/PrintLayout.h"

#include <QDialog>

class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace kestrel {

class TKachel_Dlg : public QDialog {
    Q_OBJECT
public:
    TKachel_Dlg(Language lang, const PrintOptions& options, QWidget* parent = nullptr);
    // Copies across and down and the gap, as the controls say.
    void applyTo(PrintOptions& options) const;

private:
    QSpinBox* KachelX_ = nullptr;
    QSpinBox* KachelY_ = nullptr;
    QDoubleSpinBox* Abstand_ = nullptr;
};

class TKorrekturDlg : public QDialog {
    Q_OBJECT
public:
    TKorrekturDlg(Language lang, Prompts& prompts, PrintOptions& options, QWidget* parent = nullptr);
    // Takes both factors and closes only when both lie in 0.8..1.2.
    void accept() override;

private:
    Language lang_;
    Prompts& prompts_;
    PrintOptions& options_;
    QLineEdit* HKorrektur_ = nullptr;
    QLineEdit* VKorrektur_ = nullptr;
};

} // namespace kestrel
