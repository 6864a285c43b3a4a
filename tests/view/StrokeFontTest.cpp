#include "view/StrokeFont.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

// Every code's glyph is well formed: two-character tokens ending in "ZZ",
// strokes opened by "XX", points inside the cell grid.
TEST(StrokeFont, EveryGlyphParses)
{
    int withStrokes = 0;
    for (int code = 0; code < 256; ++code) {
        const std::string_view g = GlyphString(static_cast<uint8_t>(code));
        ASSERT_EQ(g.size() % 2, 0u) << code;
        ASSERT_GE(g.size(), 2u) << code;
        EXPECT_EQ(g.substr(g.size() - 2), "ZZ") << code;
        const size_t tokens = g.size() / 2;
        bool inStroke = false;
        for (size_t i = 0; i + 1 < tokens; ++i) {
            const Point p = DecodeGlyphPoint(static_cast<uint8_t>(code), i);
            ASSERT_NE(p, kGlyphEnd) << code << " token " << i << " ends early";
            if (p == kGlyphStrokeStart) {
                inStroke = true;
                continue;
            }
            EXPECT_TRUE(inStroke) << code << ": a point before the first stroke";
            EXPECT_TRUE(p.x >= 0 && p.x <= 6 && p.y >= -8 && p.y <= 2) << code << " token " << i;
        }
        EXPECT_EQ(DecodeGlyphPoint(static_cast<uint8_t>(code), tokens - 1), kGlyphEnd) << code;
        for (const auto& stroke : GlyphStrokes(static_cast<uint8_t>(code)))
            EXPECT_GE(stroke.size(), 2u) << code << ": a stroke needs two points (a dot repeats one)";
        withStrokes += tokens > 1;
    }
    EXPECT_EQ(withStrokes, 81);
}

TEST(StrokeFont, AdvancesAndCodes)
{
    EXPECT_EQ(CharAdvance(' ', false), 1);
    EXPECT_EQ(CharAdvance('#', false), 0) << "no glyph, no advance";
    EXPECT_EQ(CharAdvance('#', true), 4);
    EXPECT_EQ(StrokeFontCodes("A\u0416\u00B5\u4E2D"), std::string("A\xC6\xB5", 3) + '\0');
    EXPECT_EQ(GlyphString(0xC6), "ZZ");
    // The underscore runs along the baseline as wide as the minus above it,
    // not upright like a bar.
    EXPECT_EQ(GlyphStrokes('_'), (std::vector<std::vector<Point>>{{{0, 0}, {4, 0}}}));
    EXPECT_EQ(CharAdvance('_', false), CharAdvance('-', false));
}

} // namespace
} // namespace kestrel
