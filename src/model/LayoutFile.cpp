#include "model/LayoutFile.h"

#include "geometry/Geometry.h"
#include "model/BackgroundWrite.h"
#include "model/BinaryIO.h"
#include "model/FileIO.h"
#include "model/PendingFile.h"
#include "model/Groups.h"
#include "model/MacroFile.h"
#include "model/ObjectCodec.h"
#include "model/QuotedPath.h"
#include "model/RecordImages.h"
#include "model/TextCodec.h"
#include "model/ValueChecks.h"
#include "model/ValueRanges.h"

#include <algorithm>
#include <new>

namespace kestrel {

namespace {

constexpr size_t kMinBoardBlock = 31 + sizeof(BoardImage) + 4;
// Small enough to stay in the cache between encoding and the write.
constexpr size_t kWriteChunkBytes = 512 * 1024;

void finishAfterReading(LayoutDocument& doc, size_t firstNewBoard)
{
    for (size_t b = firstNewBoard; b < doc.boardCount(); ++b)
        repairPartners(doc.board(b).Objects);
    if (ObjectList* active = doc.currentObjects()) {
        removeDegenerate(*active);
        compactGroups(*active);
    }
}

// What one pass over the objects learns before anything is written: each
// object's list position (for references), the pads of each board (their
// bands follow the records) and an upper bound of the image size. The pass
// also throws FormatError for a value the readers would refuse: a file
// written with it could not be opened again.
struct EncodingPlan {
    std::vector<std::vector<const LayoutObject*>> padsOf;
    size_t maxBytes = 0;
};

EncodingPlan planEncoding(const LayoutDocument& doc)
{
    EncodingPlan plan;
    plan.padsOf.resize(doc.boardCount());
    plan.maxBytes = 4 + 4 + 12;
    checkOrigin(doc.Origin, 0);
    for (size_t b = 0; b < doc.boardCount(); ++b) {
        const ObjectList& list = doc.board(b).Objects;
        const BoardSettings& settings = static_cast<int>(b) == doc.ActiveBoard ? doc.Working : doc.board(b).Settings;
        checkBoardSize(settings.BoardWidth, settings.BoardHeight, 0);
        plan.maxBytes += 1 + kBoardNameMax + sizeof(BoardImage) + 4;
        for (size_t i = 0; i < list.size(); ++i) {
            const LayoutObject& o = list[i];
            o.ListIndex = static_cast<int32_t>(i);
            checkRecordValues(o, i, 0, kRecordFields);
            checkGroupDepth(o, o.Groups.size(), i, 0);
            plan.maxBytes += sizeof(ObjectImage) + 4 + o.Groups.size() * 4;
            if (o.hasPoints()) {
                plan.maxBytes += 4 + o.Points.size() * sizeof(Point);
                checkPointCount(o, o.Points.size(), i, 0);
                // Their extremes first; the named check only for a list
                // that holds a point out of range.
                int32_t low = 0, high = 0;
                for (const Point& p : o.Points) {
                    low = std::min(low, std::min(p.x, p.y));
                    high = std::max(high, std::max(p.x, p.y));
                }
                if (low < -ranges::kMaxCoordinate || high > ranges::kMaxCoordinate)
                    for (const Point& p : o.Points)
                        checkPoint(o, p, i, 0);
            }
            if (o.is(ObjectKind::Pad)) {
                plan.maxBytes += 4 + 4 + o.Connections.size() * 4;
                plan.padsOf[b].push_back(&o);
            }
        }
    }
    return plan;
}

void encodeWithPlan(const LayoutDocument& doc, const EncodingPlan& plan, ByteWriter& out)
{
    out.u32(0xFFAA3300u + kLayoutFileVersion);
    out.i32(static_cast<int32_t>(doc.boardCount()));
    for (size_t b = 0; b < doc.boardCount(); ++b) {
        const Board& board = doc.board(b);
        const ObjectList& list = board.Objects;
        out.shortString(utf8ToCp1251(board.Name), kBoardNameMax);
        const BoardSettings& settings =
            static_cast<int>(b) == doc.ActiveBoard ? doc.Working : board.Settings;
        const BoardImage image = toImage(settings);
        out.bytes(&image, sizeof image);
        out.i32(static_cast<int32_t>(list.size()));

        // A reference to an object outside this list (never made by the
        // editor) is written as none rather than as a wrong position.
        auto positionOf = [&](const LayoutObject* o) {
            const int32_t at = o->ListIndex;
            return at >= 0 && static_cast<size_t>(at) < list.size() && list.at(static_cast<size_t>(at)) == o ? at : -1;
        };
        for (const auto& o : list)
            writeObjectBlock(out, *o, o->Partner ? positionOf(o->Partner) : -1);
        // Counts go before their indices and bytes may already have left
        // the writer, so the references are counted first.
        for (const LayoutObject* o : plan.padsOf[b]) {
            const auto written = std::count_if(o->Connections.begin(), o->Connections.end(),
                                               [&](const LayoutObject* peer) { return positionOf(peer) >= 0; });
            out.i32(static_cast<int32_t>(written));
            for (const LayoutObject* peer : o->Connections)
                if (const int32_t at = positionOf(peer); at >= 0)
                    out.i32(at);
        }
    }
    out.i32(doc.ActiveBoard);
    out.i32(doc.Origin.x);
    out.i32(doc.Origin.y);
}

} // namespace

size_t prepareForWriting(LayoutDocument& doc, bool autosave)
{
    ObjectList* active = doc.currentObjects();
    size_t removed = 0;
    if (active) {
        if (!autosave) {
            // Objects off the board and point lists too short to draw, in one pass.
            const Rect board = doc.Working.boardRect();
            active->removeIf([&](const LayoutObject& o) {
                if (o.hasPoints() && o.Points.size() < 2)
                    return true;
                const bool off = liesOffBoard(o, board);
                removed += off;
                return off;
            });
        }
        compactGroups(*active);
    }
    doc.storeWorkingState();
    return removed;
}

std::vector<uint8_t> encodeDocument(const LayoutDocument& doc)
{
    const EncodingPlan plan = planEncoding(doc);
    ByteWriter out;
    out.reserve(plan.maxBytes);
    encodeWithPlan(doc, plan, out);
    return out.take();
}

Status writeDocument(LayoutDocument& doc, const std::string& path, bool autosave, Language lang, size_t* removed,
                     uint64_t maxBytes)
{
    const auto notSaved = [lang](const Status& s) {
        return Status::failure(tr(lang, "Файл не сохранён. ", "The file was not saved. ") + s.message());
    };
    const size_t cleaned = prepareForWriting(doc, autosave);
    if (removed)
        *removed = cleaned;
    // Planned before the file is opened: a value the readers would refuse
    // stops the save here, and the old file stays.
    EncodingPlan plan;
    try {
        plan = planEncoding(doc);
    } catch (const FormatError& e) {
        return notSaved(Status::failure(e.detail(lang == Language::Russian)));
    }
    // A backup's name is the program's choice: a link found there is
    // replaced, not followed, and a new backup is as private as its document.
    auto file = autosave ? PendingFile::open(path, lang, {.followLinks = false, .permissionsOf = doc.FileName})
                         : PendingFile::open(path, lang);
    if (!file)
        return notSaved(file.status());
    // The image goes to the file in chunks, written on a second thread
    // while the rest is encoded.
    Status written;
    uint64_t bytes = 0;
    {
        BackgroundWrite background(*file);
        ByteWriter out(kWriteChunkBytes, [&](std::vector<uint8_t>& chunk) { background.submit(chunk); });
        encodeWithPlan(doc, plan, out);
        bytes = out.size();
        out.finish();
        written = background.finish();
    }
    // The readers refuse larger files: such a file is not completed, and
    // the old one stays.
    if (written && bytes > maxBytes)
        written = Status::failure(
            tr(lang, "Документ занял бы ", "The document would take ") + std::to_string(bytes) +
            tr(lang, " байт, а файл документа может быть не больше ", " bytes, more than a document file may hold (") +
            std::to_string(maxBytes) + tr(lang, " байт.", " bytes at most)."));
    if (written)
        written = file->complete();
    if (!written)
        return notSaved(written);
    if (!autosave) {
        doc.Saved = true;
        doc.Modified = false;
    }
    return {};
}

Result<LoadedDocument> decodeDocument(const uint8_t* data, size_t size, Language lang, const std::string& name,
                                      bool import)
{
    const int version = headerVersion(data, size);
    if (version < 0)
        return Status::failure(lang == Language::English ? quotedPath(name) + " is not a Kestrel layout file."
                                                         : "Файл " + quotedPath(name) + " не является платой Kestrel.");
    if (version > kLayoutFileVersion)
        return Status::failure(lang == Language::English
                                   ? quotedPath(name) + " was written by a newer version of Kestrel (file version " +
                                         std::to_string(version) + ") and cannot be read."
                                   : "Файл " + quotedPath(name) + " создан более новой версией Kestrel (версия файла " +
                                         std::to_string(version) + ") и не может быть прочитан.");
    ByteReader in(data, size);
    in.take(4, "the file header");
    try {
        LayoutDocument doc;
        if (version < 3) {
            auto board = std::make_unique<Board>();
            board->Name = LayoutDocument::newBoardName(lang, 1);
            const size_t sizeAt = in.offset();
            board->Settings.BoardWidth = in.i32("the board width");
            board->Settings.BoardHeight = in.i32("the board height");
            checkBoardSize(board->Settings.BoardWidth, board->Settings.BoardHeight, sizeAt);
            readOldObjects(in, board->Objects, version);
            if (version == 1)
                convertLegacyGroups(board->Objects);
            doc.appendBoard(std::move(board));
            doc.activate(0);
            doc.Origin = {0, 0};
        } else {
            const size_t boards = in.count(in.i32("the board count"), kMinBoardBlock, "board count");
            for (size_t b = 0; b < boards; ++b) {
                auto board = std::make_unique<Board>();
                board->Name = cp1251ToUtf8(in.shortString(kBoardNameMax, "a board name"));
                const size_t at = in.offset();
                BoardImage image;
                std::memcpy(&image, in.take(sizeof image, "a board header"), sizeof image);
                board->Settings = fromImage(image, at);
                checkBoardSize(image.BoardWidth, image.BoardHeight, at + offsetof(BoardImage, BoardWidth));
                readObjectsV3(in, board->Objects, in.i32("an object count"));
                doc.appendBoard(std::move(board));
            }
            if (!import) {
                if (boards == 0)
                    throw FormatError("the file holds no board", in.offset(), "в файле нет ни одной платы");
                const size_t at = in.offset();
                const int32_t active = in.i32("the active board index");
                doc.Origin.x = in.i32("the origin");
                doc.Origin.y = in.i32("the origin");
                checkOrigin(doc.Origin, at + 4);
                if (active < 0 || static_cast<size_t>(active) >= boards)
                    throw FormatError("active board " + std::to_string(active) + " does not exist", at,
                                      "активной платы " + std::to_string(active) + " нет");
                doc.activate(active);
            }
        }
        finishAfterReading(doc, 0);
        return LoadedDocument{std::move(doc), version};
    } catch (const FormatError& e) {
        return Status::failure(readFailureMessage(lang, name, e.detail(lang == Language::Russian), e.offset));
    } catch (const std::bad_alloc&) {
        return Status::failure(readFailureMessage(lang, name, tr(lang, "недостаточно памяти", "not enough memory"),
                                                  in.offset()));
    }
}

namespace {

// Both files begin alike: a macro given for a layout would fail with the
// reader's view of objects as a board. Only in the current version do the
// two differ enough to tell: an old macro's count, read from a board's
// width, often reads as none.
Status failureOfAMacro(const std::vector<uint8_t>& bytes, Status failed, Language lang, const std::string& path)
{
    if (headerVersion(bytes.data(), bytes.size()) != kLayoutFileVersion)
        return failed;
    const auto macro = decodeMacro(bytes.data(), bytes.size(), lang, path);
    if (!macro || macro->objects.empty())
        return failed;
    return Status::failure(lang == Language::English ? quotedPath(path) + " is a macro file, not a layout."
                                                     : "Файл " + quotedPath(path) + " — макрос, а не плата.");
}

} // namespace

Result<LoadedDocument> readDocument(const std::string& path, Language lang)
{
    const auto bytes = readWholeFile(path, lang);
    if (!bytes)
        return bytes.status();
    auto r = decodeDocument(bytes->data(), bytes->size(), lang, path);
    if (!r)
        return failureOfAMacro(*bytes, r.status(), lang, path);
    r->document.FileName = path;
    return r;
}

Result<LoadedDocument> readImportedBoards(const std::string& path, Language lang)
{
    const auto bytes = readWholeFile(path, lang);
    if (!bytes)
        return bytes.status();
    auto r = decodeDocument(bytes->data(), bytes->size(), lang, path, true);
    if (!r)
        return failureOfAMacro(*bytes, r.status(), lang, path);
    return r;
}

void appendImportedBoards(LayoutDocument& doc, LoadedDocument read, Language lang)
{
    const size_t first = doc.boardCount();
    // An old file keeps no board name: its board is named by its place, as
    // a board added is, not after the document's first.
    if (read.version < 3 && read.document.boardCount() == 1)
        read.document.board(0).Name = LayoutDocument::newBoardName(lang, first + 1);
    read.document.storeWorkingState();
    for (auto& board : read.document.releaseBoards())
        doc.appendBoard(std::move(board));
    doc.Modified = true;
    // An old file brings one board, which becomes active as on opening;
    // version-3 boards are appended inactive.
    if (read.version < 3 && doc.boardCount() > first) {
        doc.activate(static_cast<int>(first));
        doc.Origin = {0, 0};
    }
}

Status importBoards(LayoutDocument& doc, const std::string& path, Language lang)
{
    auto read = readImportedBoards(path, lang);
    if (!read)
        return read.status();
    appendImportedBoards(doc, std::move(*read), lang);
    return {};
}

} // namespace kestrel
