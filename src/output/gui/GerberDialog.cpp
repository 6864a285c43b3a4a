#include "output/gui/GerberDialog.h"
#include "output/gui/KeptDialog.h"
#include "view/gui/LabelOutlines.h"
#include "model/gui/BusyCursor.h"

#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cassert>
#include <memory>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

struct ButtonText {
    GerberLayer layer;
    const char* name;
    const char* russian;
    const char* english;
};

constexpr ButtonText kButtons[6] = {
    {GerberLayer::K1, "K1", "Фольга", "Copper"},
    {GerberLayer::B1, "B1", "Маска", "Silk screen"},
    {GerberLayer::LStop1, "LStop1", "Без паек", "Solder mask"},
    {GerberLayer::K2, "K2", "Фольга", "Copper"},
    {GerberLayer::B2, "B2", "Маска", "Silk screen"},
    {GerberLayer::LStop2, "LStop2", "Без паек", "Solder mask"},
};

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

TGerberDlg::TGerberDlg(Language lang, QWidget* parent) : QDialog(parent)
{
    setObjectName("GerberDlg");
    setWindowTitle(text(lang, "Экспорт в формате Gerber", "Gerber export"));
    auto* layout = new QVBoxLayout(this);
    auto* info = new QLabel(text(lang, "Экспорт в формате RS-274X", "Kestrel exports Extended-Gerber-Format RS-274X."));
    info->setObjectName("InfoLabel");
    layout->addWidget(info);

    auto* exportGroup = new QGroupBox(text(lang, "Экспорт", "Export"), this);
    exportGroup->setObjectName("ExportGroup");
    auto* sides = new QGridLayout(exportGroup);
    for (int side = 0; side < 2; ++side) {
        auto* number = new QLabel(side == 0 ? "1" : "2", exportGroup);
        QFont big = number->font();
        big.setPointSize(big.pointSize() * 2);
        big.setBold(true);
        number->setFont(big);
        sides->addWidget(number, 0, side * 2, 3, 1);
        for (int i = 0; i < 3; ++i) {
            const ButtonText& b = kButtons[side * 3 + i];
            auto* radio = new QRadioButton(text(lang, b.russian, b.english), exportGroup);
            radio->setObjectName(b.name);
            layerButtons_[static_cast<int>(b.layer)] = radio;
            sides->addWidget(radio, i, side * 2 + 1);
            connect(radio, &QRadioButton::clicked, this, [this, layer = b.layer] { layerClicked(layer); });
        }
    }
    layerButtons_[static_cast<int>(GerberLayer::K1)]->setChecked(true);
    layout->addWidget(exportGroup);

    auto* optionGroup = new QGroupBox(text(lang, "Опции", "Options"), this);
    optionGroup->setObjectName("OptionsGroup");
    auto* options = new QVBoxLayout(optionGroup);
    Spiegeln_ = checkBox(optionGroup, "Spiegeln", text(lang, "Зеркально", "Mirror"));
    Umriss_ = checkBox(optionGroup, "Umriss", text(lang, "Контур платы", "Board outline"));
    BohrungenFrei_ = checkBox(optionGroup, "BohrungenFrei", text(lang, "Разметка сверловки", "Punch drill holes"));
    Koernen_ = checkBox(optionGroup, "Koernen", text(lang, "Разм. (круг)", "Mark drill holes"));
    // Off by default: the classic export leaves labels in a system font out.
    FontLabels_ = checkBox(optionGroup, "FontLabels",
                           text(lang, "Надписи шрифтом (контуры букв)", "Labels in a system font (glyph outlines)"));
    Spiegeln_->setChecked(true);
    Umriss_->setChecked(true);
    for (QCheckBox* box : {Spiegeln_, Umriss_, BohrungenFrei_, Koernen_, FontLabels_})
        options->addWidget(box);
    connect(BohrungenFrei_, &QCheckBox::clicked, this, [this] { BohrungenFreiClick(); });
    layout->addWidget(optionGroup);

    auto* maskGroup =
        new QGroupBox(text(lang, "Опции для варианта (Без паек)", "Options for solder mask"), this);
    maskGroup->setObjectName("MaskOptionsGroup");
    auto* mask = new QGridLayout(maskGroup);
    offsetLabel_ = new QLabel(text(lang, "Сдвиг [мм]:", "Offset [mm]:"), maskGroup);
    offsetLabel_->setObjectName("OffsetLabel");
    SE_Offset_ = new QDoubleSpinBox(maskGroup);
    SE_Offset_->setObjectName("SE_Offset");
    SE_Offset_->setRange(GerberOptions::kMinOffsetMm, GerberOptions::kMaxOffsetMm);
    SE_Offset_->setSingleStep(GerberOptions::kOffsetStepMm);
    SE_Offset_->setDecimals(GerberOptions::kOffsetDecimals);
    offsetLabel_->setBuddy(SE_Offset_);
    Invertieren_ = checkBox(maskGroup, "Invertieren", text(lang, "Инвертировать", "&Inverting output"));
    mask->addWidget(offsetLabel_, 0, 0);
    mask->addWidget(SE_Offset_, 0, 1);
    mask->addWidget(Invertieren_, 1, 0, 1, 2);
    layout->addWidget(maskGroup);

    addDialogButtons(this, layout, text(lang, "Экспорт в файл", "Create exp&ort file..."), "OKBtn", text(lang, "За&кончить", "&Close"), "CancelBtn");

    EnableOptions(GerberLayer::K1);
}

