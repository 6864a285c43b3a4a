#include "model/ObjectCodec.h"

#include "model/QuotedPath.h"
#include "model/RecordImages.h"
#include "model/TextCodec.h"
#include "model/ValueChecks.h"

namespace kestrel {

namespace {
constexpr size_t kMinObjectBlock = sizeof(ObjectImage) + 4; // record and group count
constexpr size_t kOldRecordSize = 49;

template <typename T>
void readArray(ByteReader& in, PackedList<T>& into, size_t count, const char* what)
{
    into.resize(count);
    if (count > 0)
        std::memcpy(into.data(), in.take(count * sizeof(T), what), count * sizeof(T));
}
} // namespace

int headerVersion(const uint8_t* data, size_t size)
{
    if (size < 4)
        return -1;
    uint32_t header;
    std::memcpy(&header, data, 4);
    const int version = static_cast<int>(header & 0xFF);
    return (header & 0xFFFFFF00u) == kFileMagic && version <= kLastPlausibleVersion ? version : -1;
}

std::string readFailureMessage(Language lang, const std::string& name, const std::string& detail, size_t offset)
{
    if (lang == Language::English)
        return "Cannot read " + quotedPath(name) + ": " + detail + " (at byte " + std::to_string(offset) + ").";
    return "Файл " + quotedPath(name) + " не прочитан: " + detail + " (байт " + std::to_string(offset) + ").";
}

void writeObjectBlock(ByteWriter& out, const LayoutObject& o, int32_t partnerField)
{
    const ObjectImage image = toImage(o);
    out.bytes(&image, sizeof image);
    out.i32(static_cast<int32_t>(o.Groups.size()));
    out.bytes(o.Groups.data(), o.Groups.size() * sizeof(int32_t));
    if (o.hasPoints()) {
        out.i32(static_cast<int32_t>(o.Points.size()));
        out.bytes(o.Points.data(), o.Points.size() * sizeof(Point));
    }
    if (o.is(ObjectKind::Pad))
        out.i32(partnerField);
}

void readObjectsV3(ByteReader& in, ObjectList& list, int64_t count, bool macro)
{
    const size_t n = in.count(count, kMinObjectBlock, "object count");
    std::vector<LayoutObject*> pads;
    std::vector<int32_t> partnerOfPad;
    list.reserve(list.size() + n);
    for (size_t i = 0; i < n; ++i) {
        auto o = std::make_unique<LayoutObject>();
        const size_t at = in.offset();
        ObjectImage image;
        std::memcpy(&image, in.take(sizeof image, "an object record"), sizeof image);
        fromImage(image, *o, at);
        checkRecordValues(*o, i, at, kRecordFields, macro);
        o->Routed = 0;
        const size_t groups = in.count(in.i32("a group count"), 4, "group count");
        checkGroupDepth(*o, groups, i, in.offset() - 4);
        const size_t groupsAt = in.offset();
        readArray(in, o->Groups, groups, "the group numbers");
        for (size_t k = 0; k < groups; ++k)
            checkGroupNumber(*o, o->Groups[k], i, groupsAt + 4 * k);
        o->SelectedInFile = o->Selected != 0;
        o->Selected = 0;
        o->FillOn = 1;
        if (o->hasPoints()) {
            const size_t points = in.count(in.i32("a point count"), 8, "point count");
            checkPointCount(*o, points, i, in.offset() - 4);
            const size_t pointsAt = in.offset();
            readArray(in, o->Points, points, "the points");
            for (size_t k = 0; k < points; ++k)
                checkPoint(*o, o->Points[k], i, pointsAt + 8 * k);
        }
        if (o->is(ObjectKind::Pad)) {
            const size_t fieldAt = in.offset();
            const int32_t partner = in.i32("a partner index");
            if (!macro && partner >= static_cast<int64_t>(n))
                throw FormatError("partner index " + std::to_string(partner) + " of object " +
                                      std::to_string(i) + " lies outside the board's " +
                                      std::to_string(n) + " objects",
                                  fieldAt,
                                  "номер пары " + std::to_string(partner) + " у объекта " + std::to_string(i) +
                                      " вне " + std::to_string(n) + " объектов платы");
            pads.push_back(o.get());
            partnerOfPad.push_back(partner);
        }
        list.append(std::move(o));
    }
    for (size_t k = 0; k < pads.size(); ++k) {
        LayoutObject* pad = pads[k];
        const int32_t partner = partnerOfPad[k];
        pad->Partner = !macro && partner >= 0 ? list.at(static_cast<size_t>(partner)) : nullptr;
        const size_t c = in.count(in.i32("a connection count"), 4, "connection count");
        if (macro) {
            in.take(c * 4, "the connection indices");
            continue;
        }
        pad->Connections.reserve(c);
        for (size_t k = 0; k < c; ++k) {
            const size_t at = in.offset();
            const int32_t index = in.i32("a connection index");
            if (index < 0 || static_cast<size_t>(index) >= n)
                throw FormatError("connection index " + std::to_string(index) +
                                      " lies outside the board's " + std::to_string(n) + " objects",
                                  at,
                                  "номер соединения " + std::to_string(index) + " вне " + std::to_string(n) +
                                      " объектов платы");
            LayoutObject* peer = list.at(static_cast<size_t>(index));
            if (!peer->is(ObjectKind::Pad))
                throw FormatError("connection index " + std::to_string(index) + " does not name a pad", at,
                                  "номер соединения " + std::to_string(index) + " указывает не на площадку");
            pad->Connections.push_back(peer);
        }
    }
}

void readOldObjects(ByteReader& in, ObjectList& list, int version, bool macro)
{
    const int16_t rawCount = in.i16("the object count");
    const size_t n = rawCount < 1 ? 0 : in.count(rawCount, kOldRecordSize, "object count");
    for (size_t i = 0; i < n; ++i) {
        const size_t at = in.offset();
        ByteReader rec(in.take(kOldRecordSize, "an old object record"), kOldRecordSize);
        auto o = std::make_unique<LayoutObject>();
        o->Kind = rec.u8("");
        o->X1 = rec.i16("");
        o->Y1 = rec.i16("");
        o->X2 = rec.i16("");
        o->Y2 = rec.i16("");
        o->Width = rec.i16("");
        o->Selected = rec.u8("");
        o->Layer = rec.u8("");
        o->Shape = rec.u8("");
        const uint8_t* text = rec.take(16, "");
        if (text[0] > kTextValueMax)
            throw FormatError("a label text claims " + std::to_string(text[0]) + " characters, more than its 15",
                              at + 14,
                              "текст надписи: знаков " + std::to_string(text[0]) + ", допустимо не больше 15");
        o->TextValue = cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(text + 1), text[0]));
        rec.take(4, "");
        o->LegacyGroup = rec.u16("");
        o->Reserved46 = rec.u8("");
        o->Angle = rec.i16("");
        rec.take(4, "");
        o->Reserved55 = rec.u8("");

        if (version == 2) {
            const int16_t g = in.i16("a group count");
            const size_t groups = g < 1 ? 0 : in.count(g, 2, "group count");
            o->Groups.reserve(groups);
            for (size_t k = 0; k < groups; ++k)
                o->Groups.push_back(in.i16("a group number"));
        }
        if (o->is(ObjectKind::Circle)) {
            o->Angle = 0;
            o->Width = 0;
            o->Filled = 0;
        }
        checkRecordValues(*o, i, at, kOldRecordFields, macro);
        o->SelectedInFile = o->Selected != 0;
        o->Selected = 0;
        o->FillOn = 1;
        if (o->hasPoints()) {
            const int16_t p = in.i16("a point count");
            const size_t points = p < 1 ? 0 : in.count(p, 4, "point count");
            o->Points.resize(points);
            for (Point& pt : o->Points) {
                pt.x = in.i16("a point");
                pt.y = in.i16("a point");
            }
        }
        o->Clearance = 40;
        o->Partner = nullptr;
        list.append(std::move(o));
    }
}

} // namespace kestrel
