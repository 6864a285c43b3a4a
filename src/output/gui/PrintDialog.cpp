#include "output/gui/PrintDialog.h"

#include "output/gui/KeptDialog.h"
#include "output/gui/PrintSession.h"
#include "output/gui/PrintSmallDialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

QColor rgb(uint32_t c) { return QColor(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF); }
uint32_t rgbValue(const QColor& c) { return static_cast<uint32_t>(c.red() << 16 | c.green() << 8 | c.blue()); }

template <class T>
T* named(T* widget, const char* name, const QString& hint = {})
{
    widget->setObjectName(name);
    if (!hint.isEmpty())
        widget->setToolTip(hint);
    return widget;
}

QPushButton* swatch(QWidget* parent, const char* name)
{
    auto* b = named(new QPushButton(parent), name);
    b->setFixedSize(28, 20);
    return b;
}

void paintSwatch(QPushButton* b, uint32_t colour)
{
    b->setStyleSheet(QStringLiteral("background-color: %1").arg(rgb(colour).name()));
}

} // namespace

PrintPreview::PrintPreview(PrintSession& session, const PrintJob& job, QWidget* parent)
    : QFrame(parent), session_(session), job_(job)
{
    setObjectName("Panel");
    setFrameShape(QFrame::StyledPanel);
    setCursor(Qt::SizeAllCursor);
    setMinimumSize(300, 300);
}

QRect PrintPreview::pageRect() const
{
    const QSizeF page = session_.pageSizeMm();
    const int cw = width() - 20, ch = height() - 20;
    if (page.width() <= 0 || page.height() <= 0 || cw <= 0 || ch <= 0)
        return {};
    // Fitted by height, or by width where the height would not leave room.
    double r = page.height() / ch;
    if (cw < static_cast<int>(page.width() / r))
        r = page.width() / cw;
    const int pw = static_cast<int>(page.width() / r), ph = static_cast<int>(page.height() / r);
    return QRect(cw / 2 - pw / 2 + 10, ch / 2 - ph / 2 + 10, pw, ph);
}

void PrintPreview::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    const QRect page = pageRect();
    if (page.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(page.adjusted(0, 0, -1, -1));
    painter.drawLine(page.right() - 10, page.bottom(), page.right(), page.bottom() - 10);
    painter.setClipRect(page.adjusted(1, 1, -1, -1));
    painter.translate(page.topLeft());
    const double pxPerMm = page.width() / session_.pageSizeMm().width();
    RenderPage(painter, job_, pxPerMm, pxPerMm, false, session_.pageSizeMm());
}

void PrintPreview::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragFrom_ = event->position().toPoint();
}

void PrintPreview::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragFrom_ || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint now = event->position().toPoint();
    dragPreview(session_.options, now.x() - dragFrom_->x(), now.y() - dragFrom_->y(), pageRect().width(),
                session_.pageSizeMm().width());
    dragFrom_ = now;
    Q_EMIT dragged();
}

void PrintPreview::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragFrom_.reset();
}

TPrint_Dlg::TPrint_Dlg(Language lang, Prompts& prompts, PrintSession& session, PrintJob& job, QWidget* parent)
    : QDialog(parent), lang_(lang), prompts_(prompts), session_(session), job_(job)
{
    setObjectName("Print_Dlg");
    chooseColour = [this](const QColor& start) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(start, this);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    auto* layout = new QHBoxLayout(this);
    PaintBox1_ = new PrintPreview(session, job_, this);
    layout->addWidget(PaintBox1_, 1);
    layout->addWidget(makeOptions());
    connect(PaintBox1_, &PrintPreview::dragged, this, [this] { LayoutPreview(); });
    showOptions();
    // Large where the screen allows, never past its free area.
    const QSize wanted(1100, 760);
    resize(screen() ? wanted.boundedTo(screen()->availableGeometry().size() * 0.95) : wanted);
}

