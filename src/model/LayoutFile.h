#pragma once
// The layout document file (KBD): version 3 is written, versions 0..3 are read.

#include "model/LayoutDocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

constexpr int kLayoutFileVersion = 3;

// The clean-up before writing: unless autosaving, objects of the active
// board lying wholly outside it and degenerate zones and tracks are deleted;
// group numbers of the active board are compacted; the working state is
// stored into the active board's record.
void prepareForWriting(LayoutDocument& doc, bool autosave);

// The version-3 image of the document as it stands (no clean-up).
std::vector<uint8_t> encodeDocument(const LayoutDocument& doc);

// Clean-up, encoding and an atomic write. Returns an empty string on success
// (and marks a non-autosave as saved), else the message to show.
std::string writeDocument(LayoutDocument& doc, const std::string& path, bool autosave, Language lang);

struct ReadResult {
    std::optional<LayoutDocument> document; // set on success
    int version = -1;                       // the version byte read
    std::string error;                      // the message to show on failure
};

// Reads a file of any accepted version into a fresh document. On failure
// nothing else is touched; the caller swaps the document in on success.
ReadResult decodeDocument(const uint8_t* data, size_t size, Language lang, const std::string& nameForMessages,
                          bool import = false);
ReadResult readDocument(const std::string& path, Language lang);

// Appends the boards of a file to an open document ("load boards additionally").
// The document is changed only when the whole file reads correctly.
std::string importBoards(LayoutDocument& doc, const std::string& path, Language lang);

} // namespace kestrel