GerberLayer TGerberDlg::layer() const
{
    for (const ButtonText& b : kButtons)
        if (layerButtons_[static_cast<int>(b.layer)]->isChecked())
            return b.layer;
    return GerberLayer::K1;
}

GerberOptions TGerberDlg::options() const
{
    GerberOptions o;
    o.layer = layer();
    o.mirror = Spiegeln_->isChecked();
    o.outline = Umriss_->isChecked();
    // A control the layer does not take keeps its state for the next layer
    // but does not reach the file.
    if (GerberOptions::takesPunch(o.layer)) {
        o.punch = BohrungenFrei_->isChecked();
        o.mark = o.punch && Koernen_->isChecked();
        o.fontLabels = FontLabels_->isChecked();
    }
    if (GerberOptions::takesMaskOptions(o.layer)) {
        o.offsetMm = SE_Offset_->value();
        o.invert = Invertieren_->isChecked();
    }
    assert(o.check() == GerberOptions::Problem::None);
    return o;
}

void TGerberDlg::layerClicked(GerberLayer layer)
{
    const GerberOptions preset = GerberOptions::presetFor(layer);
    Spiegeln_->setChecked(preset.mirror);
    Umriss_->setChecked(preset.outline);
    EnableOptions(layer);
}

void TGerberDlg::EnableOptions(GerberLayer layer)
{
    const bool punch = GerberOptions::takesPunch(layer), mask = GerberOptions::takesMaskOptions(layer);
    BohrungenFrei_->setEnabled(punch);
    FontLabels_->setEnabled(punch); // copper and silk hold labels, masks do not
    Koernen_->setEnabled(punch && BohrungenFrei_->isChecked());
    offsetLabel_->setEnabled(mask);
    SE_Offset_->setEnabled(mask);
    Invertieren_->setEnabled(mask);
}

void TGerberDlg::BohrungenFreiClick()
{
    Koernen_->setEnabled(BohrungenFrei_->isChecked());
    if (!Koernen_->isEnabled())
        Koernen_->setChecked(false);
}

void runGerberDialog(QWidget* parent, LayoutDocument& doc, Language lang, Prompts& prompts)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return;
    std::unique_ptr<TGerberDlg> owned;
    TGerberDlg* dialog = keptDialog(parent, "GerberDlg", lang, owned);
    const QString caption = text(lang, "Gerber-файл (формат RS274X)", "Gerber file (RS274X format)");
    // A set of layers goes into one folder: after the first file, each save
    // dialog starts where the last file went.
    QString setFolder;
    while (prompts.runDialog(*dialog)) {
        const GerberOptions options = dialog->options();
        const QString name = QString::fromStdString(gerberDefaultFileName(options.layer, lang));
        const auto path = exportFileName(prompts, parent, caption, doc.FileName,
                                         setFolder.isEmpty() ? name : QDir(setFolder).filePath(name), "*.gbr|*.gbr",
                                         "GBR", lang);
        if (!path)
            continue;
        const ScreenLabelOutlines labels;
        const Status written = [&] {
            const BusyCursor busy;
            return writeGerber(path->toStdString(), *objects, doc.Working, options, lang, &labels);
        }();
        if (written) {
            setFolder = QFileInfo(*path).absolutePath();
            QString done = text(lang, "Файл успешно создан.", "File created successfully.");
            if (const size_t leftOut = options.fontLabels ? 0 : fontLabelsOnLayer(*objects, options.layer))
                done += "\n\n" + text(lang, "Надписи шрифтом не экспортированы: %1.",
                                       "Labels in a system font left out: %1.")
                                      .arg(leftOut);
            prompts.message(parent, caption, done, Prompts::Icon::Information);
        } else {
            prompts.message(parent, caption,
                            text(lang, "Не удалось создать файл!", "Can not create file!") + "\n\n" +
                                QString::fromStdString(written.message()),
                            Prompts::Icon::Error);
        }
    }
}

} // namespace kestrel
