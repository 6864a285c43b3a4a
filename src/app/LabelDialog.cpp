#include "app/LabelDialog.h"

#include "edit/gui/DialogParts.h"

#include "app/InterfaceLanguage.h"
#include "edit/Labels.h"
#include "model/TextCodec.h"
#include "model/gui/Prompts.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>

namespace kestrel {

namespace {

using P = TextProperty;

const auto kTexts = std::to_array<UiText>({
    {"TTXT_Dlg", P::Caption, "Текст/Фонт", "Text"},
    {"GroupBox1", P::Caption, "Текст", "Text"},
    {"GroupBox2", P::Caption, "Высота [мм]", "Height [mm]"},
    {"GroupBox3", P::Caption, "Ориентация", "Orientation"},
    {"GroupBox4", P::Caption, "Автонумерация", "Automatic"},
    {"CB_WillsteZahl", P::Caption, "Текст + Номер", "Add number"},
    {"Label1", P::Caption, "Начать с № :", "Start at:"},
    {"Button1", P::Caption, "ОК", "OK"},
    {"Button2", P::Caption, "О&тмена", "&Cancel"},
});

constexpr int kAngles[4] = {0, 90, 180, 270};

} // namespace

std::span<const UiText> labelDialogTexts()
{
    return kTexts;
}

LabelDialog::LabelDialog(Language lang, Prompts& prompts, QWidget* parent)
    : QDialog(parent), lang_(lang), prompts_(prompts)
{
    setObjectName("TTXT_Dlg");
    auto* textBox = new QGroupBox(this);
    textBox->setObjectName("GroupBox1");
    text_ = new QLineEdit(lang == Language::English ? "Text" : "Текст", textBox);
    text_->setObjectName("Edit1");
    text_->setMaxLength(kTextValueMax);
    (new QVBoxLayout(textBox))->addWidget(text_);

    auto* heightBox = new QGroupBox(this);
    heightBox->setObjectName("GroupBox2");
    height_ = new QDoubleSpinBox(heightBox);
    height_->setObjectName("SE_Hoehe");
    height_->setLocale(decimalPointLocale());
    height_->setDecimals(1);
    height_->setRange(1.0, 99.9);
    height_->setSingleStep(0.1);
    height_->setSuffix(lang == Language::English ? " mm" : " мм");
    (new QVBoxLayout(heightBox))->addWidget(height_);

    auto* angleBox = new QGroupBox(this);
    angleBox->setObjectName("GroupBox3");
    auto* angleRow = new QHBoxLayout(angleBox);
    for (int i = 0; i < 4; ++i) {
        angles_[i] = new QRadioButton(QString("%1°").arg(kAngles[i]), angleBox);
        angles_[i]->setObjectName(QString("RB_%1").arg(kAngles[i]));
        angleRow->addWidget(angles_[i]);
    }
    angles_[0]->setChecked(true);

    auto* numberBox = numberBox_ = new QGroupBox(this);
    numberBox->setObjectName("GroupBox4");
    numbering_ = new QCheckBox(numberBox);
    numbering_->setObjectName("CB_WillsteZahl");
    auto* startLabel = new QLabel(numberBox);
    startLabel->setObjectName("Label1");
    start_ = new QSpinBox(numberBox);
    start_->setObjectName("SE_Start");
    start_->setRange(0, 9999);
    startLabel->setBuddy(start_);
    auto* numberGrid = new QGridLayout(numberBox);
    numberGrid->addWidget(numbering_, 0, 0, 1, 2);
    numberGrid->addWidget(startLabel, 1, 0);
    numberGrid->addWidget(start_, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textBox);
    auto* middle = new QHBoxLayout;
    middle->addWidget(heightBox);
    middle->addWidget(numberBox);
    layout->addLayout(middle);
    layout->addWidget(angleBox);
    addOkCancel(*this, *layout, "Button1", "Button2");
    // Tab goes as the eye reads: the height beside the numbering, then the
    // angles below them.
    QWidget::setTabOrder(height_, numbering_);
    QWidget::setTabOrder(numbering_, start_);
    QWidget::setTabOrder(start_, angles_[0]);
    for (int i = 0; i + 1 < 4; ++i)
        QWidget::setTabOrder(angles_[i], angles_[i + 1]);
    applyTexts(this, kTexts, lang);
    setHeightUnits(300);
}

void LabelDialog::setHeightUnits(int32_t heightUnits)
{
    height_->setValue(heightUnits / 100.0);
}

int32_t LabelDialog::heightUnits() const
{
    return static_cast<int32_t>(std::lround(height_->value() * 100));
}

void LabelDialog::loadLabel(const LayoutObject& label)
{
    height_->setValue(LabelHeightMm(label.fontHeight()));
    text_->setText(QString::fromStdString(label.TextValue));
    for (int i = 0; i < 4; ++i)
        angles_[i]->setChecked(kAngles[i] == label.textDegrees());
}

int32_t LabelDialog::angle() const
{
    for (int i = 0; i < 4; ++i)
        if (angles_[i]->isChecked())
            return kAngles[i];
    return 0;
}

std::string LabelDialog::text() const
{
    return text_->text().toStdString();
}

LabelDialog::Fields LabelDialog::fields() const
{
    return {text_->text(), height_->value(), angle(), numbering_->isChecked(), start_->value()};
}

void LabelDialog::setFields(const Fields& fields)
{
    text_->setText(fields.text);
    height_->setValue(fields.heightMm);
    for (int i = 0; i < 4; ++i)
        angles_[i]->setChecked(kAngles[i] == fields.angle);
    numbering_->setChecked(fields.numbered);
    start_->setValue(fields.start);
}

void LabelDialog::offerNumbering(bool offered)
{
    numberBox_->setEnabled(offered);
}

void LabelDialog::continueNumbering(int next)
{
    numbering_->setChecked(next <= start_->maximum());
    start_->setValue(std::min(next, start_->maximum()));
}

LabelChoice LabelDialog::choice() const
{
    return {text(), LabelFontHeight(heightUnits()), angle(), numberBox_->isEnabled() && numbering_->isChecked(),
            start_->value()};
}

// The file keeps label texts in its 8-bit code page: a character outside
// it would come back as '?'.
void LabelDialog::accept()
{
    // A label of no text shows nothing, yet its box is cut out of a ground
    // plane and counts in the design check.
    if (text().find_first_not_of(' ') == std::string::npos && !choice().numbering) {
        prompts_.message(this, "Kestrel",
                         QString::fromUtf8(kestrel::tr(lang_, "Введите текст надписи.", "Enter the text of the label.")),
                         Prompts::Icon::Information);
        return;
    }
    if (const std::string ch = firstCharacterOutsideCp1251(text()); !ch.empty()) {
        prompts_.message(this, "Kestrel",
                         QString::fromUtf8(kestrel::tr(lang_, "Этот знак надписи не сохраняется в файле: ",
                                                       "The file cannot keep this character of the label: ")) +
                             QString::fromStdString(ch),
                         Prompts::Icon::Information);
        return;
    }
    const LabelChoice c = choice();
    const Point extent =
        measure_ ? measure_(NumberedLabelText(c.text, c.numbering, c.start), c.fontHeight, c.angle) : Point{};
    if (measure_ && !ExtentFitsBoard(extent, boardWidth_, boardHeight_)) {
        prompts_.message(this, "Kestrel", labelLargerThanBoard(lang_, extent, boardWidth_, boardHeight_),
                         Prompts::Icon::Information);
        return;
    }
    QDialog::accept();
}

void LabelDialog::setBoard(int32_t widthUnits, int32_t heightUnits, LabelMeasure measure)
{
    boardWidth_ = widthUnits;
    boardHeight_ = heightUnits;
    measure_ = std::move(measure);
}

void LabelDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    text_->setFocus();
    text_->selectAll();
}

} // namespace kestrel
