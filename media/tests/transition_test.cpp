// The transition base: step sizes from the shared timing record, pacing on
// the clock, the cut's measuring, the thread priority, and the visiting
// orders and colour fades of the dissolves.
#include <gtest/gtest.h>

#include <set>
#include "media/dissolve_order.h"
#include "media/transition_dissolves.h"
#include "media/transition_wipes.h"
#include "transition_support.h"

namespace {

const Box kScreenBox = {0, 0, 800, 600};

struct Timing : ::testing::Test {
    void SetUp() override { ResetTiming(); }
    void TearDown() override { ResetTiming(); }
};

// An effect whose animation is given by the test.
class ProbeEffect : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override { return animate ? animate(*this, box) : false; }
    std::function<bool(ProbeEffect&, const Box&)> animate;
};

}  // namespace

TEST_F(Timing, StepSizesFollowTheMeasuredSpeed)
{
    struct Case {
        const char* name;
        int32_t copyCost;
        int32_t singleCopyTime;
        Box box;
        int32_t extent;
        int32_t stride;
        int32_t boxOutSteps;  // of n = 2 x width
    } cases[] = {
        // 1500 ms x 1000 / 15000 = 100 affordable copies: 800 / 100.
        {"a hundred strips", 0, 15000, kScreenBox, 800, 8, 100},
        {"one-pixel strips", 150, 150, kScreenBox, 800, 1, 1600},  // 780 ms left: 5200 copies
        {"no time left", 1000, 150, kScreenBox, 800, 800, 1},      // 4800 ms to copy the box
        {"one affordable copy", 0, 1500000, kScreenBox, 800, 800, 1},
        {"eleven affordable copies", 0, 136363, {0, 0, 20, 20}, 20, 1, 11},
        {"a zero single-copy time", 0, 0, {0, 0, 64, 16}, 64, 1, 128},
    };
    ProbeEffect effect;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TransitionTiming().copyCost = c.copyCost;
        TransitionTiming().singleCopyTime = c.singleCopyTime;
        EXPECT_EQ(c.stride, effect.WipeStride(c.box, c.extent));
        EXPECT_EQ(c.boxOutSteps, effect.BoxOutSteps(c.box, 2 * c.box.Width()));
    }
}

TEST_F(Timing, PushStepsAreTimedFirstThenMultiplesOfFour)
{
    Pictures pictures({0, 0, 64, 16});
    Pictures paletteScreen({0, 0, 64, 16}, 8, 32);
    ProbeEffect effect;
    Box box = {0, 0, 64, 16};
    int32_t step = 0;
    effect.animate = [&](ProbeEffect& e, const Box& b) {
        step = e.ComputeStep(b, b.Width());
        return true;
    };
    TransitionTiming().copyCost = 0;
    pictures.Run(effect, box);
    EXPECT_EQ(2, step);  // not measured yet
    EXPECT_FALSE(TransitionTiming().scrollTiming);  // Run ends the timing

    struct Case {
        int32_t scrollCount;   // scrolls in 1000 ms
        int32_t distance;
        bool paletteScreen;
        int32_t step;
    } cases[] = {
        {500, 600, false, 1},   // 750 scrolls fit
        {500, 800, false, 2},   // ceil(800 / 750)
        {500, 800, true, 4},    // to an 8-bit screen
        {100, 800, false, 8},   // ceil(800 / 150) = 6, up to a multiple of 4
        {200, 800, false, 4},
        {1, 800, false, 800},   // one scroll fits
        {1, 801, false, 804},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scrollCount * 10000 + c.distance);
        TransitionTiming().scrollTime = 1000;
        TransitionTiming().scrollCount = c.scrollCount;
        effect.animate = [&](ProbeEffect& e, const Box&) {
            step = e.ComputeStep(kScreenBox, c.distance);
            return true;
        };
        (c.paletteScreen ? paletteScreen : pictures).Run(effect, box);
        EXPECT_EQ(c.step, step);
    }
}

