// Image descriptions: validity, addressing, allocation; colours.
#include <gtest/gtest.h>

#include <memory>
#include "media/bitmap.h"
#include "media/color.h"

namespace {

MMBitmap Described(int kind, int bits, int transparency, Box box, int pitch)
{
    static uint8_t pixels[64];
    MMBitmap bitmap;
    bitmap.pixelKind = kind;
    bitmap.bitsPerPixel = bits;
    bitmap.bytesPerPixel = bits / 8;
    bitmap.transparencyKind = transparency;
    bitmap.box = box;
    bitmap.pitch = pitch;
    bitmap.pixels = pixels;
    return bitmap;
}

}  // namespace

TEST(Bitmap, Validity)
{
    struct Case {
        MMBitmap bitmap;
        bool valid;
        const char* what;
    } cases[] = {
        {Described(kPixelBGRA, 32, 3, {0, 0, 2, 2}, 8), true, "straight alpha 32-bit"},
        {Described(kPixelBGRA, 32, 0, {0, 0, 0, 2}, 8), false, "empty box"},
        {Described(kPixelBGR, 24, 1, {0, 0, 2, 2}, 8), false, "24-bit with keying"},
        {Described(kPixelRGB, 24, 0, {0, 0, 2, 2}, 8), true, "24-bit opaque"},
        {Described(kPixelIndexed, 32, 0, {0, 0, 2, 2}, 8), false, "bits do not fit the kind"},
        {Described(5, 32, 0, {0, 0, 2, 2}, 8), false, "no pixel format"},
        {Described(kPixelBGRA, 32, 0, {0, 0, 2, 2}, 0), true, "pitch 0 passes"},
        {Described(kPixelBGRA, 32, 0, {0, 0, 2, 2}, -4), false, "pitch shorter than a row"},
        {Described(kPixelBGRA, 32, 0, {0, 0, 2, 2}, -8), true, "bottom-up"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.valid, c.bitmap.IsValid()) << c.what;
    }
    MMBitmap none = Described(kPixelBGRA, 32, 0, {0, 0, 2, 2}, 8);
    none.pixels = nullptr;
    EXPECT_FALSE(none.IsValid());
}

TEST(Bitmap, AddressingAndParts)
{
    MMBitmap bitmap = Described(kPixelBGR, 24, 0, {10, 20, 14, 23}, -12);
    EXPECT_EQ(bitmap.pixels + 2 * -12 + 3 * 3, bitmap.PixelAddress(13, 22));
    MMBitmap part;
    bitmap.SubBitmap(part, {11, 21, 13, 23});
    EXPECT_EQ(bitmap.PixelAddress(11, 21), part.pixels);
    EXPECT_EQ(part.PixelAddress(12, 22), bitmap.PixelAddress(12, 22));
    EXPECT_EQ(-12, part.pitch);
}

TEST(Bitmap, RowsArePaddedToFourBytes)
{
    std::unique_ptr<MMBitmapWithPixels> rgb(MMBitmap::CreateWithPixels({0, 0, 3, 2}, kPixelBGR,
                                                                       nullptr));
    ASSERT_NE(nullptr, rgb);
    EXPECT_EQ(12, rgb->pitch);
    EXPECT_EQ(24, rgb->bitsPerPixel);
    EXPECT_EQ(kTransparencyOpaque, rgb->transparencyKind);
    std::unique_ptr<MMBitmapWithPixels> indexes(
        MMBitmap::CreateWithPixels({5, 5, 10, 6}, kPixelIndexed, nullptr));
    EXPECT_EQ(8, indexes->pitch);
    EXPECT_TRUE(indexes->IsValid());
}

TEST(Color, EqualityIgnoresTheSpareByteAndPaletteColours)
{
    MMColor a = {-1, 1, 2, 3, 0};
    MMColor b = {-1, 1, 2, 3, 9};
    MMColor c = {-1, 1, 2, 4, 0};
    MMColor indexed = {7, 1, 2, 3, 0};
    MMColor otherBytes = {7, 9, 9, 9, 9};
    EXPECT_TRUE(MMColorEqual(a, b));
    EXPECT_FALSE(MMColorEqual(a, c));
    EXPECT_TRUE(MMColorEqual(indexed, otherBytes));
    EXPECT_FALSE(MMColorEqual(a, indexed));
    EXPECT_EQ(RGB(3, 2, 1), MMColorToColorRef(a));
    EXPECT_EQ(PALETTEINDEX(7), MMColorToColorRef(indexed));
    MMColor made = MakeMMColorFromRgb(0x030201);
    EXPECT_TRUE(MMColorEqual(a, made));
}
