#include "app/SettingsFile.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace kestrel {

namespace {

constexpr const char* kUndoDepthKey = "Optionen/UndoDepth";

QSettings openSettings()
{
    return QSettings(settingsFilePath(), QSettings::IniFormat);
}

} // namespace

QString settingsFilePath()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(dir).filePath("KESTREL30.INI");
}

int clampedUndoDepth(int depth)
{
    return std::clamp(depth, 1, kMaxUndoDepth);
}

int readUndoDepth()
{
    bool ok = false;
    const int depth = openSettings().value(kUndoDepthKey, kDefaultUndoDepth).toInt(&ok);
    return ok ? clampedUndoDepth(depth) : kDefaultUndoDepth;
}

void writeUndoDepth(int depth)
{
    QSettings settings = openSettings();
    settings.setValue(kUndoDepthKey, clampedUndoDepth(depth));
}

} // namespace kestrel