TEST_F(Timing, PaceWaitsForItsShareOfTheDurationUntilTheDeadline)
{
    Pictures pictures({0, 0, 8, 8});
    ProbeEffect effect;
    effect.SetClock(TestClock::Now);
    std::vector<bool> answers;
    std::vector<uint32_t> clocks;
    effect.animate = [&](ProbeEffect& e, const Box&) {
        for (int32_t i : {0, 1, 2, 3}) {
            answers.push_back(e.Pace(i, 3));
            clocks.push_back(TestClock::now);
        }
        TestClock::now = e.StartTime() + 3000;
        answers.push_back(e.Pace(3, 3));
        TestClock::now = e.StartTime() + 3001;
        uint32_t reads = TestClock::reads;
        answers.push_back(e.Pace(1, 3));
        EXPECT_EQ(reads + 1, TestClock::reads);  // no waiting
        return true;
    };
    TestClock::Set(5000, 1);  // the clock moves 1 ms per reading
    pictures.Run(effect, {0, 0, 8, 8});
    EXPECT_EQ((std::vector<bool>{true, true, true, true, true, false}), answers);
    // Each wait ends on the first reading at or past start + 1500 x i / 3.
    EXPECT_EQ(5000u, effect.StartTime());
    EXPECT_EQ((std::vector<uint32_t>{5003, 5501, 6001, 6501}), clocks);
}

TEST_F(Timing, TheCutMeasuresCopiesOfLargerBoxesAndSinglePixels)
{
    Pictures pictures({0, 0, 100, 50});
    MMTransitionCut cut;
    cut.SetClock(TestClock::Now);
    TestClock::Set(1000, 10);  // every reading 10 ms later
    pictures.Run(cut, {0, 0, 100, 50});
    EXPECT_TRUE(pictures.AllShown());
    MMTransitionTiming& timing = TransitionTiming();
    EXPECT_EQ(5000, timing.largestArea);
    EXPECT_EQ(200, timing.copyCost);  // 10 ms for 5000 pixels
    EXPECT_EQ(10, timing.singleCopyTime);
    EXPECT_FALSE(timing.measureSingleCopies);

    TestClock::advance = 40;
    pictures.Run(cut, {0, 0, 10, 10});  // smaller: not measured
    EXPECT_EQ(200, timing.copyCost);
    EXPECT_EQ(10, timing.singleCopyTime);

    // A clock that stands still measures no time: the single-copy time
    // stays a cost that can be divided by.
    timing.measureSingleCopies = true;
    TestClock::advance = 0;
    pictures.Run(cut, {0, 0, 100, 50});
    EXPECT_EQ(1, timing.singleCopyTime);
    EXPECT_GT(cut.WipeStride({0, 0, 100, 50}, 100), 0);
}

TEST_F(Timing, EffectsAnimateAtTheHighestPriorityAndTheCutKeepsIt)
{
    Pictures pictures({0, 0, 16, 16});
    HANDLE thread = GetCurrentThread();
    ASSERT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL));
    ProbeEffect effect;
    int during = 0;
    effect.animate = [&](ProbeEffect&, const Box&) {
        during = GetThreadPriority(thread);
        return false;  // the base copies the box itself
    };
    pictures.Run(effect, {0, 0, 16, 16});
    EXPECT_EQ(THREAD_PRIORITY_HIGHEST, during);
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, GetThreadPriority(thread));
    EXPECT_TRUE(pictures.AllShown());
    EXPECT_EQ(0, pictures.screen->LockCount());

    // The cut's copy is a plain one: the priority is left alone.
    Pictures again({0, 0, 16, 16});
    MMTransitionCut cut;
    again.Run(cut, {0, 0, 16, 16});
    EXPECT_TRUE(again.AllShown());
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, GetThreadPriority(thread));
    SetThreadPriority(thread, THREAD_PRIORITY_NORMAL);
}

TEST(DissolveOrder, APermutationThatBeginsAsGiven)
{
    const int16_t* order = DissolveOrder();
    const int16_t start[] = {41, 2083, 2238, 1924, 2785, 3436, 3286, 686};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(start[i], order[i]);
    }
    std::set<int16_t> all(order, order + kDissolveOrderSize);
    EXPECT_EQ(4096u, all.size());
    EXPECT_EQ(0, *all.begin());
    EXPECT_EQ(4095, *all.rbegin());
}

