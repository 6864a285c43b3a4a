#include "output/gui/DrillDialog.h"
#include "output/gui/KeptDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <memory>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

QString title(Language lang) { return text(lang, "Экспорт сверловки", "Excellon export"); }

} // namespace

TLochDlg::TLochDlg(Language lang, QWidget* parent) : QDialog(parent)
{
    setObjectName("LochDlg");
    setWindowTitle(title(lang));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(text(lang, "Экспорт в файл EXCELLON", "Drill data uses EXCELLON format."), this);
    label->setObjectName("Label1");
    layout->addWidget(label);

    auto* group = new QGroupBox(text(lang, "Выбор стороны сверловки", "Origin of coordinates"), this);
    group->setObjectName("GroupBox2");
    auto* sides = new QVBoxLayout(group);
    RB_Kupfer_ = new QRadioButton(text(lang, "Сверлить со стороны пайки", "Drill from solder side"), group);
    RB_Kupfer_->setObjectName("RB_Kupfer");
    RB_Kupfer_->setChecked(true);
    RB_Best_ = new QRadioButton(text(lang, "Сверлить со стороны деталей", "Drill from component side"), group);
    RB_Best_->setObjectName("RB_Best");
    sides->addWidget(RB_Kupfer_);
    sides->addWidget(RB_Best_);
    layout->addWidget(group);

    addDialogButtons(this, layout, text(lang, "&ОК", "&OK"), "Button1", text(lang, "О&тмена", "&Cancel"), "Button2");
}

DrillSide TLochDlg::side() const { return RB_Kupfer_->isChecked() ? DrillSide::Solder : DrillSide::Component; }

void TLochDlg::setSide(DrillSide side) { (side == DrillSide::Solder ? RB_Kupfer_ : RB_Best_)->setChecked(true); }

void runDrillDialog(QWidget* parent, LayoutDocument& doc, Language lang, Prompts& prompts)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return;
    std::unique_ptr<TLochDlg> owned;
    TLochDlg* dialog = keptDialog(parent, "LochDlg", lang, owned);
    // A cancel leaves the side chosen before for the next time.
    const DrillSide chosen = dialog->side();
    if (!prompts.runDialog(*dialog)) {
        dialog->setSide(chosen);
        return;
    }
    const auto path = exportFileName(prompts, parent, title(lang), doc.FileName, text(lang, "BOHRUNG.DRL", "DRILL.DRL"),
                                     text(lang, "Файлы сверловки (Excellon)|*.DRL", "Drill files (Excellon)|*.DRL"),
                                     "DRL", lang);
    if (!path)
        return;
    const Status written = writeDrill(path->toStdString(), *objects, doc.Working, dialog->side(), lang);
    if (written)
        prompts.message(parent, title(lang), text(lang, "Файл успешно создан.", "File created successfully."),
                        Prompts::Icon::Information);
    else
        prompts.message(parent, title(lang),
                        text(lang, "Не удалось создать файл!", "Can not create file!") + "\n\n" +
                            QString::fromStdString(written.message()),
                        Prompts::Icon::Error);
}

} // namespace kestrel
