#include "output/GerberFile.h"

#include "geometry/Figures.h"
#include "model/FileIO.h"
#include "model/Units.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace kestrel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr char kDraw = '1', kMove = '2'; // D01, D02

void appendInt(std::string& out, int64_t v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

// v hundredths of a millimetre as millimetres with exactly two decimals;
// integer arithmetic, so no locale and no binary rounding play a part.
std::string fixedMm(int64_t hundredths)
{
    std::string out;
    if (hundredths < 0)
        out += '-';
    const uint64_t a = hundredths < 0 ? 0 - static_cast<uint64_t>(hundredths) : static_cast<uint64_t>(hundredths);
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, wholeMmPart(static_cast<int64_t>(a)));
    out.append(buf, r.ptr);
    const int64_t cents = hundredthsPart(static_cast<int64_t>(a));
    out += '.';
    out += static_cast<char>('0' + cents / 10);
    out += static_cast<char>('0' + cents % 10);
    return out;
}

} // namespace

size_t TGerberFile::KeyHash::operator()(const Key& k) const
{
    uint64_t h = k.kind;
    for (int32_t v : {k.hole, k.size, k.halfWidth, k.halfHeight})
        h = (h ^ static_cast<uint32_t>(v)) * 0x100000001b3ull + (h >> 29);
    return static_cast<size_t>(h);
}

void TGerberFile::OpenFile(std::string_view layerName)
{
    apertures_.clear();
    index_.clear();
    lastFound_ = SIZE_MAX;
    nextDCode_ = 10;
    penWidth_ = 0;
    body_.clear();
    inRegion_ = regionStarted_ = false;
    reach_ = 0;
    headerLines_ = {"%FSLAX32Y32*%", "%MOMM*%", "%LN" + std::string(layerName) + "*%"};
    line("%LPD*%");
    headerLines_.push_back("G71*");
    headerLines_.push_back("G1*");
}

void TGerberFile::line(std::string_view text)
{
    body_.append(text);
    body_.endLine();
}

void TGerberFile::writePoint(int32_t x, int32_t y, char operation)
{
    // "X<x>Y<y>D0<op>*" formatted in place: the body of a large board has
    // millions of these lines.
    reach(x);
    reach(y);
    char* p = body_.room(40);
    *p++ = 'X';
    p = std::to_chars(p, p + 11, x).ptr;
    *p++ = 'Y';
    p = std::to_chars(p, p + 11, y).ptr;
    *p++ = 'D';
    *p++ = '0';
    *p++ = operation;
    *p++ = '*';
    *p++ = '\r';
    *p++ = '\n';
    body_.commit(p);
    lastWritten_ = {x, y};
}

void TGerberFile::coordinateLine(int32_t x, int32_t y, char operation)
{
    x = mirroredX(x);
    if (inRegion_ && operation == kMove) {
        // A new contour: the previous one must end where it began.
        if (regionStarted_ && lastWritten_ != regionFirst_)
            writePoint(regionFirst_.x, regionFirst_.y, kDraw);
        regionStarted_ = true;
        regionFirst_ = {x, y};
    }
    writePoint(x, y, operation);
}

void TGerberFile::MoveTo(int32_t x, int32_t y) { coordinateLine(x, y, kMove); }
void TGerberFile::LineTo(int32_t x, int32_t y) { coordinateLine(x, y, kDraw); }

const TBlende& TGerberFile::findOrCreate(const TBlende& request)
{
    // Consecutive requests for one aperture are common (pads, pens of a
    // run of tracks); they skip the hash lookup.
    if (lastFound_ < apertures_.size() && apertures_[lastFound_] == request)
        return apertures_[lastFound_];
    const Key key{request.ApertureKind, request.Hole, request.Size, request.HalfWidth, request.HalfHeight};
    if (auto it = index_.find(key); it != index_.end()) {
        lastFound_ = it->second;
        return apertures_[lastFound_];
    }
    TBlende b = request;
    b.DCode = nextDCode_++;
    apertures_.push_back(b);
    lastFound_ = apertures_.size() - 1;
    index_.emplace(key, lastFound_);
    return apertures_.back();
}

void TGerberFile::SetPenwidth(int32_t w)
{
    TBlende pen;
    pen.ApertureKind = kPen;
    pen.Size = w;
    const TBlende& b = findOrCreate(pen);
    penWidth_ = w;
    SelectAperture(b);
}

void TGerberFile::SelectAperture(const TBlende& b)
{
    body_.append("G54D");
    body_.appendInt(b.DCode);
    body_.append("*\r\n");
}

void TGerberFile::Flash() { line("D03*"); }

void TGerberFile::FlashCircle(int32_t hole, int32_t radius)
{
    TBlende pad;
    pad.ApertureKind = kCirclePad;
    pad.Hole = hole;
    pad.Size = radius;
    SelectAperture(findOrCreate(pad));
    Flash();
}

