#include "geometry/CutIns.h"

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

Region square(int32_t left, int32_t bottom, int32_t size)
{
    return Region::rectangle({left, bottom, left + size, bottom + size});
}

} // namespace

// Each contour must fill exactly what the region fills: its cuts have no
// width, so the contours filled by the non-zero rule give the region back.
TEST(CutIns, ContoursCoverTheRegionExactly)
{
    const Region board = square(0, 0, 1000);
    const struct {
        const char* why;
        Region region;
        size_t contours;
    } rows[] = {
        {"no hole", board, 1},
        {"one hole", board.subtracted(square(400, 400, 200)), 1},
        {"two holes whose rightmost corners share a height", board.subtracted(square(100, 400, 200))
                                                                 .subtracted(square(600, 400, 200)),
         1},
        {"an island in a hole is a contour of its own", board.subtracted(square(200, 200, 600)).united(square(400, 400, 200)),
         2},
        {"a glyph-like ring of many corners", Region::disc({500, 500}, 400).subtracted(Region::disc({500, 500}, 250)),
         1},
        {"two separate outlines", square(0, 0, 100).united(square(300, 0, 100)), 2},
    };
    for (const auto& r : rows) {
        const std::vector<Polygon> contours = cutInContours(r.region);
        EXPECT_EQ(contours.size(), r.contours) << r.why;
        double area = 0;
        for (const Polygon& c : contours)
            area += Region::fromPolygon(c).area();
        EXPECT_DOUBLE_EQ(area, r.region.area()) << r.why;
        EXPECT_DOUBLE_EQ(Region::fromPolygons(contours).xored(r.region).area(), 0) << r.why;
    }
}
