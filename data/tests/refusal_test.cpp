// Sources the compiler refuses, each with the file and line of the fault.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "../compiler/record_sources.h"
#include "../compiler/resource_files.h"

namespace {

struct BadSource {
    const char* what;
    std::vector<const char*> sources;  // one text per source file, t0.txt, t1.txt ...
    const char* refusal;               // the message, from its file and line on
};

const char* const kButton =
    "script good_button\nuse button\nvisuals 1\nframe 1 0\nplace 0 0 0 0\npicture p\n";

const BadSource kBadSources[] = {
    {"unknown picture", {"table a\nrows 10\n1 picture nothing\n"},
     "t0.txt:3: no picture is named 'nothing'"},
    {"unknown table", {"table a\nrows 10\n1 table nowhere\n"},
     "t0.txt:3: no table or script is named 'nowhere'"},
    {"row longer than the row size", {"table a\nrows 4\n1 s32 5\n"},
     "t0.txt:3: a row of 6 bytes in a table of 4-byte rows"},
    {"odd row size", {"table a\nrows 5\n"}, "t0.txt:2: the second line is 'rows SIZE'"},
    {"text outside code page 1252", {"table a\nrows 10\n1 text \"\xE6\x97\xA5\"\n"},
     "t0.txt:3: \"\xE6\x97\xA5\" has a character outside code page 1252"},
    {"text over its limit", {"table a\nrows 10\n\n1 text:4 \"Bonjour\"\n"},
     "t0.txt:4: \"Bonjour\" is longer than its limit of 4 characters"},
    {"sub-table of the wrong row size", {"table a\nrows 10\n1 table:12 b\n", "table b\nrows 10\n"},
     "t0.txt:3: 'b' has rows of 10 bytes, not 12"},
    {"a button where a quit button belongs", {"table a\nrows 10\n5 script:quit good_button\n", kButton},
     "t0.txt:3: 'good_button' is not a script of use 'quit'"},
    {"one number twice", {"table a 734\nrows 10\n", "table b 734\nrows 10\n"},
     "t1.txt:1: table number 734 is also a's"},
    {"one name twice", {"table a\nrows 10\n", "table a\nrows 10\n"},
     "t1.txt:1: the name 'a' is used twice"},
    {"quit button without its event",
     {"script q\nuse quit\nvisuals 1\nframe 1 0\nframe 3 0\nframe 5 0\nframe 6 0\n"},
     "t0.txt:1: event 1 must be posted by the frames of label 3 (the click)"},
    {"button without an idle frame", {"script b\nuse button\nframe 4 0\n"},
     "t0.txt:1: a script of use 'button' needs a frame of label 1"},
    {"label running into the next", {"script b\nuse button\nframe 1 0\nframe 3 80\nframe 4 0\n"},
     "t0.txt:4: label 3 runs on into label 4 at line 5"},
    {"label running off the end", {"script b\nuse button\nframe 1 0\nframe 3 80\n"},
     "t0.txt:4: label 3 runs off the end of the script, which hides the widget"},
    {"animation that holds", {"script m\nuse animation\nframe 1 50\nframe 0 0\n"},
     "t0.txt:1: cannot end: the frame at line 4 holds until woken"},
    {"animation that loops", {"script m\nuse animation\nframe 1 50\nframe 0 50\njump 1\n"},
     "t0.txt:1: cannot end: it loops from line 3 forever"},
    {"picture with no visual", {"script m\nuse animation\nvisuals 1\nframe 1 50\npicture p\n"},
     "t0.txt:5: a picture with no visual placed in this frame"},
    {"visual beyond the count", {"script m\nuse animation\nvisuals 1\nframe 1 50\nplace 1 0 0 0\n"},
     "t0.txt:5: visual 1 but the script has 1 visual(s)"},
    {"sound with no channel", {"script m\nuse animation\nchannels 1\nframe 1 50\nplay s\n"},
     "t0.txt:5: a sound with no channel chosen in this frame"},
    {"jump to a missing label", {"script m\nuse loop\nframe 1 50\njump 7\n"},
     "t0.txt:4: a jump to label 7, which no frame has"},
    {"unknown step", {"script m\nuse loop\nframe 1 50\nwiggle 3\n"}, "t0.txt:4: unknown script step 'wiggle'"},
};

TEST(CompilerRefusals, EachBadSourceIsRefusedAtItsLine)
{
    for (const BadSource& bad : kBadSources) {
        SCOPED_TRACE(bad.what);
        RecordSet set;
        for (size_t i = 0; i < bad.sources.size(); ++i) {
            auto lines = SplitSourceText(bad.sources[i], "t" + std::to_string(i) + ".txt");
            if (!lines.empty()) set.ReadSource(lines);
        }
        set.Number();
        set.CheckScripts();
        ResourceNames pictures{{"p", ResourceItem{0, 2}}}, sounds{{"s", ResourceItem{0, 2}}};
        for (const auto& record : set.Records()) {
            std::vector<uint8_t> rows;
            int32_t count;
            std::string strings;
            set.Pack(*record, pictures, sounds, rows, count, strings);
        }
        const std::string& last = LastRefusal();
        EXPECT_NE(last.find(bad.refusal), std::string::npos) << last;
    }
}

TEST(CompilerRefusals, CollectionsOfTheProgramsOwnPicturesAreRefused)
{
    for (const char* text : {"pictures A.MMP 9\n", "pictures A.MMP 50000\n", "scripts S.mms 1\n"}) {
        std::vector<OutputFile> files;
        EXPECT_FALSE(ReadOutputFileLines(SplitSourceText(text, "files.txt"), files)) << text;
        EXPECT_EQ(LastRefusal().find("files.txt:1:"), 0u) << LastRefusal();
    }
}

TEST(CompilerRefusals, GoodSourcesPackAsWritten)
{
    RecordSet set;
    set.ReadSource(SplitSourceText(
        "table a 5\nrows 10\n0 rect 1 2 3 4\n7 text \"\xC3\xA9t\xC3\xA9\" picture p\n9 table:2 { 24 }\n", "a.txt"));
    set.ReadSource(SplitSourceText(kButton, "b.txt"));
    int before = RefusalCount();
    set.Number();
    set.CheckScripts();
    const RecordSource* a = set.Find("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->number, 5);
    EXPECT_EQ(set.Find("a.5")->number, kFirstFreeTableNumber);
    EXPECT_EQ(set.Find("good_button")->number, kFirstFreeTableNumber + 1);
    std::vector<uint8_t> rows;
    int32_t count = 0;
    std::string strings;
    ResourceNames pictures{{"p", ResourceItem{0x4000, 3}}};
    ASSERT_TRUE(set.Pack(*a, pictures, {}, rows, count, strings));
    EXPECT_EQ(RefusalCount(), before);
    const std::vector<uint8_t> expected = {
        0, 0, 1, 0, 2, 0, 3, 0, 4, 0,
        7, 0, 0, 0, 0, 0, 3, 0, 0, 0x40,           // text at 0, picture 0x40000003
        9, 0, 0xD0, 0x07, 0, 0, 0, 0, 0, 0};       // table 2000: number low, 0 high
    EXPECT_EQ(count, 3);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(strings, std::string("\xE9t\xE9\0", 4));
}

}  // namespace
