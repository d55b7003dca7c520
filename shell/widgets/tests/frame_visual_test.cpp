// The frame visual: outlines drawn in a colour or inverted, redrawn as four
// one-pixel strips.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "media/offscreen_surface.h"
#include "recording_enclosure.h"
#include "shell/widgets/frame_visual.h"

namespace {

struct FrameTest : ::testing::Test {
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, Box{0, 0, 40, 30}, nullptr);
    RecordingEnclosure enclosure;

    void SetUp() override
    {
        const MMBitmap& store = surface->Store();
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 40; ++x) {
                uint8_t* p = store.PixelAddress(x, y);
                p[0] = uint8_t(x * 5);
                p[1] = uint8_t(y * 7);
                p[2] = uint8_t(x ^ y);
                p[3] = 0;
            }
        enclosure.SetSurface(surface);
    }
    void TearDown() override
    {
        enclosure.SetSurface(nullptr);
        surface->Dispose();
    }
    std::vector<uint32_t> Pixels() const
    {
        std::vector<uint32_t> words;
        const MMBitmap& store = surface->Store();
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 40; ++x) {
                uint32_t w;
                std::memcpy(&w, store.PixelAddress(x, y), 4);
                words.push_back(w & 0xFFFFFF);
            }
        return words;
    }
    uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) const { return pixels[y * 40 + x]; }
};

TEST_F(FrameTest, AnInvertedFrameDrawnTwiceRestoresThePixels)
{
    std::vector<uint32_t> before = Pixels();
    KVXFrameVisual frame(Box{5, 4, 25, 20}, 3);
    EXPECT_TRUE(frame.IsXor());
    EXPECT_EQ(frame.FrameColor().index, -2);
    EXPECT_EQ(frame.Layer(), 3);
    enclosure.AddVisual(&frame);
    enclosure.RedrawAll();
    std::vector<uint32_t> once = Pixels();
    // The outline is inverted, the inside and the outside are not.
    EXPECT_EQ(At(once, 5, 4), ~At(before, 5, 4) & 0xFFFFFF);
    EXPECT_EQ(At(once, 24, 19), ~At(before, 24, 19) & 0xFFFFFF);
    EXPECT_EQ(At(once, 15, 4), ~At(before, 15, 4) & 0xFFFFFF);
    EXPECT_EQ(At(once, 5, 12), ~At(before, 5, 12) & 0xFFFFFF);
    EXPECT_EQ(At(once, 10, 10), At(before, 10, 10));
    EXPECT_EQ(At(once, 25, 10), At(before, 25, 10));
    EXPECT_EQ(At(once, 4, 4), At(before, 4, 4));
    enclosure.RedrawAll();
    EXPECT_EQ(Pixels(), before);
    enclosure.RemoveVisual(&frame);
}

TEST_F(FrameTest, AColouredFrameDrawsItsColour)
{
    KVXFrameVisual frame(KVXFrameVisual::Parameters{Box{2, 2, 12, 8}, {-1, 10, 20, 30, 0}, 7});
    EXPECT_FALSE(frame.IsXor());
    enclosure.AddVisual(&frame);
    enclosure.RedrawAll();
    std::vector<uint32_t> after = Pixels();
    EXPECT_EQ(At(after, 2, 2), 0x1E140Au);
    EXPECT_EQ(At(after, 11, 7), 0x1E140Au);
    EXPECT_NE(At(after, 5, 5), 0x1E140Au);
    enclosure.RemoveVisual(&frame);
}

TEST_F(FrameTest, AMoveRedrawsOnlyTheOldAndTheNewOutline)
{
    KVXFrameVisual frame(Box{5, 4, 25, 20}, 3);
    enclosure.AddVisual(&frame);
    enclosure.marked.clear();
    frame.CenterAt(20, 15);
    const std::vector<Box> expected = {
        {5, 4, 6, 20},   {24, 4, 25, 20},  {5, 4, 25, 5},   {5, 19, 25, 20},
        {10, 7, 11, 23}, {29, 7, 30, 23},  {10, 7, 30, 8},  {10, 22, 30, 23},
    };
    EXPECT_EQ(enclosure.marked, expected);
    enclosure.RemoveVisual(&frame);
}

TEST(FrameVisual, WithoutAnEnclosureNothingIsMarked)
{
    KVXFrameVisual frame;
    EXPECT_TRUE(frame.GetBounds().IsZero());
    frame.SetBox(Box{1, 1, 5, 5});  // no enclosure: nothing to tell
    EXPECT_EQ(frame.GetBounds(), (Box{1, 1, 5, 5}));
}

}  // namespace
