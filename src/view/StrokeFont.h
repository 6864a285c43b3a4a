#pragma once
// The built-in stroke font of labels made of tracks. Each glyph is a string
// of two-character tokens: "XX" starts a stroke, "ZZ" ends the glyph, any
// other token is a point (column digit, then the row: a digit counts cells
// above the baseline, "A" and "B" one and two cells below). Glyphs are
// indexed by Windows-1251 code; codes without a glyph have the empty one.

#include "model/Types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// The markers DecodeGlyphPoint returns for the two kinds of control token.
constexpr Point kGlyphStrokeStart{-10, -10};
constexpr Point kGlyphEnd{-20, -20};

std::string_view GlyphString(uint8_t code);

// Token i (0-based) of the glyph: a marker, or a point (u, r) with r
// counting downwards (a digit d gives -d, "A" 1, "B" 2). Past the end, and
// for a token that is not one of the font's, the end marker.
Point DecodeGlyphPoint(uint8_t code, size_t i);

// The glyph's strokes as points (u, v), v the height above the baseline.
std::vector<std::vector<Point>> GlyphStrokes(uint8_t code);

// How many cells the character takes before the gap to the next one:
// 4 for every character with fixed spacing; otherwise 1 for the blank and
// the glyph's largest column (0 for the empty glyph).
int32_t CharAdvance(uint8_t code, bool fixedSpacing);

// Text as the font's codes: UTF-8 mapped to Windows-1251, a character the
// code page lacks becoming code 0 (the empty glyph).
std::string StrokeFontCodes(std::string_view utf8);

// Whether the font draws any character of the UTF-8 text: a label of none
// places nothing.
bool StrokeFontDrawsAny(std::string_view utf8);

} // namespace kestrel
