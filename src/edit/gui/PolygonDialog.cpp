#include "edit/gui/PolygonDialog.h"

#include "edit/gui/DialogParts.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

#include <array>

namespace kestrel {

namespace {

using P = TextProperty;

// The radius field says radius: the old caption called it a height.
const auto kTexts = std::to_array<UiText>({
    {"TVielEckDlg", P::Caption, "Многоугольник", "Create polygon"},
    {"GroupBox1", P::Caption, "Параметры", "Properties"},
    {"Label1", P::Caption, "Число углов:", "Number of corners:"},
    {"Label2", P::Caption, "Радиус [мм]:", "Radius (mm):"},
    {"Label3", P::Caption, "Поворот [°]:", "Angle offset (°):"},
    {"Label4", P::Caption, "Ширина линии [мм]:", "Line width (mm):"},
    {"CB_Gefuellt", P::Caption, "&Заливка", "&Fill"},
    {"OKBtn", P::Caption, "ОК", "OK"},
    {"CancelBtn", P::Caption, "О&тмена", "&Cancel"},
});

} // namespace

std::span<const UiText> polygonDialogTexts()
{
    return kTexts;
}

PolygonDialog::PolygonDialog(Language lang, QWidget* parent) : QDialog(parent)
{
    setObjectName("TVielEckDlg");
    using S = PolygonSettings;
    const S defaults;
    auto* group = new QGroupBox(this);
    group->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(group);
    corners_ = wholeSpin("SE_Ecken", S::kMinCorners, S::kMaxCorners, defaults.corners, group);
    radius_ = decimalSpin("SE_Radius", S::kMinRadiusMm, S::kMaxRadiusMm, defaults.radiusMm, group);
    offset_ = decimalSpin("SE_WinkelOffset", -S::kMaxOffsetDegrees, S::kMaxOffsetDegrees, defaults.offsetDegrees, group);
    width_ = decimalSpin("SE_Linienbreite", 0.0, S::kMaxLineWidthMm, defaults.lineWidthMm, group);
    const std::pair<const char*, QWidget*> rows[] = {
        {"Label1", corners_}, {"Label2", radius_}, {"Label3", offset_}, {"Label4", width_}};
    int row = 0;
    for (const auto& [name, field] : rows) {
        auto* label = new QLabel(group);
        label->setObjectName(name);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    }
    filled_ = new QCheckBox(group);
    filled_->setObjectName("CB_Gefuellt");
    grid->addWidget(filled_, row, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    addOkCancel(*this, *layout, "OKBtn", "CancelBtn");
    applyTexts(this, kTexts, lang);
    selectWhenShown(*this, corners_);
}

PolygonSettings PolygonDialog::settings() const
{
    return {.corners = corners_->value(),
            .radiusMm = radius_->value(),
            .offsetDegrees = offset_->value(),
            .lineWidthMm = width_->value(),
            .filled = filled_->isChecked()};
}

void PolygonDialog::load(const PolygonSettings& s)
{
    corners_->setValue(s.corners);
    radius_->setValue(s.radiusMm);
    offset_->setValue(s.offsetDegrees);
    width_->setValue(s.lineWidthMm);
    filled_->setChecked(s.filled);
}

} // namespace kestrel
