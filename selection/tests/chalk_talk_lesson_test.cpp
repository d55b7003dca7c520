// A three-step chalk lesson on the chalk-talk canvas's recording.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "selection/chalk_talk_lesson.h"
#include "selection/magic_slate_tool_collection.h"
#include "selection/slate_store.h"

namespace {

std::vector<KVXChalkStep> ThreeSteps()
{
    std::vector<KVXChalkStep> steps(3);
    steps[0].SetGuide({{200, 200}, {260, 210}, {320, 200}});  // a hill
    steps[0].colour = 0x00FFFFFF;
    steps[1].frame = 1;
    steps[1].kind = kChalkCircle;
    steps[1].SetGuide({{210, 180}, {260, 150}, {310, 180}});
    steps[2].channel = 1;
    steps[2].kind = kChalkSquare;
    steps[2].width = 5;
    steps[2].SetGuide({{240, 120}, {280, 120}, {280, 160}, {240, 160}, {240, 120}});
    return steps;
}

struct ChalkTalkLessonTest : ::testing::Test {
    ChalkTalkLessonTest() : store(std::make_unique<MagicSlateStore>())
    {
        store->Init();
    }
    std::unique_ptr<MagicSlateStore> store;
};

TEST_F(ChalkTalkLessonTest, APreviewDrawsEveryStepButTheLast)
{
    KVXChalkTalkLesson lesson(store.get(), ThreeSteps());
    lesson.StorePreview();
    EXPECT_EQ(1, store->channels[0].frames[0].state);
    EXPECT_EQ(1, store->channels[0].frames[1].state);
    EXPECT_EQ(0, store->channels[1].frames[0].state);
}

TEST_F(ChalkTalkLessonTest, ALaterStepStoresTheSkippedGuidesFirst)
{
    KVXChalkTalkLesson lesson(store.get(), ThreeSteps());
    lesson.GoToStep(1);
    EXPECT_EQ((Pair{200, 200}), store->channels[0].frames[0].points[0]) << "step 0's guide";
    EXPECT_EQ(0, store->channels[0].frames[1].state) << "step 1 is for the child";
    std::vector<Pair> click = {{50, 60}, {50, 60}};
    lesson.StoreStep(click.data(), 2);
    EXPECT_EQ(1, lesson.LastStoredStep());
    const SlateFrame& drawn = store->channels[0].frames[1];
    EXPECT_EQ(3, drawn.count) << "brought in line with frame 0";
    EXPECT_EQ((Pair{50, 60}), drawn.points[0]);

    // The last step's button: the rest is drawn from the guides.
    lesson.GoToStep(2);
    EXPECT_EQ(1, store->channels[1].frames[0].state);
    EXPECT_EQ(5, store->channels[1].frames[0].width);
    EXPECT_EQ((Pair{50, 60}), store->channels[0].frames[1].points[0]) << "the child's stroke stays";
}

TEST_F(ChalkTalkLessonTest, TheFinishedDrawingPastesIntoTheSlateFrameForFrame)
{
    KVXChalkTalkLesson lesson(store.get(), ThreeSteps());
    lesson.GoToStep(2);
    std::vector<KVXPreparedSlateStroke> prepared = CopyToPrepared(*store);
    ASSERT_EQ(3u, prepared.size());
    EXPECT_EQ(1, prepared[1].frame);
    EXPECT_EQ(1, prepared[2].channel);

    struct Tray : KVXMagicSlateToolCollection {
        void TrackFrameTab(int16_t, int32_t, int32_t) override {}
        void DropFrameTab(int16_t, int32_t, int32_t) override {}
    } tray;
    auto slate = std::make_unique<MagicSlateStore>();
    slate->Init();
    tray.SetSlate(slate.get());
    tray.PastePrepared(prepared);
    for (int c = 0; c < 5; ++c) {
        for (int f = 0; f < 5; ++f) {
            const SlateFrame& a = store->channels[c].frames[f];
            const SlateFrame& b = slate->channels[c].frames[f];
            ASSERT_EQ(a.state, b.state) << c << "," << f;
            ASSERT_EQ(a.count, b.count);
            for (int i = 0; i < a.count; ++i)
                ASSERT_EQ(a.points[i], b.points[i]);
            if (a.state == 1) {
                EXPECT_EQ(a.colour, b.colour);
            }
        }
    }
}

TEST_F(ChalkTalkLessonTest, StepsOutsideTheSlateAndLongPointTablesAreHeld)
{
    std::vector<KVXChalkStep> steps(2);
    steps[0].channel = 5;
    steps[0].SetGuide(std::vector<Pair>(600, Pair{1, 2}));
    EXPECT_EQ(512u, steps[0].guide.size());
    steps[1].frame = -1;
    steps[1].SetGuide({{1, 1}, {2, 2}, {3, 3}});
    KVXChalkTalkLesson lesson(store.get(), steps);
    lesson.GoToStep(1);
    lesson.StoreStep(steps[1].guide.data(), 3);
    EXPECT_FALSE(store->HasStrokes());
}

TEST(StepButtonsTest, ButtonsAndArrowsAroundTheDisplayedStep)
{
    struct Case {
        int16_t d, steps;
        int16_t places[3];
        bool back, forward;
    } cases[] = {
        {0, 1, {-1, 0, -1}, false, false},
        {0, 2, {-1, 0, 1}, false, true},
        {1, 2, {0, 1, -1}, false, false},
        {0, 5, {-1, 0, 1}, false, true},
        {2, 5, {1, 2, 3}, true, true},
        {4, 5, {3, 4, -1}, true, false},
    };
    for (const Case& c : cases) {
        KVXStepButtonLayout layout = ArrangeStepButtons(c.d, c.steps);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(c.places[i], layout.atPlace[i]) << c.d << " of " << c.steps;
        EXPECT_EQ(c.back, layout.backArrow) << c.d << " of " << c.steps;
        EXPECT_EQ(c.forward, layout.forwardArrow) << c.d << " of " << c.steps;
    }
}

}  // namespace
