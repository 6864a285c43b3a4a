#pragma once
// The main window's commands as data: menus, their items, the pop-up menus
// and the tool bar. The window builds its QMenus, QActions and tool buttons
// from these rows and binds each row's handler by name; a row whose handler
// the window does not offer yet stays visible and disabled.

#include "edit/CommandStates.h"

#include <span>

namespace kestrel {

enum class CommandKind : uint8_t {
    Menu,      // a menu of the menu bar (no parent) or a submenu
    Popup,     // a pop-up menu of its own (no parent)
    Item,      // an action
    Separator, // a line between items
};

struct MenuCommand {
    CommandKind kind;
    const char* name;    // objectName of the menu or action (separators may have none)
    const char* parent;  // objectName of the menu it sits in; nullptr for top-level menus
    const char* russian; // caption of the Russian interface
    const char* english; // caption of the English interface; nullptr keeps the Russian one
    const char* shortcut = nullptr; // QKeySequence text; "; " between a key and its alternatives
    const char* handler = nullptr;  // name of the handler, shared by twins
    int tag = 0;                    // passed to the handler (layer, unit)
    CommandRule rule = CommandRule::Always;
    bool checkable = false;
    bool hidden = false; // filled in at run time (history entries)
};

struct ToolBarCommand {
    const char* name;    // objectName of the tool button and its action
    const char* handler; // the handler of its menu twin
    const char* icon;    // name of the painted icon
    CommandRule rule = CommandRule::Always;
    bool separatorBefore = false;
};

// Menu bar first (in menu order), then the pop-up menus.
std::span<const MenuCommand> menuCommands();
std::span<const ToolBarCommand> toolBarCommands();

// The caption for a language; the Russian one when the row has no English text.
const char* captionOf(const MenuCommand& row, bool english);

} // namespace kestrel
