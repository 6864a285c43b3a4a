#include "output/gui/BitmapExportDialog.h"

#include "model/gui/BusyCursor.h"
#include "output/BitmapEstimate.h"
#include "output/BmpFile.h"
#include "output/gui/BoardBitmap.h"
#include "output/gui/KeptDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

QString title(Language lang) { return text(lang, "В файл *.BMP", "Bitmap export (all visible layers)"); }

QLabel* valueLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TExportDlg::TExportDlg(Language lang, Prompts& prompts, QWidget* parent)
    : QDialog(parent), lang_(lang), prompts_(prompts)
{
    setObjectName("ExportDlg");
    setWindowTitle(title(lang));
    auto* layout = new QVBoxLayout(this);

    auto* quality = new QGroupBox(text(lang, "Качество рисунка", "Resolution"), this);
    quality->setObjectName("GroupBox1");
    auto* form = new QFormLayout(quality);
    L_Original_ = valueLabel(quality, "L_Original");
    L_Pixel_ = valueLabel(quality, "L_Pixel");
    L_dpi_ = valueLabel(quality, "L_dpi");
    L_Speicher_ = valueLabel(quality, "L_Speicher");
    form->addRow(text(lang, "Размер оригинала:", "Size:"), L_Original_);
    form->addRow(text(lang, "BMP в пикселах:", "Pixels:"), L_Pixel_);
    form->addRow(text(lang, "Разрешение:", "Resolution:"), L_dpi_);
    form->addRow(text(lang, "Размер BMP:", "Memory:"), L_Speicher_);
    TrackBar_ = new QSlider(Qt::Horizontal, quality);
    TrackBar_->setObjectName("TrackBar");
    TrackBar_->setRange(kBitmapDpiMin, kBitmapDpiMax);
    TrackBar_->setTickInterval(20);
    TrackBar_->setSingleStep(20);
    TrackBar_->setPageStep(20);
    TrackBar_->setTickPosition(QSlider::TicksBelow);
    TrackBar_->setValue(kBitmapDpiDefault);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(text(lang, "низкое", "Low"), quality));
    bar->addWidget(TrackBar_, 1);
    bar->addWidget(new QLabel(text(lang, "высокое", "High"), quality));
    form->addRow(bar);
    layout->addWidget(quality);

    auto* format = new QGroupBox(text(lang, "Цвет", "Format"), this);
    format->setObjectName("GroupBox2");
    auto* formats = new QVBoxLayout(format);
    RB_Farbe_ = new QRadioButton(text(lang, "Цвет", "&Coloured"), format);
    RB_Farbe_->setObjectName("RB_Farbe");
    RB_SW_ = new QRadioButton(text(lang, "Цв/Чб", "&B&&W"), format);
    RB_SW_->setObjectName("RB_SW");
    RB_SW_->setChecked(true);
    formats->addWidget(RB_Farbe_);
    formats->addWidget(RB_SW_);
    layout->addWidget(format);

    addDialogButtons(this, layout, text(lang, "ОК", "OK"), "OKBtn", text(lang, "Отмена", "&Cancel"), "CancelBtn");
    connect(TrackBar_, &QSlider::valueChanged, this, [this] { UpdateExportEstimate(); });
    connect(RB_Farbe_, &QRadioButton::clicked, this, [this] { UpdateExportEstimate(); });
    connect(RB_SW_, &QRadioButton::clicked, this, [this] { UpdateExportEstimate(); });
}

void TExportDlg::setBoardSize(int32_t widthUnits, int32_t heightUnits)
{
    widthUnits_ = widthUnits;
    heightUnits_ = heightUnits;
    UpdateExportEstimate();
}

int TExportDlg::dpi() const { return TrackBar_->value(); }

bool TExportDlg::colour() const { return RB_Farbe_->isChecked(); }

void TExportDlg::choose(int dpi, bool colour)
{
    TrackBar_->setValue(dpi);
    (colour ? RB_Farbe_ : RB_SW_)->setChecked(true);
}

void TExportDlg::UpdateExportEstimate()
{
    const QString mm = text(lang_, " мм", " mm");
    L_Original_->setText(QString::number(static_cast<float>(widthUnits_) / 100.0f, 'f', 1) + mm + " x " +
                         QString::number(static_cast<float>(heightUnits_) / 100.0f, 'f', 1) + mm);
    L_dpi_->setText(QString::number(dpi()) + text(lang_, " точек/дюйм", " dpi"));
    const BitmapEstimate e = bitmapEstimate(widthUnits_, heightUnits_, dpi(), colour());
    L_Pixel_->setText(QString::number(e.widthPx) + " x " + QString::number(e.heightPx));
    L_Speicher_->setText(QString::number(e.kilobytes) + text(lang_, " кБ", " kB"));
}

void TExportDlg::accept()
{
    // A size that will be refused is said before the question about a large
    // bitmap, and the dialog stays open for another resolution.
    const BitmapEstimate size = bitmapEstimate(widthUnits_, heightUnits_, dpi(), colour());
    if (const std::string problem = bitmapSizeProblem(size, lang_); !problem.empty()) {
        prompts_.message(this, title(lang_), QString::fromStdString(problem), Prompts::Icon::Error);
        return;
    }
    if (size.large() &&
        prompts_.ask(this, "Kestrel",
                     text(lang_,
                          "Создание такого большого рисунка может сделать систему\nнеустойчивой, если не хватит "
                          "свободной памяти.\n\nПродолжить ?",
                          "You are about to create a large bitmap.\nBetter make sure that your work is "
                          "saved.\n\nContinue ?"),
                     Prompts::Buttons::YesNo, Prompts::Icon::Warning) != Prompts::Answer::Yes)
        return;
    QDialog::accept();
}

void runBitmapExport(QWidget* parent, LayoutDocument& doc, Language lang, Prompts& prompts)
{
    const ObjectList* objects = doc.currentObjects();
    if (!objects)
        return;
    std::unique_ptr<TExportDlg> owned;
    TExportDlg* dialog = nullptr;
    if (parent)
        dialog = parent->findChild<TExportDlg*>("ExportDlg", Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = new TExportDlg(lang, prompts, parent);
        if (!parent)
            owned.reset(dialog);
    }
    dialog->setBoardSize(doc.Working.BoardWidth, doc.Working.BoardHeight);
    // A cancel leaves the choice made before for the next time.
    const int dpi = dialog->dpi();
    const bool colour = dialog->colour();
    if (!prompts.runDialog(*dialog)) {
        dialog->choose(dpi, colour);
        return;
    }

    const auto image = [&] {
        const BusyCursor busy;
        return boardBitmap(*objects, doc.Working, LayerState::of(doc.Working), dialog->dpi(), dialog->colour(), lang);
    }();
    if (!image) {
        prompts.message(parent, title(lang), QString::fromStdString(image.message()), Prompts::Icon::Error);
        return;
    }
    const QFileInfo document(QString::fromStdString(doc.FileName));
    const QString start = !doc.FileName.empty() && document.dir().exists() ? document.absolutePath() : QString();
    const auto path =
        exportFileName(prompts, parent, title(lang), doc.FileName, start,
                       text(lang, "Рисунки (*.BMP)|*.BMP", "Bitmaps (*.BMP)|*.BMP"), "BMP", lang);
    if (!path)
        return;
    const Status written = writeBmp(path->toStdString(), *image, lang);
    if (!written)
        prompts.message(parent, title(lang),
                        text(lang, "Файл не может быть создан!", "Can not create file!") + "\n\n" +
                            QString::fromStdString(written.message()),
                        Prompts::Icon::Error);
}

} // namespace kestrel
