#include "model/LayoutFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <set>

using namespace kestrel;
using kestrel::test::succeeded;

// examples/demo.kbd is what a first start shows: it must read and use every
// kind of object the editor draws.
TEST(DemoDocument, UsesEveryObjectKindAndPadShape)
{
    auto read = readDocument(std::string(KESTREL_SOURCE_DIR) + "/examples/demo.kbd", Language::English);
    ASSERT_TRUE(succeeded(read));
    EXPECT_EQ(read->version, 3);
    const Board& board = read->document.board(0);
    std::set<int> kinds, padShapes, layers;
    size_t vias = 0, bandEnds = 0, nestedGroups = 0;
    for (const auto& o : board.Objects) {
        kinds.insert(o->Kind);
        layers.insert(o->Layer);
        if (o->is(ObjectKind::Pad))
            padShapes.insert(o->Shape);
        vias += o->Partner ? 1 : 0;
        bandEnds += o->Connections.size();
        nestedGroups += o->Groups.size() > 1 ? 1 : 0;
    }
    EXPECT_EQ(kinds, (std::set<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(padShapes, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(layers, (std::set<int>{1, 2, 3, 4})) << "both sides, copper and silk";
    EXPECT_GE(vias, 2u);
    EXPECT_GE(bandEnds, 2u);
    EXPECT_GT(nestedGroups, 0u);
    EXPECT_NE(board.Settings.GroundPlane1 + board.Settings.GroundPlane2, 0);
}
