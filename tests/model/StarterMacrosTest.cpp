// The starter macro library in examples/Makros: every file is what the
// footprint code makes today.

#include "StarterMacros.h"
#include "model/MacroFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

using namespace kestrel;
using namespace kestrel::test;

namespace {

const std::string kLibrary = std::string(KESTREL_SOURCE_DIR) + "/examples/Makros/";

TEST(StarterMacros, FilesAreWhatTheGeneratorWrites)
{
    std::set<std::string> generated;
    for (StarterMacro& macro : starterMacros()) {
        generated.insert(macro.fileName);
        EXPECT_EQ(readBytes(kLibrary + macro.fileName), starterMacroBytes(macro))
            << macro.fileName << ": run make_macros and commit examples/Makros";
    }
    std::set<std::string> shipped;
    for (const auto& entry : std::filesystem::directory_iterator(kLibrary))
        shipped.insert(entry.path().filename().string());
    EXPECT_EQ(shipped, generated) << "no stale files in the library";
}

// Pitch: the smallest distance between two pad centres; span: the largest
// horizontal distance (the row spacing of dual rows).
TEST(StarterMacros, PadsOnTheirRealPitches)
{
    const struct {
        const char* file;
        size_t pads;
        int32_t pitch;
        int32_t span;
        bool holes;
    } rows[] = {
        {"DIP-16.kmk", 16, 254, 762, true},    {"SOIC-8.kmk", 8, 127, 540, false},
        {"TO-92.kmk", 3, 127, 254, true}, {"SOT-23.kmk", 3, 190, 190, false}, {"R-axial.kmk", 2, 1016, 1016, true},
        {"Header-1x10.kmk", 10, 254, 2286, true}, {"M3-hole.kmk", 1, 0, 0, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        const auto read = readMacro(kLibrary + r.file, Language::English);
        ASSERT_TRUE(succeeded(read));
        std::vector<const LayoutObject*> pads;
        for (const auto& o : read->objects)
            if (o->is(ObjectKind::Pad))
                pads.push_back(o.get());
        ASSERT_EQ(pads.size(), r.pads);
        double pitch = pads.size() > 1 ? 1e9 : 0;
        int32_t span = 0;
        for (const LayoutObject* a : pads)
            for (const LayoutObject* b : pads) {
                if (a == b)
                    continue;
                pitch = std::min(pitch, std::hypot(double(a->X1 - b->X1), double(a->Y1 - b->Y1)));
                span = std::max(span, a->X1 - b->X1);
            }
        EXPECT_DOUBLE_EQ(pitch, r.pitch);
        EXPECT_EQ(span, r.span);
        for (const LayoutObject* p : pads) {
            EXPECT_EQ(p->holeRadius() > 0, r.holes);
            EXPECT_EQ(p->Layer, Layer::MacroCopper);
        }
        EXPECT_EQ(pads.front()->centre(), (Point{0, 0})) << "pin 1 is the reference point";
    }
}

} // namespace
