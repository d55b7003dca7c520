// Palette pictures drawn through a mask, 1:1 or scaled, mirrored or not.
#include <gtest/gtest.h>

#include <vector>

#include "canvas/blend.h"
#include "canvas/masked_palette_blit.h"
#include "canvas_test_support.h"
#include "media/offscreen_surface.h"

namespace {

class MaskedBlitTest : public ::testing::Test {
protected:
    MaskedBlitTest()
    {
        surface = MMSurface::CreateBitmapDC(32, {0, 0, 8, 4}, nullptr);
        Clear();
    }
    ~MaskedBlitTest() override { surface->Dispose(); }
    void Clear()
    {
        MMBitmap store;
        surface->GetBitmap(store);
        for (int y = 0; y < 4; ++y)
            std::memset(store.PixelAddress(0, y), 0xEE, 32);
    }
    // A width x height picture of indexes 0, 1, 2, ... whose colour's blue
    // byte is 10 x the index; the mask is the given value.
    void Picture(int width, int height, uint8_t maskValue)
    {
        indexes.assign(width * height, 0);
        for (int i = 0; i < width * height; ++i)
            indexes[i] = uint8_t(i);
        masks.assign(width * height, maskValue);
        for (MMBitmap* b : {&record.picture, &record.mask}) {
            b->bitsPerPixel = 8;
            b->bytesPerPixel = 1;
            b->box = {0, 0, width, height};
            b->pitch = width;
        }
        record.picture.pixels = indexes.data();
        record.mask.pixels = masks.data();
        for (int i = 0; i < 256; ++i)
            record.colours.entries[i] = {uint8_t(10 * i), 0, 0, 0};
    }
    uint32_t At(int x, int y)
    {
        MMBitmap store;
        surface->GetBitmap(store);
        return TargetWord(store, x, y);
    }
    MMSurface* surface;
    MaskedPaletteBlitRecord record;
    std::vector<uint8_t> indexes, masks;
};

}  // namespace

TEST_F(MaskedBlitTest, EveryLoop)
{
    struct Case {
        bool scaled, mirrorX, mirrorY;
        uint8_t topLeft, topRight, bottomLeft;
    } cases[] = {
        // A 4 x 2 picture at 1:1 into (1, 1, 5, 3): corners of the drawn box.
        {false, false, false, 0, 30, 40},
        {false, true, false, 30, 0, 70},
        {false, false, true, 40, 70, 0},
        {false, true, true, 70, 40, 30},
        // Into (1, 1, 3, 2): one factor of 2, every other column of row 0.
        {true, false, false, 0, 20, 0},
        {true, true, false, 20, 0, 0},
        {true, false, true, 0, 20, 0},
        {true, true, true, 20, 0, 0},
    };
    for (const Case& c : cases) {
        Clear();
        Picture(4, 2, 0);
        record.mirrorX = c.mirrorX;
        record.mirrorY = c.mirrorY;
        Box box = c.scaled ? Box{1, 1, 3, 2} : Box{1, 1, 5, 3};
        MaskedPaletteBlit(record, surface, box);
        SCOPED_TRACE(testing::Message() << c.scaled << c.mirrorX << c.mirrorY);
        EXPECT_EQ(uint32_t(c.topLeft), At(box.left, box.top));
        EXPECT_EQ(uint32_t(c.topRight), At(box.right - 1, box.top));
        if (!c.scaled) {
            EXPECT_EQ(uint32_t(c.bottomLeft), At(box.left, box.bottom - 1));
        }
        EXPECT_EQ(0xEEEEEEEEu, At(0, 0));
        EXPECT_EQ(0xEEEEEEEEu, At(box.right, box.top));
    }
}

