// The styled-text engine on code page 932 text: runs, edits, one level of
// undo that a second undo takes back, and measuring.
#include <gtest/gtest.h>

#include <string>

#include "text/styled_text.h"

namespace {

// Two double-byte characters: hiragana a and i.
const char kA[] = "\x82\xa0";
const char kI[] = "\x82\xa2";

StyleInformation Style(uint32_t rgb, bool bold = false)
{
    return StyleInformation("DejaVu Sans", 16, MakeMMColorFromRgb(rgb), bold);
}

std::string RunsOf(const TSMTextStore& store)
{
    std::string out;
    for (const TSMStyleRun& run : store.Runs()) {
        const auto* style = static_cast<const StyleInformation*>(run.style.get());
        out += std::to_string(run.characters) + "/" + std::to_string(run.bytes) +
               (style->bold ? "b " : " ");
    }
    return out;
}

TEST(StyledText, DoubleByteCharactersCountOnce)
{
    std::string text = std::string("a") + kA + "b" + kI;
    EXPECT_EQ(4, TSMTextStore::CountCharacters(text.data(), int32_t(text.size()), 932));
    TSMTextStore store(64, 932);
    ASSERT_TRUE(store.Insert(0, text.data(), int32_t(text.size()), Style(0)));
    EXPECT_EQ(4, store.Characters());
    EXPECT_EQ(6, store.Bytes());
    EXPECT_EQ(3, store.ByteOffset(2));
    EXPECT_EQ(6, store.ByteOffset(4));
    TSMTextStore middle = store.CopyRange(1, 3);
    EXPECT_EQ(std::string(kA) + "b", middle.Text());
    EXPECT_EQ("2/3 ", RunsOf(middle));
    int32_t steps = 0;
    for (TSMRunIterator it(store); !it.AtEnd(); it.Next())
        ++steps;
    EXPECT_EQ(4, steps);
}

TEST(StyledText, EditsAndADoubleUndo)
{
    StyleInformation plain = Style(0);
    StyleInformation bold = Style(0, true);
    TSMEdit edit(64, plain, 932);
    std::string start = std::string(kA) + kI + "abc";
    ASSERT_TRUE(edit.InsertText(start.c_str()));
    EXPECT_EQ(5, edit.SelectionStart());
    EXPECT_EQ(5, edit.SelectionEnd());

    edit.SetSelection(3, 1);  // ends are ordered: i and a
    EXPECT_EQ(1, edit.SelectionStart());
    EXPECT_EQ(3, edit.SelectionEnd());
    EXPECT_EQ(3, edit.SelectionBytes());
    ASSERT_TRUE(edit.InsertText("X", &bold));
    std::string changed = std::string(kA) + "Xbc";
    EXPECT_EQ(changed, edit.Store().Text());
    EXPECT_EQ("1/2 1/1b 2/2 ", RunsOf(edit.Store()));
    EXPECT_EQ(2, edit.SelectionStart());

    edit.Undo();
    EXPECT_EQ(start, edit.Store().Text());
    EXPECT_EQ("5/7 ", RunsOf(edit.Store()));
    EXPECT_EQ(1, edit.SelectionStart()) << "the restored text is selected";
    EXPECT_EQ(3, edit.SelectionEnd());
    edit.Undo();
    EXPECT_EQ(changed, edit.Store().Text()) << "a second undo takes the first back";
    EXPECT_EQ("1/2 1/1b 2/2 ", RunsOf(edit.Store()));
    edit.Undo();
    EXPECT_EQ(start, edit.Store().Text());
}

TEST(StyledText, StyleChangesAndDeletionsAreUndone)
{
    StyleInformation plain = Style(0);
    StyleInformation bold = Style(0, true);
    TSMEdit edit(64, plain, 932);
    std::string text = std::string("ab") + kA + "cd";
    ASSERT_TRUE(edit.InsertText(text.c_str()));
    edit.SetSelection(1, 4);
    edit.SetSelectionStyle(bold);
    EXPECT_EQ("1/1 3/4b 1/1 ", RunsOf(edit.Store()));
    EXPECT_TRUE(static_cast<const StyleInformation&>(edit.TypingStyle()).bold);
    edit.Undo();
    EXPECT_EQ("5/6 ", RunsOf(edit.Store()));
    EXPECT_EQ(text, edit.Store().Text());

    edit.SetSelection(2, 3);
    edit.DeleteSelection();
    EXPECT_EQ("abcd", edit.Store().Text());
    EXPECT_EQ(2, edit.SelectionStart());
    edit.Undo();
    EXPECT_EQ(text, edit.Store().Text());
    edit.Undo();
    EXPECT_EQ("abcd", edit.Store().Text());
}

TEST(StyledText, InsertionsThatDoNotFitAreRefused)
{
    StyleInformation plain = Style(0);
    TSMEdit edit(8, plain, 932);
    int notices = 0;
    edit.AddSelectionListener(
        [](void* context, int32_t, int32_t, int32_t, int32_t) { ++*static_cast<int*>(context); },
        &notices);
    EXPECT_FALSE(edit.InsertText(""));
    ASSERT_TRUE(edit.InsertText("abcdefg"));
    EXPECT_FALSE(edit.InsertText("h")) << "capacity 8 keeps one byte free";
    edit.SetSelection(0, 2);
    EXPECT_TRUE(edit.InsertText("xy")) << "what the selection frees counts";
    EXPECT_EQ("xycdefg", edit.Store().Text());
    EXPECT_EQ(2, notices);
    edit.SetSelection(7, 7);
    edit.DeleteSelection();
    edit.SetSelection(0, 7);
    EXPECT_TRUE(edit.InsertCharacterCode((0xA0u << 24) | (0x82u << 16)));
    EXPECT_EQ(kA, edit.Store().Text());
    EXPECT_TRUE(edit.InsertCharacterCode(0x410000));
    EXPECT_EQ(std::string(kA) + "A", edit.Store().Text());
}

TEST(StyledText, StylesCompareColoursByBytesOrPaletteIndex)
{
    EXPECT_TRUE(Style(0x102030).Equals(Style(0x102030)));
    EXPECT_FALSE(Style(0x102030).Equals(Style(0x102031)));
    EXPECT_FALSE(Style(0).Equals(Style(0, true)));
    StyleInformation a("DejaVu Sans", 16, MakeMMColorFromIndex(4));
    StyleInformation b("DejaVu Sans", 16, MakeMMColorFromIndex(4));
    StyleInformation c("DejaVu Sans", 16, MakeMMColorFromIndex(5));
    EXPECT_TRUE(a.Equals(b));
    EXPECT_FALSE(a.Equals(c));
    EXPECT_FALSE(a.Equals(Style(0)));
}

TEST(StyledText, ARangeMeasuresAsItsParts)
{
    StyleInformation plain = Style(0);
    StyleInformation bold = Style(0, true);
    TSMEdit edit(64, plain, 932);
    ASSERT_TRUE(edit.InsertText("Ami"));
    edit.SetSelection(3, 3);
    ASSERT_TRUE(edit.InsertText("go", &bold));
    HDC dc = CreateCompatibleDC(nullptr);
    Pair whole = edit.MeasureRange(dc, 0, 5);
    Pair left = edit.MeasureRange(dc, 0, 3);
    Pair right = edit.MeasureRange(dc, 3, 5);
    DeleteDC(dc);
    EXPECT_GT(left.x, 0);
    EXPECT_EQ(whole.x, left.x + right.x);
    EXPECT_GT(whole.y, 10);
}

}  // namespace
