#include "output/gui/ScannedCopyDialog.h"

#include "output/ScannedCopy.h"
#include "output/gui/ScanImage.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

QString sideName(const char* base, int side)
{
    return QString::fromLatin1(base) + QString::number(side);
}

QSpinBox* spinBox(QWidget* parent, const QString& name, int low, int high, const QString& unit)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(low, high);
    box->setSuffix(" " + unit);
    return box;
}

void paintSwatch(QPushButton* button, const QColor& colour)
{
    button->setStyleSheet(QStringLiteral("background-color: %1").arg(colour.name()));
    button->setProperty("colour", colour);
}

QColor rgbColour(uint32_t rgb) { return QColor(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF); }

} // namespace

TVorlageDlg::TVorlageDlg(Language lang, Prompts& prompts, BoardSettings& board, ScannedCopies& copies,
                         QWidget* parent)
    : QDialog(parent), lang_(lang), prompts_(prompts), board_(board), copies_(copies)
{
    setObjectName("VorlageDlg");
    setWindowTitle(text(lang, "Фоновый рисунок", "Scanned copy"));
    chooseColour = [this](const QColor& start) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(start, this);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    auto* layout = new QVBoxLayout(this);
    PageControl1_ = new QTabWidget(this);
    PageControl1_->setObjectName("PageControl1");
    PageControl1_->addTab(makePage(1), text(lang, "Сторона 1", "Board side 1"));
    PageControl1_->addTab(makePage(2), text(lang, "Сторона 2", "Board side 2"));
    PageControl1_->setCurrentIndex(board.ActiveLayer < 3 ? 0 : 1);
    layout->addWidget(PageControl1_);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(text(lang, "ОК", "OK"), this);
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    showSettings(1);
    showSettings(2);
}

QWidget* TVorlageDlg::makePage(int side)
{
    auto* page = new QWidget;
    page->setObjectName(sideName("TabSheet", side));
    SideControls& c = sides_[static_cast<size_t>(side - 1)];
    auto* form = new QFormLayout(page);
    c.show = new QCheckBox(text(lang_, "Показать рисунок", "&Show bitmap"), page);
    c.show->setObjectName(sideName("CB_Vorlage", side));
    form->addRow(c.show);
    c.dpi = spinBox(page, sideName("SE_DPI", side), kCopyDpiMin, kCopyDpiMax, text(lang_, "[точек/дюйм]", "[dpi]"));
    form->addRow(text(lang_, "Разрешен:", "Resolution:"), c.dpi);
    const QString tenths = text(lang_, "[1/10 мм]", "[1/10 mm]");
    c.offsetX = spinBox(page, sideName("SE_XOffset", side), -kCopyOffsetMax, kCopyOffsetMax, tenths);
    form->addRow(text(lang_, "Сдвиг-X:", "X offset:"), c.offsetX);
    c.offsetY = spinBox(page, sideName("SE_YOffset", side), -kCopyOffsetMax, kCopyOffsetMax, tenths);
    form->addRow(text(lang_, "Сдвиг-Y:", "Y offset:"), c.offsetY);
    c.colour = new QPushButton(page);
    c.colour->setObjectName(sideName("P_Farbe", side));
    c.colour->setFixedWidth(60);
    form->addRow(text(lang_, "Цвет:", "Colour:"), c.colour);
    c.load = new QPushButton(text(lang_, "&Открыть Файл", "&Load bitmap..."), page);
    c.load->setObjectName(side == 1 ? "B_Suchen1" : "B_Suchen");
    c.fileName = new QLabel(page);
    c.fileName->setObjectName(sideName("L_Dateiname", side));
    form->addRow(c.load, c.fileName);

    connect(c.show, &QCheckBox::toggled, this, [this, side] { controlsChanged(side); });
    for (QSpinBox* box : {c.dpi, c.offsetX, c.offsetY})
        connect(box, &QSpinBox::valueChanged, this, [this, side] { controlsChanged(side); });
    connect(c.colour, &QPushButton::clicked, this, [this, side] { colourClicked(side); });
    connect(c.load, &QPushButton::clicked, this, [this, side] { loadClicked(side); });
    return page;
}

void TVorlageDlg::showSettings(int side)
{
    const CopySide copy = copySide(board_, side);
    SideControls& c = sides_[static_cast<size_t>(side - 1)];
    showing_ = true;
    c.show->setChecked(copy.on);
    c.dpi->setValue(clampedCopyDpi(copy.dpi));
    c.offsetX->setValue(copy.offsetX);
    c.offsetY->setValue(copy.offsetY);
    paintSwatch(c.colour, rgbColour(copy.colour));
    c.fileName->setText(QFileInfo(QString::fromStdString(copies_.loadedFile(side))).fileName());
    showing_ = false;
}

void TVorlageDlg::controlsChanged(int side)
{
    if (showing_)
        return;
    const SideControls& c = sides_[static_cast<size_t>(side - 1)];
    CopySide copy = copySide(board_, side);
    copy.on = c.show->isChecked();
    copy.dpi = c.dpi->value();
    copy.offsetX = c.offsetX->value();
    copy.offsetY = c.offsetY->value();
    const QColor colour = c.colour->property("colour").value<QColor>();
    copy.colour = static_cast<uint32_t>(colour.red() << 16 | colour.green() << 8 | colour.blue());
    setCopySide(board_, side, copy);
    Q_EMIT changed(side);
}

void TVorlageDlg::colourClicked(int side)
{
    QPushButton* swatch = sides_[static_cast<size_t>(side - 1)].colour;
    const auto chosen = chooseColour(swatch->property("colour").value<QColor>());
    if (!chosen)
        return;
    paintSwatch(swatch, *chosen);
    controlsChanged(side);
}

void TVorlageDlg::loadClicked(int side)
{
    const QFileInfo current(QString::fromStdString(copySide(board_, side).file));
    const auto path = prompts_.openFileName(this, current.absolutePath(),
                                            text(lang_, "Рисунки (*.BMP)|*.BMP|Все файлы|*.*",
                                                 "Bitmaps (*.BMP)|*.BMP|All files|*.*"));
    if (path)
        LoadScannedCopy(side, *path);
}

bool TVorlageDlg::LoadScannedCopy(int side, const QString& path)
{
    const auto storable = storableCopyPath(path.toStdString(), lang_);
    Status loaded = storable ? copies_.load(side, *storable, lang_) : storable.status();
    if (!loaded) {
        const char* english = side == 1 ? "Error loading scanned-copy-bitmap." : "Error loading file.";
        prompts_.message(this, "Kestrel",
                         text(lang_, "Файл фонового рисунка не может быть загружен.", english) + "\n\n" +
                             QString::fromStdString(loaded.message()),
                         Prompts::Icon::Error);
        showSettings(side);
        return false;
    }
    CopySide copy = copySide(board_, side);
    copy.file = *storable;
    copy.on = true;
    copy.dpi = clampedCopyDpi(copies_.bitmap(side).dpi, copy.dpi);
    setCopySide(board_, side, copy);
    showSettings(side);
    Q_EMIT changed(side);
    return true;
}

} // namespace kestrel
