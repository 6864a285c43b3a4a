// A macro dragged from the macro panel: its outline over the board while
// the pointer moves, the insertion on the drop.

#include "edit/MacroDrop.h"
#include "edit/PointerMachine.h"
#include "edit/Selection.h"

namespace kestrel {

// The outline is built once per drag in macro coordinates (the reference
// point at the origin); each move only shifts it.
void PointerMachine::macroDragMove(const ObjectList& macro, Point raw)
{
    Busy busy(*this);
    if (!macroOutlineBuilt_) {
        interruptOperation();
        Preview& p = previews_.figure(PreviewKind::MoveOutline);
        p.strokes.clear();
        p.lines.clear();
        p.colour = PreviewColour::Black;
        p.dotted = false;
        for (const auto& o : macro)
            AppendObjectOutline(*o, p, true);
        p.lines.clear(); // a macro has no rubber bands
        p.measure();
        macroOutlineBuilt_ = true;
    }
    const Point at = MacroDropPoint(macro, raw, doc_.Working);
    if (previews_[PreviewKind::MoveOutline].drawn && previews_[PreviewKind::MoveOutline].offset == at)
        return;
    previews_.eraseIfDrawn(PreviewKind::MoveOutline);
    previews_.figure(PreviewKind::MoveOutline).offset = at;
    previews_.draw(PreviewKind::MoveOutline);
}

void PointerMachine::macroDragLeave()
{
    Busy busy(*this);
    previews_.eraseIfDrawn(PreviewKind::MoveOutline);
    previews_.figure(PreviewKind::MoveOutline).strokes.clear();
    macroOutlineBuilt_ = false;
}

void PointerMachine::macroDrop(ObjectList& macro, Point raw)
{
    macroDragLeave();
    Busy busy(*this);
    interruptOperation();
    const size_t added = DropMacro(session_, doc_, macro, MacroDropPoint(macro, raw, doc_.Working));
    if (added == 0)
        return;
    // The autorouter tool selects only to show its pick: the dropped macro
    // is left unselected there, as a paste is.
    if (selectionOnlyShown()) {
        DeselectAll(objects());
        routePick_ = 0;
    }
    // Every object of the board changed its selection.
    effects_.changedAll = true;
    effects_.selectionChanged = true;
    effects_.objectsChanged = true;
}

} // namespace kestrel
