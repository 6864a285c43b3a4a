#include "app/BoardSizeDialog.h"

#include "edit/gui/DialogParts.h"

#include "app/UiTexts.h"
#include "model/Board.h"
#include "model/LayoutDocument.h"
#include "model/TextCodec.h"
#include "model/Units.h"
#include "model/gui/Prompts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <array>

namespace kestrel {

namespace {

using P = TextProperty;

const auto kTexts = std::to_array<UiText>({
    {"TL_Groesse", P::Caption, "Плата", "Board properties"},
    {"GroupBox1", P::Caption, "Размер платы (макс. 300x300 мм)", "Board size (max. 300 x 300 mm)"},
    {"Label1", P::Caption, "Ширина [мм]:", "Width (mm):"},
    {"Label2", P::Caption, "Высота [мм]:", "Height (mm):"},
    {"GroupBox2", P::Caption, "Название", "Name"},
    {"Button1", P::Caption, "ОК", "OK"},
    {"Button2", P::Caption, "О&тмена", "&Cancel"},
});

QLineEdit* edit(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

} // namespace

std::span<const UiText> boardSizeDialogTexts()
{
    return kTexts;
}

BoardSizeDialog::BoardSizeDialog(Language lang, Prompts& prompts, QWidget* parent)
    : QDialog(parent), lang_(lang), prompts_(prompts)
{
    setObjectName("TL_Groesse");
    auto* sizeGroup = new QGroupBox(this);
    sizeGroup->setObjectName("GroupBox1");
    auto* sizeLayout = new QGridLayout(sizeGroup);
    auto* widthLabel = new QLabel(sizeGroup);
    widthLabel->setObjectName("Label1");
    auto* heightLabel = new QLabel(sizeGroup);
    heightLabel->setObjectName("Label2");
    width_ = edit("Breite", sizeGroup);
    height_ = edit("Hoehe", sizeGroup);
    widthLabel->setBuddy(width_);
    heightLabel->setBuddy(height_);
    sizeLayout->addWidget(widthLabel, 0, 0);
    sizeLayout->addWidget(width_, 0, 1);
    sizeLayout->addWidget(heightLabel, 1, 0);
    sizeLayout->addWidget(height_, 1, 1);

    auto* nameGroup = new QGroupBox(this);
    nameGroup->setObjectName("GroupBox2");
    auto* nameLayout = new QVBoxLayout(nameGroup);
    name_ = edit("E_Name", nameGroup);
    name_->setMaxLength(kBoardNameMax);
    nameLayout->addWidget(name_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sizeGroup);
    layout->addWidget(nameGroup);
    addOkCancel(*this, *layout, "Button1", "Button2");
    applyTexts(this, kTexts, lang_);
    connect(width_, &QLineEdit::textEdited, this, [this] { widthEdited_ = true; });
    connect(height_, &QLineEdit::textEdited, this, [this] { heightEdited_ = true; });
}

void BoardSizeDialog::load(int32_t widthUnits, int32_t heightUnits, const QString& name)
{
    // A file may hold any size the reader accepts (fractions, up to 2 m): it
    // is kept unless the user types another size.
    width_->setText(QString::number(wholeMmFromUnits(widthUnits)));
    height_->setText(QString::number(wholeMmFromUnits(heightUnits)));
    loadedSize_ = {width_->text(), height_->text()};
    widthEdited_ = heightEdited_ = false;
    name_->setText(name.left(kBoardNameMax));
    widthUnits_ = widthUnits;
    heightUnits_ = heightUnits;
}

QString BoardSizeDialog::boardName() const
{
    return name_->text();
}

void BoardSizeDialog::accept()
{
    // A side left as shown is neither checked nor changed: a file may hold a
    // size beyond the dialog's range, or with a fraction.
    const bool widthTyped = widthEdited_ || width_->text() != loadedSize_.first;
    const bool heightTyped = heightEdited_ || height_->text() != loadedSize_.second;
    const auto typed = [](bool changed, const QLineEdit* field) {
        return changed ? std::optional<std::string>(field->text().toStdString()) : std::nullopt;
    };
    const BoardSizeCheck check = checkBoardSize(typed(widthTyped, width_), typed(heightTyped, height_), lang_);
    if (check.message) {
        prompts_.message(this, "Kestrel", QString::fromStdString(*check.message), Prompts::Icon::Information);
        return;
    }
    // The file keeps names in its 8-bit code page: a character outside it
    // would come back as '?'.
    if (const std::string ch = firstCharacterOutsideCp1251(name_->text().toStdString()); !ch.empty()) {
        prompts_.message(this, "Kestrel",
                         QString::fromUtf8(kestrel::tr(lang_, "Этот знак имени платы не сохраняется в файле: ",
                                                       "The file cannot keep this character of the board's name: ")) +
                             QString::fromStdString(ch),
                         Prompts::Icon::Information);
        return;
    }
    if (widthTyped)
        widthUnits_ = check.widthUnits;
    if (heightTyped)
        heightUnits_ = check.heightUnits;
    QDialog::accept();
}

void BoardSizeDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    width_->setFocus();
    width_->selectAll();
}

} // namespace kestrel
