// The stamp visual: its box follows the displayed size, hits are looked up
// in the picture as drawn, and the stage shows it scaled.
#include <gtest/gtest.h>

#include <cstring>

#include "canvas_test_support.h"
#include "engine/enclosure.h"
#include "engine/tests/stage_fixture.h"
#include "media/bitmap_picture_collection.h"
#include "media/offscreen_surface.h"
#include "stamps/stamp_visual.h"

namespace {

class StampVisualTest : public ::testing::Test {
protected:
    StampVisualTest() : bare(false)
    {
        // 4 x 2: the left half opaque red, the right half clear.
        auto bitmap = MakeTarget(4, 2, 0);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                uint32_t word = x < 2 ? 0x00FF0000u : 0xFF000000u;
                std::memcpy(bitmap->PixelAddress(x, y), &word, 4);
            }
        bitmap->transparencyKind = kTransparencyStraight;
        pictures.BindPicture(picture, 0, *bitmap, nullptr);
        visual.ConstructWithPictureAt(picture, 20, 30, 5, false, false);
    }
    ~StampVisualTest() override
    {
        if (MMEnclosure* enclosure = visual.Enclosure())
            enclosure->RemoveVisual(&visual);
        picture.Clear();
    }
    uint32_t Screen(int x, int y)
    {
        MMBitmap store;
        bare.stage.Offscreen()->GetBitmap(store);
        uint32_t word;
        std::memcpy(&word, store.PixelAddress(x, y), 4);
        return word & 0xFFFFFF;
    }

    BareStage bare;
    MMBitmapPictureCollection pictures{2, 0x4300};
    MMPictureReference picture;
    MMStampPictureBasedVisual visual;
};

TEST_F(StampVisualTest, TheBoxFollowsTheDisplayedSize)
{
    Box natural = visual.GetBounds();
    EXPECT_EQ(24, natural.right);
    EXPECT_EQ(32, natural.bottom);
    visual.SetDisplaySize(40, 20);
    Box shown = visual.GetBounds();
    EXPECT_EQ(20, shown.left);
    EXPECT_EQ(60, shown.right);
    EXPECT_EQ(50, shown.bottom);
}

TEST_F(StampVisualTest, ScaleFactorsTruncateTheNaturalSizeUnlessASizeIsGiven)
{
    visual.SetScale(2.9, 0.5);
    EXPECT_EQ(visual.DisplaySize(), (Pair{11, 1})) << "4 x 2.9 and 2 x 0.5, truncated";
    EXPECT_EQ(visual.GetBounds(), (Box{20, 30, 31, 31}));
    visual.SetDisplaySize(40, 20);
    EXPECT_EQ(visual.DisplaySize(), (Pair{40, 20}));
    visual.SetDisplaySize(-1, -1);
    visual.SetScale(1.0, 1.0);
    EXPECT_EQ(visual.DisplaySize(), (Pair{4, 2}));
}

TEST_F(StampVisualTest, HitsAreLookedUpInThePictureAsDrawn)
{
    visual.SetDisplaySize(40, 20);
    EXPECT_TRUE(visual.ContainsPoint(25, 35));
    EXPECT_TRUE(visual.ContainsPoint(39, 49)) << "the left half of the scaled picture";
    EXPECT_TRUE(visual.ContainsPoint(45, 35)) << "a new stamp visual hits everywhere";
    visual.SetHitTransparency(254);
    EXPECT_FALSE(visual.ContainsPoint(41, 35)) << "the clear half of the scaled picture";
    visual.SetMirror(true, false);
    EXPECT_TRUE(visual.ContainsPoint(45, 35));
    EXPECT_FALSE(visual.ContainsPoint(25, 35));
    EXPECT_FALSE(visual.ContainsPoint(60, 35)) << "outside the box";
}

TEST_F(StampVisualTest, TheStageShowsTheStampScaled)
{
    visual.SetHitTransparency(254);
    visual.SetDisplaySize(40, 20);
    bare.stage.TopEnclosure()->AddVisual(&visual);
    bare.stage.RedrawDirty();
    EXPECT_EQ(0xFF0000u, Screen(21, 31));
    EXPECT_EQ(0xFF0000u, Screen(38, 48));
    EXPECT_NE(0xFF0000u, Screen(45, 40));
    EXPECT_NE(0xFF0000u, Screen(70, 40));
}

}  // namespace
