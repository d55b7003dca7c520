#include <gtest/gtest.h>

#include <string>

#include "framework/pattern_matcher.h"

namespace {

struct MatchCase {
    const char* pattern;
    bool ignoreCase;
    const char* text;
    int error;    // of Compile
    bool found;   // Matches, when compiled
};

const MatchCase kCases[] = {
    // Literals, sequences and "anywhere in the text".
    {"abc", false, "xxabcxx", 0, true},
    {"abc", false, "abxc", 0, false},
    {"abc", false, "", 0, false},
    // Alternatives, groups and repeats.
    {"a(b|c)*d", false, "xxabcbd", 0, true},
    {"a(b|c)*d", false, "abx", 0, false},
    {"a(b|c)*d", false, "ad", 0, true},
    {"a(b|c)+d", false, "ad", 0, false},
    {"a(b|c)+d", false, "acbd", 0, true},
    {"ab?c", false, "ac", 0, true},
    {"ab?c", false, "abbc", 0, false},
    {"cat|dog", false, "hotdog", 0, true},
    {"cat|dog", false, "cow", 0, false},
    {"x(ab)*y", false, "xababy", 0, true},
    {"x(ab)*y", false, "xaby", 0, true},
    {"x(ab)*y", false, "xay", 0, false},
    // Any byte, digits, escapes.
    {"a.c", false, "a-c", 0, true},
    {"##", false, "a1b2", 0, false},
    {"##", false, "a12", 0, true},
    {"\\*", false, "2*3", 0, true},
    {"a\\tb", false, "a\tb", 0, true},
    {"a\\nb", false, "anb", 0, false},
    // Classes and ranges.
    {"[^0-9]", false, "a1", 0, true},
    {"[^0-9]", false, "123", 0, false},
    {"[a-cx]", false, "x", 0, true},
    {"[a-cx]", false, "d", 0, false},
    {"[a-]", false, "-", 0, true},
    // Case.
    {"abc", false, "ABC", 0, false},
    {"abc", true, "xAbC", 0, true},
    {"[a-c]", true, "B", 0, true},
    {"[^a-c]", true, "B", 0, false},
    {"[A-C]", true, "b", 0, true},
    // The nine errors.
    {"*a", false, "a", 2, false},
    {"a|+b", false, "b", 2, false},
    {"a**", false, "a", 2, false},
    {"ab\\", false, "ab", 3, false},
    {"abcdefghijklmnopqrstuvwxyzABCDEF", false, "a", 4, false},
    {"(ab", false, "ab", 5, false},
    {"[ab", false, "a", 6, false},
    {"[z-a]", false, "m", 7, false},
    {"a|", false, "a", 8, false},
    {"|a", false, "a", 8, false},
    {"", false, "a", 8, false},
    {"ab)", false, "ab", 9, false},
    {"()", false, "", 9, false},
    // 31 atoms and the start are exactly 32 states.
    {"abcdefghijklmnopqrstuvwxyzABCDE", false, "--abcdefghijklmnopqrstuvwxyzABCDE", 0, true},
};

}  // namespace

TEST(PatternMatcher, CompilesAndMatchesTheTable)
{
    for (const MatchCase& c : kCases) {
        SCOPED_TRACE(std::string("pattern \"") + c.pattern + "\" text \"" + c.text + "\"");
        UUPatternMatcher matcher;
        EXPECT_EQ(c.error, matcher.Compile(c.pattern, c.ignoreCase));
        EXPECT_EQ(c.found, matcher.Matches(c.text));
    }
}

TEST(PatternMatcher, NothingMatchesBeforeACompilationOrAfterAFailedOne)
{
    UUPatternMatcher matcher;
    EXPECT_EQ(1, matcher.LastError());
    EXPECT_FALSE(matcher.Matches("anything"));
    ASSERT_EQ(0, matcher.Compile("a", false));
    EXPECT_TRUE(matcher.Matches("a"));
    EXPECT_EQ(5, matcher.Compile("(a", false));
    EXPECT_FALSE(matcher.Matches("a"));
}
