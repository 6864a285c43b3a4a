#include "app/GridDialog.h"

#include "app/InterfaceLanguage.h"
#include "edit/ParameterLists.h"
#include "edit/gui/DialogParts.h"
#include "model/Units.h"

#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace kestrel {

namespace {

using P = TextProperty;

const auto kTexts = std::to_array<UiText>({
    {"TRasterDlg", P::Caption, "Новый шаг сетки", "New grid distance"},
    {"GroupBox1", P::Caption, "Шаг сетки", "Grid distance"},
    {"OKBtn", P::Caption, "ОК", "OK"},
    {"CancelBtn", P::Caption, "О&тмена", "&Cancel"},
});

} // namespace

std::span<const UiText> gridDialogTexts()
{
    return kTexts;
}

GridDialog::GridDialog(Language lang, QWidget* parent) : QDialog(parent)
{
    setObjectName("TRasterDlg");
    auto* group = new QGroupBox(this);
    group->setObjectName("GroupBox1");
    grid_ = new QDoubleSpinBox(group);
    grid_->setObjectName("SE_Raster");
    grid_->setLocale(decimalPointLocale());
    grid_->setDecimals(2);
    grid_->setRange(mmFromUnits(kGridTags.least), mmFromUnits(kGridTags.most));
    grid_->setSingleStep(0.1);
    grid_->setValue(1.0);
    grid_->setSuffix(lang == Language::English ? " mm" : " мм");
    (new QVBoxLayout(group))->addWidget(grid_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    addOkCancel(*this, *layout, "OKBtn", "CancelBtn");
    applyTexts(this, kTexts, lang);
    setMinimumWidth(240);
    selectWhenShown(*this, grid_);
}

int32_t GridDialog::gridUnits() const
{
    return static_cast<int32_t>(std::lround(grid_->value() * 100));
}

} // namespace kestrel
