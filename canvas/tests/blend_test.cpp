// The product table and the 8-bit mixes built on it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "canvas/blend.h"
#include "media/bitmap.h"

TEST(BlendTable, Values)
{
    struct Case {
        int a, b, value;
    } cases[] = {
        {128, 128, 64}, {255, 255, 255}, {1, 1, 0}, {16, 16, 1}, {255, 77, 77},
        {0, 200, 0},    {200, 0, 0},     {2, 64, 1}, {3, 42, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value, BlendTable[c.a][c.b]) << c.a << " x " << c.b;
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            ASSERT_EQ(BlendTable[a][b], BlendTable[b][a]);
}

TEST(BlendTable, Mixes)
{
    EXPECT_EQ(200, BlendBytes(200, 10, 0));
    EXPECT_EQ(10, BlendBytes(200, 10, 255));
    EXPECT_EQ(BlendTable[200][127] + BlendTable[10][128], BlendBytes(200, 10, 128));

    uint8_t pixel[4] = {0, 100, 255, 9};
    const uint8_t colour[3] = {255, 255, 255};
    BlendRgb(pixel, colour, 153);
    EXPECT_EQ(BlendTable[0][102] + BlendTable[255][153], pixel[0]);
    EXPECT_EQ(BlendTable[100][102] + BlendTable[255][153], pixel[1]);
    EXPECT_EQ(255, pixel[2]);
    EXPECT_EQ(9, pixel[3]) << "the fourth byte is left";
}

TEST(BlendTable, SmoothingSkipsMarkedPixelsAndTheBorder)
{
    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels({0, 0, 4, 3}, kPixelBGRA, nullptr));
    for (int y = 0; y < 3; ++y)
        std::memset(bitmap->PixelAddress(0, y), 0, 16);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            bitmap->PixelAddress(x, y)[0] = 200;
    bitmap->PixelAddress(0, 0)[0] = 0;
    bitmap->PixelAddress(2, 1)[3] = 1;  // marked
    SmoothUnmarkedPixels3x3(*bitmap);
    // Around (1, 1): 200 x 64 + seven 200s and one 0 at the corner.
    int expected = BlendTable[200][64] + 4 * BlendTable[200][32] + 3 * BlendTable[200][16];
    EXPECT_EQ(expected, bitmap->PixelAddress(1, 1)[0]);
    EXPECT_EQ(200, bitmap->PixelAddress(2, 1)[0]) << "marked";
    EXPECT_EQ(0, bitmap->PixelAddress(0, 0)[0]) << "border";
    EXPECT_EQ(200, bitmap->PixelAddress(3, 1)[0]) << "border";
    // A bright flat area: 64 + 4 x 32 + 4 x 16 of 255 caps at 255.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            bitmap->PixelAddress(x, y)[1] = 255;
    SmoothUnmarkedPixels3x3(*bitmap);
    EXPECT_EQ(255, bitmap->PixelAddress(1, 1)[1]);
}
