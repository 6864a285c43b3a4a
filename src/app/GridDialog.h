#pragma once
// TRasterDlg: a new grid distance for the grid menu, in millimetres with two
// decimals (0.1 to 99.99).

#include "app/UiTexts.h"
#include "model/Language.h"

#include <QDialog>

#include <span>

class QDoubleSpinBox;

namespace kestrel {

std::span<const UiText> gridDialogTexts();

class GridDialog : public QDialog {
    Q_OBJECT
public:
    explicit GridDialog(Language lang, QWidget* parent = nullptr);
    // The grid in units (the menu entry's tag).
    int32_t gridUnits() const;

private:
    QDoubleSpinBox* grid_ = nullptr;
};

} // namespace kestrel
