#include "model/TextCodec.h"

#include <gtest/gtest.h>

using namespace kestrel;

// Text typed in another encoding or cut mid-character: each bad byte is one
// unknown character, and the letters after it all arrive.
TEST(TextCodec, Utf8ToTheFilesEncodingKeepsEveryGoodCharacter)
{
    const struct {
        const char* what;
        std::string utf8;
        std::string expected;
    } cases[] = {
        {"Latin and Cyrillic", "Ab Яж", "Ab \xDF\xE6"},
        {"the letters outside the alphabet's run", "Ёё Її Єє", "\xA8\xB8 \xAF\xBF \xAA\xBA"},
        {"a Latin-1 byte before ASCII", "A\xE9" "BCD", "A?BCD"},
        {"bytes that start no sequence", "A\xFF\xFE" "B", "A??B"},
        {"a stray continuation byte", "A\xA9" "B", "A?B"},
        {"a sequence cut at the end", "AB\xD0", "AB?"},
        {"a sequence cut before a letter", "\xD0" "Ж", "?\xC6"},
        {"a character outside the file's encoding", "1€2→3", "1\x88" "2?3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8ToCp1251(c.utf8, '?'), c.expected) << c.what;
    EXPECT_EQ(cp1251ToUtf8(utf8ToCp1251("Плата №1 «ЖК»", '?')), "Плата №1 «ЖК»");
}
