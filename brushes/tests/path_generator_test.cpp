// Path generators: where the dabs of a stroke fall.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "brush_test_support.h"
#include "brushes/path_generator.h"
#include "framework/random.h"
#include "recording_brush.h"

namespace {

template <class Generator>
struct Bound {
    explicit Bound(double spacing, double size)
    {
        const double p[4] = {spacing, spacing, size, size};
        generator.SetParameters(p);
        brush.Use(&generator);
    }
    ~Bound() { brush.Release(); }
    void Begin(double x, double y, int32_t s = 0)
    {
        BrushDab d = Sample(x, y, s);
        generator.Begin(&d);
    }
    void Continue(double x, double y, int32_t s = 0)
    {
        BrushDab d = Sample(x, y, s);
        generator.Continue(&d);
    }
    Generator generator;
    RecordingBrush brush;
};

}  // namespace

TEST(PathGenerators, SimpleGeneratorDabsEverySample)
{
    Bound<SimplePathGenerator> simple(0, 0);
    BrushDab a = Sample(1, 2, 3, 4, 5);
    simple.generator.Begin(&a);
    simple.generator.Continue(&a);
    simple.generator.End(&a);
    ASSERT_EQ(3u, simple.brush.dabs.size());
    EXPECT_EQ(4, simple.brush.dabs[2].dx);
}

TEST(PathGenerators, WalkPlacesDabsAndCarriesTheRest)
{
    ASSERT_EQ(16.0f, FastSqrt(256.0f));
    ASSERT_EQ(8.0f, FastSqrt(64.0f));
    ASSERT_EQ(4.0f, FastSqrt(16.0f));
    Bound<IteratingPathGenerator> walk(0.5, 10);  // one dab every 5 pixels
    walk.Begin(0, 0, 0);
    walk.Continue(16, 0, 19);
    const auto& dabs = walk.brush.dabs;
    ASSERT_EQ(4u, dabs.size());
    const double xs[4] = {0, 5, 10, 15};
    const int sizes[4] = {0, 15, 18, 19};  // (f + 0.5) of the rest at each step
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(xs[i], dabs[i].x) << i;
        EXPECT_EQ(sizes[i], dabs[i].sizeIndex) << i;
        EXPECT_EQ(0, dabs[i].dx);
    }
    EXPECT_DOUBLE_EQ(1.0, walk.generator.travelled);
    // The walk measures from where it stands, so the remainder and the
    // whole new distance both count.
    walk.Continue(15, 4, 19);
    EXPECT_EQ(4u, dabs.size());
    walk.Continue(15, 8, 19);
    ASSERT_EQ(6u, dabs.size());
    EXPECT_DOUBLE_EQ(40.0 / 13, dabs[4].y);
    EXPECT_DOUBLE_EQ(80.0 / 13, dabs[5].y);
    // The iterating generator ends without a dab; a sample on the spot
    // walks nowhere.
    BrushDab end = Sample(15, 8, 19);
    walk.generator.End(&end);
    walk.Continue(15, 80.0 / 13, 19);
    EXPECT_EQ(6u, dabs.size());
}

TEST(PathGenerators, SpacingNeverBelowOneTenth)
{
    Bound<IteratingPathGenerator> walk(0, 0);
    EXPECT_DOUBLE_EQ(0.1, walk.generator.Spacing(7));
    walk.Begin(0, 0);
    walk.Continue(4, 0);
    EXPECT_GE(walk.brush.dabs.size(), 40u);  // with the pen-down dab
    EXPECT_LE(walk.brush.dabs.size(), 41u);
    EXPECT_NEAR(3.95, walk.brush.dabs.back().x, 0.06);
}

TEST(PathGenerators, DirectionalCarriesTheSampleStep)
{
    Bound<DirectionalPathGenerator> walk(0.5, 4);
    walk.Begin(10.7, 10.2);
    walk.Continue(16.5, 7.9);
    ASSERT_GE(walk.brush.dabs.size(), 2u);
    EXPECT_EQ(0, walk.brush.dabs[0].dx);
    for (size_t i = 1; i < walk.brush.dabs.size(); ++i) {
        EXPECT_EQ(6, walk.brush.dabs[i].dx);   // trunc(16.5 - 10)
        EXPECT_EQ(-2, walk.brush.dabs[i].dy);  // trunc(7.9 - 10)
    }
}

