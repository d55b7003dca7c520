// Pictures pasted, loaded and composited into the canvas.
#include <gtest/gtest.h>

#include "canvas/plane.h"
#include "canvas_test_support.h"
#include "media/bitmap_picture_collection.h"

namespace {

class PictureLoadingTest : public ::testing::Test {
protected:
    PictureLoadingTest() : plane({6, 6})
    {
        Paint(plane, Bgr(200, 200, 200), 3072);
        plane.PixelAt(3, 1)->height = 5000;
        plane.SetDirtyBox({0, 0, 0, 0});
    }
    ~PictureLoadingTest() override
    {
        picture.Clear();
        indexed.Clear();
    }
    // A 2 x 2 32-bit picture: opaque, opaque, clear, 128 transparent.
    void Bind32()
    {
        auto bitmap = MakeTarget(2, 2, 0);
        uint32_t words[] = {0x00010203, 0x00040506, 0xFF000000, 0x80323232};
        for (int i = 0; i < 4; ++i)
            std::memcpy(bitmap->PixelAddress(i % 2, i / 2), &words[i], 4);
        bitmap->transparencyKind = kTransparencyStraight;
        pictures.BindPicture(picture, 0, *bitmap, nullptr);
        ASSERT_FALSE(picture.IsEmpty());
    }
    KVXPlaneComponentTop plane;
    MMBitmapPictureCollection pictures{2, 0x4300};
    MMPictureReference picture;
    MMPictureReference indexed;
};

}  // namespace

TEST_F(PictureLoadingTest, PastedPaintSitsOnTheHighestPaint)
{
    Bind32();
    plane.PastePicture(picture, {2, 1});
    EXPECT_EQ(0x00010203u, plane.ColorAt(2, 1));
    EXPECT_EQ(5000, plane.PixelAt(2, 1)->height);
    EXPECT_EQ(5000, plane.PixelAt(3, 1)->height);
    EXPECT_EQ(Bgr(200, 200, 200), plane.ColorAt(2, 2)) << "clear: untouched";
    // 128 over 200 with 50: floor(200 x 128 / 255) + 50.
    EXPECT_EQ(Bgr(150, 150, 150), plane.ColorAt(3, 2));
    EXPECT_EQ(3072, plane.PixelAt(3, 2)->height) << "partly clear keeps the height";
    EXPECT_FALSE(plane.DirtyBox().IsEmpty());
    EXPECT_TRUE(plane.DirtyBox().Contains({3, 2}));
}

TEST_F(PictureLoadingTest, LoadedPaintSitsOnTheLowestPaint)
{
    Bind32();
    plane.PixelAt(2, 1)->type = kPixelLocked;
    plane.LoadFromPicture(picture, {2, 1});
    EXPECT_EQ(Bgr(200, 200, 200) | 0x01000000u, plane.ColorAt(2, 1)) << "locked";
    EXPECT_EQ(5000, plane.PixelAt(3, 1)->height) << "the only unlocked opaque pixel";
    plane.PixelAt(2, 1)->type = kPixelPlain;
    plane.LoadFromPicture(picture, {2, 1});
    EXPECT_EQ(3072, plane.PixelAt(3, 1)->height);
    EXPECT_EQ(0x00040506u, plane.ColorAt(3, 1));
}

TEST_F(PictureLoadingTest, TransparencyNeverWrapsAndOutsidePicturesDoNothing)
{
    auto bitmap = MakeTarget(1, 1, 0);
    uint32_t word = 0x10F0F0F0;  // nearly opaque, bright: 200 x 16 / 255 + 240
    std::memcpy(bitmap->pixels, &word, 4);
    bitmap->transparencyKind = kTransparencyStraight;
    pictures.BindPicture(picture, 0, *bitmap, nullptr);
    plane.PastePicture(picture, {0, 0});
    EXPECT_EQ(Bgr(252, 252, 252), plane.ColorAt(0, 0));
    *bitmap->pixels = 0;
    word = 0x40FFFFFF;
    plane.CompositeBitmapAt(*bitmap, {1, 0});
    std::memcpy(bitmap->pixels, &word, 4);
    plane.CompositeBitmapAt(*bitmap, {1, 0});
    EXPECT_EQ(Bgr(255, 255, 255), plane.ColorAt(1, 0)) << "saturates at 255";

    plane.SetDirtyBox({0, 0, 0, 0});
    plane.PastePicture(picture, {6, 0});
    plane.LoadFromPicture(picture, {-1, -1});
    EXPECT_TRUE(plane.DirtyBox().IsEmpty());
}

TEST_F(PictureLoadingTest, EightBitPicturesUseTheirColourTable)
{
    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels({0, 0, 2, 1}, kPixelIndexed, nullptr));
    bitmap->pixels[0] = 1;
    bitmap->pixels[1] = 2;
    bitmap->transparencyKind = kTransparencyOpaque;
    MMColorTable colors;
    colors.entries[1] = {10, 20, 30, 0};
    colors.entries[2] = {50, 50, 50, 128};
    pictures.BindPicture(indexed, 1, *bitmap, &colors);
    ASSERT_FALSE(indexed.IsEmpty());
    plane.PixelAt(3, 0)->height = 2000;
    plane.PastePicture(indexed, {2, 0});
    EXPECT_EQ(Bgr(10, 20, 30), plane.ColorAt(2, 0));
    EXPECT_EQ(3072, plane.PixelAt(2, 0)->height) << "the partly clear pixel does not count";
    EXPECT_EQ(Bgr(150, 150, 150), plane.ColorAt(3, 0));
    EXPECT_EQ(2000, plane.PixelAt(3, 0)->height);
}

TEST_F(PictureLoadingTest, CompositingOverwritesLockedPixelsAndKeepsHeights)
{
    auto bitmap = MakeTarget(1, 1, 0);
    uint32_t word = 0x00030201;
    std::memcpy(bitmap->pixels, &word, 4);
    plane.PixelAt(4, 4)->type = kPixelLocked;
    plane.CompositeBitmapAt(*bitmap, {4, 4});
    EXPECT_EQ(0x00030201u, plane.ColorAt(4, 4));
    EXPECT_EQ(3072, plane.PixelAt(4, 4)->height);
    EXPECT_TRUE(plane.DirtyBox().IsEmpty());
}
