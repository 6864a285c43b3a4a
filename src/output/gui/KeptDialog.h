#pragma once
// The export dialogs live as children of the window, so the next command
// shows the options chosen last time; without a parent a fresh dialog is
// made and handed to `owned`.

#include "model/Language.h"

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

} // namespace kestrel
