#include "model/MacroFile.h"

#include "geometry/Geometry.h"
#include "model/BinaryIO.h"
#include "model/FileIO.h"
#include "model/Groups.h"
#include "model/LayoutFile.h"
#include "model/ObjectCodec.h"
#include "model/QuotedPath.h"
#include "model/ValueChecks.h"

#include <cmath>
#include <new>

namespace kestrel {

Point macroReferencePoint(const std::vector<const LayoutObject*>& objects, double grid)
{
    bool havePad = false;
    Point ref;
    for (const LayoutObject* o : objects) {
        if (!o->is(ObjectKind::Pad))
            continue;
        if (!havePad || (o->X1 <= ref.x && o->Y1 >= ref.y)) {
            ref = {o->X1, o->Y1};
            havePad = true;
        }
    }
    if (havePad)
        return ref;

    bool any = false;
    Rect bounds;
    for (const LayoutObject* o : objects) {
        const Rect r = BoundingRect(*o);
        bounds = any ? bounds.united(r) : r;
        any = true;
    }
    auto toGrid = [grid](int32_t v) {
        // A grid of 15.875 units has multiples between whole units: round the
        // multiple itself to the nearest unit rather than cutting it off.
        return grid > 0 ? static_cast<int32_t>(std::lround(std::nearbyint(v / grid) * grid)) : v;
    };
    return {toGrid(bounds.left), toGrid(bounds.bottom)};
}

MacroImage encodeMacro(ObjectList& board, bool activeSideIs1, bool selectionOnly, double grid)
{
    removeDegenerate(board);
    MacroImage image;
    std::vector<LayoutObject*> chosen;
    std::vector<size_t> chosenAt; // their places on the board
    for (size_t i = 0; i < board.size(); ++i)
        if (Layer::isSide1(board[i].Layer) == activeSideIs1 && (!selectionOnly || board[i].Selected)) {
            chosen.push_back(&board[i]);
            chosenAt.push_back(i);
        }
    // Only the written objects place the reference point: a pad on the other
    // side would shift the macro by an offset nobody can see in it.
    image.reference = macroReferencePoint(std::vector<const LayoutObject*>(chosen.begin(), chosen.end()), grid);
    image.objectCount = chosen.size();

    ByteWriter out;
    out.u32(0xFFAA3303u);
    out.i32(static_cast<int32_t>(chosen.size()));
    for (size_t i = 0; i < chosen.size(); ++i) {
        LayoutObject copy = copyObject(*chosen[i]);
        translate(copy, -image.reference.x, -image.reference.y);
        if (copy.Layer == 1 || copy.Layer == 3)
            copy.Layer = Layer::MacroCopper;
        else if (copy.Layer == 2 || copy.Layer == 4)
            copy.Layer = Layer::MacroSilk;
        copy.Selected = 0;
        // Moved to the reference point, objects far apart may lie beyond
        // what a macro file holds, and its reader would refuse the file.
        // Named by its place on the board, as the commands name objects.
        checkRecordValues(copy, chosenAt[i], 0, kRecordFields, true);
        for (const Point& p : copy.Points)
            checkPoint(copy, p, chosenAt[i], 0);
        writeObjectBlock(out, copy, copy.Partner ? -2 : -1);
    }
    for (LayoutObject* source : chosen)
        if (source->is(ObjectKind::Pad))
            out.i32(0);
    image.bytes = out.take();
    return image;
}

Result<size_t> writeMacro(const std::string& path, ObjectList& board, bool activeSideIs1, bool selectionOnly,
                          double grid, Language lang)
{
    MacroImage image;
    try {
        image = encodeMacro(board, activeSideIs1, selectionOnly, grid);
    } catch (const FormatError& e) {
        return Status::failure(tr(lang, "Макрос не сохранён. ", "The macro was not saved. ") +
                               e.detail(lang == Language::Russian));
    }
    const Status written = writeFileAtomically(path, image.bytes, lang);
    if (!written)
        return Status::failure(tr(lang, "Макрос не сохранён. ", "The macro was not saved. ") + written.message());
    return image.objectCount;
}

Result<LoadedMacro> decodeMacro(const uint8_t* data, size_t size, Language lang, const std::string& name)
{
    const int version = headerVersion(data, size);
    if (version < 0)
        return Status::failure(lang == Language::English ? quotedPath(name) + " is not a Kestrel macro file."
                                                         : "Файл " + quotedPath(name) + " не является макросом Kestrel.");
    ByteReader in(data, size);
    in.take(4, "the file header");
    try {
        if (version > 3)
            throw FormatError("the macro was written by a newer version of Kestrel (file version " +
                                  std::to_string(version) + ")",
                              0,
                              "макрос записан более новой версией Kestrel (версия файла " + std::to_string(version) +
                                  ")");
        ObjectList list;
        if (version < 3) {
            readOldObjects(in, list, version, true);
            // Grouped as a version-1 layout's objects are, or the parts of
            // the macro that belonged together would come apart.
            if (version == 1)
                convertLegacyGroups(list);
        } else
            readObjectsV3(in, list, in.i32("the object count"), true);
        removeDegenerate(list);
        return LoadedMacro{std::move(list), version};
    } catch (const FormatError& e) {
        return Status::failure(readFailureMessage(lang, name, e.detail(lang == Language::Russian), e.offset));
    } catch (const std::bad_alloc&) {
        return Status::failure(readFailureMessage(lang, name, tr(lang, "недостаточно памяти", "not enough memory"),
                                                  in.offset()));
    }
}

Result<LoadedMacro> readMacro(const std::string& path, Language lang)
{
    const auto bytes = readWholeFile(path, lang);
    if (!bytes)
        return bytes.status();
    auto r = decodeMacro(bytes->data(), bytes->size(), lang, path);
    // Both files begin alike: a layout given for a macro would fail with
    // the reader's view of a board's bytes as objects (told apart in the
    // current version only, as a layout's reader does).
    if (!r && headerVersion(bytes->data(), bytes->size()) == kLayoutFileVersion &&
        decodeDocument(bytes->data(), bytes->size(), lang, path))
        return Status::failure(lang == Language::English ? quotedPath(path) + " is a layout file, not a macro."
                                                         : "Файл " + quotedPath(path) + " — плата, а не макрос.");
    return r;
}

} // namespace kestrel
