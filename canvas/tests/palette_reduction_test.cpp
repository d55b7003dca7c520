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
    std::vector<uint8_t> none;
    EXPECT_FALSE(ShrinkPalettePicture(bitmap(pixels, 4, 4), bitmap(none, 0, 2), palette, 0, 250,
                                      251, false));
}

namespace {

MMBitmap Indexes(std::vector<uint8_t>& p, int w, int h)
{
    MMBitmap b;
    b.bitsPerPixel = 8;
    b.bytesPerPixel = 1;
    b.box = {0, 0, w, h};
    b.pixels = p.data();
    b.pitch = w;
    return b;
}

}  // namespace

TEST(PaletteReduction, AShrinkByLessThanHalfCountsPartsOfPixelsAndDithers)
{
    BlackAndWhite bw;
    for (int i = 2; i < 256; ++i)
        bw.palette[i] = {0, 0, 255, 0};  // red, far from every grey
    // Six alternating pixels into four: windows of 1.5 pixels give the
    // means 85, 85, 170, 170, which dither (errors 85, 122, -32) into black,
    // black, white, white.
    std::vector<uint8_t> row = {0, 1, 0, 1, 0, 1};
    std::vector<uint8_t> out(4, 9);
    ASSERT_TRUE(ShrinkPalettePicture(Indexes(row, 6, 1), Indexes(out, 4, 1), bw.palette, 2, 3, 4,
                                     false));
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 1, 1}), out);
    ASSERT_TRUE(ShrinkPalettePicture(Indexes(row, 6, 1), Indexes(out, 4, 1), bw.palette, 2, 3, 4,
                                     true));
    EXPECT_EQ((std::vector<uint8_t>{1, 1, 0, 0}), out) << "mirrored";
    // A clear pixel clears the windows that cover any part of it; special
    // pixels outweighing the coloured ones give the reserved index.
    row = {0, 2, 0, 3, 3, 1};
    ASSERT_TRUE(ShrinkPalettePicture(Indexes(row, 6, 1), Indexes(out, 4, 1), bw.palette, 2, 3, 4,
                                     false));
    EXPECT_EQ(2, out[0]);
    EXPECT_EQ(2, out[1]);
    EXPECT_EQ(4, out[2]) << "special 1.5 against white 0";
    EXPECT_EQ(1, out[3]) << "white 1 against special 0.5";
}

TEST(PaletteReduction, TwoPicturesMixedByAWeight)
{
    RGBQUAD palette[256] = {};
    for (int i = 0; i < 256; ++i)
        palette[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
    std::vector<uint8_t> first(4, 10), second(4, 200), out(1, 0);
    struct Case {
        int weight;
        int index;
    } cases[] = {
        {255, 7},    // (10 x 256) / 256 = 10, the cell centred on 7
        {0, 199},    // (10 + 200 x 255) / 256 = 199
        {127, 103},  // (10 x 128 + 200 x 128) / 256 = 105, the cell centred on 103
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ShrinkMixedPalettePictures(Indexes(first, 2, 2), Indexes(second, 2, 2),
                                               c.weight, Indexes(out, 1, 1), palette, 0, 250,
                                               251, false));
        EXPECT_EQ(c.index, out[0]) << c.weight;
    }
    // Clear where the picture weighing more is clear.
    first[3] = 0;
    ASSERT_TRUE(ShrinkMixedPalettePictures(Indexes(first, 2, 2), Indexes(second, 2, 2), 200,
                                           Indexes(out, 1, 1), palette, 0, 250, 251, false));
    EXPECT_EQ(0, out[0]);
    ASSERT_TRUE(ShrinkMixedPalettePictures(Indexes(first, 2, 2), Indexes(second, 2, 2), 50,
                                           Indexes(out, 1, 1), palette, 0, 250, 251, false));
    EXPECT_NE(0, out[0]);
    std::vector<uint8_t> small(1, 10);
    EXPECT_FALSE(ShrinkMixedPalettePictures(Indexes(first, 2, 2), Indexes(small, 1, 1), 50,
                                            Indexes(out, 1, 1), palette, 0, 250, 251, false));
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
