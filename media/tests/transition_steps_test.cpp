// What each effect has put on the screen after its steps, seen through the
// observer with both surfaces small back buffers and pacing off; and that
// every effect, paced or out of time, ends showing the whole new picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include "media/dissolve_order.h"
#include "media/transition_dissolves.h"
#include "media/transition_wipes.h"
#include "transition_support.h"

namespace {

struct Steps : ::testing::Test {
    void SetUp() override
    {
        ResetTiming();
        TestClock::Set(1000, 0);
    }
    void TearDown() override { ResetTiming(); }

    // Runs the effect with the frozen test clock and without pacing.
    template <class Effect>
    void RunObserved(Effect& effect, Pictures& pictures, StepRecorder& recorder, const Box& box)
    {
        effect.SetClock(TestClock::Now);
        effect.SetPacing(false);
        effect.SetObserver(&recorder);
        pictures.Run(effect, box);
    }
};

// A wipe stride of 8 over 64 pixels: 8 affordable copies.
void AffordEightCopies()
{
    TransitionTiming().copyCost = 0;
    TransitionTiming().singleCopyTime = 1500 * 1000 / 8;
}

}  // namespace

TEST_F(Steps, WipeRightRevealsEightColumnsPerStep)
{
    AffordEightCopies();
    Pictures pictures({0, 0, 64, 16});
    StepRecorder recorder(pictures);
    MMTransitionWipeRight wipe;
    RunObserved(wipe, pictures, recorder, {0, 0, 64, 16});
    ASSERT_EQ(8u, recorder.steps.size());
    EXPECT_EQ((Pair{0, 8}), recorder.steps[0]);
    EXPECT_EQ(PixelsOf({{0, 0, 8, 16}}), recorder.newly[0]);
    EXPECT_EQ(PixelsOf({{24, 0, 32, 16}}), recorder.newly[3]);
    EXPECT_EQ(PixelsOf({{0, 0, 32, 16}}), recorder.whole[3]);
    EXPECT_TRUE(pictures.AllShown());
}

