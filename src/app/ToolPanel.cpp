#include "app/ToolPanel.h"

#include "app/ToolIcons.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace kestrel {

namespace {

struct ToolButtonRow {
    const char* name;
    int toolMode;
    const char* icon;
};

// In panel order; the tool mode numbers are those the pointer tools use.
constexpr std::array<ToolButtonRow, 11> kTools{{
    {"SB_Standard", 0, "editTool"},
    {"SB_Zoom", 3, "zoomTool"},
    {"SB_Line", 1, "trackTool"},
    {"SB_Circle", 2, "padTool"},
    {"SB_Ring", 6, "ringTool"},
    {"SB_Polygon", 5, "zoneTool"},
    {"SB_Text", 4, "textTool"},
    {"SB_LineText", 7, "trackTextTool"},
    {"SB_Connect", 9, "connectTool"},
    {"SB_Test", 8, "testTool"},
    {"SB_Vieleck", 10, "polygonTool"},
}};

QDoubleSpinBox* spin(const char* name, double value, QWidget* parent)
{
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(name);
    s->setDecimals(2);
    s->setRange(0.0, 99.99);
    s->setSingleStep(0.1);
    s->setValue(value);
    return s;
}

QToolButton* dropButton(const char* name, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(toolIcon("arrowDown"));
    b->setAutoRaise(true);
    b->setFixedWidth(16);
    return b;
}

} // namespace

ToolPanel::ToolPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("ToolPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    tools_ = new QButtonGroup(this);
    tools_->setExclusive(true);
    for (const ToolButtonRow& row : kTools) {
        auto* b = new QToolButton(this);
        b->setObjectName(row.name);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setIcon(toolIcon(row.icon));
        b->setIconSize({20, 20});
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        tools_->addButton(b, row.toolMode);
        layout->addWidget(b);
    }
    connect(tools_, &QButtonGroup::idClicked, this, &ToolPanel::toolChosen);

    layout->addSpacing(8);
    grid_ = new QToolButton(this);
    grid_->setObjectName("SB_Raster");
    grid_->setIcon(toolIcon("grid"));
    grid_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    grid_->setPopupMode(QToolButton::InstantPopup);
    grid_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(grid_);

    layout->addSpacing(8);
    auto* parameters = new QGridLayout;
    parameters->setSpacing(1);
    width_ = spin("SE_Breite", 0.8, this);
    outer_ = spin("SE_Aussen", 1.8, this);
    inner_ = spin("SE_Innen", 0.6, this);
    parameters->addWidget(width_, 0, 0);
    parameters->addWidget(dropButton("LMDSpeedButton1", this), 0, 1);
    parameters->addWidget(outer_, 1, 0);
    parameters->addWidget(dropButton("LMDSpeedButton2", this), 1, 1, 2, 1);
    parameters->addWidget(inner_, 2, 0);
    layout->addLayout(parameters);
    layout->addStretch();
    setFixedWidth(112);
}

QAbstractButton* ToolPanel::toolButton(int toolMode) const
{
    return tools_->button(toolMode);
}

void ToolPanel::showTool(int toolMode)
{
    if (QAbstractButton* b = tools_->button(toolMode))
        b->setChecked(true);
}

void ToolPanel::showGridCaption(const QString& caption)
{
    grid_->setText(caption.trimmed());
}

void ToolPanel::showParameters(double trackWidthMm, double padOuterMm, double padInnerMm)
{
    width_->setValue(trackWidthMm);
    outer_->setValue(padOuterMm);
    inner_->setValue(padInnerMm);
}

} // namespace kestrel