QWidget* TPrint_Dlg::makeOptions()
{
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    const Language l = lang_;

    PrinterBox_ = named(new QComboBox(panel), "PrinterBox", text(l, "Куда печатать", "Where to print"));
    for (const QString& name : session_.printerNames())
        PrinterBox_->addItem(name, name);
    PrinterBox_->addItem(text(l, "Файл PDF", "PDF file"), QString());
    column->addWidget(PrinterBox_);

    auto* sides = new QGroupBox(panel);
    auto* sideRow = new QHBoxLayout(sides);
    S1_ = named(new QRadioButton(text(l, "Сторона &1", "Board side 1"), sides), "S1",
                text(l, "Печатать сторону 1", "Print board side 1"));
    S2_ = named(new QRadioButton(text(l, "Сторона &2", "Board side 2"), sides), "S2",
                text(l, "Печатать сторону 2", "Print board side 2"));
    sideRow->addWidget(S1_);
    sideRow->addWidget(S2_);
    column->addWidget(sides);

    auto* layers = new QGroupBox(panel);
    auto* grid = new QGridLayout(layers);
    WillsteLayout_ = named(new QCheckBox(text(l, "&Плата", "&Copper"), layers), "WillsteLayout",
                           text(l, "Печатать слой фольги", "Print copper layer"));
    WillsteBestueckung_ = named(new QCheckBox(text(l, "&Элемент", "&Silk screen"), layers), "WillsteBestueckung",
                                text(l, "Печатать слой маркировки", "Print silk screen layer"));
    WillsteLoetStopp_ = named(new QCheckBox(text(l, "&Пайка", "S&older mask"), layers), "WillsteLoetStopp",
                              text(l, "Печатать паяльную маску", "Print solder mask"));
    WillsteBohrplan_ = named(new QCheckBox(text(l, "С&верловка", "&Drillings"), layers), "WillsteBohrplan",
                             text(l, "Печатать диаметры отверстий", "Print drill diameters"));
    L_Shape_ = swatch(layers, "L_Shape");
    B_Shape_ = swatch(layers, "B_Shape");
    S_Shape_ = swatch(layers, "S_Shape");
    P_Shape_ = swatch(layers, "P_Shape");
    int row = 0;
    for (auto [box, shape] : {std::pair{WillsteLayout_, L_Shape_}, std::pair{WillsteBestueckung_, B_Shape_},
                              std::pair{WillsteLoetStopp_, S_Shape_}, std::pair{WillsteBohrplan_, P_Shape_}}) {
        grid->addWidget(box, row, 0);
        grid->addWidget(shape, row++, 1);
    }
    column->addWidget(layers);

    auto* scale = new QGroupBox(panel);
    auto* scaleGrid = new QGridLayout(scale);
    S_1zu1_ = named(new QRadioButton("1:1", scale), "S_1zu1", text(l, "Печать в масштабе 1:1", "Print true to scale 1:1"));
    S_Frei_ = named(new QRadioButton(text(l, "&Масштаб:", "&Scale:"), scale), "S_Frei",
                    text(l, "Увеличение", "Magnification"));
    S_Wert_ = named(new QScrollBar(Qt::Horizontal, scale), "S_Wert", text(l, "Изменить увеличение", "Adjust magnification"));
    S_Wert_->setRange(kScalePositionMin, kScalePositionMax);
    L_Scale_ = named(new QLabel(scale), "L_Scale");
    scaleGrid->addWidget(S_1zu1_, 0, 0);
    scaleGrid->addWidget(S_Frei_, 1, 0);
    scaleGrid->addWidget(L_Scale_, 1, 1);
    scaleGrid->addWidget(S_Wert_, 2, 0, 1, 2);
    column->addWidget(scale);

    Spiegeln_ = named(new QCheckBox(text(l, "&Зеркально", "&Mirror"), panel), "Spiegeln",
                      text(l, "Печатать зеркально", "Mirror printout"));
    Passkreuze_ = named(new QCheckBox(text(l, "&Кресты", "&Targets"), panel), "Passkreuze",
                        text(l, "Печатать кресты совмещения", "Print targets"));
    Rahmen_ = named(new QCheckBox(text(l, "&Рамка", "&Board outline"), panel), "Rahmen",
                    text(l, "Печатать контур платы", "Print board outline"));
    CB_Vorlage_ = named(new QCheckBox(text(l, "Задний п&лан", "Scanned copy"), panel), "CB_Vorlage",
                        text(l, "Печатать вместе с фоновым рисунком", "Combine printout with scanned copy (bitmap)"));
    for (QCheckBox* box : {Spiegeln_, Passkreuze_, Rahmen_, CB_Vorlage_})
        column->addWidget(box);

    auto* setup = named(new QPushButton(text(l, "&Настройка", "&Setup..."), panel), "SetupBtn",
                        text(l, "Настройка принтера", "Printer setup"));
    auto* calibrate = named(new QPushButton(text(l, "&Поправка", "&Calibrate..."), panel), "KorrekturBtn",
                            text(l, "Поправка принтера", "Printer calibration"));
    auto* tile = named(new QPushButton(text(l, "К&олич-во", "&Tile..."), panel), "KachelBtn",
                       text(l, "Несколько копий на листе", "Tile layout"));
    for (QPushButton* b : {setup, calibrate, tile})
        column->addWidget(b);
    column->addStretch();

    // The options scroll on a screen too short for them; Print and Cancel
    // stay below them in sight.
    auto* side = new QWidget(this);
    auto* sideColumn = new QVBoxLayout(side);
    sideColumn->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(side);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(panel);
    scroll->setMinimumWidth(panel->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    sideColumn->addWidget(scroll, 1);
    auto* ok = named(new QPushButton(text(l, "&Печать", "&Print"), side), "OKBtn", text(l, "Печатать!", "Print now!"));
    ok->setDefault(true);
    auto* cancel = named(new QPushButton(text(l, "&Отмена", "&Cancel"), side), "CancelBtn",
                         text(l, "Выйти без печати", "Exit without print"));
    sideColumn->addWidget(ok);
    sideColumn->addWidget(cancel);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(setup, &QPushButton::clicked, this, [this] { setupClicked(); });
    connect(calibrate, &QPushButton::clicked, this, [this] { calibrateClicked(); });
    connect(tile, &QPushButton::clicked, this, [this] { tileClicked(); });
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             S1_, S2_, WillsteLayout_, WillsteBestueckung_, WillsteLoetStopp_, WillsteBohrplan_, S_1zu1_, S_Frei_,
             Spiegeln_, Passkreuze_, Rahmen_, CB_Vorlage_})
        connect(b, &QAbstractButton::clicked, this, [this] { optionClicked(); });
    connect(S_Wert_, &QScrollBar::valueChanged, this, [this](int v) { scaleMoved(v); });
    connect(L_Shape_, &QPushButton::clicked, this, [this] { colourClicked(L_Shape_, &PrintOptions::copperColour); });
    connect(B_Shape_, &QPushButton::clicked, this, [this] { colourClicked(B_Shape_, &PrintOptions::silkColour); });
    connect(S_Shape_, &QPushButton::clicked, this, [this] { colourClicked(S_Shape_, &PrintOptions::maskColour); });
    connect(P_Shape_, &QPushButton::clicked, this, [this] { colourClicked(P_Shape_, &PrintOptions::drillColour); });
    connect(PrinterBox_, &QComboBox::currentIndexChanged, this, [this](int i) { targetChosen(i); });
    return side;
}

