#pragma once
// The layout document file (KBD): version 3 is written, versions 0..3 are read.

#include "model/LayoutDocument.h"
#include "model/Result.h"
#include "model/ValueRanges.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

constexpr int kLayoutFileVersion = 3;

// The clean-up before writing: unless autosaving, objects of the active
// board lying wholly outside it and degenerate zones and tracks are deleted;
// group numbers of the active board are compacted; the working state is
// stored into the active board's record. Returns how many objects lay off
// the board.
size_t prepareForWriting(LayoutDocument& doc, bool autosave);

// The version-3 image of the document as it stands (no clean-up). Throws
// FormatError for a value the readers would refuse.
std::vector<uint8_t> encodeDocument(const LayoutDocument& doc);

// Clean-up, encoding and an atomic write. On success a non-autosave marks
// the document saved; a failure carries the message to show, and a value
// the readers would refuse is one: nothing is written then. `removed` gets
// the number of objects off the board the clean-up deleted. A document
// larger than `maxBytes`, the most the readers take, is not written.
Status writeDocument(LayoutDocument& doc, const std::string& path, bool autosave, Language lang,
                     size_t* removed = nullptr, uint64_t maxBytes = ranges::kMaxFileBytes);

struct LoadedDocument {
    LayoutDocument document;
    int version = -1; // the version byte read
};

// Reads a file of any accepted version into a fresh document. On failure
// nothing else is touched; the caller swaps the document in on success.
Result<LoadedDocument> decodeDocument(const uint8_t* data, size_t size, Language lang,
                                      const std::string& nameForMessages, bool import = false);
Result<LoadedDocument> readDocument(const std::string& path, Language lang);

// Appends the boards of a file to an open document ("load boards additionally").
// The document is changed only when the whole file reads correctly.
Status importBoards(LayoutDocument& doc, const std::string& path, Language lang);
// Its two halves, for a caller that reads the file long before it appends
// the boards: the read, and the appending of what it read.
Result<LoadedDocument> readImportedBoards(const std::string& path, Language lang);
void appendImportedBoards(LayoutDocument& doc, LoadedDocument read, Language lang);

} // namespace kestrel
