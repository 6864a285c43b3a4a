#pragma once
// TVielEckDlg: corners, radius, angle offset, line width and filling of the
// polygon generator. Created once; keeps its values.

#include "app/UiTexts.h"
#include "edit/Generators.h"
#include "model/Language.h"

#include <QDialog>

#include <span>

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;

namespace kestrel {

std::span<const UiText> polygonDialogTexts();

class PolygonDialog : public QDialog {
    Q_OBJECT
public:
    explicit PolygonDialog(Language lang, QWidget* parent = nullptr);

    PolygonSettings settings() const;
    // Shows these values, as after a cancel the dialog shows the last ones used.
    void load(const PolygonSettings& s);

private:
    QSpinBox* corners_ = nullptr;
    QDoubleSpinBox* radius_ = nullptr;
    QDoubleSpinBox* offset_ = nullptr;
    QDoubleSpinBox* width_ = nullptr;
    QCheckBox* filled_ = nullptr;
};

} // namespace kestrel