TEST_F(MaskedBlitTest, MaskAndClipping)
{
    Picture(4, 2, 255);
    MaskedPaletteBlit(record, surface, {0, 0, 4, 2});
    EXPECT_EQ(0x00EEEEEEu, At(1, 1)) << "a full mask keeps the colours; alpha becomes 0";

    Clear();
    Picture(4, 2, 0);
    MaskedPaletteBlit(record, surface, {6, 2, 10, 4});
    EXPECT_EQ(0u, At(6, 2)) << "the inside half, from the matching part";
    EXPECT_EQ(10u, At(7, 2));
    EXPECT_EQ(50u, At(7, 3));
    EXPECT_EQ((Box{0, 0, 2, 2}), record.source);

    Clear();
    MaskedPaletteBlit(record, surface, {20, 20, 24, 22});
    EXPECT_EQ(0xEEEEEEEEu, At(3, 3));
    EXPECT_TRUE(record.destination.IsEmpty());

    // 8 x 4 into 4 x 4: one factor min(2, 1) = 1, so the left half at 1:1.
    Picture(8, 4, 0);
    MaskedPaletteBlit(record, surface, {0, 0, 4, 4});
    EXPECT_EQ(0x10000, record.stepX);
    EXPECT_EQ(30u, At(3, 0));
    EXPECT_EQ(uint32_t(10 * 27 % 256), At(3, 3));
}

// The 1:1 row loop mixes several pixels a step: every mask value, odd
// widths and clipped starts give the bytes of the pixel-by-pixel mix.
TEST(MaskedBlitRows, MatchTheMixOfEachPixel)
{
    const int kWidth = 37;
    const int kHeight = 9;
    MMSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, kWidth, kHeight}, nullptr);
    ASSERT_NE(nullptr, surface);
    std::vector<uint8_t> indexes(kWidth * kHeight), masks(kWidth * kHeight);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        indexes[i] = uint8_t(i * 7 + 3);
        masks[i] = uint8_t(i * 29);  // every value from 0 to 255 across the picture
    }
    MMColorTable colours;
    for (int i = 0; i < 256; ++i)
        colours.entries[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), uint8_t(i ^ 0x5A)};
    struct Case {
        Box box;
    } cases[] = {{{0, 0, kWidth, kHeight}}, {{-3, -2, kWidth - 3, kHeight - 2}},
                 {{5, 1, kWidth + 5, kHeight + 1}}};
    for (const Case& c : cases) {
        MMBitmap target;
        surface->GetBitmap(target);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                uint8_t* d = target.PixelAddress(x, y);
                for (int k = 0; k < 4; ++k)
                    d[k] = uint8_t(x * 11 + y * 5 + k * 67);
            }
        std::vector<uint32_t> before(kWidth * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                before[y * kWidth + x] = TargetWord(target, x, y);
        MaskedPaletteBlitRecord record;
        for (MMBitmap* b : {&record.picture, &record.mask}) {
            b->bitsPerPixel = 8;
            b->bytesPerPixel = 1;
            b->box = {0, 0, kWidth, kHeight};
            b->pitch = kWidth;
        }
        record.picture.pixels = indexes.data();
        record.mask.pixels = masks.data();
        record.colours.Assign(colours);
        MaskedPaletteBlit(record, surface, c.box);
        surface->GetBitmap(target);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                int sx = x - c.box.left;
                int sy = y - c.box.top;
                uint32_t expected = before[y * kWidth + x];
                if (sx >= 0 && sx < kWidth && sy >= 0 && sy < kHeight) {
                    uint8_t m = masks[sy * kWidth + sx];
                    const RGBQUAD& e = colours.entries[indexes[sy * kWidth + sx]];
                    const uint8_t from[3] = {e.rgbBlue, e.rgbGreen, e.rgbRed};
                    expected = 0;
                    for (int k = 0; k < 3; ++k) {
                        uint8_t under = uint8_t(before[y * kWidth + x] >> (8 * k));
                        expected |= uint32_t(uint8_t(BlendTable[255 - m][from[k]] +
                                                     BlendTable[m][under]))
                                    << (8 * k);
                    }
                }
                ASSERT_EQ(expected, TargetWord(target, x, y))
                    << "at " << x << ", " << y << " of box " << c.box.left << ", " << c.box.top;
            }
    }
    surface->Dispose();
}
