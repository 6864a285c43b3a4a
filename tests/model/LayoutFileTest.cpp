#include "model/LayoutFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;

TEST(LayoutFile, EmptyBoardWrites537Bytes)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    prepareForWriting(doc, false);
    const auto bytes = encodeDocument(doc);
    ASSERT_EQ(bytes.size(), 537u);
    EXPECT_EQ(bytes[0], 0x03);
    EXPECT_EQ(bytes[1], 0x33);
    EXPECT_EQ(bytes[2], 0xAA);
    EXPECT_EQ(bytes[3], 0xFF);
}
