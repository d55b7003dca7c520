// Colour and alpha operations on 32-bit bitmaps.
#include <gtest/gtest.h>

#include <vector>

#include "canvas/bitmap_ops.h"
#include "canvas/blend.h"
#include "canvas_test_support.h"
#include "media/bitmap_picture_collection.h"

namespace {

class BitmapOpsTest : public ::testing::Test {
protected:
    // 8-bit 2 x 2 picture with the given values, in slot index.
    MMPictureID Bytes(int16_t index, std::initializer_list<uint8_t> values)
    {
        std::unique_ptr<MMBitmapWithPixels> bitmap(
            MMBitmap::CreateWithPixels({0, 0, 2, 2}, kPixelIndexed, nullptr));
        int i = 0;
        for (uint8_t v : values) {
            *bitmap->PixelAddress(i % 2, i / 2) = v;
            ++i;
        }
        bitmap->transparencyKind = kTransparencyOpaque;
        pictures.BindPicture(held[index], index, *bitmap, nullptr);
        return held[index].Id();
    }
    ~BitmapOpsTest() override
    {
        for (MMPictureReference& r : held)
            r.Clear();
    }
    MMBitmapPictureCollection pictures{6, 0x4400};
    MMPictureReference held[6];
};

const uint8_t kBlack[3] = {0, 0, 0};

}  // namespace

TEST_F(BitmapOpsTest, FillsAndAlpha)
{
    auto bitmap = MakeTarget(3, 2, 0x40);
    FillBitmapColor(*bitmap, 1, 2, 3);
    EXPECT_EQ(0x40030201u, TargetWord(*bitmap, 2, 1));
    SetBitmapAlpha(*bitmap, 0);
    EXPECT_EQ(0x00030201u, TargetWord(*bitmap, 0, 0));
    bitmap->PixelAddress(1, 1)[3] = 1;
    ClearColorWhereAlpha(*bitmap);
    EXPECT_EQ(0x01000000u, TargetWord(*bitmap, 1, 1));
    EXPECT_EQ(0x00030201u, TargetWord(*bitmap, 1, 0));
    EXPECT_EQ(kTransparencyStraight, bitmap->transparencyKind);
}

TEST_F(BitmapOpsTest, AlphaAndColourThroughPictures)
{
    MMPictureID values = Bytes(0, {0, 255, 128, 1});
    auto bitmap = MakeTarget(3, 3, 0xFF);
    SetAlphaFromPicture(*bitmap, 1, 1, values);
    EXPECT_EQ(255, bitmap->PixelAddress(1, 1)[3]);
    EXPECT_EQ(0, bitmap->PixelAddress(2, 1)[3]);
    EXPECT_EQ(127, bitmap->PixelAddress(1, 2)[3]);
    EXPECT_EQ(0xFF, bitmap->PixelAddress(0, 0)[3]);
    SetAlphaFromPicture(*bitmap, 5, 5, values);  // wholly outside

    bitmap = MakeTarget(3, 3, 0xFF);
    SetAlphaFromPictureClipped(*bitmap, 1, 1, values, kBlack);
    EXPECT_EQ(0xFFFFFFFFu, TargetWord(*bitmap, 1, 1)) << "coverage 0 leaves it";
    EXPECT_EQ(0x00000000u, TargetWord(*bitmap, 2, 1));
    // T[255][127] + T[0][128] = 127.
    EXPECT_EQ(0x007F7F7Fu, TargetWord(*bitmap, 1, 2));

    bitmap = MakeTarget(3, 3, 0xFF);
    const uint8_t red[3] = {0, 0, 255};
    PaintColorThroughMask(*bitmap, red, -1, -1, values);
    EXPECT_EQ(0xFFFF0000u, TargetWord(*bitmap, 0, 0)) << "only the corner lies inside: 1";
    EXPECT_EQ(0xFFFFFFFFu, TargetWord(*bitmap, 1, 0));

    MMPictureID mask = Bytes(1, {0, 9, 9, 9});
    bitmap = MakeTarget(3, 3, 0xFF);
    BlitPictureThroughMask(*bitmap, 0, 0, values, kBlack, mask);
    EXPECT_EQ(0xFFFFFFFFu, TargetWord(*bitmap, 0, 0));
    EXPECT_EQ(0x00000000u, TargetWord(*bitmap, 1, 0));
}

TEST_F(BitmapOpsTest, DrawsAPictureIntoABitmap)
{
    auto source = MakeTarget(2, 2, 0);
    std::memset(source->pixels, 0x11, 4);
    source->transparencyKind = kTransparencyOpaque;
    pictures.BindPicture(held[2], 2, *source, nullptr);
    auto bitmap = MakeTarget(3, 3, 0xFF);
    DrawPictureIntoBitmap({bitmap.get(), 2, 2, held[2].Id()});
    EXPECT_EQ(0x11111111u, TargetWord(*bitmap, 2, 2));
    EXPECT_EQ(0xFFFFFFFFu, TargetWord(*bitmap, 1, 1));
}

