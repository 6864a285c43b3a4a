#include "model/RecordImages.h"

#include "model/BinaryIO.h"
#include "model/TextCodec.h"

#include <cstring>

namespace kestrel {

namespace {

template <size_t N>
void putString(uint8_t (&field)[N], const std::string& utf8, size_t maxChars)
{
    const std::string bytes = utf8ToCp1251(utf8);
    const size_t len = std::min(bytes.size(), maxChars);
    std::memset(field, 0, N);
    field[0] = static_cast<uint8_t>(len);
    std::memcpy(field + 1, bytes.data(), len);
}

template <size_t N>
std::string getString(const uint8_t (&field)[N], const char* what, size_t offset)
{
    if (field[0] > N - 1)
        throw FormatError(std::string(what) + " claims " + std::to_string(field[0]) +
                              " characters, more than its " + std::to_string(N - 1),
                          offset,
                          russianPart(what) + ": знаков " + std::to_string(field[0]) + ", допустимо не больше " +
                              std::to_string(N - 1));
    return cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(field + 1), field[0]));
}

} // namespace

ObjectImage toImage(const LayoutObject& o)
{
    ObjectImage im{};
    im.Kind = o.Kind;
    im.X1 = o.X1;
    im.Y1 = o.Y1;
    im.X2 = o.X2;
    im.Y2 = o.Y2;
    im.Width = o.Width;
    im.Selected = o.Selected;
    im.Layer = o.Layer;
    im.Shape = o.Shape;
    putString(im.TextValue, o.TextValue, kTextValueMax);
    im.LegacyGroup = o.LegacyGroup;
    im.Reserved46 = o.Reserved46;
    im.Angle = o.Angle;
    im.Reserved55 = o.Reserved55;
    im.Filled = o.Filled;
    im.Clearance = o.Clearance;
    im.Partner = o.Partner ? 1u : 0u;
    std::memcpy(im.Reserved69, o.Reserved69.data(), 5);
    return im;
}

void fromImage(const ObjectImage& im, LayoutObject& o, size_t offsetForErrors)
{
    o.Kind = im.Kind;
    o.X1 = im.X1;
    o.Y1 = im.Y1;
    o.X2 = im.X2;
    o.Y2 = im.Y2;
    o.Width = im.Width;
    o.Selected = im.Selected;
    o.Layer = im.Layer;
    o.Shape = im.Shape;
    o.TextValue = getString(im.TextValue, "a label text", offsetForErrors + offsetof(ObjectImage, TextValue));
    o.LegacyGroup = im.LegacyGroup;
    o.Reserved46 = im.Reserved46;
    o.Angle = im.Angle;
    o.Reserved55 = im.Reserved55;
    o.Filled = im.Filled;
    o.Clearance = im.Clearance;
    o.PartnerBytesSet = im.Partner != 0;
    std::memcpy(o.Reserved69.data(), im.Reserved69, 5);
}

BoardImage toImage(const BoardSettings& s)
{
    BoardImage im{};
    im.BoardWidth = s.BoardWidth;
    im.BoardHeight = s.BoardHeight;
    im.GroundPlane1 = s.GroundPlane1;
    im.GroundPlane2 = s.GroundPlane2;
    im.Grid = s.Grid;
    im.Zoom = s.Zoom;
    im.ScrollX = s.ScrollX;
    im.ScrollY = s.ScrollY;
    im.ActiveLayer = s.ActiveLayer;
    std::memcpy(im.LayerVisible, s.LayerVisible.data(), 4);
    im.CopyOn1 = s.CopyOn1;
    im.CopyOn2 = s.CopyOn2;
    putString(im.CopyFile1, s.CopyFile1, kCopyFileMax);
    putString(im.CopyFile2, s.CopyFile2, kCopyFileMax);
    im.CopyDpi1 = s.CopyDpi1;
    im.CopyDpi2 = s.CopyDpi2;
    im.CopyOffsetX1 = s.CopyOffsetX1;
    im.CopyOffsetX2 = s.CopyOffsetX2;
    im.CopyOffsetY1 = s.CopyOffsetY1;
    im.CopyOffsetY2 = s.CopyOffsetY2;
    im.CopyColour1 = s.CopyColour1;
    im.CopyColour2 = s.CopyColour2;
    return im;
}

BoardSettings fromImage(const BoardImage& im, size_t offsetForErrors)
{
    BoardSettings s;
    s.BoardWidth = im.BoardWidth;
    s.BoardHeight = im.BoardHeight;
    s.GroundPlane1 = im.GroundPlane1;
    s.GroundPlane2 = im.GroundPlane2;
    s.Grid = im.Grid;
    s.Zoom = im.Zoom;
    s.ScrollX = im.ScrollX;
    s.ScrollY = im.ScrollY;
    s.ActiveLayer = im.ActiveLayer & 0xFF; // only the low byte carries the layer
    std::memcpy(s.LayerVisible.data(), im.LayerVisible, 4);
    s.CopyOn1 = im.CopyOn1;
    s.CopyOn2 = im.CopyOn2;
    s.CopyFile1 = getString(im.CopyFile1, "the first scanned-copy file name",
                            offsetForErrors + offsetof(BoardImage, CopyFile1));
    s.CopyFile2 = getString(im.CopyFile2, "the second scanned-copy file name",
                            offsetForErrors + offsetof(BoardImage, CopyFile2));
    s.CopyDpi1 = im.CopyDpi1;
    s.CopyDpi2 = im.CopyDpi2;
    s.CopyOffsetX1 = im.CopyOffsetX1;
    s.CopyOffsetX2 = im.CopyOffsetX2;
    s.CopyOffsetY1 = im.CopyOffsetY1;
    s.CopyOffsetY2 = im.CopyOffsetY2;
    s.CopyColour1 = im.CopyColour1;
    s.CopyColour2 = im.CopyColour2;
    return s;
}

} // namespace kestrel
