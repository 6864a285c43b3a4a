#pragma once
// Which edit commands the selection, the object list and the clipboard allow.
// Menu items, pop-up twins and tool-bar buttons all follow these flags.

#include "model/ObjectList.h"

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
};

struct CommandStates {
    bool any = false;
    bool paste = false;
    bool group = false;
    bool ungroup = false;
    bool bands = false;
    bool circle = false;
    bool objects = false;

    bool allows(CommandRule rule) const;
    bool operator==(const CommandStates&) const = default;
};

// One pass over the board's objects. Grouping is allowed when the selection is
// not already exactly one group and would join more than one member: every
// ungrouped object counts once, the grouped objects together count one less
// than their number.
CommandStates UpdateCommandStates(const ObjectList& objects, bool clipboardHasObjects);

} // namespace kestrel
