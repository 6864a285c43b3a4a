#include "model/MacroFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

// The reference point and the saved scope are checked with the macro save;
// here: the side-neutral layers, the via marker and what is not stored.
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

    // Side 2 alike: its copper and its silk become the macro's two layers.
    list.append(makeLine({1000, -2500}, {3000, -2500}, 20, 4));
    const MacroImage side2 = encodeMacro(list, false, false, 254.0);
    auto back2 = decodeMacro(side2.bytes.data(), side2.bytes.size(), Language::English, "m2.kmk");
    ASSERT_TRUE(succeeded(back2));
    std::vector<int> layers;
    for (const auto& o : back2->objects)
        layers.push_back(o->Layer);
    EXPECT_EQ(layers, (std::vector<int>{5, 5, 6})) << "the via's lower pad, the track and the silk line";
}

TEST(MacroFile, ReadsOldVersions)
{
    // Version 2: header, i16 count, one old pad record at x = 300, one group number 9.
    std::vector<uint8_t> b = {0x02, 0x33, 0xAA, 0xFF, 1, 0, 2, 0x2C, 0x01};
    b.resize(6 + 49);
    b[6 + 12] = 1; // layer
    b.insert(b.end(), {1, 0, 9, 0});
    auto r = decodeMacro(b.data(), b.size(), Language::English, "old.kmk");
    ASSERT_TRUE(succeeded(r));
    ASSERT_EQ(r->objects.size(), 1u);
    EXPECT_EQ(std::tie(r->objects[0].X1, r->objects[0].Groups), std::make_tuple(300, std::vector<int32_t>{9}));
    EXPECT_EQ(r->version, 2);

    // Version 1: three pads, the first two sharing the old single group number 5,
    // which makes them one group as in a version-1 layout.
    std::vector<uint8_t> v1 = {0x01, 0x33, 0xAA, 0xFF, 3, 0};
    for (const uint8_t legacy : {5, 5, 0}) {
        std::vector<uint8_t> record(49, 0);
        record[0] = 2;
        record[12] = 1; // layer
        record[34] = legacy;
        v1.insert(v1.end(), record.begin(), record.end());
    }
    auto old = decodeMacro(v1.data(), v1.size(), Language::English, "v1.kmk");
    ASSERT_TRUE(succeeded(old));
    ASSERT_EQ(old->objects.size(), 3u);
    EXPECT_EQ(old->objects[0].Groups, std::vector<int32_t>{1});
    EXPECT_EQ(old->objects[1].Groups, std::vector<int32_t>{1});
    EXPECT_TRUE(old->objects[2].Groups.empty());
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

// Macros share the layouts' value checks (the 10 m limit of a point is checked
// with the layout save); here a point at the int32 minimum.
TEST(MacroFile, ValuesOutOfRangeAreRefused)
{
    ObjectList list;
    addTrack(list, {{0, 0}, {100, 0}}, 0);
    auto bytes = encodeMacro(list, true, false, 0).bytes;
    // The last point's y (after header, count, record, groups, point count and one point).
    const int32_t y = INT32_MIN;
    std::memcpy(bytes.data() + 4 + 4 + 74 + 4 + 4 + 8 + 4, &y, 4);
    auto newer = bytes;
    newer[0] = 4;
    const auto refused = decodeMacro(newer.data(), newer.size(), Language::English, "v4.kmk");
    EXPECT_NE(refused.message().find("newer version of Kestrel (file version 4)"), std::string::npos)
        << refused.message();
    auto r = decodeMacro(bytes.data(), bytes.size(), Language::English, "far.kmk");
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.message().find("object 0 (a track): point y -2147483648"), std::string::npos) << r.message();

    // Objects at both ends of the coordinates lie beyond them once moved to
    // the reference point: no file is written that could not be read.
    ObjectList far;
    addPad(far, {0, 0}, 50, 1, Layer::K2); // of the other side, not written
    addPad(far, {-1000000, -1000000}, 50);
    addPad(far, {1000000, 1000000}, 50);
    TempDir dir;
    const Result<size_t> written = writeMacro(dir.file("far.kmk"), far, true, false, 0, Language::English);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.message().rfind("The macro was not saved. object 2 (a pad): x 2000000 lies outside", 0), 0u) << written.message();
    EXPECT_FALSE(std::ifstream(dir.file("far.kmk")).good());
}
