#pragma once
// Copy, cut, paste, duplicate and delete on the active board. The clipboard
// lives in the session and is shared by every board of the document, so
// objects copied on one board can be pasted on another.

#include "edit/EditSession.h"
#include "model/LayoutDocument.h"

namespace kestrel {

void ClearClipboard(EditSession& session);

// Replaces the clipboard by copies of the selected objects; rubber bands,
// partners and route ends between selected objects are kept in the copies,
// links to anything else dropped.
void CopySelection(EditSession& session, LayoutDocument& doc);

// Appends the clipboard to the active board, selected and grouped as one,
// one grid step right of and below where the previous paste put it. Objects
// move to the active side; via pads keep their layers. Takes an undo
// snapshot, even with an empty clipboard.
void Paste(EditSession& session, LayoutDocument& doc);

// CopySelection, then DeleteSelection.
void CutSelection(EditSession& session, LayoutDocument& doc);
// CopySelection, then Paste.
void Duplicate(EditSession& session, LayoutDocument& doc);

// Deletes the selected objects after an undo snapshot; their rubber bands,
// partner links and route ends go from the objects that remain.
void DeleteSelection(EditSession& session, LayoutDocument& doc);
// Deletes one object the same way, without a snapshot.
void DeleteObject(EditSession& session, LayoutDocument& doc, size_t index);

} // namespace kestrel
