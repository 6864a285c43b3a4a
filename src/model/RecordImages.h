#pragma once
// The on-disk images of an object (74 bytes) and of a board (482 bytes),
// packed exactly as stored; every field offset is checked at compile time.

#include "model/Board.h"
#include "model/LayoutObject.h"

#include <cstddef>
#include <cstdint>

namespace kestrel {

#pragma pack(push, 1)
struct ObjectImage {
    uint8_t Kind;
    int32_t X1, Y1, X2, Y2;
    int32_t Width;
    uint8_t Selected;
    uint8_t Layer;
    uint8_t Shape;
    uint8_t TextValue[16]; // string[15]
    uint32_t Points;
    uint16_t LegacyGroup;
    uint8_t Reserved46;
    int32_t Angle;
    uint32_t Groups;
    uint8_t Reserved55;
    uint8_t Filled;
    int32_t Clearance;
    uint32_t Partner;
    uint32_t Connections;
    uint8_t Reserved69[5];
};

struct BoardImage {
    uint32_t ObjectList;
    int32_t BoardWidth;
    int32_t BoardHeight;
    uint8_t GroundPlane1;
    uint8_t GroundPlane2;
    double Grid;
    double Zoom;
    int32_t ScrollX;
    int32_t ScrollY;
    uint32_t ActiveLayer;
    uint8_t LayerVisible[4];
    uint8_t CopyOn1;
    uint8_t CopyOn2;
    uint8_t CopyFile1[201]; // string[200]
    uint8_t CopyFile2[201];
    int32_t CopyDpi1;
    int32_t CopyDpi2;
    int32_t CopyOffsetX1;
    int32_t CopyOffsetX2;
    int32_t CopyOffsetY1;
    int32_t CopyOffsetY2;
    uint32_t CopyColour1;
    uint32_t CopyColour2;
};
#pragma pack(pop)

static_assert(sizeof(ObjectImage) == 74);
static_assert(offsetof(ObjectImage, X1) == 1);
static_assert(offsetof(ObjectImage, Y1) == 5);
static_assert(offsetof(ObjectImage, X2) == 9);
static_assert(offsetof(ObjectImage, Y2) == 13);
static_assert(offsetof(ObjectImage, Width) == 17);
static_assert(offsetof(ObjectImage, Selected) == 21);
static_assert(offsetof(ObjectImage, Layer) == 22);
static_assert(offsetof(ObjectImage, Shape) == 23);
static_assert(offsetof(ObjectImage, TextValue) == 24);
static_assert(offsetof(ObjectImage, Points) == 40);
static_assert(offsetof(ObjectImage, LegacyGroup) == 44);
static_assert(offsetof(ObjectImage, Reserved46) == 46);
static_assert(offsetof(ObjectImage, Angle) == 47);
static_assert(offsetof(ObjectImage, Groups) == 51);
static_assert(offsetof(ObjectImage, Reserved55) == 55);
static_assert(offsetof(ObjectImage, Filled) == 56);
static_assert(offsetof(ObjectImage, Clearance) == 57);
static_assert(offsetof(ObjectImage, Partner) == 61);
static_assert(offsetof(ObjectImage, Connections) == 65);
static_assert(offsetof(ObjectImage, Reserved69) == 69);

static_assert(sizeof(BoardImage) == 482);
static_assert(offsetof(BoardImage, BoardWidth) == 4);
static_assert(offsetof(BoardImage, BoardHeight) == 8);
static_assert(offsetof(BoardImage, GroundPlane1) == 12);
static_assert(offsetof(BoardImage, GroundPlane2) == 13);
static_assert(offsetof(BoardImage, Grid) == 14);
static_assert(offsetof(BoardImage, Zoom) == 22);
static_assert(offsetof(BoardImage, ScrollX) == 30);
static_assert(offsetof(BoardImage, ScrollY) == 34);
static_assert(offsetof(BoardImage, ActiveLayer) == 38);
static_assert(offsetof(BoardImage, LayerVisible) == 42);
static_assert(offsetof(BoardImage, CopyOn1) == 46);
static_assert(offsetof(BoardImage, CopyOn2) == 47);
static_assert(offsetof(BoardImage, CopyFile1) == 48);
static_assert(offsetof(BoardImage, CopyFile2) == 249);
static_assert(offsetof(BoardImage, CopyDpi1) == 450);
static_assert(offsetof(BoardImage, CopyDpi2) == 454);
static_assert(offsetof(BoardImage, CopyOffsetX1) == 458);
static_assert(offsetof(BoardImage, CopyOffsetX2) == 462);
static_assert(offsetof(BoardImage, CopyOffsetY1) == 466);
static_assert(offsetof(BoardImage, CopyOffsetY2) == 470);
static_assert(offsetof(BoardImage, CopyColour1) == 474);
static_assert(offsetof(BoardImage, CopyColour2) == 478);

// The persistent part of an object; the four Partner bytes are 1 when the
// pad has a partner, the other reference bytes are 0.
ObjectImage toImage(const LayoutObject& o);
// Fills the persistent fields of o from an image. Throws FormatError when
// the text field claims more than 15 characters.
void fromImage(const ObjectImage& image, LayoutObject& o, size_t offsetForErrors);

BoardImage toImage(const BoardSettings& s);
BoardSettings fromImage(const BoardImage& image, size_t offsetForErrors);

} // namespace kestrel
