#include "edit/gui/TrackLabelDialog.h"

#include "edit/gui/DialogParts.h"
#include "model/gui/Prompts.h"
#include "view/StrokeFont.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <array>

namespace kestrel {

namespace {

using P = TextProperty;

const auto kTexts = std::to_array<UiText>({
    {"TLinienText_Dlg", P::Caption, "Текст/Слой ( только ЛАТИНСКИЕ буквы )", "Label made of tracks"},
    {"GroupBox1", P::Caption, "Текст", "Text"},
    {"GroupBox5", P::Caption, "Высота [мм]", "Height (mm)"},
    {"GroupBox2", P::Caption, "Интервал", "Character distance"},
    {"RB_Proportional", P::Caption, "нормальный", "&proportional"},
    {"RB_Fest", P::Caption, "широкий", "&fixed"},
    {"GroupBox3", P::Caption, "Толщина линий", "Track width"},
    {"RB_Duenn", P::Caption, "меньше", "&thin"},
    {"RB_Normal", P::Caption, "норма", "&normal"},
    {"RB_Dick", P::Caption, "больше", "&bold"},
    {"GroupBox4", P::Caption, "Ориентация", "Orientation"},
    {"RB_0", P::Caption, "0°", "0°"},
    {"RB_90", P::Caption, "90°", "90°"},
    {"RB_180", P::Caption, "180°", "180°"},
    {"RB_270", P::Caption, "270°", "270°"},
    {"GroupBox6", P::Caption, "Автонумерация", "Automatic"},
    {"CB_WillsteZahl", P::Caption, "Текст + Номер", "Add number"},
    {"Label1", P::Caption, "Начать с № :", "Start at:"},
    {"Button1", P::Caption, "ОК", "OK"},
    {"Button2", P::Caption, "О&тмена", "&Cancel"},
});

} // namespace

std::span<const UiText> trackLabelDialogTexts()
{
    return kTexts;
}

TrackLabelDialog::TrackLabelDialog(Language lang, Prompts& prompts, QWidget* parent)
    : QDialog(parent), lang_(lang), prompts_(prompts)
{
    setObjectName("TLinienText_Dlg");
    const TrackLabelSettings defaults;

    auto* textGroup = new QGroupBox(this);
    textGroup->setObjectName("GroupBox1");
    auto* textLayout = new QVBoxLayout(textGroup);
    text_ = new QLineEdit(QString::fromStdString(defaults.text), textGroup);
    text_->setObjectName("E_Text");
    text_->setMaxLength(TrackLabelSettings::kTextMax);
    textLayout->addWidget(text_);

    auto* heightGroup = new QGroupBox(this);
    heightGroup->setObjectName("GroupBox5");
    auto* heightLayout = new QVBoxLayout(heightGroup);
    height_ = decimalSpin("SE_Hoehe", TrackLabelSettings::kMinHeightMm, TrackLabelSettings::kMaxHeightMm,
                          defaults.heightMm, heightGroup);
    heightLayout->addWidget(height_);

    QGroupBox* spacing = radioGroup("GroupBox2", {{"RB_Proportional", 0}, {"RB_Fest", 1}}, spacing_, this);
    QGroupBox* weight = radioGroup(
        "GroupBox3",
        {{"RB_Duenn", static_cast<int>(StrokeWeight::Thin)}, {"RB_Normal", static_cast<int>(StrokeWeight::Normal)},
         {"RB_Dick", static_cast<int>(StrokeWeight::Bold)}},
        weight_, this);
    weight_->button(static_cast<int>(StrokeWeight::Normal))->setChecked(true);
    QGroupBox* angle =
        radioGroup("GroupBox4", {{"RB_0", 0}, {"RB_90", 90}, {"RB_180", 180}, {"RB_270", 270}}, angle_, this);

    auto* numbering = new QGroupBox(this);
    numbering->setObjectName("GroupBox6");
    auto* numberingLayout = new QGridLayout(numbering);
    numbered_ = new QCheckBox(numbering);
    numbered_->setObjectName("CB_WillsteZahl");
    auto* startLabel = new QLabel(numbering);
    startLabel->setObjectName("Label1");
    start_ = wholeSpin("SE_Start", 0, TrackLabelSettings::kMaxStart, defaults.start, numbering);
    startLabel->setBuddy(start_);
    numberingLayout->addWidget(numbered_, 0, 0, 1, 2);
    numberingLayout->addWidget(startLabel, 1, 0);
    numberingLayout->addWidget(start_, 1, 1);

    auto* grid = new QGridLayout;
    grid->addWidget(heightGroup, 0, 0);
    grid->addWidget(spacing, 0, 1);
    grid->addWidget(weight, 1, 0);
    grid->addWidget(angle, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textGroup);
    layout->addLayout(grid);
    layout->addWidget(numbering);
    addOkCancel(*this, *layout, "Button1", "Button2");
    applyTexts(this, kTexts, lang);
}

TrackLabelSettings TrackLabelDialog::settings() const
{
    TrackLabelSettings s;
    s.text = text_->text().toStdString();
    s.heightMm = height_->value();
    s.fixedSpacing = spacing_->checkedId() == 1;
    s.weight = static_cast<StrokeWeight>(weight_->checkedId());
    s.angle = angle_->checkedId();
    s.numbered = numbered_->isChecked();
    s.start = start_->value();
    return s;
}

void TrackLabelDialog::load(const TrackLabelSettings& s)
{
    text_->setText(QString::fromStdString(s.text));
    height_->setValue(s.heightMm);
    spacing_->button(s.fixedSpacing ? 1 : 0)->setChecked(true);
    weight_->button(static_cast<int>(s.weight))->setChecked(true);
    angle_->button(s.angle)->setChecked(true);
    numbered_->setChecked(s.numbered);
    start_->setValue(s.start);
}

void TrackLabelDialog::accept()
{
    // Characters without a glyph are left as gaps; a label of gaps only
    // would place nothing.
    const TrackLabelSettings s = settings();
    if (!StrokeFontDrawsAny(TrackLabelText(s, s.start))) {
        prompts_.message(this, "Kestrel",
                         QString::fromUtf8(s.text.find_first_not_of(' ') == std::string::npos
                                               ? kestrel::tr(lang_, "Введите текст надписи.", "Enter the text of the label.")
                                               : kestrel::tr(lang_,
                                                             "В тексте нет ни одного знака шрифта дорожек: латинских "
                                                             "букв, цифр или знаков ! % ( ) * + , - . / : < = > ? @ "
                                                             "\\ _ µ.",
                                                             "The text has no character the track font draws: Latin "
                                                             "letters, digits or the signs ! % ( ) * + , - . / : < "
                                                             "= > ? @ \\ _ µ.")),
                         Prompts::Icon::Information);
        text_->setFocus();
        return;
    }
    if (boardWidth_ > 0 && !TrackLabelFits(s, s.start, boardWidth_, boardHeight_)) {
        const Point extent = TrackLabelSize(s, s.start);
        prompts_.message(this, "Kestrel", labelLargerThanBoard(lang_, extent, boardWidth_, boardHeight_),
                         Prompts::Icon::Information);
        height_->setFocus();
        return;
    }
    QDialog::accept();
}

void TrackLabelDialog::setBoardSize(int32_t widthUnits, int32_t heightUnits)
{
    boardWidth_ = widthUnits;
    boardHeight_ = heightUnits;
}

void TrackLabelDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    text_->setFocus();
    text_->selectAll();
}

} // namespace kestrel