TEST_F(Steps, OtherWipesComeFromTheirEdges)
{
    AffordEightCopies();
    struct Case {
        const char* name;
        std::unique_ptr<MMTransitionEffect> wipe;
        Box first;
    };
    Case cases[] = {
        {"left", std::make_unique<MMTransitionWipeLeft>(), {56, 0, 64, 64}},
        {"down", std::make_unique<MMTransitionWipeDown>(), {0, 0, 64, 8}},
        {"up", std::make_unique<MMTransitionWipeUp>(), {0, 56, 64, 64}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pictures pictures({0, 0, 64, 64});
        StepRecorder recorder(pictures, 1);
        RunObserved(*c.wipe, pictures, recorder, {0, 0, 64, 64});
        EXPECT_EQ(8u, recorder.steps.size());
        EXPECT_EQ(PixelsOf({c.first}), recorder.newly[0]);
        EXPECT_TRUE(pictures.AllShown());
    }
}

TEST_F(Steps, BlindsCopyEveryTwentyFourthRow)
{
    Pictures pictures({0, 0, 8, 30});
    StepRecorder recorder(pictures);
    MMTransitionBlinds blinds;
    RunObserved(blinds, pictures, recorder, {0, 0, 8, 30});
    ASSERT_EQ(24u, recorder.steps.size());
    EXPECT_EQ(PixelsOf({{0, 0, 8, 1}, {0, 24, 8, 25}}), recorder.newly[0]);
    EXPECT_EQ(PixelsOf({{0, 5, 8, 6}, {0, 29, 8, 30}}), recorder.newly[5]);
    EXPECT_EQ(PixelsOf({{0, 6, 8, 7}}), recorder.newly[6]);
    EXPECT_TRUE(pictures.AllShown());
}

TEST_F(Steps, BoxOutGrowsByFourBands)
{
    // 16 affordable steps: 4 rectangles.
    TransitionTiming().copyCost = 0;
    TransitionTiming().singleCopyTime = 1500 * 1000 / 16;
    Pictures pictures({0, 0, 64, 48});
    StepRecorder recorder(pictures);
    MMTransitionBoxOut boxOut;
    RunObserved(boxOut, pictures, recorder, {0, 0, 64, 48});
    ASSERT_EQ(4u, recorder.steps.size());
    EXPECT_EQ((Pair{1, 4}), recorder.steps[0]);
    EXPECT_EQ(PixelsOf({{24, 18, 40, 30}}), recorder.whole[0]);
    EXPECT_EQ(PixelsOf({{16, 12, 48, 36}}), recorder.whole[1]);
    EXPECT_EQ(PixelsOf({{16, 12, 48, 18}, {16, 12, 24, 36}, {40, 12, 48, 36}, {16, 30, 48, 36}}),
              recorder.newly[1]);
    EXPECT_TRUE(pictures.AllShown());

    // Eleven affordable steps: the box-out leaves the copy to Run.
    TransitionTiming().singleCopyTime = 1500 * 1000 / 11;
    Pictures again({0, 0, 64, 48});
    StepRecorder none(again);
    RunObserved(boxOut, again, none, {0, 0, 64, 48});
    EXPECT_TRUE(none.steps.empty());
    EXPECT_TRUE(again.AllShown());
}

TEST_F(Steps, PushRightSlidesTheOldPictureOut)
{
    // 9 scrolls fit: steps of 8 pixels.
    TransitionTiming().copyCost = 0;
    TransitionTiming().scrollTime = 1000;
    TransitionTiming().scrollCount = 6;
    Pictures pictures({0, 0, 64, 4});
    MMTransitionPushRight push;
    std::vector<uint32_t> after;
    StepRecorder recorder(pictures, 0);
    recorder.onStep = [&](int32_t step, int32_t) {
        if (step == 16) {
            for (int32_t x = 0; x < 64; ++x) {
                after.push_back(Pictures::PixelOf(pictures.screen, x, 2));
            }
        }
    };
    RunObserved(push, pictures, recorder, {0, 0, 64, 4});
    EXPECT_EQ((std::vector<Pair>{{8, 64}, {16, 64}, {24, 64}, {32, 64}, {40, 64}, {48, 64},
                                 {56, 64}, {64, 64}}),
              recorder.steps);
    ASSERT_EQ(64u, after.size());
    // After two steps: the new picture's right 16 columns, then the old
    // picture moved 16 to the right.
    for (int32_t x = 0; x < 64; ++x) {
        uint32_t expected = x < 16 ? NewPixel(x + 48, 2) : OldPixel(x - 16, 2);
        EXPECT_EQ(expected & 0xFFFFFF, after[x]) << x;
    }
    EXPECT_TRUE(pictures.AllShown());
    EXPECT_EQ(6, TransitionTiming().scrollCount);  // not timed: not counted
}

TEST_F(Steps, TheFirstPushIsTimedAndAnEarlyExitEndsItsTiming)
{
    TransitionTiming().copyCost = 0;
    // Too narrow for 2-pixel steps: gives up before it scrolled.
    Pictures narrow({0, 0, 3, 4});
    MMTransitionPushLeft push;
    push.SetClock(TestClock::Now);
    narrow.Run(push, {0, 0, 3, 4});
    EXPECT_TRUE(narrow.AllShown());
    EXPECT_FALSE(TransitionTiming().scrollTiming);
    EXPECT_EQ(0, TransitionTiming().scrollTime);

    Pictures pictures({0, 0, 64, 4});
    StepRecorder recorder(pictures, 0);
    TestClock::Set(1000, 1);
    push.SetObserver(&recorder);
    pictures.Run(push, {0, 0, 64, 4});
    EXPECT_EQ(32u, recorder.steps.size());  // 2-pixel steps
    EXPECT_EQ((Pair{2, 64}), recorder.steps[0]);
    EXPECT_TRUE(pictures.AllShown());
    EXPECT_FALSE(TransitionTiming().scrollTiming);
    EXPECT_EQ(32, TransitionTiming().scrollCount);
    // Start, then one reading per step for the deadline, then the end.
    EXPECT_EQ(33, TransitionTiming().scrollTime);
}

TEST_F(Steps, OtherPushesMoveTheirWay)
{
    TransitionTiming().copyCost = 0;
    TransitionTiming().scrollTime = 1000;
    TransitionTiming().scrollCount = 6;  // steps of 8
    struct Case {
        const char* name;
        std::unique_ptr<MMTransitionEffect> push;
        Pair probe;          // a screen pixel after the first step
        uint32_t expected;
    };
    Case cases[] = {
        {"left", std::make_unique<MMTransitionPushLeft>(), {60, 5}, NewPixel(4, 5)},
        {"left, old part", std::make_unique<MMTransitionPushLeft>(), {10, 5}, OldPixel(18, 5)},
        {"down", std::make_unique<MMTransitionPushDown>(), {5, 3}, NewPixel(5, 59)},
        {"down, old part", std::make_unique<MMTransitionPushDown>(), {5, 20}, OldPixel(5, 12)},
        {"up", std::make_unique<MMTransitionPushUp>(), {5, 60}, NewPixel(5, 4)},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pictures pictures({0, 0, 64, 64});
        StepRecorder recorder(pictures, 0);
        uint32_t seen = 0;
        recorder.onStep = [&](int32_t step, int32_t) {
            if (step == 8) {
                seen = Pictures::PixelOf(pictures.screen, c.probe.x, c.probe.y);
            }
        };
        RunObserved(*c.push, pictures, recorder, {0, 0, 64, 64});
        EXPECT_EQ(c.expected & 0xFFFFFF, seen);
        EXPECT_EQ(8u, recorder.steps.size());
        EXPECT_TRUE(pictures.AllShown());
    }
}

TEST_F(Steps, PixelDissolveTakesOneOffsetOfEveryTile)
{
    Pictures pictures({0, 0, 128, 100});
    StepRecorder recorder(pictures, 2);
    MMTransitionDissolve dissolve;
    RunObserved(dissolve, pictures, recorder, {0, 0, 128, 100});
    ASSERT_EQ(4096u, recorder.steps.size());
    // Entry 41: offset (41, 0) of each 64 x 64 tile.
    EXPECT_EQ(PixelsOf({{41, 0, 42, 1}, {105, 0, 106, 1}, {41, 64, 42, 65}, {105, 64, 106, 65}}),
              recorder.newly[0]);
    // Entry 2083: offset (35, 32); the tiles below reach past the box.
    EXPECT_EQ(PixelsOf({{35, 32, 36, 33}, {99, 32, 100, 33}, {35, 96, 36, 97}, {99, 96, 100, 97}}),
              recorder.newly[1]);
    EXPECT_TRUE(pictures.AllShown());
}

TEST_F(Steps, DissolveBetweenStoresOfTwoKindsGoesByTiles)
{
    // A 24-bit screen under a 32-bit back buffer; the box 40 wide in a
    // 48-wide screen.
    Pictures pictures({0, 0, 48, 40}, 24, 32);
    StepRecorder recorder(pictures);
    MMTransitionDissolve dissolve;
    RunObserved(dissolve, pictures, recorder, {0, 0, 40, 40});
    ASSERT_EQ(80u, recorder.steps.size());
    EXPECT_EQ(PixelsOf({{6, 0, 8, 2}, {38, 0, 40, 2}, {6, 32, 8, 34}, {38, 32, 40, 34}}),
              recorder.newly[0]);
    for (const std::vector<Pair>& step : recorder.newly) {
        for (const Pair& p : step) {
            ASSERT_LT(p.x, 40);
        }
    }
    EXPECT_EQ(PixelsOf({{0, 0, 40, 40}}), recorder.whole.back());
}

TEST_F(Steps, FadeToBlackFillsThenDissolves)
{
    Pictures pictures({0, 0, 64, 64});
    StepRecorder recorder(pictures, 0);
    MMTransitionFadeToBlack fade;
    uint32_t firstBlack = 1;
    int32_t blackAfterFill = -1;
    recorder.onStep = [&](int32_t step, int32_t) {
        if (recorder.steps.size() == 1) {
            firstBlack = Pictures::PixelOf(pictures.screen, 41, 0);
        }
        if (recorder.steps.size() == 4096) {
            blackAfterFill = 0;
            for (int32_t y = 0; y < 64; ++y) {
                for (int32_t x = 0; x < 64; ++x) {
                    blackAfterFill += Pictures::PixelOf(pictures.screen, x, y) == 0;
                }
            }
        }
    };
    RunObserved(fade, pictures, recorder, {0, 0, 64, 64});
    EXPECT_EQ(8192u, recorder.steps.size());
    EXPECT_EQ(0u, firstBlack);
    EXPECT_EQ(64 * 64, blackAfterFill);
    EXPECT_TRUE(pictures.AllShown());
    EXPECT_EQ(MMTransitionEffect::kDuration, fade.Duration());
}

TEST_F(Steps, ThreePassDissolveGoesByPixelsThenTwoAndFourPixelCells)
{
    Pictures pictures({0, 0, 6, 4});
    StepRecorder recorder(pictures);
    MMTransitionThreePassDissolve dissolve;
    RunObserved(dissolve, pictures, recorder, {0, 0, 6, 4});
    // 24 pixels, 3 x 2 and 2 x 1 cells; each pass shows its cell (0, 0)
    // unpaced, after the others.
    ASSERT_EQ(23u + 5u + 1u, recorder.steps.size());
    std::vector<Pair> seen;
    for (size_t i = 0; i < 23; ++i) {
        ASSERT_EQ(1u, recorder.newly[i].size()) << i;
        EXPECT_EQ((Pair{int32_t(i) + 1, 32}), recorder.steps[i]);
        seen.push_back(recorder.newly[i][0]);
    }
    std::sort(seen.begin(), seen.end(), [](Pair a, Pair b) { return a.y * 8 + a.x < b.y * 8 + b.x; });
    EXPECT_EQ(PixelsOf({{1, 0, 6, 1}, {0, 1, 6, 4}}), seen);
    EXPECT_EQ((Pair{25, 32}), recorder.steps[23]);
    EXPECT_EQ(24u, recorder.whole[23].size());
    EXPECT_EQ((Pair{31, 32}), recorder.steps.back());
    EXPECT_TRUE(pictures.AllShown());
}

TEST_F(Steps, ThreePassDissolveFromBlackHidesTheOldPicture)
{
    Pictures pictures({0, 0, 16, 16});
    StepRecorder recorder(pictures, 0);
    MMTransitionThreePassDissolve dissolve;
    int32_t oldLeft = -1;
    recorder.onStep = [&](int32_t, int32_t) {
        if (recorder.steps.size() == 1) {
            oldLeft = 0;
            for (int32_t y = 0; y < 16; ++y) {
                for (int32_t x = 0; x < 16; ++x) {
                    oldLeft += Pictures::PixelOf(pictures.screen, x, y) == OldPixel(x, y);
                }
            }
        }
    };
    dissolve.SetClock(TestClock::Now);
    dissolve.SetPacing(false);
    dissolve.SetObserver(&recorder);
    dissolve.RunFromBlack(pictures.screen, pictures.offscreen, {0, 0, 16, 16}, nullptr);
    GdiFlush();
    EXPECT_EQ(0, oldLeft);
    EXPECT_TRUE(pictures.AllShown());
}

TEST_F(Steps, RandomBoxesFollowTheDissolveOrder)
{
    Pictures pictures({0, 0, 800, 600});
    StepRecorder recorder(pictures, 2);
    MMTransitionRandomBoxes boxes;
    RunObserved(boxes, pictures, recorder, {0, 0, 800, 600});
    ASSERT_EQ(4096u, recorder.steps.size());
    EXPECT_TRUE(recorder.newly[0].empty());  // entry 41 lies below the screen
    EXPECT_EQ(PixelsOf({{512, 525, 528, 540}}), recorder.newly[1]);
    EXPECT_TRUE(pictures.AllShown());
}

TEST_F(Steps, RandomLinesCopyEveryRowOnce)
{
    Pictures pictures({0, 0, 4, 600});
    StepRecorder recorder(pictures);
    MMTransitionRandomLines lines;
    RunObserved(lines, pictures, recorder, {0, 0, 4, 600});
    ASSERT_EQ(600u, recorder.steps.size());
    std::vector<bool> rows(600, false);
    for (const std::vector<Pair>& step : recorder.newly) {
        ASSERT_EQ(4u, step.size());
        EXPECT_FALSE(rows[step[0].y]);
        rows[step[0].y] = true;
    }
    EXPECT_TRUE(pictures.AllShown());
}

// --- every effect ends on the new picture -------------------------------------

namespace {

struct Maker {
    const char* name;
    std::function<std::unique_ptr<MMTransitionEffect>()> make;
    int32_t screenBits;
};

std::vector<Maker> AllEffects()
{
    auto of = [](auto* effect) { return std::unique_ptr<MMTransitionEffect>(effect); };
    return {
        {"base", [=] { return of(new MMTransitionEffect); }, 32},
        {"cut", [=] { return of(new MMTransitionCut); }, 32},
        {"wipe left", [=] { return of(new MMTransitionWipeLeft); }, 32},
        {"wipe right", [=] { return of(new MMTransitionWipeRight); }, 32},
        {"wipe down", [=] { return of(new MMTransitionWipeDown); }, 32},
        {"wipe up", [=] { return of(new MMTransitionWipeUp); }, 32},
        {"push right", [=] { return of(new MMTransitionPushRight); }, 32},
        {"push left", [=] { return of(new MMTransitionPushLeft); }, 32},
        {"push down", [=] { return of(new MMTransitionPushDown); }, 32},
        {"push up", [=] { return of(new MMTransitionPushUp); }, 32},
        {"box out", [=] { return of(new MMTransitionBoxOut); }, 32},
        {"blinds", [=] { return of(new MMTransitionBlinds); }, 32},
        {"random boxes", [=] { return of(new MMTransitionRandomBoxes); }, 32},
        {"random lines", [=] { return of(new MMTransitionRandomLines); }, 32},
        {"pixel dissolve", [=] { return of(new MMTransitionDissolve); }, 32},
        {"tile dissolve", [=] { return of(new MMTransitionDissolve); }, 24},
        {"fade to black by pixels", [=] { return of(new MMTransitionFadeToBlack); }, 32},
        {"fade to black by tiles", [=] { return of(new MMTransitionFadeToBlack); }, 24},
        {"random pixels", [=] { return of(new MMTransitionRandomDissolve(1, 1)); }, 32},
        {"random cells", [=] { return of(new MMTransitionRandomDissolve(5, 7)); }, 32},
        {"buffer dissolve", [=] { return of(new MMTransitionBufferDissolve(100)); }, 32},
        {"three passes", [=] { return of(new MMTransitionThreePassDissolve); }, 32},
        {"palette fade-in", [=] { return of(new MMTransitionCutToBlackThenPaletteFadeIn(8)); },
         32},
        {"fade out and in",
         [=] { return of(new MMTransitionFadeToBlackThenPaletteFadeIn(8)); }, 32},
    };
}

}  // namespace

TEST_F(Steps, EveryEffectEndsOnTheWholeNewPicture)
{
    struct Clocking {
        const char* name;
        uint32_t perReading;
        bool measuredBefore;
    } clockings[] = {
        {"paced, first push timed", 1, false},
        {"paced, pushes measured", 1, true},
        {"out of time at once", 1000, true},
    };
    const Box box = {3, 2, 61, 45};  // inside the surfaces, not aligned to anything
    for (const Clocking& clocking : clockings) {
        for (const Maker& maker : AllEffects()) {
            SCOPED_TRACE(std::string(clocking.name) + ": " + maker.name);
            ResetTiming();
            if (clocking.measuredBefore) {
                TransitionTiming().scrollTime = 300;
                TransitionTiming().scrollCount = 200;
            }
            TestClock::Set(1000, clocking.perReading);
            Pictures pictures({0, 0, 64, 48}, maker.screenBits, 32);
            std::unique_ptr<MMTransitionEffect> effect = maker.make();
            effect->SetClock(TestClock::Now);
            pictures.Run(*effect, box);
            for (int32_t y = box.top; y < box.bottom; ++y) {
                for (int32_t x = box.left; x < box.right; ++x) {
                    ASSERT_EQ(NewPixel(x, y) & 0xFFFFFF, Pictures::PixelOf(pictures.screen, x, y))
                        << x << "," << y;
                }
            }
            EXPECT_FALSE(TransitionTiming().scrollTiming);
            EXPECT_EQ(0, pictures.screen->LockCount());
            EXPECT_EQ(0, pictures.offscreen->LockCount());
        }
    }
}
