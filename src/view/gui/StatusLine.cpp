#include "view/gui/StatusLine.h"

#include <algorithm>

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

constexpr std::array<const char*, 4> kVisibleNames{"SB_K1", "SB_B1", "SB_K2", "SB_B2"};
constexpr std::array<const char*, 4> kActiveNames{"RB_K1", "RB_B1", "RB_K2", "RB_B2"};

QLabel* label(const char* name, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

} // namespace

StatusLine::StatusLine(QWidget* parent) : QWidget(parent)
{
    setObjectName("Statuszeile");
    setFixedHeight(kHeightPx);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);

    // Panel 0: pointer position, wide enough for the longest coordinate in
    // the font the platform gives.
    const int positionText = fontMetrics().horizontalAdvance(QStringLiteral("X: 9999.99 mm")) + 8;
    QFrame* position = panel(std::max(72, positionText));
    auto* positionLayout = new QVBoxLayout(position);
    positionLayout->setContentsMargins(4, 2, 2, 2);
    positionLayout->setSpacing(0);
    xPos_ = label("L_XPos", position);
    yPos_ = label("L_YPos", position);
    positionLayout->addWidget(xPos_);
    positionLayout->addWidget(yPos_);
    row->addWidget(position);

    // Panel 1: visible layers (upper row) and the active layer (lower row).
    QFrame* layers = panel(132);
    auto* grid = new QGridLayout(layers);
    grid->setContentsMargins(3, 1, 1, 1);
    grid->setHorizontalSpacing(1);
    grid->setVerticalSpacing(0);
    QFont captionFont = small;
    captionFont.setPixelSize(10);
    for (const char* name : {"Label1", "Label2"}) {
        QLabel* caption = label(name, layers);
        caption->setFont(captionFont);
        grid->addWidget(caption, name[5] == '1' ? 0 : 1, 0);
    }
    activeGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        const int layer = i + 1;
        auto* visible = new QToolButton(layers);
        visible->setObjectName(kVisibleNames[static_cast<size_t>(i)]);
        visible->setAutoRaise(true);
        visible->setFixedSize(20, 17);
        connect(visible, &QToolButton::clicked, this, [this, layer] { Q_EMIT visibleLayerClicked(layer); });
        visibleButtons_[static_cast<size_t>(i)] = visible;
        grid->addWidget(visible, 0, i + 1, Qt::AlignCenter);

        auto* active = new QRadioButton(layers);
        active->setObjectName(kActiveNames[static_cast<size_t>(i)]);
        active->setFixedWidth(20);
        activeGroup_->addButton(active, layer);
        activeButtons_[static_cast<size_t>(i)] = active;
        grid->addWidget(active, 1, i + 1, Qt::AlignCenter);
    }
    connect(activeGroup_, &QButtonGroup::idClicked, this, [this](int layer) { Q_EMIT activeLayerClicked(layer); });
    row->addWidget(layers);

    // Panel 2: board size, wide enough for the largest board a file may hold.
    const int sizeText = fontMetrics().horizontalAdvance(QStringLiteral("2000 x 2000 mm")) + 16;
    QFrame* size = panel(std::max(88, sizeText));
    auto* sizeLayout = new QVBoxLayout(size);
    sizeLayout->setContentsMargins(2, 1, 2, 1);
    sizeLayout->setSpacing(0);
    sizeLayout->addWidget(label("Label3", size), 0, Qt::AlignHCenter);
    boardSize_ = new QToolButton(size);
    boardSize_->setObjectName("SB_Layoutgroesse");
    boardSize_->setAutoRaise(true);
    boardSize_->setFixedHeight(18);
    connect(boardSize_, &QToolButton::clicked, this, &StatusLine::boardSizeClicked);
    sizeLayout->addWidget(boardSize_, 0, Qt::AlignHCenter);
    row->addWidget(size);

    // Panel 3: ground plane and its clearance.
    groundPanel_ = panel(kGroundPanelNarrowPx);
    auto* groundLayout = new QHBoxLayout(groundPanel_);
    groundLayout->setContentsMargins(4, 2, 2, 2);
    groundLayout->setSpacing(2);
    groundPlane_ = new QToolButton(groundPanel_);
    groundPlane_->setObjectName("SB_AutoMasse");
    groundPlane_->setCheckable(true);
    groundPlane_->setFixedSize(32, 32);
    groundPlane_->setIconSize({20, 20});
    connect(groundPlane_, &QToolButton::clicked, this, &StatusLine::groundPlaneClicked);
    groundLayout->addWidget(groundPlane_);
    clearance_ = new QDoubleSpinBox(groundPanel_);
    clearance_->setObjectName("SE_FreistanzOffset");
    clearance_->setRange(0.0, 5.0);
    clearance_->setSingleStep(0.1);
    clearance_->setDecimals(1);
    clearance_->setFixedWidth(58);
    clearance_->setVisible(false);
    connect(clearance_, &QDoubleSpinBox::valueChanged, this, &StatusLine::clearanceChanged);
    groundLayout->addWidget(clearance_);
    groundLayout->addStretch();
    row->addWidget(groundPanel_);

    // Panel 4: help text of the control under the pointer.
    auto* helpPanel = new QFrame(this);
    helpPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* helpLayout = new QVBoxLayout(helpPanel);
    helpLayout->setContentsMargins(6, 1, 2, 1);
    help_ = label("L_Hilfetext", helpPanel);
    help_->setWordWrap(true);
    help_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    help_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    helpLayout->addWidget(help_);
    row->addWidget(helpPanel, 1);
}

QFrame* StatusLine::panel(int widthPx)
{
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setFixedWidth(widthPx);
    return frame;
}

void StatusLine::showPointerTexts(const QString& x, const QString& y)
{
    xPos_->setText(x);
    yPos_->setText(y);
    xPos_->repaint();
    yPos_->repaint();
}

void StatusLine::showLayers(int activeLayer, const std::array<uint8_t, 4>& visible)
{
    for (size_t i = 0; i < 4; ++i) {
        QToolButton* button = visibleButtons_[i];
        QFont f = button->font();
        f.setBold(visible[i] != 0);
        button->setFont(f);
        const bool silk = i % 2 == 1;
        // Shown copper in the line's text colour (black on a light desktop,
        // light on a dark one), so it never reads weaker than a hidden layer.
        const QColor shownCopper = palette().color(QPalette::WindowText);
        const QColor colour = !visible[i] ? QColor(128, 128, 128) : silk ? QColor(255, 0, 0) : shownCopper;
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, colour);
        palette.setColor(QPalette::WindowText, colour);
        button->setPalette(palette);
    }
    if (activeLayer >= 1 && activeLayer <= 4) {
        QRadioButton* button = activeButtons_[static_cast<size_t>(activeLayer - 1)];
        if (!button->isChecked())
            button->setChecked(true);
    }
}

void StatusLine::showBoardSize(const QString& caption)
{
    boardSize_->setText(caption);
}

void StatusLine::showGroundPlane(bool on)
{
    groundPlane_->setChecked(on);
    clearance_->setVisible(on);
    groundPanel_->setFixedWidth(on ? kGroundPanelWidePx : kGroundPanelNarrowPx);
}

void StatusLine::showClearanceMm(double mm)
{
    const QSignalBlocker quiet(clearance_);
    clearance_->setValue(mm);
}

void StatusLine::showHelpText(const QString& text)
{
    // The hints break their lines with a carriage return, which a label
    // would run together.
    help_->setText(QString(text).replace('\r', '\n'));
}

QString StatusLine::helpText() const
{
    return help_->text();
}

} // namespace kestrel
