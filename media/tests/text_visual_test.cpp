// Point-text visuals: bounds from the measured text box, dirty marks of the
// setters, and measuring again when the visual moves to another enclosure.
#include <gtest/gtest.h>

#include "fake_font.h"
#include "media/offscreen_surface.h"
#include "media/text_visual.h"
#include "recording_enclosure.h"

namespace {

const MMColor kRed = {-1, 0, 0, 255, 0};

class TextVisuals : public ::testing::Test {
protected:
    void SetUp() override
    {
        back = MMSurface::CreateBitmapDC(32, {0, 0, 100, 60}, nullptr);
        enclosure.SetSurface(back);
    }
    void TearDown() override { back->Dispose(); }

    WinMMOffscreenSurface* back = nullptr;
    RecordingEnclosure enclosure;
    FakeFont font;
};

}  // namespace

TEST_F(TextVisuals, BoundsAreTheTextBoxAroundTheAnchor)
{
    MMPointTextVisual visual;
    visual.ConstructAt(20, 30, "abcdef", 3);
    EXPECT_STREQ("abc", visual.Text());
    visual.SetStyleFields(&font, kRed, kAlignCapMiddle, kAlignCenter);
    enclosure.AddVisual(&visual);
    // 15 wide centred: -7 .. 8; baseline 3 below: ascent 9 above, descent 3 below.
    EXPECT_EQ((Box{-7, -6, 8, 6}), visual.TextBox());
    EXPECT_EQ((Box{13, 24, 28, 36}), visual.GetBounds());

    // Moving keeps the measured box.
    int selects = font.selects;
    visual.SetPosition(40, 40);
    EXPECT_EQ((Box{33, 34, 48, 46}), visual.GetBounds());
    EXPECT_EQ(selects, font.selects);

    visual.SetText("abcdefghij", 0);
    EXPECT_EQ((Box{-25, -6, 25, 6}), visual.TextBox());
    visual.SetText(nullptr, 0);
    EXPECT_EQ((Box{0, 0, 0, 0}), visual.TextBox());
    enclosure.RemoveVisual(&visual);
}

TEST_F(TextVisuals, SettersMarkOldAndNewBoundsEvenWithoutChange)
{
    MMPointTextVisual visual(10, 20, 3);
    visual.SetText("ab", 0);
    visual.SetFont(&font);
    enclosure.AddVisual(&visual);
    const Box two = {10, 11, 20, 23};
    const Box four = {10, 11, 30, 23};

    struct Case {
        const char* name;
        void (*set)(MMPointTextVisual&, FakeFont&);
        std::vector<Box> marked;
    } cases[] = {
        {"same font", [](MMPointTextVisual& v, FakeFont& f) { v.SetFont(&f); }, {two, two}},
        {"longer text", [](MMPointTextVisual& v, FakeFont&) { v.SetText("abcd", 0); },
         {two, four}},
        {"right aligned",
         [](MMPointTextVisual& v, FakeFont&) { v.SetHorizontalAlignment(kAlignRight); },
         {four, {-10, 11, 10, 23}}},
        {"colour only", [](MMPointTextVisual& v, FakeFont&) { v.SetColor(kRed); },
         {{-10, 11, 10, 23}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        enclosure.marked.clear();
        c.set(visual, font);
        EXPECT_EQ(c.marked, enclosure.marked);
    }
    enclosure.RemoveVisual(&visual);
}

TEST_F(TextVisuals, ANewEnclosureMeasuresAgainOnItsSurface)
{
    MMPointTextVisual visual;
    visual.ConstructOnLayer("abc", 4);
    EXPECT_EQ(4, visual.Layer());
    visual.SetFont(&font);
    enclosure.AddVisual(&visual);
    EXPECT_EQ(15, visual.TextBox().right);
    EXPECT_EQ(nullptr, font.surface);  // released after measuring

    RecordingEnclosure other;
    WinMMOffscreenSurface* otherBack = MMSurface::CreateBitmapDC(32, {0, 0, 10, 10}, nullptr);
    other.SetSurface(otherBack);
    enclosure.RemoveVisual(&visual);
    font.widths['a'] = 8;  // the other surface measures differently
    other.AddVisual(&visual);
    EXPECT_EQ(18, visual.TextBox().right);
    other.RemoveVisual(&visual);
    otherBack->Dispose();
}

TEST_F(TextVisuals, DrawsAtItsAnchorWithTheStyle)
{
    MMPointTextVisual visual;
    visual.ConstructAt(50, 30, "hi", 0);
    visual.SetStyleFields(&font, kRed, kAlignCapTop, kAlignRight);
    enclosure.AddVisual(&visual);
    enclosure.RedrawAll();
    ASSERT_EQ(1u, font.drawnAt.size());
    EXPECT_EQ((Pair{40, 37}), font.drawnAt[0]);
    EXPECT_EQ("hi", font.drawn[0]);
    enclosure.RemoveVisual(&visual);
}
