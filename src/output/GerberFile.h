#pragma once
// Writer of one extended Gerber (RS-274X) file. It knows nothing of layout
// objects: callers feed moves, draws, arcs, flashes and regions in board
// units (0.01 mm, written unchanged as millimetres with two decimals). The
// aperture table can only be written once the drawing is done, so the body
// is held in memory and joined behind the header when the file is finished.

#include "model/Language.h"
#include "model/Result.h"
#include "model/Types.h"
#include "output/TextBuffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrel {

// One aperture. Kind 0 = pen (circle of diameter Size), 1 = circular pad
// flash (outer radius Size; Hole only distinguishes pads), 3 = rectangle
// flash of half extents HalfWidth x HalfHeight.
struct TBlende {
    uint8_t ApertureKind = 0;
    int32_t DCode = 0;
    int32_t Hole = 0;
    int32_t Size = 0;
    int32_t HalfWidth = 0;
    int32_t HalfHeight = 0;
    bool operator==(const TBlende& o) const
    {
        return ApertureKind == o.ApertureKind && Hole == o.Hole && Size == o.Size && HalfWidth == o.HalfWidth &&
               HalfHeight == o.HalfHeight;
    }
};

class TGerberFile {
public:
    static constexpr uint8_t kPen = 0, kCirclePad = 1, kRectangle = 3;

    std::string Path = "GERBER.GBR";
    bool Mirror = false;
    int32_t MirrorBase = 0; // board width; mirrored x = MirrorBase - x

    // Starts a file whose layer is called `layerName` (%LN).
    void OpenFile(std::string_view layerName);

    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    void MoveTo(Point p) { MoveTo(p.x, p.y); }
    void LineTo(Point p) { LineTo(p.x, p.y); }

    int32_t Penwidth() const { return penWidth_; }
    // Selects (defining on first use) the round pen of diameter w; the
    // selection is written every time.
    void SetPenwidth(int32_t w);

    void SelectAperture(const TBlende& b);
    void Flash();
    void FlashCircle(int32_t hole, int32_t radius);
    void FlashRect(int32_t halfWidth, int32_t halfHeight);
    void FlashOctagon(Point centre, int32_t halfWidth, int32_t halfHeight);
    void FlashRoundRect(Point centre, int32_t halfWidth, int32_t halfHeight);
    // Counter-clockwise arc with the current pen; start == end is a full circle.
    void Arc(Point centre, Point start, Point end);

    void BeginRegion();
    // Closes the contour back to its first vertex when it does not end
    // there already, then ends the region.
    void EndRegion();
    void ClearPolarity();
    void DarkPolarity();
    void BeginPunchLayer();
    // A comment line "G04 text*"; the text must not hold '*' or '%'.
    void Comment(std::string_view text);

    // The finished file text (header, aperture table, body, "M02*").
    std::string Finish();
    // Finishes and writes the file to Path atomically.
    Status CloseFile(Language lang);

    const std::vector<TBlende>& Apertures() const { return apertures_; }
    int32_t NextDCode() const { return nextDCode_; }

private:
    struct Key {
        uint8_t kind;
        int32_t hole, size, halfWidth, halfHeight;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const;
    };

    const TBlende& findOrCreate(const TBlende& request);
    void line(std::string_view text);
    // operation '1' draws (D01), '2' moves (D02)
    void coordinateLine(int32_t x, int32_t y, char operation);
    void writePoint(int32_t x, int32_t y, char operation); // after mirroring
    int32_t mirroredX(int32_t x) const { return Mirror ? MirrorBase - x : x; }
    std::string apertureLine(const TBlende& b) const;

    std::vector<TBlende> apertures_;
    std::unordered_map<Key, size_t, KeyHash> index_;
    size_t lastFound_ = SIZE_MAX;
    int32_t nextDCode_ = 10;
    int32_t penWidth_ = 0;
    std::vector<std::string> headerLines_;
    TextBuffer body_;
    bool inRegion_ = false;
    bool regionStarted_ = false;
    Point regionFirst_, lastWritten_;
    // The largest coordinate or offset written, in units: boards of 1000 mm
    // and more need more integer digits than the usual format declares.
    int64_t reach_ = 0;
    void reach(int64_t v) { reach_ = std::max(reach_, v < 0 ? -v : v); }
};

} // namespace kestrel
