#pragma once
// Clean-up of rubber bands: a band whose two pads are already joined by
// copper is no longer needed.

#include "edit/EditSession.h"
#include "model/Language.h"
#include "model/LayoutDocument.h"

#include <functional>
#include <string>

namespace kestrel {

// Every band is seen once from each of its pads, so the ends are counted and
// the report shows half of each count.
struct BandCleanup {
    size_t removedEnds = 0;
    size_t keptEnds = 0;
    size_t removedBands() const { return removedEnds / 2; }
    size_t keptBands() const { return keptEnds / 2; }
};

// Removes from each pad's Connections the entries whose pad is joined to it
// by copper (through vias too) and keeps the others; leaves every object
// deselected. beforeRemoving runs once, before the first entry goes, and
// not at all when every band is kept.
BandCleanup ClearConnections(ObjectList& list, const std::function<void()>& beforeRemoving = {});

// The command TB_ClearConnections on the active board: the clean-up above,
// with an undo step when it removes a band. The window shows
// clearReportText afterwards.
BandCleanup ClearConnections(EditSession& session, LayoutDocument& doc);

// The text of the information box that reports the clean-up, in the
// interface language. Lines are separated by '\n'.
std::string clearReportText(Language lang, const BandCleanup& result);
inline const char* clearReportCaption(Language lang) { return tr(lang, "Информация", "Information"); }

} // namespace kestrel
