#include "output/gui/DesignCheckDialog.h"

#include "output/gui/KeptDialog.h"

#include "model/Units.h"
#include "model/gui/BusyCursor.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

QDoubleSpinBox* mmSpin(QWidget* parent, const char* name)
{
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(0, DesignRules::kMaxMm);
    spin->setDecimals(2);
    spin->setSingleStep(0.05);
    return spin;
}

} // namespace

DesignCheckDlg::DesignCheckDlg(Language lang, QWidget* parent) : QDialog(parent), lang_(lang)
{
    setObjectName("DesignCheckDlg");
    setWindowTitle(text(lang, "Проверка правил проектирования", "Design check"));
    auto* layout = new QVBoxLayout(this);
    auto* rulesGroup = new QGroupBox(text(lang, "Правила", "Rules"), this);
    rulesGroup->setObjectName("RulesGroup");
    auto* form = new QFormLayout(rulesGroup);
    clearance_ = mmSpin(rulesGroup, "SE_Clearance");
    width_ = mmSpin(rulesGroup, "SE_Width");
    hole_ = mmSpin(rulesGroup, "SE_Hole");
    ring_ = mmSpin(rulesGroup, "SE_Ring");
    form->addRow(text(lang, "Наименьший зазор [мм]:", "Smallest clearance [mm]:"), clearance_);
    form->addRow(text(lang, "Наименьшая ширина дорожки [мм]:", "Smallest track width [mm]:"), width_);
    form->addRow(text(lang, "Наименьшее отверстие [мм]:", "Smallest hole [mm]:"), hole_);
    form->addRow(text(lang, "Наименьший поясок [мм]:", "Smallest annular ring [mm]:"), ring_);
    layout->addWidget(rulesGroup);

    list_ = new QListWidget(this);
    list_->setObjectName("ViolationList");
    list_->setMinimumSize(560, 220);
    list_->setUniformItemSizes(true);
    layout->addWidget(list_);
    result_ = new QLabel(this);
    result_->setObjectName("ResultLabel");
    layout->addWidget(result_);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && static_cast<size_t>(row) < violations_.size() && onPick)
            onPick(violations_[static_cast<size_t>(row)]);
    });

    // "Check" runs the check again; "Close" ends the window.
    addDialogButtons(this, layout, text(lang, "&Проверить", "&Check"), "CheckBtn", text(lang, "&Закрыть", "&Close"),
                     "CloseBtn");
    auto* checkButton = findChild<QPushButton*>("CheckBtn");
    disconnect(checkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(checkButton, &QPushButton::clicked, this, [this] {
        if (onRulesUsed)
            onRulesUsed(rules());
        runCheck();
    });
    setRules({});
}

void DesignCheckDlg::setRules(const DesignRules& rules)
{
    clearance_->setValue(mmFromUnits(rules.clearanceUnits));
    width_->setValue(mmFromUnits(rules.widthUnits));
    hole_->setValue(mmFromUnits(rules.holeUnits));
    ring_->setValue(mmFromUnits(rules.ringUnits));
}

DesignRules DesignCheckDlg::rules() const
{
    DesignRules r;
    r.clearanceUnits = unitsFromMm(clearance_->value());
    r.widthUnits = unitsFromMm(width_->value());
    r.holeUnits = unitsFromMm(hole_->value());
    r.ringUnits = unitsFromMm(ring_->value());
    return r;
}

void DesignCheckDlg::check(const ObjectList& objects, const BoardSettings& settings, PlaceFrame place)
{
    objects_ = &objects;
    settings_ = settings;
    place_ = place;
    runCheck();
}

void DesignCheckDlg::runCheck()
{
    if (!objects_)
        return;
    {
        const BusyCursor busy; // seconds on a board of hundreds of thousands of objects
        violations_ = checkDesign(*objects_, settings_, rules());
    }
    const QSignalBlocker quiet(list_);
    list_->clear();
    // Limits far beyond a board's (a clearance of centimetres) find millions;
    // a list of so many would hold the editor for minutes.
    const size_t listed = std::min(violations_.size(), kMostListed);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(listed));
    for (size_t i = 0; i < listed; ++i)
        lines << QString::fromStdString(
            describeViolation(violations_[i], *objects_, lang_, LayerNames::Screen, place_));
    list_->addItems(lines);
    if (violations_.empty())
        result_->setText(text(lang_, "Нарушений нет.", "No violations."));
    else if (listed < violations_.size())
        result_->setText(text(lang_, "Нарушений: %1, показаны первые %2. Выберите строку, чтобы показать место.",
                              "Violations: %1, the first %2 listed. Pick a line to show the place.")
                             .arg(violations_.size())
                             .arg(listed));
    else
        result_->setText(text(lang_, "Нарушений: %1. Выберите строку, чтобы показать место.",
                              "Violations: %1. Pick a line to show the place.")
                             .arg(violations_.size()));
}

void runDesignCheckDialog(QWidget* parent, LayoutDocument& doc, Language lang, Prompts& prompts, DesignRules& rules,
                          const std::function<void(const Violation&)>& pick, bool inchUnit)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return;
    DesignCheckDlg dialog(lang, parent);
    dialog.setRules(rules);
    dialog.onRulesUsed = [&rules](const DesignRules& used) { rules = used; };
    dialog.onPick = pick;
    dialog.check(*objects, doc.Working, {doc.Origin, inchUnit});
    // At the window's right edge, not over the middle of the board, where
    // a picked place is shown.
    if (parent) {
        dialog.adjustSize();
        const QRect frame = parent->window()->frameGeometry();
        dialog.move(std::max(frame.left(), frame.right() - dialog.width()), frame.top() + 60);
    }
    prompts.runDialog(dialog);
    // The limits typed in are kept however the window is closed.
    rules = dialog.rules();
}

} // namespace kestrel
