#include "edit/MacroSave.h"

#include "model/FileIO.h"
#include "model/MacroFile.h"

#include <algorithm>

namespace kestrel {

bool activeSideIs1(const LayoutDocument& doc)
{
    return Layer::isSide1(static_cast<int>(doc.Working.ActiveLayer));
}

MacroSaveScope macroSaveScope(const LayoutDocument& doc)
{
    const Board* board = doc.activeBoard();
    if (!board)
        return MacroSaveScope::NothingOnSide;
    const ObjectList* list = &board->Objects;
    const bool side1 = activeSideIs1(doc);
    const bool any = std::any_of(list->begin(), list->end(),
                                 [side1](const auto& o) { return Layer::isSide1(o->Layer) == side1; });
    if (!any)
        return MacroSaveScope::NothingOnSide;
    const bool selected = std::any_of(list->begin(), list->end(), [](const auto& o) { return o->Selected != 0; });
    return selected ? MacroSaveScope::Selection : MacroSaveScope::WholeSide;
}

Result<size_t> saveMacro(LayoutDocument& doc, const std::string& path, bool selectionOnly, Language lang)
{
    ObjectList* list = doc.currentObjects();
    if (!list)
        return Status::failure(tr(lang, "Нет активной платы.", "No board is active."));
    return writeMacro(path, *list, activeSideIs1(doc), selectionOnly, doc.Working.Grid, lang);
}

} // namespace kestrel
