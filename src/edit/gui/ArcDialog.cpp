#include "edit/gui/ArcDialog.h"

#include "edit/gui/DialogParts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

#include <array>

namespace kestrel {

namespace {

using P = TextProperty;

const auto kTexts = std::to_array<UiText>({
    {"TBogenDlg", P::Caption, "Сектор круга", "Segment"},
    {"GroupBox1", P::Caption, "Параметры", "Options"},
    {"Label1", P::Caption, "Начальный угол:", "Start angle:"},
    {"Label2", P::Caption, "Конечный угол:", "Stop angle:"},
    {"CB_Fuellung", P::Caption, "Заполнить сектор", "Fill segment"},
    {"Label3", P::Caption, "Сектор рисуется против часовой\nстрелки от начала к концу.",
     "The segment is drawn\nanticlockwise from start to stop."},
    {"L_Fuellung", P::Caption, "Нет экспорта Gerber для заполненных секторов", "No Gerber-export for filled segments"},
    {"OKBtn", P::Caption, "ОК", "OK"},
    {"CancelBtn", P::Caption, "О&тмена", "&Cancel"},
});

constexpr int kLastDegree = 359;

} // namespace

std::span<const UiText> arcDialogTexts()
{
    return kTexts;
}

ArcDialog::ArcDialog(Language lang, QWidget* parent) : QDialog(parent)
{
    setObjectName("TBogenDlg");
    auto* group = new QGroupBox(this);
    group->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(group);
    start_ = wholeSpin("SE_StartWinkel", 0, kLastDegree, 0, group);
    stop_ = wholeSpin("SE_StopWinkel", 0, kLastDegree, 0, group);
    int row = 0;
    for (const auto& [name, field] : {std::pair{"Label1", start_}, {"Label2", stop_}}) {
        auto* label = new QLabel(group);
        label->setObjectName(name);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    }
    filled_ = new QCheckBox(group);
    filled_->setObjectName("CB_Fuellung");
    grid->addWidget(filled_, row++, 0, 1, 2);
    auto* note = new QLabel(group);
    note->setObjectName("Label3");
    grid->addWidget(note, row++, 0, 1, 2);
    warning_ = new QLabel(group);
    warning_->setObjectName("L_Fuellung");
    warning_->setStyleSheet("QLabel:enabled { color: red; }");
    warning_->setEnabled(false);
    grid->addWidget(warning_, row, 0, 1, 2);
    connect(filled_, &QCheckBox::toggled, warning_, &QLabel::setEnabled);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    addOkCancel(*this, *layout, "OKBtn", "CancelBtn");
    applyTexts(this, kTexts, lang);
    selectWhenShown(*this, start_);
}

void ArcDialog::load(const ArcSettings& arc)
{
    start_->setValue(NormalDegrees(arc.start));
    stop_->setValue(NormalDegrees(arc.stop));
    filled_->setChecked(arc.filled);
    warning_->setEnabled(arc.filled);
}

ArcSettings ArcDialog::settings() const
{
    return {start_->value(), stop_->value(), filled_->isChecked()};
}

} // namespace kestrel
