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
    const MacroImage image = encodeMacro(*list, activeSideIs1(doc), selectionOnly, doc.Working.Grid);
    const Status written = writeFileAtomically(path, image.bytes);
    if (!written)
        return Status::failure(tr(lang, "Макрос не сохранён. ", "The macro was not saved. ") + written.message());
    return image.objectCount;
}

} // namespace kestrel
