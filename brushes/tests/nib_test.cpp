// Nib sets and the colour and opacity generators.
#include <gtest/gtest.h>

#include "brush_test_support.h"
#include "brushes/generators.h"
#include "brushes/nib_set.h"
#include <algorithm>
#include "framework/random.h"

TEST(NibSet, SidesFromDiameters)
{
    BytePlane master(100, 100, 200);
    NibSet nibs;
    nibs.Build(master, 25, 255);
    const int sides[20] = {9, 14, 19, 24, 28, 33, 38, 43, 47, 52, 57, 62, 66, 71, 76, 81, 85, 90, 95, 100};
    ASSERT_EQ(20, nibs.Count());
    for (int s = 0; s < 20; ++s) {
        EXPECT_EQ(sides[s], nibs.SizeFor(s)) << s;
        EXPECT_EQ(sides[s] / 2, nibs.OffsetFor(s));
        EXPECT_EQ(200, nibs.NibFor(s).PixelAt(sides[s] / 2, sides[s] / 2)[0]);
    }
    // Fewer nibs than sizes: sizes share them.
    nibs.Build(master, 25, 35);  // 13 - 9 = 4 nibs
    ASSERT_EQ(4, nibs.Count());
    EXPECT_EQ(0, nibs.IndexFor(4));
    EXPECT_EQ(1, nibs.IndexFor(5));
    EXPECT_EQ(3, nibs.IndexFor(19));
}

TEST(NibSet, OneNibCases)
{
    BytePlane master(100, 100, 9);
    NibSet nibs;
    nibs.Build(master, 128, 128);  // equal diameters
    ASSERT_EQ(1, nibs.Count());
    EXPECT_EQ(50, nibs.SizeFor(0));
    EXPECT_EQ(50, nibs.SizeFor(19));
    // A minimum above the maximum would leave no nib: it gets the minimum's.
    nibs.Build(master, 200, 100);
    ASSERT_EQ(1, nibs.Count());
    EXPECT_EQ(78, nibs.SizeFor(19));
    EXPECT_EQ(9, nibs.NibFor(19).PixelAt(40, 40)[0]);
    // A nib below one pixel is one pixel.
    nibs.Build(master, 1, 1);
    EXPECT_EQ(1, nibs.SizeFor(7));
}

TEST(ColorGenerators, RampsAndSaturationSequence)
{
    uint8_t tool[4] = {0, 0, 200, 0};
    const uint8_t flat[4] = {10, 200, 0, 0};
    KVXColorGeneratorSaturation clamped(flat, tool);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(200, clamped.ramp1[i]);
        EXPECT_EQ(0, clamped.ramp2[i]);
    }
    const uint8_t rising[4] = {200, 10, 100, 5};
    KVXColorGeneratorSaturation ramps(rising, tool);
    EXPECT_EQ(10, ramps.ramp1[0]);
    EXPECT_EQ(10 + 19 * 10, ramps.ramp1[19]);
    EXPECT_EQ(5 + 19 * 5, ramps.ramp2[19]);

    // Both ramps 0: the plain tool colour at every dab.
    KVXColorGeneratorSaturation plain(kNoSaturation, tool);
    uint8_t canvas[4] = {255, 255, 255, 0};
    plain.Start(canvas, 19);
    for (int i = 0; i < 3; ++i) {
        plain.Step(canvas, 19);
        EXPECT_EQ(200, plain.Current()[2]);
        EXPECT_EQ(0, plain.Current()[0]);
    }
    // Full pick-up weight and no bleed: the colour picked at the start stays.
    const uint8_t keep[4] = {255, 255, 0, 0};
    KVXColorGeneratorSaturation picker(keep, tool);
    uint8_t green[4] = {0, 255, 0, 0};
    picker.Start(green, 19);
    EXPECT_EQ(255, picker.weight);
    for (int i = 0; i < 3; ++i) {
        picker.Step(canvas, 19);
        EXPECT_EQ(0, picker.Current()[0]);
        EXPECT_EQ(255, picker.Current()[1]);
        EXPECT_EQ(0, picker.Current()[2]);
    }
    // A known sequence: pick-up weight 128 halving at every dab, bleed 64.
    const uint8_t half[4] = {128, 128, 64, 64};
    KVXColorGeneratorSaturation mix(half, tool);
    uint8_t blue[4] = {255, 0, 0, 0};
    mix.Start(blue, 0);
    const uint8_t expectBlue[3] = {128, 88, 49};
    const uint8_t expectRed[3] = {100, 131, 178};
    const uint8_t expectWeight[3] = {64, 32, 16};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(expectBlue[i], mix.Current()[0]) << i;
        EXPECT_EQ(expectRed[i], mix.Current()[2]) << i;
        EXPECT_EQ(expectWeight[i], mix.weight) << i;
        mix.Step(canvas, 0);
    }
}

