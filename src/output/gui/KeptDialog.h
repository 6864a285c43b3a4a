#pragma once
// Pieces the export dialogs share. They live as children of the window, so
// the next command shows the options chosen last time; without a parent a
// fresh dialog is made and handed to `owned`.

#include "model/Language.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>
#include <QWidget>

#include <memory>

namespace kestrel {

template <class Dialog>
Dialog* keptDialog(QWidget* parent, const char* objectName, Language lang, std::unique_ptr<Dialog>& owned)
{
    if (parent)
        if (auto* kept = parent->findChild<Dialog*>(objectName, Qt::FindDirectChildrenOnly))
            return kept;
    auto* dialog = new Dialog(lang, parent);
    if (!parent)
        owned.reset(dialog);
    return dialog;
}

// The accept and reject buttons at the foot of a dialog, right-aligned.
inline void addDialogButtons(QDialog* dialog, QBoxLayout* layout, const QString& okText, const char* okName,
                             const QString& cancelText, const char* cancelName)
{
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(okText, dialog);
    ok->setObjectName(okName);
    ok->setDefault(true);
    auto* cancel = new QPushButton(cancelText, dialog);
    cancel->setObjectName(cancelName);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

} // namespace kestrel
