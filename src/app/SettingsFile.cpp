#include "app/SettingsFile.h"

#include "edit/ParameterLists.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace kestrel {

namespace {

constexpr int kFirstUserGridIndex = 7;

QVariant flag(bool on)
{
    return on ? 1 : 0; // booleans are stored as 1 and 0
}

// 1 and 0 as written; a hand-edited file may also say yes/no, on/off or
// true/false. Anything else keeps the default.
bool readFlag(const QSettings& file, const QString& key, bool fallback)
{
    const QString v = file.value(key).toString().trimmed().toLower();
    if (v == "1" || v == "true" || v == "yes" || v == "on")
        return true;
    if (v == "0" || v == "false" || v == "no" || v == "off")
        return false;
    return fallback;
}

int readInt(const QSettings& file, const QString& key, int fallback)
{
    bool ok = false;
    const int value = file.value(key).toInt(&ok);
    return ok ? value : fallback;
}

FileHistory readHistory(const QSettings& file)
{
    FileHistory history;
    for (int i = 0; i < kHistoryEntries; ++i)
        history.entries[static_cast<size_t>(i)] = file.value(QString("History/D%1").arg(i + 1)).toString().toStdString();
    return history;
}

// A hand-edited file must not make the editor loop for long.
constexpr int kMaxListKeys = 1000;

// A value as written. An INI file written by hand may hold a comma outside
// quotes, which the reader takes for a list of values.
QString textValue(const QSettings& file, const QString& key)
{
    const QVariant v = file.value(key);
    return v.typeId() == QMetaType::QStringList ? v.toStringList().join(',') : v.toString();
}

// Entries from the first index upward until a T key is missing or -1. A T
// that is no whole number, or outside what the list's field takes, drops its
// entry; the entries left come back sorted and capped.
std::vector<ListEntry> readTaggedList(QSettings& file, const char* section, int first, TagRange range)
{
    std::vector<TaggedEntry> read;
    file.beginGroup(section);
    for (int i = first; i < first + kMaxListKeys; ++i) {
        const QString key = QString("T%1").arg(i);
        if (!file.contains(key))
            break;
        bool ok = false;
        const int tag = file.value(key).toString().trimmed().toInt(&ok); // C locale
        if (ok && tag == -1)
            break;
        if (ok && range.holds(tag))
            read.push_back({tag, textValue(file, QString("S%1").arg(i)).toStdString()});
    }
    file.endGroup();
    std::vector<ListEntry> out;
    for (const TaggedEntry& e : SanitizedTaggedList(read))
        out.push_back({e.tag, QString::fromStdString(e.caption)});
    return out;
}

void writeTaggedList(QSettings& file, const char* section, int first, const std::vector<ListEntry>& entries)
{
    file.remove(section);
    file.beginGroup(section);
    int i = first;
    for (const ListEntry& entry : entries) {
        if (entry.tag < 0)
            break; // a separator ends the user's entries
        file.setValue(QString("T%1").arg(i), entry.tag);
        file.setValue(QString("S%1").arg(i), entry.caption);
        ++i;
    }
    file.endGroup();
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

namespace {

template <class T>
T changedOr(const T& read, const T& mine, const T& onFile)
{
    return mine == read ? onFile : mine;
}

// The entries on file, less those this window removed since it read them,
// with those it added.
template <class T>
std::vector<T> mergedEntries(const std::vector<T>& read, const std::vector<T>& mine, const std::vector<T>& onFile)
{
    const auto has = [](const std::vector<T>& list, const T& e) {
        return std::find(list.begin(), list.end(), e) != list.end();
    };
    std::vector<T> out;
    for (const T& e : onFile)
        if (!has(read, e) || has(mine, e))
            out.push_back(e);
    for (const T& e : mine)
        if (!has(read, e) && !has(out, e))
            out.push_back(e);
    return out;
}

// In order of value and within the length a list may have, as they are read.
std::vector<ListEntry> mergedTagged(const std::vector<ListEntry>& read, const std::vector<ListEntry>& mine,
                                    const std::vector<ListEntry>& onFile)
{
    std::vector<TaggedEntry> merged;
    for (const ListEntry& e : mergedEntries(read, mine, onFile))
        merged.push_back({e.tag, e.caption.toStdString()});
    std::vector<ListEntry> out;
    for (const TaggedEntry& e : SanitizedTaggedList(merged))
        out.push_back({e.tag, QString::fromStdString(e.caption)});
    return out;
}

} // namespace

Options mergedOptions(const Options& read, const Options& mine, const Options& onFile)
{
    Options o;
    o.hints = changedOr(read.hints, mine.hints, onFile.hints);
    o.macroPanel = changedOr(read.macroPanel, mine.macroPanel, onFile.macroPanel);
    o.autoSave = changedOr(read.autoSave, mine.autoSave, onFile.autoSave);
    o.autoSaveMs = changedOr(read.autoSaveMs, mine.autoSaveMs, onFile.autoSaveMs);
    o.undoDepth = changedOr(read.undoDepth, mine.undoDepth, onFile.undoDepth);
    o.macroFolder = changedOr(read.macroFolder, mine.macroFolder, onFile.macroFolder);
    o.windowGeometry = mine.windowGeometry;
    return o;
}

UserLists mergedLists(const UserLists& read, const UserLists& mine, const UserLists& onFile)
{
    UserLists out{mergedTagged(read.trackWidths, mine.trackWidths, onFile.trackWidths),
                  mergedTagged(read.grids, mine.grids, onFile.grids), {}};
    std::vector<std::string> sizes;
    for (const QString& caption : mergedEntries(read.padSizes, mine.padSizes, onFile.padSizes))
        sizes.push_back(caption.toStdString());
    for (const std::string& caption : SanitizedPadSizes(sizes)) // in order of size
        out.padSizes.push_back(QString::fromStdString(caption));
    return out;
}

Settings readSettings(const QString& path)
{
    QSettings file(path, QSettings::IniFormat);
    Settings s;
    Options& o = s.options;
    o.hints = readFlag(file, "Optionen/Kurzhilfe", o.hints);
    o.macroPanel = readFlag(file, "Optionen/Makro", o.macroPanel);
    o.autoSave = readFlag(file, "Optionen/AutoSave", o.autoSave);
    bool ok = false;
    const qlonglong ms = file.value("Optionen/AutoSaveTime").toLongLong(&ok);
    o.autoSaveMs = ok ? clampedAutoSaveMs(ms) : kDefaultAutoSaveMs;
    o.undoDepth = clampedUndoDepth(readInt(file, "Optionen/UndoDepth", kDefaultUndoDepth));
    o.macroFolder = file.value("Optionen/MakroOrdner").toString();
    o.windowGeometry = file.value("Optionen/Fenster").toByteArray();

    s.history = readHistory(file);

    s.lists.trackWidths = readTaggedList(file, "L_POPUP", 0, kWidthTags);
    s.lists.grids = readTaggedList(file, "R_POPUP", kFirstUserGridIndex, kGridTags);
    std::vector<std::string> padSizes;
    // An entry that cannot be read is left out, not taken for the list's
    // end: the entries after it would be lost, and with the next writing
    // from the file too. Sizes typed with a decimal comma are read as well.
    for (int i = 0; i < kMaxListKeys; ++i) {
        const QString key = QString("LA_POPUP/S%1").arg(i);
        if (!file.contains(key))
            break;
        padSizes.push_back(textValue(file, key).replace(',', '.').toStdString());
    }
    for (const std::string& caption : SanitizedPadSizes(padSizes))
        s.lists.padSizes.push_back(QString::fromStdString(caption));
    return s;
}

FileHistory readHistory(const QString& path)
{
    const QSettings file(path, QSettings::IniFormat);
    return readHistory(file);
}

// A format error is the reading's (a damaged file, which is written anew
// all the same); only an access error says the writing failed.
bool settingsWritten(QSettings& file)
{
    file.sync();
    return file.status() != QSettings::AccessError;
}

bool writeOptionsAndLists(const Options& options, const UserLists& lists, const QString& path)
{
    QSettings file(path, QSettings::IniFormat);
    file.setValue("Optionen/Kurzhilfe", flag(options.hints));
    file.setValue("Optionen/Makro", flag(options.macroPanel));
    file.setValue("Optionen/AutoSave", flag(options.autoSave));
    file.setValue("Optionen/AutoSaveTime", clampedAutoSaveMs(options.autoSaveMs));
    file.setValue("Optionen/UndoDepth", clampedUndoDepth(options.undoDepth));
    file.setValue("Optionen/MakroOrdner", options.macroFolder);
    if (!options.windowGeometry.isEmpty())
        file.setValue("Optionen/Fenster", options.windowGeometry);
    writeTaggedList(file, "L_POPUP", 0, lists.trackWidths);
    writeTaggedList(file, "R_POPUP", kFirstUserGridIndex, lists.grids);
    file.remove("LA_POPUP");
    for (size_t i = 0; i < lists.padSizes.size() && !lists.padSizes[i].isEmpty(); ++i)
        file.setValue(QString("LA_POPUP/S%1").arg(i), lists.padSizes[i]);
    return settingsWritten(file);
}

bool writeHistory(const FileHistory& history, const QString& path)
{
    QSettings file(path, QSettings::IniFormat);
    for (int i = 0; i < kHistoryEntries; ++i)
        file.setValue(QString("History/D%1").arg(i + 1), QString::fromStdString(history.entries[static_cast<size_t>(i)]));
    return settingsWritten(file);
}

namespace {

struct RuleKey {
    const char* key;
    int32_t DesignRules::*field;
};

constexpr RuleKey kRuleKeys[] = {
    {"DesignCheck/Clearance", &DesignRules::clearanceUnits},
    {"DesignCheck/Width", &DesignRules::widthUnits},
    {"DesignCheck/Hole", &DesignRules::holeUnits},
    {"DesignCheck/Ring", &DesignRules::ringUnits},
};

} // namespace

DesignRules readDesignRules(const QString& path)
{
    QSettings file(path, QSettings::IniFormat);
    DesignRules rules;
    for (const RuleKey& k : kRuleKeys) {
        bool ok = false;
        const int units = file.value(k.key).toInt(&ok);
        if (ok && units >= 0 && units <= unitsFromMm(DesignRules::kMaxMm))
            rules.*k.field = units;
    }
    return rules;
}

bool writeDesignRules(const DesignRules& rules, const QString& path)
{
    QSettings file(path, QSettings::IniFormat);
    for (const RuleKey& k : kRuleKeys)
        file.setValue(k.key, rules.*k.field);
    return settingsWritten(file);
}

} // namespace kestrel