TEST(DissolveOrder, TheEightyPiecesTileTheSquareOnce)
{
    EXPECT_EQ((Box{6, 0, 8, 2}), TilePiece(0));
    int covered[kTileSize][kTileSize] = {};
    for (int32_t i = 0; i < kTilePieces; ++i) {
        Box piece = TilePiece(i);
        for (int32_t y = piece.top; y < piece.bottom; ++y) {
            for (int32_t x = piece.left; x < piece.right; ++x) {
                ASSERT_TRUE(x < kTileSize && y < kTileSize) << "piece " << i;
                ++covered[y][x];
            }
        }
    }
    for (int32_t y = 0; y < kTileSize; ++y) {
        for (int32_t x = 0; x < kTileSize; ++x) {
            EXPECT_EQ(1, covered[y][x]) << x << "," << y;
        }
    }
}

TEST(VisitOrder, EveryCellButTheFirstOnceThenFinished)
{
    struct Grid {
        int32_t width;
        int32_t height;
        size_t cells;  // visited: all but (0, 0)
    } grids[] = {{3, 2, 5}, {1, 1, 0}, {2, 1, 1}, {1, 3, 2}, {7, 5, 34},
                 {64, 64, 4095}, {800, 600, 479999}, {0, 5, 0}, {5, 0, 0}, {-1, 3, 0}};
    for (const Grid& g : grids) {
        SCOPED_TRACE(std::to_string(g.width) + " x " + std::to_string(g.height));
        MMVisitOrder order(g.width, g.height);
        std::set<std::pair<int32_t, int32_t>> seen;
        Pair cell;
        size_t visits = 0;
        while (order.Next(cell) && visits <= g.cells) {
            ++visits;
            EXPECT_TRUE(cell.x >= 0 && cell.x < g.width && cell.y >= 0 && cell.y < g.height);
            EXPECT_FALSE(cell.x == 0 && cell.y == 0);
            seen.insert({cell.x, cell.y});
        }
        EXPECT_EQ(g.cells, visits);
        EXPECT_EQ(g.cells, seen.size());
        EXPECT_TRUE(order.Finished());
        EXPECT_FALSE(order.Next(cell));
    }
    // 3 x 2: the five cells in the register's order.
    MMVisitOrder small(3, 2);
    std::vector<Pair> cells;
    Pair cell;
    while (small.Next(cell)) {
        cells.push_back(cell);
    }
    EXPECT_EQ((std::vector<Pair>{{0, 1}, {1, 1}, {2, 1}, {2, 0}, {1, 0}}), cells);
}

TEST(VisitOrder, EveryRegisterRunsThroughAllItsValues)
{
    for (int32_t n = 2; n <= 24; ++n) {
        uint32_t taps = MMVisitOrder::Taps(n);
        uint32_t value = 1;
        uint64_t period = 0;
        do {
            value = (value & 1) != 0 ? (value >> 1) ^ taps : value >> 1;
            ++period;
        } while (value != 1 && period <= (1u << n));
        EXPECT_EQ((uint64_t(1) << n) - 1, period) << n << " bits";
    }
}

TEST(PaletteFader, StepsFromCloseToTheFirstTableToExactlyTheSecond)
{
    MMColorTable black;
    MMColorTable white;
    for (RGBQUAD& entry : white.entries) {
        entry = {255, 255, 255, 0};
    }
    MMPaletteFader fader(black, white, 4);
    const int expected[] = {63, 127, 191, 255};
    for (int32_t i = 0; i < 4; ++i) {
        MMColorTable step;
        fader.Step(i, step);
        EXPECT_EQ(expected[i], step.entries[0].rgbRed);
        EXPECT_EQ(expected[i], step.entries[255].rgbGreen);
        EXPECT_EQ(expected[i], step.entries[17].rgbBlue);
    }
    MMPaletteFader down(white, black, 4);
    MMColorTable step;
    down.Step(0, step);
    EXPECT_EQ(191, step.entries[3].rgbRed);  // 255 x 3 / 4, rounded down
    down.Step(3, step);
    EXPECT_EQ(0, step.entries[3].rgbRed);
}