// Byte 3 counts clearness: a picture pixel 0x7F0064C8 is half covering.
TEST_F(BitmapOpsTest, ComposesAPictureKeepingBothTransparencies)
{
    struct Case {
        int32_t rule;
        std::vector<uint32_t> picture, under, expected;
    };
    const Case cases[] = {
        // Over clear white, opaque white, half-clear white; a clear picture
        // pixel leaves what lies under it; an opaque one covers a clear one.
        {kTransparencyStraight,
         {0x7F0064C8, 0x7F0064C8, 0x7F0064C8, 0xFF123456, 0x00102030},
         {0xFFFFFFFF, 0x00FFFFFF, 0x7FFFFFFF, 0x11223344, 0xFFFFFFFF},
         {0x7F0064C8, 0x007FB1E3, 0x3F5598DA, 0x11223344, 0x00102030}},
        {kTransparencyPremultiplied,
         {0x7F000064, 0x7F000064},
         {0xFFFFFFFF, 0x00FFFFFF},
         {0x7F0000C7, 0x007F7FE3}},
        // An opaque picture's byte 3 means nothing: it covers.
        {kTransparencyOpaque, {0x55102030}, {0xFFFFFFFF}, {0x00102030}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        int32_t n = int32_t(c.picture.size());
        auto source = MakeTarget(n, 1, 0);
        std::memcpy(source->pixels, c.picture.data(), 4 * n);
        source->transparencyKind = c.rule;
        held[5].Clear();
        pictures.BindPicture(held[5], 5, *source, nullptr);
        auto bitmap = MakeTarget(n, 1, 0);
        std::memcpy(bitmap->pixels, c.under.data(), 4 * n);
        ComposePictureOverBitmap({bitmap.get(), 0, 0, held[5].Id()});
        for (int32_t x = 0; x < n; ++x)
            EXPECT_EQ(c.expected[x], TargetWord(*bitmap, x, 0)) << x;
    }
    // Clipped at the left: the picture's second pixel lands on the first.
    auto bitmap = MakeTarget(2, 1, 0xFF);
    ComposePictureOverBitmap({bitmap.get(), -1, 0, held[5].Id()});
    EXPECT_EQ(0xFFFFFFFFu, TargetWord(*bitmap, 0, 0));
    auto source = MakeTarget(2, 1, 0);
    uint32_t words[] = {0x00AAAAAA, 0x7F0064C8};
    std::memcpy(source->pixels, words, 8);
    source->transparencyKind = kTransparencyStraight;
    held[5].Clear();
    pictures.BindPicture(held[5], 5, *source, nullptr);
    ComposePictureOverBitmap({bitmap.get(), -1, 0, held[5].Id()});
    EXPECT_EQ(0x7F0064C8u, TargetWord(*bitmap, 0, 0));
    EXPECT_EQ(0xFFFFFFFFu, TargetWord(*bitmap, 1, 0));
}

TEST_F(BitmapOpsTest, TintedCopies)
{
    const uint8_t tint[3] = {0, 0, 200};
    auto source = MakeTarget(2, 1, 0);
    uint32_t words[] = {0x00FFFFFF, 0x64102030};
    std::memcpy(source->pixels, words, 8);
    source->transparencyKind = kTransparencyStraight;
    pictures.BindPicture(held[3], 3, *source, nullptr);
    for (double factor : {0.0, 1.0}) {
        MMPictureReference tinted;
        TintPicture(tinted, &pictures, held[3].Id(), tint, factor);
        ASSERT_FALSE(tinted.IsEmpty());
        MMBitmap pixels;
        ASSERT_TRUE(tinted.LockBitmap(pixels));
        // Opaque white stays white; the clear one takes the tint.
        EXPECT_EQ(factor == 0 ? 0x00FFFFFFu : 0xFFFFFFFFu, TargetWord(pixels, 0, 0));
        EXPECT_EQ(factor == 0 ? 0x64C80000u : 0xFFC80000u, TargetWord(pixels, 1, 0));
        tinted.Unlock();
        tinted.Clear();
    }
    std::unique_ptr<MMBitmapWithPixels> indexed(
        MMBitmap::CreateWithPixels({0, 0, 1, 1}, kPixelIndexed, nullptr));
    indexed->pixels[0] = 0;
    indexed->transparencyKind = kTransparencyOpaque;
    MMColorTable colors;
    colors.entries[0] = {0, 0, 0, 0};
    pictures.BindPicture(held[4], 4, *indexed, &colors);
    MMPictureReference tinted;
    TintPicture(tinted, &pictures, held[4].Id(), tint, 0.5);
    ASSERT_FALSE(tinted.IsEmpty());
    MMColorTable result;
    ASSERT_TRUE(tinted.CopyColorTable(result));
    EXPECT_EQ(200, result.entries[0].rgbRed) << "black becomes the tint";
    EXPECT_EQ(127, result.entries[0].rgbReserved);
    tinted.Clear();
}
