#include "model/ValueChecks.h"

#include "model/BinaryIO.h"
#include "model/RecordImages.h"
#include "model/ValueRanges.h"

#include <string>

namespace kestrel {

const RecordFieldOffsets kRecordFields{
    offsetof(ObjectImage, X1),    offsetof(ObjectImage, Y1),    offsetof(ObjectImage, X2),
    offsetof(ObjectImage, Y2),    offsetof(ObjectImage, Width), offsetof(ObjectImage, Angle),
    offsetof(ObjectImage, Clearance), offsetof(ObjectImage, Kind),  offsetof(ObjectImage, Layer)};
// Old records hold no clearance; it is set to 40 on reading and never fails.
const RecordFieldOffsets kOldRecordFields{1, 3, 5, 7, 9, 37, 0, 0, 12};

namespace {

struct Field {
    const char* english;
    const char* russian;
};

struct KindName {
    const char* english;
    const char* russian;
};

KindName kindName(const LayoutObject& o)
{
    switch (o.kind()) {
    case ObjectKind::Line: return {"a line", "линия"};
    case ObjectKind::Pad: return {"a pad", "площадка"};
    case ObjectKind::Text: return {"a label", "надпись"};
    case ObjectKind::Zone: return {"a zone", "закраска"};
    case ObjectKind::Circle: return {"a circle", "окружность"};
    case ObjectKind::Track: return {"a track", "дорожка"};
    }
    return {"of unknown kind", "неизвестного вида"};
}

void check(int64_t value, int64_t low, int64_t high, const std::string& englishOwner,
           const std::string& russianOwner, Field field, size_t at)
{
    if (value >= low && value <= high)
        return;
    const std::string v = std::to_string(value), range = std::to_string(low) + ".." + std::to_string(high);
    throw FormatError(englishOwner + ": " + field.english + " " + v + " lies outside " + range, at,
                      russianOwner + ": " + field.russian + " " + v + " вне диапазона " + range);
}

void checkObjectField(int64_t value, int64_t low, int64_t high, size_t index, Field field, size_t at,
                      const LayoutObject* o = nullptr)
{
    // Names are spelt out only for a value that fails: files hold millions of good ones.
    if (value >= low && value <= high)
        return;
    std::string english = "object " + std::to_string(index), russian = "объект " + std::to_string(index);
    if (o) {
        const KindName k = kindName(*o);
        english += std::string(" (") + k.english + ")";
        russian += std::string(" (") + k.russian + ")";
    }
    check(value, low, high, english, russian, field, at);
}

} // namespace

void checkBoardSize(int32_t width, int32_t height, size_t widthAt)
{
    using ranges::kMaxBoardSize;
    check(width, 0, kMaxBoardSize, "the board", "плата", {"width", "ширина"}, widthAt);
    check(height, 0, kMaxBoardSize, "the board", "плата", {"height", "высота"}, widthAt + 4);
}

void checkOrigin(Point origin, size_t at)
{
    using ranges::kMaxCoordinate;
    check(origin.x, -kMaxCoordinate, kMaxCoordinate, "the origin", "начало координат", {"x", "x"}, at);
    check(origin.y, -kMaxCoordinate, kMaxCoordinate, "the origin", "начало координат", {"y", "y"}, at + 4);
}

void checkRecordValues(const LayoutObject& o, size_t index, size_t at, const RecordFieldOffsets& f, bool macro)
{
    using namespace ranges;
    const bool round = o.is(ObjectKind::Pad) || o.is(ObjectKind::Circle);
    // The range test inline: every record of a file passes through here.
    auto field = [&](int64_t value, int64_t low, int64_t high, Field name, size_t offset) {
        if (value < low || value > high)
            checkObjectField(value, low, high, index, name, at + offset, &o);
    };
    // What follows the record depends on the kind, and an object on no
    // layer would be drawn nowhere yet saved: both mean a damaged file.
    field(o.Kind, 1, 6, {"kind", "вид"}, f.kind);
    field(o.Layer, 1, macro ? 6 : 4, {"layer", "слой"}, f.layer);
    field(o.X1, -kMaxCoordinate, kMaxCoordinate, {"x", "x"}, f.x1);
    field(o.Y1, -kMaxCoordinate, kMaxCoordinate, {"y", "y"}, f.y1);
    if (round) {
        field(o.X2, 0, kMaxRadius, {"outer radius", "внешний радиус"}, f.x2);
        field(o.Y2, 0, kMaxRadius, {"inner radius", "внутренний радиус"}, f.y2);
    } else {
        field(o.X2, -kMaxCoordinate, kMaxCoordinate, {"second x", "вторая x"}, f.x2);
        field(o.Y2, -kMaxCoordinate, kMaxCoordinate, {"second y", "вторая y"}, f.y2);
    }
    if (o.is(ObjectKind::Circle))
        field(o.Width, -kMaxAngle, kMaxAngle, {"stop angle", "конечный угол"}, f.width);
    else if (o.is(ObjectKind::Pad) || o.is(ObjectKind::Text)) // a mirrored label has a negative height
        field(o.Width, -kMaxWidth, kMaxWidth, {"width", "ширина"}, f.width);
    else
        field(o.Width, 0, kMaxWidth, {"width", "ширина"}, f.width);
    field(o.Angle, -kMaxAngle, kMaxAngle, {"angle", "угол"}, f.angle);
    field(o.Clearance, 0, kMaxClearance, {"clearance", "зазор"}, f.clearance);
}

void checkPointCount(const LayoutObject& o, size_t count, size_t index, size_t at)
{
    checkObjectField(static_cast<int64_t>(count), 0, ranges::kMaxPoints, index, {"point count", "число точек"}, at, &o);
}

void checkGroupDepth(const LayoutObject& o, size_t count, size_t index, size_t at)
{
    checkObjectField(static_cast<int64_t>(count), 0, ranges::kMaxGroupDepth, index, {"group count", "число групп"}, at, &o);
}

void checkPoint(const LayoutObject& o, Point p, size_t index, size_t at)
{
    using ranges::kMaxCoordinate;
    if (p.x >= -kMaxCoordinate && p.x <= kMaxCoordinate && p.y >= -kMaxCoordinate && p.y <= kMaxCoordinate)
        return;
    checkObjectField(p.x, -kMaxCoordinate, kMaxCoordinate, index, {"point x", "x точки"}, at, &o);
    checkObjectField(p.y, -kMaxCoordinate, kMaxCoordinate, index, {"point y", "y точки"}, at + 4, &o);
}

void checkGroupNumber(const LayoutObject& o, int32_t group, size_t index, size_t at)
{
    checkObjectField(group, 1, ranges::kMaxGroupNumber, index, {"group number", "номер группы"}, at, &o);
}

} // namespace kestrel