TEST(PathGenerators, SquareWaveSixThenFive)
{
    Bound<SquareWavePathGenerator> wave(0.1, 30);  // amplitude 10
    wave.Begin(0, 0);
    EXPECT_TRUE(wave.brush.dabs.empty()) << "no dab at pen-down";
    std::vector<int32_t> sides;
    for (int i = 1; i <= 12; ++i) {
        wave.Continue(16.0 * i, 0);
        sides.push_back(wave.generator.previousWave.y);
    }
    const std::vector<int32_t> expected = {-10, -10, -10, -10, -10, -10, 10, 10, 10, 10, 10, -10};
    EXPECT_EQ(expected, sides);
    // A sample equal to the previous one puts the wave point on it.
    wave.Continue(16.0 * 12, 0);
    EXPECT_EQ(0, wave.generator.previousWave.y);
}

TEST(PathGenerators, DashTenGapTwelveAndAHalf)
{
    Bound<DashedLinePathGenerator> dashed(0.1, 10);  // spacing 1, dash 10 px
    dashed.Begin(0, 0);
    EXPECT_DOUBLE_EQ(10.0, dashed.generator.dash);
    EXPECT_DOUBLE_EQ(12.5, dashed.generator.gap);
    dashed.Continue(64, 0);
    const auto& dabs = dashed.brush.dabs;
    ASSERT_FALSE(dabs.empty());
    // Dashes of about ten pixels, gaps of about twelve and a half.
    EXPECT_NEAR(1.0, dabs.front().x, 0.01) << "no dab at pen-down";
    double dashEnd = 0;
    double nextDash = 0;
    for (size_t i = 1; i < dabs.size(); ++i)
        if (dabs[i].x - dabs[i - 1].x > 1.0) {
            dashEnd = dabs[i - 1].x;
            nextDash = dabs[i].x;
            break;
        }
    EXPECT_NEAR(10.0, dashEnd, 1.01);
    EXPECT_NEAR(25.0, nextDash, 1.01);
    // Below one pixel of spacing the dash stays ten pixels of walked path.
    Bound<DashedLinePathGenerator> fine(0.01, 10);
    fine.Begin(0, 0);
    EXPECT_DOUBLE_EQ(10.0, fine.generator.dash);
    EXPECT_DOUBLE_EQ(12.5, fine.generator.gap);

    Bound<DottedLinePathGenerator> dotted(0.1, 10);  // spacing 1, dot gap 3
    dotted.Begin(0, 0);
    EXPECT_DOUBLE_EQ(3.0, dotted.generator.dotGap);
    dotted.Continue(16, 0);
    ASSERT_GE(dotted.brush.dabs.size(), 2u);
    EXPECT_NEAR(5.0, dotted.brush.dabs[0].x, 1.01);
    for (size_t i = 1; i < dotted.brush.dabs.size(); ++i)
        EXPECT_NEAR(5.0, dotted.brush.dabs[i].x - dotted.brush.dabs[i - 1].x, 1.01);
}

TEST(PathGenerators, LineStylesAndRandomJitter)
{
    EXPECT_NE(nullptr, dynamic_cast<DashedLinePathGenerator*>(std::unique_ptr<IteratingPathGenerator>(MakeLineStyleGenerator(0)).get()));
    EXPECT_NE(nullptr, dynamic_cast<RandomAnglesPathGenerator*>(std::unique_ptr<IteratingPathGenerator>(MakeLineStyleGenerator(6)).get()));
    EXPECT_EQ(nullptr, MakeLineStyleGenerator(7));

    Bound<RandomAnglesPathGenerator> jitter(0.1, 8);
    ProgramRandom().Seed(3);
    jitter.Begin(100, 100);
    for (int i = 1; i < 30; ++i) {
        jitter.Continue(100 + 4 * i, 100);
        Pair p = jitter.generator.previousJitter;
        EXPECT_LE(std::abs(p.x - (100 + 4 * i)), 4);
        EXPECT_LE(std::abs(p.y - 100), 4);
    }
    Bound<LoopyPathGenerator> loopy(0.1, 20);
    loopy.Begin(50, 50);
    loopy.Continue(50, 50);
    EXPECT_EQ(int32_t(50 + 10 * std::sin(1.0)), loopy.generator.previousLoop.x);
    EXPECT_EQ(int32_t(50 + 10 * std::cos(1.0)), loopy.generator.previousLoop.y);
    Bound<TriangleWavePathGenerator> triangle(0.1, 60);  // amplitude 20
    triangle.Begin(0, 0);
    std::vector<double> phases;
    for (int i = 1; i <= 8; ++i) {
        triangle.Continue(16.0 * i, 0);
        phases.push_back(triangle.generator.phase);
    }
    EXPECT_EQ((std::vector<double>{10, 20, 30, 20, 10, 0, -10, -20}), phases);
}
