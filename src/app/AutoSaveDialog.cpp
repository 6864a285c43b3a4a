#include "app/AutoSaveDialog.h"

#include "edit/gui/DialogParts.h"

#include "model/AutoSave.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>

namespace kestrel {

namespace {

using P = TextProperty;

const auto kTexts = std::to_array<UiText>({
    {"TAutoSaveDlg", P::Caption, "Автосохранение", "AutoSave"},
    {"GroupBox1", P::Caption, "Опции", "Options"},
    {"Label1", P::Caption, "Автоматическое сохранение результатов работы в файл *.BAK",
     "Save work regularly\nto backup file (*.bak)"},
    {"L_Zyklus", P::Caption, "Интервал", "Interval:"},
    {"OKBtn", P::Caption, "ОК", "OK"},
    {"CancelBtn", P::Caption, "О&тмена", "&Cancel"},
});

} // namespace

std::span<const UiText> autoSaveDialogTexts()
{
    return kTexts;
}

AutoSaveDialog::AutoSaveDialog(Language lang, QWidget* parent) : QDialog(parent)
{
    setObjectName("TAutoSaveDlg");
    auto* group = new QGroupBox(this);
    group->setObjectName("GroupBox1");
    check_ = new QCheckBox(group);
    check_->setObjectName("RB_AutoSave");
    text_ = new QLabel(group);
    text_->setObjectName("Label1");
    text_->setWordWrap(true);
    // The text belongs to the check box: a click on it toggles the box.
    text_->installEventFilter(this);
    cycleLabel_ = new QLabel(group);
    cycleLabel_->setObjectName("L_Zyklus");
    minutes_ = new QSpinBox(group);
    minutes_->setObjectName("SE_Zyklus");
    minutes_->setRange(kMinAutoSaveMinutes, kMaxAutoSaveMinutes);
    minutes_->setSuffix(lang == Language::English ? " min" : " мин");
    cycleLabel_->setBuddy(minutes_);

    auto* grid = new QGridLayout(group);
    grid->addWidget(check_, 0, 0, Qt::AlignTop);
    grid->addWidget(text_, 0, 1, 1, 2);
    grid->addWidget(cycleLabel_, 1, 1);
    grid->addWidget(minutes_, 1, 2);
    grid->setColumnStretch(1, 1);

    connect(check_, &QCheckBox::toggled, this, &AutoSaveDialog::followCheckBox);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    addOkCancel(*this, *layout, "OKBtn", "CancelBtn");
    applyTexts(this, kTexts, lang);
    setMinimumWidth(320);
    followCheckBox();
}

void AutoSaveDialog::load(bool enabled, int intervalMs)
{
    check_->setChecked(enabled);
    loadedMs_ = clampedAutoSaveMs(intervalMs);
    minutes_->setValue(loadedMs_ / kMinuteMs);
    loadedMinutes_ = minutes_->value();
    followCheckBox();
}

bool AutoSaveDialog::enabled() const
{
    return check_->isChecked();
}

int AutoSaveDialog::intervalMs() const
{
    return minutes_->value() == loadedMinutes_ ? loadedMs_ : minutes_->value() * kMinuteMs;
}

void AutoSaveDialog::followCheckBox()
{
    minutes_->setEnabled(check_->isChecked());
    cycleLabel_->setEnabled(check_->isChecked());
}

bool AutoSaveDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == text_ && event->type() == QEvent::MouseButtonRelease) {
        check_->toggle();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kestrel