void TGerberFile::FlashRect(int32_t halfWidth, int32_t halfHeight)
{
    TBlende rect;
    rect.ApertureKind = kRectangle;
    rect.HalfWidth = halfWidth;
    rect.HalfHeight = halfHeight;
    SelectAperture(findOrCreate(rect));
    Flash();
}

void TGerberFile::FlashOctagon(Point centre, int32_t hw, int32_t hh)
{
    const int32_t pen = penWidth_;
    BeginRegion();
    const auto corners = octagonCorners(centre, hw, hh);
    MoveTo(corners[0]);
    for (size_t i = 1; i < corners.size(); ++i)
        LineTo(corners[i]);
    EndRegion();
    SetPenwidth(pen);
}

void TGerberFile::FlashRoundRect(Point centre, int32_t hw, int32_t hh)
{
    const int32_t pen = penWidth_;
    const int32_t d = roundedCornerDiameter(std::min(hw, hh));
    const int32_t e = d / 2;
    const Point corners[4] = {{centre.x - hw + e, centre.y - hh + e},
                              {centre.x + hw - e, centre.y - hh + e},
                              {centre.x + hw - e, centre.y + hh - e},
                              {centre.x - hw + e, centre.y + hh - e}};
    BeginRegion();
    MoveTo(corners[0]);
    for (int i = 1; i < 4; ++i)
        LineTo(corners[i]);
    EndRegion();
    // Stroking the inner rectangle with a round pen of diameter d rounds the
    // corners and restores the full outer extent.
    SetPenwidth(d);
    MoveTo(corners[0]);
    for (int i = 1; i < 4; ++i)
        LineTo(corners[i]);
    LineTo(corners[0]);
    SetPenwidth(pen);
}

void TGerberFile::Arc(Point centre, Point start, Point end)
{
    if (Mirror) {
        centre.x = mirroredX(centre.x);
        start.x = mirroredX(start.x);
        end.x = mirroredX(end.x);
        std::swap(start, end); // mirroring reverses the direction
    }
    line("G75*");
    appendCoordinateLine(body_, "G01X", start.x, "Y", start.y, "D02*");
    char* p = body_.room(128);
    auto put = [&p](std::string_view text, int64_t v) {
        p += text.copy(p, text.size());
        p = std::to_chars(p, p + 21, v).ptr;
    };
    for (const int64_t v : {int64_t{start.x}, int64_t{start.y}, int64_t{end.x}, int64_t{end.y},
                            int64_t{centre.x} - start.x, int64_t{centre.y} - start.y})
        reach(v);
    put("G03X", end.x);
    put("Y", end.y);
    put("I", int64_t{centre.x} - start.x);
    put("J", int64_t{centre.y} - start.y);
    body_.commit(p);
    line("D01*");
    lastWritten_ = end;
    line("G01*");
}

void TGerberFile::Comment(std::string_view text)
{
    std::string l = "G04 ";
    for (char c : text)
        l += c == '*' || c == '%' ? ' ' : c;
    l += '*';
    line(l);
}

void TGerberFile::BeginRegion()
{
    line("G36*");
    inRegion_ = true;
    regionStarted_ = false;
}

void TGerberFile::EndRegion()
{
    if (inRegion_ && regionStarted_ && lastWritten_ != regionFirst_)
        writePoint(regionFirst_.x, regionFirst_.y, kDraw);
    inRegion_ = regionStarted_ = false;
    line("G37*");
}

void TGerberFile::ClearPolarity() { line("%LPC*%"); }
void TGerberFile::DarkPolarity() { line("%LPD*%"); }

void TGerberFile::BeginPunchLayer()
{
    line("%LNAUGENFREISTANZEN*%");
    line("%LPC*%");
}

std::string TGerberFile::apertureLine(const TBlende& b) const
{
    std::string s = "%ADD";
    appendInt(s, b.DCode);
    switch (b.ApertureKind) {
    case kPen:
        s += "C," + fixedMm(b.Size);
        break;
    case kCirclePad:
        s += "C," + fixedMm(2 * static_cast<int64_t>(b.Size));
        break;
    default:
        s += "R," + fixedMm(2 * static_cast<int64_t>(b.HalfWidth)) + "X" +
             fixedMm(2 * static_cast<int64_t>(b.HalfHeight));
        break;
    }
    return s + "*%";
}

std::string TGerberFile::Finish()
{
    line("M02*");
    // Three integer digits hold 999.99 mm; a larger board declares as many
    // as its coordinates need (at most the six the format allows).
    int digits = 3;
    for (int64_t limit = 100'000; reach_ >= limit && digits < 6; limit *= 10)
        ++digits;
    if (digits > 3)
        headerLines_[0] = "%FSLAX" + std::to_string(digits) + "2Y" + std::to_string(digits) + "2*%";
    std::string header;
    for (const std::string& h : headerLines_) {
        header += h;
        header += kLineEnd;
    }
    for (const TBlende& b : apertures_) {
        header += apertureLine(b);
        header += kLineEnd;
    }
    return body_.take(header);
}

Status TGerberFile::CloseFile(Language lang) { return writeFileAtomically(Path, Finish(), lang); }

} // namespace kestrel
