#pragma once
// A board: its name (the tab caption), its settings record and its objects.

#include "model/ObjectList.h"
#include "model/Units.h"

#include <array>
#include <cstdint>
#include <string>

namespace kestrel {

constexpr int kBoardNameMax = 30;
constexpr int kCopyFileMax = 200;

// The board's size and view state: the 482-byte board record without its
// list reference. While a board is active these values live in the
// document's working state and are written back on every switch.
struct BoardSettings {
    int32_t BoardWidth = 16000;
    int32_t BoardHeight = 10000;
    uint8_t GroundPlane1 = 0;
    uint8_t GroundPlane2 = 0;
    double Grid = kUnitsPerTenthInch;
    double Zoom = 0.1;
    int32_t ScrollX = 0;
    int32_t ScrollY = 0;
    uint32_t ActiveLayer = 1;
    std::array<uint8_t, 4> LayerVisible{1, 1, 0, 0};
    uint8_t CopyOn1 = 0;
    uint8_t CopyOn2 = 0;
    std::string CopyFile1; // UTF-8, at most 200 characters
    std::string CopyFile2;
    int32_t CopyDpi1 = 600;
    int32_t CopyDpi2 = 600;
    int32_t CopyOffsetX1 = 0;
    int32_t CopyOffsetX2 = 0;
    int32_t CopyOffsetY1 = 0;
    int32_t CopyOffsetY2 = 0;
    uint32_t CopyColour1 = 65280;
    uint32_t CopyColour2 = 65280;

    bool operator==(const BoardSettings&) const = default;

    uint8_t groundPlaneOfSide(bool side1) const { return side1 ? GroundPlane1 : GroundPlane2; }
    Rect boardRect() const { return {0, -BoardHeight, BoardWidth, 0}; }
};

struct Board {
    std::string Name; // UTF-8, at most 30 characters
    BoardSettings Settings;
    ObjectList Objects;
};

// Whether the object's bounding rectangle has no positive-area overlap with
// the board rectangle: saving deletes such an object.
bool liesOffBoard(const LayoutObject& o, const Rect& board);

} // namespace kestrel
