#include "edit/gui/DialogParts.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>
#include <cstdlib>

namespace kestrel {

QDoubleSpinBox* decimalSpin(const char* name, double minimum, double maximum, double value, QWidget* parent)
{
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(name);
    s->setDecimals(1);
    s->setSingleStep(0.1);
    s->setRange(minimum, maximum);
    s->setValue(value);
    return s;
}

QSpinBox* wholeSpin(const char* name, int minimum, int maximum, int value, QWidget* parent)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(minimum, maximum);
    s->setValue(value);
    return s;
}

QGroupBox* radioGroup(const char* groupName, std::initializer_list<std::pair<const char*, int>> buttons,
                      QButtonGroup*& group, QWidget* parent)
{
    auto* box = new QGroupBox(parent);
    box->setObjectName(groupName);
    auto* layout = new QVBoxLayout(box);
    group = new QButtonGroup(box);
    for (const auto& [name, id] : buttons) {
        auto* b = new QRadioButton(box);
        b->setObjectName(name);
        group->addButton(b, id);
        layout->addWidget(b);
    }
    group->buttons().front()->setChecked(true);
    return box;
}

namespace {

// Whether a number field holds no digit (emptied, or only a sign or a
// point typed so far): then it keeps the value it held.
bool emptied(const QAbstractSpinBox& field)
{
    const auto noDigit = [](const QString& text) {
        return std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    };
    if (const auto* d = qobject_cast<const QDoubleSpinBox*>(&field))
        return noDigit(d->cleanText());
    if (const auto* i = qobject_cast<const QSpinBox*>(&field))
        return noDigit(i->cleanText());
    return false;
}

// A number typed beyond a field's range (a grid of 0.05 mm where 0.1 is the
// least) becomes the nearest one the field takes, as the field is left or
// entered, rather than the value it held before, which the dialog would then
// give without a word. An emptied field keeps its value.
void chooseCorrection(QAbstractSpinBox& field)
{
    field.setCorrectionMode(emptied(field) ? QAbstractSpinBox::CorrectToPreviousValue
                                           : QAbstractSpinBox::CorrectToNearestValue);
}

class NearestValue : public QObject {
public:
    explicit NearestValue(QDialog& dialog) : QObject(&dialog) { dialog.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && event->type() == QEvent::Show) {
            for (QAbstractSpinBox* field : static_cast<QDialog*>(watched)->findChildren<QAbstractSpinBox*>())
                field->installEventFilter(this);
        } else if (auto* field = qobject_cast<QAbstractSpinBox*>(watched)) {
            const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
            if (event->type() == QEvent::FocusOut ||
                (key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)))
                chooseCorrection(*field);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void addOkCancel(QDialog& dialog, QBoxLayout& layout, const char* okName, const char* cancelName)
{
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(okName);
    ok->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(cancelName);
    new NearestValue(dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog] {
        for (QAbstractSpinBox* field : dialog.findChildren<QAbstractSpinBox*>()) {
            chooseCorrection(*field);
            field->interpretText();
        }
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
}

namespace {

class SelectOnShow : public QObject {
public:
    SelectOnShow(QDialog& dialog, QAbstractSpinBox* field) : QObject(&dialog), field_(field)
    {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            field_->setFocus();
            field_->selectAll();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractSpinBox* field_;
};

} // namespace

void selectWhenShown(QDialog& dialog, QAbstractSpinBox* field)
{
    new SelectOnShow(dialog, field);
}

QString labelLargerThanBoard(Language lang, Point extent, int32_t boardWidth, int32_t boardHeight)
{
    const auto mm = [](int64_t units) { return QString::number(std::abs(units) / 100.0, 'f', 1); };
    return QString::fromUtf8(tr(lang,
                                "Надпись (%1 x %2 мм) больше платы (%3 x %4 мм): уменьшите высоту или сократите "
                                "текст.",
                                "The label (%1 x %2 mm) is larger than the board (%3 x %4 mm): choose a smaller "
                                "height or a shorter text."))
        .arg(mm(extent.x), mm(extent.y), mm(boardWidth), mm(boardHeight));
}

} // namespace kestrel