TEST(ColorGenerators, OffsetKindsStayInRange)
{
    uint8_t tool[4] = {250, 5, 128, 0};
    KVXColorGeneratorOffsetSatBundle bundle(kNoSaturation, tool);
    uint8_t canvas[4] = {0, 0, 0, 0};
    ProgramRandom().Seed(7);
    for (int i = 0; i < 50; ++i) {
        bundle.Start(canvas, 0);
        ASSERT_GE(bundle.offset, -100);
        ASSERT_LE(bundle.offset, 100);
        uint8_t shifted[4];
        bundle.ShiftedColor(shifted);
        EXPECT_EQ(std::clamp(250 + bundle.offset, 0, 255), shifted[0]);
        EXPECT_EQ(std::clamp(5 + bundle.offset, 0, 255), shifted[1]);
        EXPECT_EQ(shifted[2], bundle.Current()[2]);
    }
}

TEST(OpacityGenerators, Formulas)
{
    const double q[4] = {200.0, 250.0, 10.0, 40.0};
    KVXOpacityGeneratorNib nib(q);
    EXPECT_EQ(10, nib.textureRamp[0]);
    EXPECT_EQ(200, nib.textureRamp[19]);
    EXPECT_EQ(40, nib.opacityRamp[0]);
    EXPECT_EQ(250, nib.opacityRamp[19]);
    EXPECT_EQ(int(10 + 190 * 9 * 0.05263157894736842), nib.textureRamp[9]);
    // u = T[255 - 100][200] = 122, v = T[180][133] = 94, o = T[94][250] = 92.
    EXPECT_EQ(92, nib.Opacity(180, 100, 19));
    EXPECT_EQ(92, static_cast<const KVXOpacityGeneratorBase&>(nib).GetOpacity(180, 100, 19));

    const double noTexture[4] = {0.0, 255.0, 0.0, 255.0};
    KVXOpacityGeneratorTexture texture(noTexture);
    EXPECT_EQ(0, texture.Opacity(0, 0, 5));
    EXPECT_EQ(BlendTable[77][255], texture.Opacity(77, 0, 5));
    KVXOpacityGeneratorTexture cut(q);
    EXPECT_EQ(0, cut.Opacity(122, 100, 19));    // not above the threshold
    EXPECT_EQ(BlendTable[1][250], cut.Opacity(123, 100, 19));

    KVXOpacityGeneratorGrainy grainy(q);
    EXPECT_EQ(0, grainy.Opacity(255, 255, 19));
    // T[T[255][250]][T[255][200]] = T[250][200] = 196.
    EXPECT_EQ(196, grainy.Opacity(255, 0, 19));
    KVXOpacityGeneratorBase flat(q);
    EXPECT_EQ(250, flat.GetOpacity(0, 0, 19));
}

// The nib generator's rows for one size give its opacity for every nib and
// texture byte.
TEST(OpacityGenerators, SizedNibOpacityKeepsTheFormula)
{
    const double ramps[][4] = {{200.0, 250.0, 10.0, 40.0}, {0.0, 255.0, 255.0, 0.0},
                               {255.0, 255.0, 255.0, 255.0}, {0.0, 0.0, 0.0, 0.0}};
    for (const auto& q : ramps) {
        KVXOpacityGeneratorNib nib(q);
        for (int32_t s : {0, 7, 19}) {
            KVXSizedOpacity<KVXOpacityGeneratorNib> sized(nib, s);
            for (int n = 0; n < 256; ++n)
                for (int t = 0; t < 256; ++t)
                    ASSERT_EQ(nib.Opacity(uint8_t(n), uint8_t(t), s),
                              sized.Opacity(uint8_t(n), uint8_t(t)))
                        << "size " << s << ", nib " << n << ", texture " << t;
        }
    }
}
