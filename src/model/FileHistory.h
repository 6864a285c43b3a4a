#pragma once
// The four most recently used layout files, most recent first, and the
// names of the backup files autosave writes beside a document.

#include <array>
#include <string>

namespace kestrel {

constexpr int kHistoryEntries = 4;

// Whether the name's extension, in lower case, is ".bak".
bool isBackupName(const std::string& path);
// The backup beside a document: a layout's .kbd (or no extension) becomes
// ".bak"; any other extension stays, with ".bak" after it.
std::string backupNameFor(const std::string& path);

struct FileHistory {
    std::array<std::string, kHistoryEntries> entries;

    // Puts the name first and drops the oldest entry. A backup file is not
    // entered, nor a file already listed: two names are the same file when
    // their canonical paths are equal, so names differing in letter case are
    // two files on a case-sensitive file system. Returns whether the list
    // changed.
    bool add(const std::string& path);
    // Takes the file's entry out, the later ones moving up; whether it was listed.
    bool remove(const std::string& path);
    // Entry 1..4 when it names a file (at least two characters), else empty.
    std::string shown(int number) const;
};

} // namespace kestrel
