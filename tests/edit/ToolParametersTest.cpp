#include "edit/ToolParameters.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(ToolParameters, ClearanceGoesToExactlyTheSelectedObjects)
{
    ObjectList list;
    for (int i = 0; i < 5; ++i)
        test::addTrack(list, {{0, 0}, {100, 0}}).Selected = (i % 2 == 0) ? 1 : 0;
    EXPECT_EQ(applyClearanceToSelection(list, 120), 3u);
    std::vector<int32_t> clearances;
    for (const auto& o : list)
        clearances.push_back(o->Clearance);
    EXPECT_EQ(clearances, (std::vector<int32_t>{120, 40, 120, 40, 120}));
    EXPECT_EQ(applyClearanceToSelection(list, 120), 0u) << "nothing left to change";

    // Millimetres round to the nearest unit, a tie to the even one: 0.29 * 100
    // lies just below 29; 12.5 is a tie.
    for (const auto& [mm, units] : {std::pair{0.29, 29}, {0.125, 12}, {5.0, 500}, {0.0, 0}})
        EXPECT_EQ(clearanceUnitsFromMm(mm), units) << mm;
}

} // namespace
} // namespace kestrel
