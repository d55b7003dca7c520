#include <gtest/gtest.h>

#include <string>
#include "framework/text.h"

namespace {

TEST(TextTest, BoundedCopiesKeepWholeCharacters)
{
    struct Case {
        unsigned codePage;
        const char* source;
        int size;
        const char* expected;
        bool fitted;
    } cases[] = {
        {0, "abcdef", 4, "abc", false},
        {0, "abcdef", 7, "abcdef", true},
        {0, "", 4, "", true},
        {0, "a", 1, "", false},
        // Shift-JIS: 0x82 0xA0 is one character; it does not fit in the one
        // byte left, so the cut comes before its lead byte.
        {932, "ab\x82\xa0z", 4, "ab", false},
        {932, "ab\x82\xa0z", 5, "ab\x82\xa0", false},
        {932, "ab\x82\xa0", 5, "ab\x82\xa0", true},
    };
    for (const Case& c : cases) {
        SetTextCodePage(c.codePage);
        char destination[16] = "xxxxxxxxxxxxxxx";
        EXPECT_EQ(StringCopyBounded(c.source, destination, c.size), c.fitted) << c.source;
        EXPECT_STREQ(destination, c.expected) << c.source;
    }
    SetTextCodePage(0);

    char text[8] = "abc";
    EXPECT_FALSE(StringAppendBounded("de", text, 5));
    EXPECT_STREQ(text, "abcd");
    char same[8] = "same";
    EXPECT_TRUE(StringCopyBounded(same, same, 3));
    EXPECT_STREQ(same, "same");
    char work[8];
    char prefixed[8] = "name";
    EXPECT_TRUE(StringPrependBounded("C:\\", prefixed, 8, work));
    EXPECT_STREQ(prefixed, "C:\\name");
}

TEST(TextTest, FormatCutsAt255Bytes)
{
    char destination[256];
    StringFormat(destination, "%s-%d", std::string(300, 'x').c_str(), 7);
    EXPECT_EQ(std::string(destination), std::string(255, 'x'));
    StringFormat(destination, "%04X", 0x4000);
    EXPECT_STREQ(destination, "4000");
}

TEST(TextTest, CharactersAndComparisons)
{
    EXPECT_EQ(CompareText("abc", "ABC", true), 0);
    EXPECT_NE(CompareText("abc", "ABC", false), 0);
    EXPECT_EQ(CompareText("abc", "abd", false), -1);
    EXPECT_TRUE(EqualTextN("abcX", 3, "ABCY", 3, true));
    SetTextCodePage(932);
    EXPECT_EQ(CountCharacters("a\x82\xa0z"), 3);
    EXPECT_EQ(LastCharOffset("a\x82\xa0", 3), 1);
    EXPECT_FALSE(IsSingleByteChar(0x82));
    SetTextCodePage(0);
    char word[] = "Pinceau";
    UpperCase(word);
    EXPECT_STREQ(word, "PINCEAU");
    LowerCase(word);
    EXPECT_STREQ(word, "pinceau");
}

}  // namespace
