#pragma once
// TLinienText_Dlg: the text, height, spacing, stroke width, orientation and
// numbering of a label made of tracks. Created once; keeps its values.

#include "app/UiTexts.h"
#include "edit/TrackLabel.h"
#include "model/Language.h"

#include <QDialog>

#include <span>

class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace kestrel {

std::span<const UiText> trackLabelDialogTexts();

class TrackLabelDialog : public QDialog {
    Q_OBJECT
public:
    explicit TrackLabelDialog(Language lang, QWidget* parent = nullptr);

    TrackLabelSettings settings() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* text_ = nullptr;
    QDoubleSpinBox* height_ = nullptr;
    QButtonGroup* spacing_ = nullptr;
    QButtonGroup* weight_ = nullptr;
    QButtonGroup* angle_ = nullptr;
    QCheckBox* numbered_ = nullptr;
    QSpinBox* start_ = nullptr;
};

} // namespace kestrel
