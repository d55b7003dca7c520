// Generators that paint while the pen rests, stepped on a stage with a fake
// clock, and the grid of the picture tubes.
#include <gtest/gtest.h>

#include <cmath>

#include "brush_test_support.h"
#include "brushes/timed_generators.h"
#include "engine/tests/stage_fixture.h"
#include "framework/random.h"
#include "recording_brush.h"

namespace {

class TimedGeneratorTest : public ::testing::Test {
protected:
    TimedGeneratorTest() { bare.stage.StartClock(); }
    void Pass(uint32_t ms)
    {
        FakeClock::now += ms;
        bare.stage.ChangeSceneOrDispatch();
        bare.stage.RunDueTasks();
    }
    void Passes(int count, uint32_t ms)
    {
        for (int i = 0; i < count; ++i)
            Pass(ms);
    }
    template <class G>
    void Bind(G& g, double spacing, double size)
    {
        const double p[4] = {spacing, spacing, size, size};
        g.SetParameters(p);
        brush.Use(&g);
    }

    BareStage bare;
    RecordingBrush brush;
};

}  // namespace

TEST_F(TimedGeneratorTest, RestingSprayDabsEveryTenMilliseconds)
{
    ContinuousPathGenerator spray(&bare.stage);
    Bind(spray, 0.5, 10);
    Passes(3, 1);
    EXPECT_TRUE(brush.dabs.empty()) << "no stroke, no dabs";
    BrushDab down = Sample(40, 30, 7);
    spray.Begin(&down);
    ASSERT_EQ(1u, brush.dabs.size()) << "the pen-down dab";
    Passes(100, 1);
    EXPECT_GE(brush.dabs.size(), 10u);
    EXPECT_LE(brush.dabs.size(), 12u);
    for (const BrushDab& d : brush.dabs) {
        EXPECT_LE(std::fabs(d.x - 40), 1.0);
        EXPECT_LE(std::fabs(d.y - 30), 1.0);
        EXPECT_EQ(7, d.sizeIndex);
    }
    spray.End(&down);
    size_t count = brush.dabs.size();
    Passes(50, 1);
    EXPECT_EQ(count, brush.dabs.size());
    brush.Release();
}

TEST_F(TimedGeneratorTest, SpatterDropsInsideTheDisc)
{
    ProgramRandom().Seed(11);
    SpatterPathGenerator spatter(&bare.stage);
    Bind(spatter, 0.5, 16);  // disc of radius 8
    BrushDab down = Sample(60, 60, 10);
    spatter.Begin(&down);
    Passes(200, 1);
    ASSERT_GE(brush.dabs.size(), 20u);
    for (size_t i = 1; i < brush.dabs.size(); ++i) {
        const BrushDab& d = brush.dabs[i];
        EXPECT_LE(std::hypot(int32_t(d.x - 60), int32_t(d.y - 60)), 8.5);
        EXPECT_GE(d.sizeIndex, 10);
        EXPECT_LE(d.sizeIndex, 19);
    }
    // Below one pixel both offsets are -R.
    RecordingBrush small;
    SpatterPathGenerator tiny(&bare.stage);
    const double p[4] = {0.5, 0.5, 0.5, 0.5};
    tiny.SetParameters(p);
    small.Use(&tiny);
    tiny.Begin(&down);
    tiny.Continue(&down);
    ASSERT_EQ(2u, small.dabs.size());
    EXPECT_DOUBLE_EQ(59.75, small.dabs[1].x);
    small.Release();
    brush.Release();
}

TEST_F(TimedGeneratorTest, SquiggleEveryTwoMillisecondsAndTheCounterWraps)
{
    BuildSineCosineTables();
    ContinuousSquigglyPathGenerator squiggle(&bare.stage);
    Bind(squiggle, 0.01, 30);  // radius 10
    BrushDab down = Sample(100, 100, 19);
    squiggle.Begin(&down);
    EXPECT_TRUE(brush.dabs.empty());
    Pass(1);
    Passes(10, 2);
    EXPECT_GE(squiggle.counter, 9);
    EXPECT_LE(squiggle.counter, 11);
    EXPECT_FALSE(brush.dabs.empty());
    squiggle.counter = 719;
    squiggle.SquiggleStep(down);
    EXPECT_EQ(0, squiggle.counter);
    EXPECT_EQ(100, squiggle.previousSquiggle.x);  // sine 0
    EXPECT_EQ(110, squiggle.previousSquiggle.y);
    brush.Release();
}

TEST(GriddedGenerator, OneDabPerCellLeft)
{
    GriddedPathGenerator grid;
    RecordingBrush brush;
    brush.Use(&grid);
    const double p[4] = {0, 10.0 / 255, 0, 0};
    grid.SetParameters(p);
    EXPECT_EQ((Box{-5, -5, 5, 5}), grid.cell);
    BrushDab s = Sample(50, 50, 4);
    grid.Begin(&s);
    EXPECT_EQ((Box{45, 45, 55, 55}), grid.cell);
    s = Sample(52, 54.5, 4);
    grid.Continue(&s);
    EXPECT_TRUE(brush.dabs.empty());
    s = Sample(56, 50, 4);
    grid.Continue(&s);
    ASSERT_EQ(1u, brush.dabs.size());
    EXPECT_EQ(50, brush.dabs[0].x);
    EXPECT_EQ(50, brush.dabs[0].y);
    EXPECT_EQ(1, brush.dabs[0].dx);
    EXPECT_EQ(0, brush.dabs[0].dy);
    EXPECT_EQ((Box{55, 45, 65, 55}), grid.cell);
    // A jump over several cells moves one cell per sample; up comes first.
    s = Sample(60, 20, 4);
    grid.Continue(&s);
    EXPECT_EQ(0, brush.dabs[1].dx);
    EXPECT_EQ(-1, brush.dabs[1].dy);
    EXPECT_EQ((Box{55, 35, 65, 45}), grid.cell);
    grid.End(&s);
    ASSERT_EQ(3u, brush.dabs.size());
    EXPECT_EQ(60, brush.dabs[2].x);
    EXPECT_EQ(40, brush.dabs[2].y);
    EXPECT_EQ(-1, brush.dabs[2].dy);
    EXPECT_EQ((Box{55, 35, 65, 45}), grid.cell);
    brush.Release();
}
