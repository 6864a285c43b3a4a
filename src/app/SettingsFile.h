#pragma once
// The per-user settings file KESTREL30.INI (INI format) in the platform's
// configuration directory: the options, the file history and the user's
// entries of the parameter lists. Missing keys, or a missing file, give the
// defaults below.

#include "model/AutoSave.h"
#include "model/FileHistory.h"
#include "output/DesignCheck.h"

#include <QByteArray>
#include <QSettings>
#include <QString>

#include <vector>

namespace kestrel {

QString settingsFilePath();

constexpr int kDefaultUndoDepth = 1;
constexpr int kMaxUndoDepth = 100;
int clampedUndoDepth(int depth);

// One user entry of a parameter list menu: its value (the menu item's tag)
// and its caption.
struct ListEntry {
    int tag = -1;
    QString caption;
    bool operator==(const ListEntry&) const = default;
};

// Section Optionen: read at start-up, written on close.
struct Options {
    bool hints = true;         // Kurzhilfe
    bool macroPanel = false;   // Makro
    bool autoSave = false;     // AutoSave
    int autoSaveMs = kDefaultAutoSaveMs; // AutoSaveTime, 1..60 minutes
    int undoDepth = kDefaultUndoDepth;   // UndoDepth, 1..100
    QString macroFolder;                 // MakroOrdner: the macro panel's folder, empty until chosen
    QByteArray windowGeometry;           // Fenster: the main window's last size and position
    bool operator==(const Options&) const = default;
};

// The user's entries of the width, grid and pad-size menus.
struct UserLists {
    std::vector<ListEntry> trackWidths; // L_POPUP, from index 0
    std::vector<ListEntry> grids;       // R_POPUP, from index 7 (after the built-in grids)
    std::vector<QString> padSizes;      // LA_POPUP, from index 0
    bool operator==(const UserLists&) const = default;
};

struct Settings {
    Options options;
    FileHistory history;
    UserLists lists;
};

// Writes what was set; false only when the file could not be written. A
// damaged file the reading stumbled over is written anew all the same.
bool settingsWritten(QSettings& file);

Settings readSettings(const QString& path = settingsFilePath());
// What a closing window writes: each value it changed since it read the
// file (`read`), and for the rest what the file holds now (`onFile`), which
// another window may have written meanwhile; of the lists, the entries on
// file with those this window added and without those it removed. The
// window's size is its own.
Options mergedOptions(const Options& read, const Options& mine, const Options& onFile);
UserLists mergedLists(const UserLists& read, const UserLists& mine, const UserLists& onFile);
// The writers return false when the file could not be written (a read-only
// file, a folder in its place).
// The options and the lists, each list's section erased first.
bool writeOptionsAndLists(const Options& options, const UserLists& lists, const QString& path = settingsFilePath());
// Written on every change of the history.
bool writeHistory(const FileHistory& history, const QString& path = settingsFilePath());
// The history alone, as another window may have written it since.
FileHistory readHistory(const QString& path = settingsFilePath());

// Section DesignCheck: the design check's rules (limits in board units),
// written whenever the window or the fab package uses them. Missing or
// unusable values give the board-house defaults.
DesignRules readDesignRules(const QString& path = settingsFilePath());
bool writeDesignRules(const DesignRules& rules, const QString& path = settingsFilePath());

} // namespace kestrel
