// The application's own transitions on two small back buffers: how many
// steps each takes and that each ends with the whole new picture in its box.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "shell/app_transitions.h"
#include "transition_support.h"

namespace {

struct Case {
    const char* name;
    std::function<MMTransitionEffect*()> make;
    Box box;
    bool forcePlainCopy;  // timing that makes the pans give up
    size_t steps;
};

MMTransitionEffect* PanRight() { return new KVXTransitionPanRight; }
MMTransitionEffect* PanLeft() { return new KVXTransitionPanLeft; }
MMTransitionEffect* RevealLeft() { return new KVXTransitionRevealLeft; }
MMTransitionEffect* RevealRight() { return new KVXTransitionRevealRight; }

TEST(AppTransitions, EachEndsShowingTheNewPictureInItsSteps)
{
    const Case cases[] = {
        // A step of half the width or more: a plain copy.
        {"pan right, plain copy", PanRight, {0, 0, 64, 4}, true, 0},
        {"pan left, plain copy", PanLeft, {0, 0, 64, 4}, true, 0},
        // 1 + 27 is a multiple of 4: 2-pixel strips from there, 37 columns.
        {"pan right, aligned", PanRight, {1, 0, 65, 4}, false, 19},
        // 27 is not: the first strip starts at 24.
        {"pan right, partial strip", PanRight, {0, 0, 64, 4}, false, 19},
        {"pan left, partial strip", PanLeft, {0, 0, 64, 4}, false, 18},
        // 10 strips: no more pushes than strips.
        {"reveal left, 100 wide", RevealLeft, {0, 0, 100, 4}, false, 10},
        {"reveal left, 95 wide", RevealLeft, {0, 0, 95, 4}, false, 10},
        {"reveal left, 130 wide", RevealLeft, {0, 0, 130, 4}, false, 13},
        {"reveal left, 200 wide", RevealLeft, {0, 0, 200, 4}, false, 20},
        {"reveal right, 95 wide", RevealRight, {0, 0, 95, 4}, false, 10},
        {"reveal right, 200 wide", RevealRight, {0, 0, 200, 4}, false, 20},
        {"reveal right, empty", RevealRight, {0, 0, 0, 4}, false, 0},
    };
    for (const Case& c : cases) {
        MMTransitionTiming timing;
        if (c.forcePlainCopy) {
            timing.scrollTime = 1000;
            timing.scrollCount = 1;
        }
        ResetTiming(timing);
        TestClock::Set(1000, 0);
        Pictures pictures({0, 0, 200, 4});
        StepRecorder recorder(pictures, 0);
        std::unique_ptr<MMTransitionEffect> effect(c.make());
        effect->SetClock(TestClock::Now);
        effect->SetPacing(false);
        effect->SetObserver(&recorder);
        pictures.Run(*effect, c.box);
        EXPECT_EQ(c.steps, recorder.steps.size()) << c.name;
        EXPECT_EQ(PixelsOf({c.box}), pictures.Shown()) << c.name;
    }
    ResetTiming();
}

TEST(AppTransitions, RevealLeftPushesTheNewPictureInFromTheRight)
{
    ResetTiming();
    TestClock::Set(1000, 0);
    Pictures pictures({0, 0, 100, 2});
    StepRecorder recorder(pictures);
    uint32_t atRightEdge = 0;
    recorder.onStep = [&](int32_t step, int32_t) {
        if (step == 3)
            atRightEdge = Pictures::PixelOf(pictures.screen, 70, 0);
    };
    KVXTransitionRevealLeft reveal;
    reveal.SetClock(TestClock::Now);
    reveal.SetPacing(false);
    reveal.SetObserver(&recorder);
    pictures.Run(reveal, {0, 0, 100, 2});
    ASSERT_EQ(10u, recorder.whole.size());
    // After three steps the new picture's left 30 columns stand at the right
    // edge: none is at its own place yet.
    EXPECT_TRUE(recorder.whole[2].empty());
    EXPECT_EQ(NewPixel(0, 0), atRightEdge);
    EXPECT_TRUE(pictures.AllShown());
}

TEST(AppTransitions, FixedBoxEffectsChangeOnlyTheCanvasBox)
{
    const Box canvas = {8, 4, 40, 20};
    std::unique_ptr<MMTransitionEffect> effects[] = {
        std::make_unique<KVXTransitionWipeUp>(canvas),
        std::make_unique<KVXTransitionWipeDown>(canvas),
        std::make_unique<KVXTransitionUndoDissolve>(canvas),
    };
    for (auto& effect : effects) {
        ResetTiming();
        TestClock::Set(1000, 0);
        Pictures pictures({0, 0, 64, 32});
        effect->SetClock(TestClock::Now);
        effect->SetPacing(false);
        pictures.Run(*effect, {0, 0, 64, 32});
        EXPECT_EQ(PixelsOf({canvas}), pictures.Shown());
    }
    ResetTiming();
}

}  // namespace
