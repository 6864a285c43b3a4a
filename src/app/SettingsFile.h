#pragma once
// The per-user settings file KESTREL30.INI (INI format) in the platform's
// configuration directory, and the values the main window keeps there.

#include <QString>

namespace kestrel {

QString settingsFilePath();

// Section Optionen, key UndoDepth: how many steps Undo goes back.
constexpr int kDefaultUndoDepth = 1;
constexpr int kMaxUndoDepth = 100;
int clampedUndoDepth(int depth);
// The stored depth, clamped; the default when the file or key is missing or
// holds no number.
int readUndoDepth();
void writeUndoDepth(int depth);

} // namespace kestrel
