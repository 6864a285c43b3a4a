#include "model/MacroFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

// The reference point and the saved scope are checked with the macro save;
// here: the record layout, the side-neutral layers and what is not stored.
TEST(MacroFile, WritesTheActiveSideRelativeAndSideNeutral)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = *doc.currentObjects();
    addPad(list, {1000, -1000}, 50, 1, 1);
    auto [top, bottom] = addVia(list, {2000, -1500});
    list.append(makeLine({1000, -2000}, {3000, -2000}, 20, 2)).Selected = 1;
    addTrack(list, {{0, 0}, {100, 0}}, 40, 3); // other side: not written
    addBand(list[0], *top);

    const MacroImage image = encodeMacro(list, true, false, 254.0);
    EXPECT_EQ(image.objectCount, 3u);
    const size_t firstBlock = 8, blockSize = 82;
    auto i32At = [&](size_t at) {
        int32_t v;
        std::memcpy(&v, image.bytes.data() + at, 4);
        return v;
    };
    // Partner at block offset 78: -1 plain pad, -2 via; Selected at 21.
    EXPECT_EQ(i32At(firstBlock + 78), -1);
    EXPECT_EQ(i32At(firstBlock + blockSize + 78), -2);
    EXPECT_EQ(image.bytes[firstBlock + 2 * blockSize + 21], 0);

    auto back = decodeMacro(image.bytes.data(), image.bytes.size(), Language::English, "m.kmk");
    ASSERT_TRUE(succeeded(back));
    const ObjectList& m = back->objects;
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(std::tie(m[0].Layer, m[0].X1, m[0].Y1, m[0].PartnerBytesSet), std::make_tuple(5, 0, 0, false));
    EXPECT_EQ(std::tie(m[1].Layer, m[1].X1, m[1].Y1, m[1].PartnerBytesSet), std::make_tuple(5, 1000, -500, true));
    EXPECT_EQ(m[1].Partner, nullptr);
    EXPECT_EQ(std::tie(m[2].Layer, m[2].Selected), std::make_tuple(6, 0));
    for (const auto& o : m)
        EXPECT_TRUE(o->Connections.empty()) << "bands are not stored";
}

TEST(MacroFile, ReadsOldVersions)
{
    // Version 2: header, i16 count, one old pad record at x = 300, one group number 9.
    std::vector<uint8_t> b = {0x02, 0x33, 0xAA, 0xFF, 1, 0, 2, 0x2C, 0x01};
    b.resize(6 + 49);
    b.insert(b.end(), {1, 0, 9, 0});
    auto r = decodeMacro(b.data(), b.size(), Language::English, "old.kmk");
    ASSERT_TRUE(succeeded(r));
    ASSERT_EQ(r->objects.size(), 1u);
    EXPECT_EQ(std::tie(r->objects[0].X1, r->objects[0].Groups), std::make_tuple(300, std::vector<int32_t>{9}));
    EXPECT_EQ(r->version, 2);
}

// Random damage is the macro fuzz target's job (its finds are replayed by
// FuzzRegressions); every truncation is refused.
TEST(MacroFile, TruncatedMacrosAreRejected)
{
    LayoutDocument doc = sampleDocument();
    const MacroImage image = encodeMacro(*doc.currentObjects(), true, false, 254.0);
    for (size_t n = 0; n < image.bytes.size(); ++n)
        ASSERT_FALSE(decodeMacro(image.bytes.data(), n, Language::English, "m.kmk").ok()) << n;
}

TEST(MacroFile, ValuesOutOfRangeAreRefused)
{
    struct Case {
        const char* what;
        std::vector<Point> points;
        const char* message; // empty: accepted
    };
    const Case cases[] = {
        {"a track 10 m long", {{0, 0}, {1'000'000, 0}}, ""},
        {"a track just over 10 m long", {{0, 0}, {1'000'001, 0}}, "object 0 (a track): point x 1000001"},
        {"a point at the int32 minimum", {{0, 0}, {0, INT32_MIN}}, "point y -2147483648"},
    };
    for (const Case& c : cases) {
        ObjectList list;
        addTrack(list, {{0, 0}, {100, 0}}, 0);
        auto bytes = encodeMacro(list, true, false, 0).bytes;
        // The stored points (header, count, record, groups, point count) replaced.
        const size_t pointsAt = 4 + 4 + 74 + 4 + 4;
        std::memcpy(bytes.data() + pointsAt, c.points.data(), c.points.size() * sizeof(Point));
        auto r = decodeMacro(bytes.data(), bytes.size(), Language::English, "far.kmk");
        EXPECT_EQ(r.ok(), !*c.message) << c.what;
        if (!r) {
            EXPECT_NE(r.message().find(c.message), std::string::npos) << c.what << ": " << r.message();
        }
    }
}
