// The inverse palette, a dithered row and the shrinks into palettes.
#include <gtest/gtest.h>

#include <vector>

#include "canvas/palette_reduction.h"
#include "canvas_test_support.h"

namespace {

// Black and white, every other entry left out.
struct BlackAndWhite {
    RGBQUAD palette[256] = {};
    std::vector<int16_t> excluded;
    BlackAndWhite()
    {
        palette[1] = {255, 255, 255, 0};
        for (int16_t i = 2; i < 256; ++i)
            excluded.push_back(i);
        excluded.push_back(256);
    }
};

}  // namespace

TEST(PaletteReduction, NearestEntryOfACell)
{
    RGBQUAD palette[256] = {};
    for (int i = 0; i < 256; ++i)
        palette[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
    InversePalette inverse;
    const int16_t excluded[] = {7, 256};
    inverse.Build(palette, -1, excluded);
    // The cell of (1, 2, 3) is centred on (7, 7, 7); without 7, entries 6
    // and 8 lie as near: the chain lists higher indexes first.
    EXPECT_EQ(8, inverse.Nearest(1, 2, 3));
    EXPECT_EQ(8, inverse.Nearest(15, 15, 15)) << "cached for the cell";
    InversePalette without;
    without.Build(palette, 8, excluded);
    EXPECT_EQ(6, without.Nearest(1, 2, 3));
    EXPECT_EQ(4095, InversePalette::Cell(255, 255, 255));
    EXPECT_EQ(0x123, InversePalette::Cell(0x1F, 0x2F, 0x3F));
    EXPECT_EQ(135, inverse.Nearest(128, 128, 128));
}

TEST(PaletteReduction, ADitheredGreyRow)
{
    BlackAndWhite bw;
    PaletteDitherer ditherer(8, bw.palette, -1, bw.excluded.data());
    ditherer.SetSource(kDitherBGR);
    std::vector<uint8_t> grey(4 * 3, 128), out(4, 9);
    ditherer.DitherRow(grey.data(), out.data(), 4);
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 1, 0}), out);
    std::vector<uint8_t> untouched(4, 9);
    ditherer.DitherRow(grey.data(), untouched.data(), 9);
    EXPECT_EQ(std::vector<uint8_t>(4, 9), untouched) << "wider than the ditherer";
    // With white as the second special index its negative errors are
    // dropped: mid grey then stays white.
    PaletteDitherer special(8, bw.palette, -1, bw.excluded.data());
    special.SetSource(kDitherBGRX);
    special.SetSpecialIndexes(-1, 1);
    std::vector<uint8_t> grey32(8 * 4, 128), whiteOut(8, 9);
    special.DitherRow(grey32.data(), whiteOut.data(), 8);
    EXPECT_EQ(std::vector<uint8_t>(8, 1), whiteOut);
}

TEST(PaletteReduction, ShrinksAPalettePicture)
{
    RGBQUAD palette[256] = {};
    for (int i = 0; i < 256; ++i)
        palette[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
    std::vector<uint8_t> pixels = {10, 20, 0, 0,  //
                                   30, 40, 0, 5,  //
                                   99, 99, 250, 250,  //
                                   99, 250, 250, 250};
    auto bitmap = [](std::vector<uint8_t>& p, int w, int h) {
        MMBitmap b;
        b.bitsPerPixel = 8;
        b.bytesPerPixel = 1;
        b.box = {0, 0, w, h};
        b.pixels = p.data();
        b.pitch = w;
        return b;
    };
    std::vector<uint8_t> out(4, 0);
    // 0 is clear, 250 special, 251 reserved.
    ASSERT_TRUE(ShrinkPalettePicture(bitmap(pixels, 4, 4), bitmap(out, 2, 2), palette, 0, 250, 251,
                                     false));
    // The mean (10 + 20 + 30 + 40) / 4 = 25 lies in the cell centred on 23.
    EXPECT_EQ(23, out[0]);
    EXPECT_EQ(0, out[1]) << "a clear pixel clears the group";
    EXPECT_EQ(103, out[2]) << "three coloured against one special: 99, cell of 103";
    EXPECT_EQ(251, out[3]);
    ASSERT_TRUE(ShrinkPalettePicture(bitmap(pixels, 4, 4), bitmap(out, 2, 2), palette, 0, 250, 251,
                                     true));
    EXPECT_EQ(23, out[1]) << "mirrored";
    std::vector<uint8_t> big(9);
    EXPECT_FALSE(ShrinkPalettePicture(bitmap(pixels, 4, 4), bitmap(big, 3, 3), palette, 0, 250,
                                      251, false));
}

namespace {

class GreyRows : public KVXDibRows {
public:
    int32_t Width() const override { return 5; }
    int32_t Height() const override { return 2; }
    int32_t BitsPerPixel() const override { return 24; }
    bool UnpackedRow(int32_t row, uint8_t* buffer) const override
    {
        for (int x = 0; x < 5; ++x)
            buffer[3 * x] = buffer[3 * x + 1] = buffer[3 * x + 2] = uint8_t(10 * x + 100 * row);
        return true;
    }
    bool CopyColorTable(RGBQUAD*) const override { return false; }
};

}  // namespace

TEST(PaletteReduction, BoxFilterShrink)
{
    auto target = MakeTarget(2, 1);
    GreyRows rows;
    ASSERT_TRUE(BoxFilterShrink(rows, *target, 50, 50, nullptr));
    // Columns 0-2 and 2-4 (sharing column 2), rows 0-1: (0+10+20+100+110+120) / 6.
    EXPECT_EQ(Bgr(60, 60, 60), TargetWord(*target, 0, 0));
    EXPECT_EQ(Bgr(80, 80, 80), TargetWord(*target, 1, 0));
    ASSERT_TRUE(BoxFilterShrink(rows, *target, 60, 100, nullptr));
    // Twice as much contrast, brightness offset MulDiv(60, 256, 100) - 128 = 26.
    EXPECT_EQ(Bgr(146, 146, 146), TargetWord(*target, 0, 0));
}
