// The test, connect and autorouter tools: the pointer side of the
// connectivity and routing steps of route/.

#include "edit/PointerMachine.h"

#include "route/ConnectTool.h"
#include "route/TestTool.h"

namespace kestrel {

void PointerMachine::report(const BoardChange& change)
{
    if (change.repaint)
        effects_.changed.push_back(*change.repaint);
}

void PointerMachine::testPress(Point raw)
{
    const ConnectionTestResult r = TestConnectionAt(objects(), index_(), doc_.Working, raw);
    report(r.change);
    effects_.selectionChanged = effects_.selectionChanged || r.change.repaint.has_value();
}

void PointerMachine::connectMove(Point raw)
{
    previews_.eraseIfDrawn(PreviewKind::BandLine);
    const long pad = PadForConnecting(index_(), doc_.Working, raw);
    const BoardChange change = HighlightPadForConnecting(objects(), s_.HighlightedPad, pad, s_.HighlightSelected);
    report(change);
    effects_.selectionChanged = effects_.selectionChanged || change.repaint.has_value();
    if (s_.StartPad < 0 || static_cast<size_t>(s_.StartPad) >= objects().size())
        return;
    s_.CurrentPoint = raw;
    Preview& line = previews_.figure(PreviewKind::BandLine);
    line.strokes = {{{objects()[static_cast<size_t>(s_.StartPad)].centre(), raw}, 0, false}};
    line.colour = PreviewColour::Blue;
    line.dotted = true;
    line.measure();
    previews_.draw(PreviewKind::BandLine);
}

void PointerMachine::connectPress()
{
    previews_.eraseIfDrawn(PreviewKind::BandLine);
    const ConnectPress r = ConnectToolPress(session_, doc_, s_.StartPad, s_.HighlightedPad);
    report(r.change);
    if (r.edit == BandEdit::Added || r.edit == BandEdit::Removed)
        effects_.objectsChanged = true;
}

// A band being drawn is given up; with none the tool is left.
void PointerMachine::connectRightPress()
{
    if (s_.StartPad >= 0) {
        previews_.eraseIfDrawn(PreviewKind::BandLine);
        s_.StartPad = -1;
        return;
    }
    previews_.eraseAll();
    backToEdit();
}

} // namespace kestrel