void TPrint_Dlg::showOptions()
{
    showing_ = true;
    const PrintOptions& o = session_.options;
    const int target = PrinterBox_->findData(session_.target());
    PrinterBox_->setCurrentIndex(target >= 0 ? target : PrinterBox_->count() - 1);
    (o.side1 ? S1_ : S2_)->setChecked(true);
    WillsteLayout_->setChecked(o.copper);
    WillsteBestueckung_->setChecked(o.silk);
    WillsteLoetStopp_->setChecked(o.solderMask);
    WillsteBohrplan_->setChecked(o.drillPlan);
    paintSwatch(L_Shape_, o.copperColour);
    paintSwatch(B_Shape_, o.silkColour);
    paintSwatch(S_Shape_, o.maskColour);
    paintSwatch(P_Shape_, o.drillColour);
    (o.trueScale ? S_1zu1_ : S_Frei_)->setChecked(true);
    S_Wert_->setValue(o.scalePosition);
    S_Wert_->setEnabled(!o.trueScale);
    L_Scale_->setEnabled(!o.trueScale);
    L_Scale_->setText(QString::number(scalePercent(o.scalePosition)) + "%");
    Spiegeln_->setChecked(o.mirror);
    Passkreuze_->setChecked(o.targets);
    Rahmen_->setChecked(o.outline);
    CB_Vorlage_->setChecked(o.scannedCopy);
    showing_ = false;
    setWindowTitle(session_.targetName(lang_));
    LayoutPreview();
}

void TPrint_Dlg::LayoutPreview()
{
    job_.options = session_.options;
    PaintBox1_->update();
}

void TPrint_Dlg::optionClicked()
{
    if (showing_)
        return;
    PrintOptions& o = session_.options;
    o.side1 = S1_->isChecked();
    o.copper = WillsteLayout_->isChecked();
    o.silk = WillsteBestueckung_->isChecked();
    o.solderMask = WillsteLoetStopp_->isChecked();
    o.drillPlan = WillsteBohrplan_->isChecked();
    o.trueScale = S_1zu1_->isChecked();
    o.mirror = Spiegeln_->isChecked();
    o.targets = Passkreuze_->isChecked();
    o.outline = Rahmen_->isChecked();
    o.scannedCopy = CB_Vorlage_->isChecked();
    applyScaleChoice(o);
    showOptions();
}

void TPrint_Dlg::scaleMoved(int position)
{
    if (showing_)
        return;
    setScalePosition(session_.options, position);
    showOptions();
}

void TPrint_Dlg::colourClicked(QPushButton* swatch, uint32_t PrintOptions::*colour)
{
    const auto chosen = chooseColour(rgb(session_.options.*colour));
    if (chosen)
        session_.options.*colour = rgbValue(*chosen);
    paintSwatch(swatch, session_.options.*colour);
    LayoutPreview();
}

void TPrint_Dlg::setupClicked()
{
    QPageSetupDialog dialog(&session_.printer(), this);
    prompts_.runDialog(dialog);
    LayoutPreview();
}

void TPrint_Dlg::calibrateClicked()
{
    TKorrekturDlg dialog(lang_, prompts_, session_.options, this);
    prompts_.runDialog(dialog);
    LayoutPreview();
}

void TPrint_Dlg::tileClicked()
{
    TKachel_Dlg dialog(lang_, session_.options, this);
    if (prompts_.runDialog(dialog))
        dialog.applyTo(session_.options);
    LayoutPreview();
}

void TPrint_Dlg::targetChosen(int index)
{
    if (showing_ || index < 0)
        return;
    session_.chooseTarget(PrinterBox_->itemData(index).toString());
    showOptions();
}

} // namespace kestrel
