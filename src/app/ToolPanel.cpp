#include "app/ToolPanel.h"

#include "app/ToolIcons.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace kestrel {

namespace {

struct ToolButtonRow {
    const char* name;
    int toolMode;
    const char* icon;
};

// In panel order; the tool mode numbers are those the pointer tools use.
constexpr std::array<ToolButtonRow, 12> kTools{{
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
    {"SB_AutoRoute", 11, "autorouteTool"},
}};

// One decimal, steps of 0.1, at most four characters up to 99.9.
QDoubleSpinBox* spin(const char* name, double minimum, double value, QWidget* parent)
{
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(name);
    s->setDecimals(1);
    s->setRange(minimum, 99.9);
    s->setSingleStep(0.1);
    s->setValue(value);
    if (auto* text = s->findChild<QLineEdit*>())
        text->setMaxLength(4);
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

ToolPanel::ToolPanel(QWidget* parent) : QScrollArea(parent)
{
    setObjectName("ToolPanel");
    // A click on the column's empty part leaves the keys with the board.
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* content = new QWidget(this);
    // A caption of another language, and the scroll bar coming or going,
    // change the width the panel needs.
    content->installEventFilter(this);
    verticalScrollBar()->installEventFilter(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    tools_ = new QButtonGroup(this);
    tools_->setExclusive(true);
    for (const ToolButtonRow& row : kTools) {
        auto* b = new QToolButton(content);
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
    grid_ = new QToolButton(content);
    grid_->setObjectName("SB_Raster");
    grid_->setIcon(toolIcon("grid"));
    grid_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    grid_->setPopupMode(QToolButton::InstantPopup);
    grid_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(grid_);

    layout->addSpacing(8);
    auto* parameters = new QGridLayout;
    parameters->setSpacing(1);
    width_ = spin("SE_Breite", 0.0, 0.8, content);
    outer_ = spin("SE_Aussen", 0.1, 1.8, content);
    inner_ = spin("SE_Innen", 0.0, 0.6, content);
    wireEdit(width_, &ToolPanel::trackWidthEdited);
    wireEdit(outer_, &ToolPanel::padOuterEdited);
    wireEdit(inner_, &ToolPanel::padInnerEdited);
    parameters->addWidget(width_, 0, 0);
    parameters->addWidget(dropButton("LMDSpeedButton1", content), 0, 1);
    parameters->addWidget(outer_, 1, 0);
    parameters->addWidget(dropButton("LMDSpeedButton2", content), 1, 1, 2, 1);
    parameters->addWidget(inner_, 2, 0);
    layout->addLayout(parameters);
    layout->addStretch();
    setWidget(content);
}

QSize ToolPanel::sizeHint() const
{
    constexpr int kNarrowest = 112;
    const QSize content = widget()->sizeHint();
    const int bar = verticalScrollBar()->isVisibleTo(this) ? verticalScrollBar()->sizeHint().width() : 0;
    return {std::max(kNarrowest, content.width()) + bar, content.height()};
}

// Any height: the panel scrolls.
QSize ToolPanel::minimumSizeHint() const
{
    return {sizeHint().width(), 0};
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

const QColor ToolPanel::kFocusColour = QColor(255, 255, 0);

// "typed" marks an edit whose text the user changed since its value was last
// shown: leaving it applies the value even when typing gave the same number.
// Typed values apply on Enter or on leaving the edit, not per keystroke: the
// "1" on the way to "10" would otherwise shrink every selected hole to 1 mm.
void ToolPanel::wireEdit(QDoubleSpinBox* edit, void (ToolPanel::*edited)(double))
{
    edit->setKeyboardTracking(false);
    edit->installEventFilter(this);
    connect(edit, &QDoubleSpinBox::valueChanged, this, [this, edited](double mm) { Q_EMIT(this->*edited)(mm); });
    if (auto* text = edit->findChild<QLineEdit*>())
        connect(text, &QLineEdit::textEdited, edit, [edit] { edit->setProperty("typed", true); });
    connect(edit, &QDoubleSpinBox::editingFinished, this, [this, edit, edited] {
        if (!edit->property("typed").toBool())
            return;
        edit->setProperty("typed", false);
        Q_EMIT(this->*edited)(edit->value());
    });
}

void ToolPanel::showParameters(double trackWidthMm, double padOuterMm, double padInnerMm)
{
    const std::pair<QDoubleSpinBox*, double> shown[] = {
        {width_, trackWidthMm}, {outer_, padOuterMm}, {inner_, padInnerMm}};
    for (const auto& [edit, mm] : shown) {
        const QSignalBlocker quiet(edit);
        edit->setValue(mm);
        edit->setProperty("typed", false);
    }
}

void ToolPanel::applyTypedValues()
{
    for (QDoubleSpinBox* edit : {width_, outer_, inner_})
        if (edit->property("typed").toBool()) {
            edit->interpretText();
            Q_EMIT edit->editingFinished();
        }
}

bool ToolPanel::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == widget() && event->type() == QEvent::LayoutRequest) ||
        (watched == verticalScrollBar() && (event->type() == QEvent::Show || event->type() == QEvent::Hide)))
        updateGeometry();
    auto* edit = qobject_cast<QDoubleSpinBox*>(watched);
    if (edit && event->type() == QEvent::FocusIn) {
        // Dark text on the yellow, whatever the desktop's text colour.
        QPalette yellow = edit->palette();
        yellow.setColor(QPalette::Base, kFocusColour);
        yellow.setColor(QPalette::Text, Qt::black);
        edit->setPalette(yellow);
    } else if (edit && event->type() == QEvent::FocusOut) {
        edit->setPalette(QPalette());
    }
    return QScrollArea::eventFilter(watched, event);
}

} // namespace kestrel
