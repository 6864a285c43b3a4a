#include "output/gui/PrintSmallDialogs.h"

#include "model/Units.h"
#include "output/gui/KeptDialog.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

// A decimal number with "." or "," as its point, whatever the locale.
std::optional<double> parseDecimal(const QString& s)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(QString(s.trimmed()).replace(',', '.'), &ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

} // namespace

TKachel_Dlg::TKachel_Dlg(Language lang, const PrintOptions& options, QWidget* parent) : QDialog(parent)
{
    setObjectName("Kachel_Dlg");
    setWindowTitle(text(lang, "Количество Страниц", "Tile"));
    auto* layout = new QVBoxLayout(this);
    auto* tiles = new QGroupBox(text(lang, "Количество страниц", "Number of tiles"), this);
    tiles->setObjectName("GroupBox1");
    auto* tileForm = new QFormLayout(tiles);
    KachelX_ = new QSpinBox(tiles);
    KachelX_->setObjectName("KachelX");
    KachelY_ = new QSpinBox(tiles);
    KachelY_->setObjectName("KachelY");
    for (QSpinBox* box : {KachelX_, KachelY_})
        box->setRange(1, kTilesMax);
    KachelX_->setValue(options.tilesX);
    KachelY_->setValue(options.tilesY);
    tileForm->addRow("X:", KachelX_);
    tileForm->addRow("Y:", KachelY_);
    layout->addWidget(tiles);

    auto* gap = new QGroupBox(text(lang, "Зазор между стра-ми", "Distance between tiles"), this);
    gap->setObjectName("GroupBox2");
    auto* gapLayout = new QVBoxLayout(gap);
    Abstand_ = new QDoubleSpinBox(gap);
    Abstand_->setObjectName("Abstand");
    Abstand_->setRange(0, mmFromUnits(kTileGapMax));
    Abstand_->setSingleStep(0.1);
    Abstand_->setDecimals(1);
    Abstand_->setSuffix(text(lang, " мм", " mm"));
    Abstand_->setValue(mmFromUnits(options.tileGap));
    gapLayout->addWidget(Abstand_);
    layout->addWidget(gap);
    addDialogButtons(this, layout, text(lang, "ОК", "OK"), "OKBtn", text(lang, "Отмена", "&Cancel"), "CancelBtn");
}

void TKachel_Dlg::applyTo(PrintOptions& options) const
{
    options.tilesX = KachelX_->value();
    options.tilesY = KachelY_->value();
    options.tileGap = unitsFromMm(Abstand_->value());
}

TKorrekturDlg::TKorrekturDlg(Language lang, Prompts& prompts, PrintOptions& options, QWidget* parent)
    : QDialog(parent), lang_(lang), prompts_(prompts), options_(options)
{
    setObjectName("KorrekturDlg");
    setWindowTitle(text(lang, "Коэффициент поправки", "Printer calibration"));
    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(text(lang,
                                        "Некоторым принтерам нужна поправка, чтобы печатать точно в масштабе.",
                                        "Some printers may need a calibration, to produce printouts that are "
                                        "exactly true to scale."),
                                   this);
    explanation->setObjectName("Label3");
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    auto* form = new QFormLayout;
    HKorrektur_ = new QLineEdit(QString::asprintf("%6.5f", options.calibrationX), this);
    HKorrektur_->setObjectName("HKorrektur");
    VKorrektur_ = new QLineEdit(QString::asprintf("%6.5f", options.calibrationY), this);
    VKorrektur_->setObjectName("VKorrektur");
    form->addRow(text(lang, "Горизонтальн. поправка:", "Horizontal (X):"), HKorrektur_);
    form->addRow(text(lang, "Вертикальная поправка:", "Vertical (Y)"), VKorrektur_);
    layout->addLayout(form);
    addDialogButtons(this, layout, text(lang, "ОК", "OK"), "OKBtn", text(lang, "Отмена", "&Cancel"), "CancelBtn");
}

void TKorrekturDlg::accept()
{
    const auto x = parseDecimal(HKorrektur_->text()), y = parseDecimal(VKorrektur_->text());
    if (!x || !y || !calibrationAcceptable(*x, *y)) {
        prompts_.message(this, "Kestrel",
                         text(lang_, "Коэффициенты поправки должны быть\nв пределах 0.8...1.2.",
                              "Please enter values from 0.8 to 1.2"),
                         Prompts::Icon::Information);
        return;
    }
    options_.calibrationX = *x;
    options_.calibrationY = *y;
    QDialog::accept();
}

} // namespace kestrel
