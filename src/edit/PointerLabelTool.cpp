// The label tool: a label in a system font follows the pointer and a left
// press leaves it where it is; with numbering the next number follows at
// once (unless it would be larger than the board), otherwise the dialog
// asks for the next label. The following label is an object of the board
// only while it follows: every way out of the tool removes it, so no save,
// export or snapshot sees it. It takes no undo snapshot and does not mark
// the document changed; placing it does, so Undo takes back the last label
// placed.

#include "edit/PointerMachine.h"

#include "edit/HitTest.h"

namespace kestrel {

void PointerMachine::createFollowingLabel(Point at)
{
    const std::string text = NumberedLabelText(label_.text, label_.numbering, s_.LabelCounter);
    if (label_.numbering)
        ++s_.LabelCounter;
    const LabelLook look{label_.fontHeight, label_.angle, static_cast<uint8_t>(doc_.Working.ActiveLayer),
                         tools_.CurrentClearance};
    LayoutObject label = MakeLabel(at, text, look, measure_);
    const Point e{label.X2 - label.X1, label.Y2 - label.Y1};
    const Point kept = ClampLabelAnchor(at, e, doc_.Working.BoardWidth, doc_.Working.BoardHeight);
    translate(label, kept.x - at.x, kept.y - at.y);
    placing_ = &objects().append(std::move(label));
    placingList_ = &objects();
    changed(*placing_);
}

void PointerMachine::dropFollowingLabel()
{
    LayoutObject* label = placing_;
    ObjectList* list = placingList_;
    placing_ = nullptr;
    placingList_ = nullptr;
    const long i = label && list ? list->indexOf(label) : -1;
    if (i < 0)
        return;
    if (list == doc_.currentObjects())
        changed(*label);
    list->remove(static_cast<size_t>(i));
}

void PointerMachine::activeLayerChanged()
{
    if (!placing_ || placingList_ != doc_.currentObjects())
        return;
    placing_->Layer = static_cast<uint8_t>(doc_.Working.ActiveLayer);
    changed(*placing_);
}

void PointerMachine::labelPress()
{
    if (placing_ && placingList_ != doc_.currentObjects())
        dropFollowingLabel(); // the board changed under it
    if (!placing_) {
        effects_.labelDialog = true;
        return;
    }
    // Placed as a label of its own, after the snapshot that leaves it out.
    const LayoutObject placed = *placing_;
    dropFollowingLabel();
    const LabelLook look{placed.Width, placed.Angle, placed.Layer, placed.Clearance};
    const Point e{placed.X2 - placed.X1, placed.Y2 - placed.Y1};
    changed(CreateLabel(session_, doc_, placed.start(), placed.TextValue, look,
                        [e](const std::string&, int32_t, int32_t) { return e; }));
    effects_.objectsChanged = true;
    if (label_.numbering && nextLabelFits()) {
        createFollowingLabel(s_.CurrentPoint);
        return;
    }
    effects_.labelDialog = true;
    if (label_.numbering)
        effects_.nextLabelNumber = s_.LabelCounter;
}

// A longer number may outgrow the board: the dialog is asked again rather
// than a label placed partly off it.
bool PointerMachine::nextLabelFits() const
{
    const Point e = measure_(NumberedLabelText(label_.text, true, s_.LabelCounter), label_.fontHeight, label_.angle);
    return ExtentFitsBoard(e, doc_.Working.BoardWidth, doc_.Working.BoardHeight);
}

void PointerMachine::labelMove(Point raw, PointerKeys keys)
{
    const Point p = snapped(raw, keys);
    if (p == s_.CurrentPoint)
        return;
    s_.CurrentPoint = p;
    if (placing_ && placingList_ != doc_.currentObjects())
        dropFollowingLabel();
    if (!placing_)
        return;
    LayoutObject& label = *placing_;
    const Point e{label.X2 - label.X1, label.Y2 - label.Y1};
    const Point to = ClampLabelAnchor(p, e, doc_.Working.BoardWidth, doc_.Working.BoardHeight);
    changed(label);
    translate(label, to.x - label.X1, to.y - label.Y1);
    changed(label);
}

void PointerMachine::doubleClick(Point raw)
{
    if (tool_ != ToolMode::Edit)
        return;
    const long i = FindObjectAt(index_(), doc_.Working, raw);
    if (i >= 0 && objects()[static_cast<size_t>(i)].is(ObjectKind::Text))
        effects_.editLabel = i;
}

} // namespace kestrel
