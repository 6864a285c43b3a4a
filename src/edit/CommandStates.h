#pragma once
// Which edit commands the selection, the object list and the clipboard allow.
// Menu items, pop-up twins and tool-bar buttons all follow these flags.

#include "model/ObjectList.h"

#include <cstdint>

namespace kestrel {

// The condition a command's enabled state depends on.
enum class CommandRule : uint8_t {
    Always,  // enabled whenever the command is available at all
    Any,     // at least one object selected
    Paste,   // the clipboard holds objects
    Group,   // the selection may be grouped
    Ungroup, // a selected object has a group number
    Bands,   // some pad has rubber bands
    Circle,  // a selected object is a circle
    Objects, // the board has objects
    Select,  // the board has objects to select (a tool whose selection is its pick offers none)
    Undo,    // there is a snapshot to go back to
    Redo,    // an undone step can be done again
};

struct CommandStates {
    bool any = false;
    bool paste = false;
    bool group = false;
    bool ungroup = false;
    bool bands = false;
    bool circle = false;
    bool objects = false;
    bool undo = false;
    bool redo = false;

    bool allows(CommandRule rule) const;
    bool operator==(const CommandStates&) const = default;
};

class EditSession;

// One pass over the board's objects. Grouping is allowed when the selection is
// not already exactly one group and would join more than one member: every
// ungrouped object counts once, and so does every distinct outermost group.
// `shownOnly` is an object selected only to show it under the pointer (the
// connect tool's pad), with its group and their via twins: commands do not
// act on them.
CommandStates UpdateCommandStates(const ObjectList& objects, bool clipboardHasObjects, long shownOnly = -1);
// The same with the clipboard and the undo and redo steps of the session.
CommandStates UpdateCommandStates(const ObjectList& objects, const EditSession& session, long shownOnly = -1);

} // namespace kestrel
