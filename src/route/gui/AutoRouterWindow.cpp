#include "route/gui/AutoRouterWindow.h"

#include "route/RouteTool.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>

#include <algorithm>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

// "short|long": the short part is the tool tip, the long part the status text.
void setHint(QWidget* w, const QString& hint)
{
    const qsizetype bar = hint.indexOf('|');
    w->setToolTip(hint.left(bar));
    w->setStatusTip(hint.mid(bar + 1));
}

QDoubleSpinBox* millimetreSpin(QWidget* parent, const char* name)
{
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(RouteSettings::kMinMm, RouteSettings::kMaxMm);
    spin->setSingleStep(0.1);
    spin->setDecimals(1);
    return spin;
}

} // namespace

TAutoRouter::TAutoRouter(Language lang, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), lang_(lang)
{
    setObjectName("AutoRouter");
    // The window comes with the tool, which is worked from the board: the
    // board keeps the keyboard, or the tool keys would stop working.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(text(lang, "Автотрассировка", "Autorouter"));
    auto* grid = new QGridLayout(this);

    auto* widthLabel = new QLabel(text(lang, "Ширина:", "Width:"), this);
    widthLabel->setObjectName("L_AutoWidth");
    width_ = millimetreSpin(this, "SE_AutoWidth");
    setHint(width_, text(lang, "Ширина дорожки|Ширина дорожки, которую прокладывает автотрассировка",
                         "Track width|The width of the track the autorouter lays"));
    auto* clearanceLabel = new QLabel(text(lang, "Расстояние:", "Clearance:"), this);
    clearanceLabel->setObjectName("L_AutoAbstand");
    clearance_ = millimetreSpin(this, "SE_AutoAbstand");
    setHint(clearance_, text(lang, "Зазор|Расстояние, которое дорожка выдерживает до чужой меди",
                             "Clearance|The distance the track keeps from other copper"));
    info_ = new QLabel(text(lang, "Выберите перемычку", "Pick a rubber band"), this);
    info_->setObjectName("L_Info");
    info_->setMinimumWidth(info_->fontMetrics().horizontalAdvance("0000/0000 0000/0000"));

    grid->addWidget(widthLabel, 0, 0);
    grid->addWidget(width_, 0, 1);
    grid->addWidget(clearanceLabel, 1, 0);
    grid->addWidget(clearance_, 1, 1);
    grid->addWidget(info_, 2, 0, 1, 2);
    setSizes(0.4, 0.2);
}

double TAutoRouter::widthMm() const { return width_->value(); }
double TAutoRouter::clearanceMm() const { return clearance_->value(); }

void TAutoRouter::setSizes(double widthMm, double clearanceMm)
{
    width_->setValue(widthMm);
    clearance_->setValue(clearanceMm);
}

RouteSettings TAutoRouter::settings(int activeLayer, int32_t currentClearance) const
{
    return RouteSettingsFor(widthMm(), clearanceMm(), activeLayer, currentClearance);
}

void TAutoRouter::setInfo(const QString& text)
{
    info_->setText(text);
    // A window never grows for its contents by itself: a longer message
    // (why a route failed) would be cut off.
    const QSize wanted = sizeHint();
    if (wanted.width() > width() || wanted.height() > height())
        resize(std::max(width(), wanted.width()), std::max(height(), wanted.height()));
    if (info_->isVisible())
        info_->repaint();
}

QString TAutoRouter::info() const { return info_->text(); }

void TAutoRouter::showPrompt()
{
    setInfo(text(lang_, "Выберите перемычку", "Pick a rubber band"));
}

void TAutoRouter::showStatus(RouteStatus status, const std::string& box)
{
    setInfo(QString::fromStdString(RouteStatusText(lang_, status, box)));
}

} // namespace kestrel
