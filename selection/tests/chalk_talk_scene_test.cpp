// The chalk talk on a stage driven by a fake clock, with the program's own
// lessons from the built data files: the first lesson offered after the
// scene's delay, a later step that first stores the guides of the steps it
// skips, the child's stroke at its step's channel and frame, and the
// finished drawing pasted into the painting slate frame for frame.
#include <gtest/gtest.h>

#include <windows.h>
#include <functional>
#include <memory>
#include <string>

#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "engine/tests/built_data.h"
#include "media/picture_visual.h"
#include "selection/chalk_talk_interpreters.h"
#include "selection/chalk_talk_scene.h"
#include "selection/magic_slate_tool_collection.h"
#include "shell/closing_credits.h"
#include "shell/widgets/quit_button.h"
#include "stage_fixture.h"

namespace {

struct Tray : KVXMagicSlateToolCollection {
    void TrackFrameTab(int16_t, int32_t, int32_t) override {}
    void DropFrameTab(int16_t, int32_t, int32_t) override {}
};

class ChalkTalkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(OpenBuiltData()) << "run scripts/make-data.sh";
    }
    static void TearDownTestSuite()
    {
        DeleteAllPictureCollections();
        CloseAllScriptFiles();
    }

    ChalkTalkTest()
        : stage(nullptr, Box{0, 0, 800, 600}, 32, new RecordingSound(&log), nullptr, nullptr, nullptr)
    {
        FakeClock::now = 1000;
        stage.SetClock(FakeClock::Now);
        stage.StartClock();
        AppPreparedSlateStrokes().clear();
        scene = new ChalkTalkScene(&stage);
        stage.SetPendingScene(scene, nullptr, nullptr);
        Step(1);
    }
    ~ChalkTalkTest() override
    {
        stage.SetPendingScene(nullptr, nullptr, nullptr);
        Step(1);
        delete scene;
    }

    void Step(int ms)
    {
        for (int t = 0; t < ms; t += 10) {
            FakeClock::now += 10;
            stage.ChangeSceneOrDispatch();
            stage.RunDueTasks();
        }
    }
    // Steps until the condition holds, at most the time given.
    bool StepUntil(int ms, const std::function<bool()>& done)
    {
        for (int t = 0; t < ms && !done(); t += 10)
            Step(10);
        return done();
    }
    MagicSlateStore& Store() { return scene->Canvas()->Store(); }
    void Pointer(int x, int y, uint32_t flags)
    {
        MMStageEvent event = {kStageEventPointer, 0, stage.StageTime(), x, y, flags};
        scene->BoardInterpreter()->Interpret(event);
    }

    CallLog log;
    MMStage stage;
    ChalkTalkScene* scene;
};

// The five frame lights stand side by side inside the owl's column of the
// room (x 6 to 124, inside its 3-pixel outline), clear of the board's frame.
TEST_F(ChalkTalkTest, TheFrameLightsLieInsideTheOwlsColumn)
{
    Box before = {0, 0, 0, 0};
    for (int16_t frame = 0; frame < 5; ++frame) {
        SCOPED_TRACE(frame);
        ASSERT_NE(nullptr, scene->FrameLight(frame));
        Box box = scene->FrameLight(frame)->GetBounds();
        EXPECT_GE(box.left, 9);
        EXPECT_LE(box.right, 121);
        EXPECT_FALSE(box.Overlaps(before));
        before = box;
    }
}

TEST_F(ChalkTalkTest, TheFirstLessonIsOfferedOnceTheSceneHasWaitedItsDelay)
{
    ASSERT_GE(scene->LessonCount(), 3);
    ASSERT_TRUE(StepUntil(10000, [&] { return scene->Timer()->Delay() > 0; }))
        << "the owl's arrival ends and the scene waits for a lesson";
    int32_t waitingSince = stage.StageTime();
    EXPECT_TRUE(StepUntil(10000, [&] { return scene->ChosenLesson() == 0; }));
    int32_t waited = stage.StageTime() - waitingSince;
    EXPECT_GE(waited, scene->Timer()->Delay());
    EXPECT_LT(waited, scene->Timer()->Delay() + 200);
    EXPECT_TRUE(StepUntil(2000, [&] { return scene->CurrentLesson() == 0; }))
        << "the offered lesson starts: its preview plays on the board";
    EXPECT_TRUE(StepUntil(2000, [&] { return Store().HasStrokes() && Store().IsRunning(); }));
}

TEST_F(ChalkTalkTest, ALaterStepStoresTheSkippedGuidesAndTheChildsStrokeGoesToItsFrame)
{
    scene->HandleEvent(kChalkLessonChosen, 0);
    ASSERT_TRUE(StepUntil(2000, [&] { return scene->Lesson() && Store().HasStrokes(); }));
    ASSERT_TRUE(StepUntil(20000, [&] { return !scene->StepButtons().empty() && !Store().HasStrokes(); }))
        << "the preview ends: the board is wiped and the step buttons are made";
    KVXChalkTalkLesson& lesson = *scene->Lesson();
    ASSERT_GE(lesson.StepCount(), 3);
    const KVXChalkStep& skipped0 = lesson.Step(0);
    const KVXChalkStep& skipped1 = lesson.Step(1);
    const KVXChalkStep& chosen = lesson.Step(2);

    scene->HandleEvent(kChalkStep, 2);
    EXPECT_EQ(2, lesson.CurrentStep());
    for (const KVXChalkStep* step : {&skipped0, &skipped1}) {
        const SlateFrame& frame = Store().channels[step->channel].frames[step->frame];
        EXPECT_EQ(kSlateDrawn, frame.state);
        EXPECT_EQ(step->colour & 0xFFFFFF, frame.colour & 0xFFFFFF);
    }
    EXPECT_NE(kSlateDrawn, Store().channels[chosen.channel].frames[chosen.frame].state);
    EXPECT_EQ(2, scene->DisplayedStep());

    // The owl lets the child draw; a drag across the board is the step's stroke.
    ASSERT_TRUE(StepUntil(5000, [&] { return scene->BoardInterpreter() != nullptr; }));
    Pointer(300, 100, kPointerPressed | kPointerHeld);
    for (int i = 1; i <= 10; ++i)
        Pointer(300 + 8 * i, 100 + 3 * i, kPointerHeld);
    Pointer(380, 130, kPointerReleased);
    const SlateFrame& drawn = Store().channels[chosen.channel].frames[chosen.frame];
    EXPECT_EQ(kSlateDrawn, drawn.state);
    EXPECT_EQ(chosen.colour & 0xFFFFFF, drawn.colour & 0xFFFFFF);
    EXPECT_EQ(2, lesson.LastStoredStep());
    EXPECT_FALSE(Store().IsPaused()) << "the drawing plays again once stored";
}

TEST_F(ChalkTalkTest, AClickOnTheBoardStoresTwoEqualPoints)
{
    scene->HandleEvent(kChalkLessonChosen, 0);
    ASSERT_TRUE(StepUntil(20000, [&] { return !scene->StepButtons().empty() && !Store().HasStrokes(); }));
    scene->HandleEvent(kChalkStep, 1);
    const KVXChalkStep& step = scene->Lesson()->Step(1);
    ASSERT_TRUE(StepUntil(5000, [&] { return scene->BoardInterpreter() != nullptr; }));
    // A stroke whose capture is lost is dropped, and the board takes the next.
    auto* board = dynamic_cast<KVXChalkTalkInterpreterBase*>(scene->BoardInterpreter());
    ASSERT_NE(nullptr, board);
    Pointer(300, 100, kPointerPressed | kPointerHeld);
    Pointer(340, 120, kPointerHeld);
    EXPECT_TRUE(board->IsDrawing());
    board->CaptureLost();
    EXPECT_FALSE(board->IsDrawing());
    EXPECT_NE(kSlateDrawn, Store().channels[step.channel].frames[step.frame].state);
    Pointer(400, 200, kPointerPressed | kPointerHeld);
    Pointer(400, 200, kPointerReleased);
    const SlateFrame& frame = Store().channels[step.channel].frames[step.frame];
    ASSERT_EQ(kSlateDrawn, frame.state);
    // Frames of one channel share a count, so the two equal points may have
    // been subdivided to the channel's count: every point is the click.
    for (int16_t i = 0; i < frame.count; ++i)
        EXPECT_EQ((Pair{400, 200}), frame.points[i]);
}

TEST_F(ChalkTalkTest, TheFinishedDrawingPastesIntoTheSlateFrameForFrame)
{
    scene->HandleEvent(kChalkLessonChosen, 0);
    ASSERT_TRUE(StepUntil(20000, [&] { return !scene->StepButtons().empty() && !Store().HasStrokes(); }));
    int16_t last = int16_t(scene->Lesson()->StepCount() - 1);
    scene->HandleEvent(kChalkStep, last);
    ASSERT_TRUE(StepUntil(2000, [&] { return !AppPreparedSlateStrokes().empty(); }));
    EXPECT_TRUE(StepUntil(2000, [&] { return Store().IsRunning(); })) << "the whole drawing plays";

    auto slate = std::make_unique<MagicSlateStore>();
    slate->Init();
    Tray tray;
    tray.SetSlate(slate.get());
    tray.PastePrepared(AppPreparedSlateStrokes());
    int drawnFrames = 0;
    for (int16_t c = 0; c < kSlateChannels; ++c)
        for (int16_t f = 0; f < kSlateFrames; ++f) {
            const SlateFrame& board = Store().channels[c].frames[f];
            const SlateFrame& pasted = slate->channels[c].frames[f];
            if (board.state != kSlateDrawn)
                continue;
            ++drawnFrames;
            EXPECT_EQ(kSlateDrawn, pasted.state) << c << "," << f;
            ASSERT_EQ(board.count, pasted.count) << c << "," << f;
            EXPECT_EQ(board.colour, pasted.colour);
            EXPECT_EQ(board.width, pasted.width);
            for (int16_t i = 0; i < board.count; ++i)
                EXPECT_EQ(board.points[i], pasted.points[i]);
        }
    EXPECT_EQ(scene->Lesson()->StepCount(), drawnFrames) << "one frame per step";
}

// The quit button runs the closing credits over the board, its own clicks
// held meanwhile; cancelled, the credits end and give the button back.
TEST_F(ChalkTalkTest, TheQuitButtonRunsTheClosingCreditsAndGetsItsButtonBack)
{
    KVXQuitButton* quit = scene->QuitButton();
    ASSERT_NE(nullptr, quit);
    auto credits = [&]() -> ClosingCreditsMolecule* {
        for (MMMolecule* m : scene->Molecules())
            if (auto* c = dynamic_cast<ClosingCreditsMolecule*>(m))
                return c;
        return nullptr;
    };
    ASSERT_EQ(nullptr, credits());
    scene->HandleEvent(kChalkQuit, -1);
    ASSERT_NE(nullptr, credits());
    EXPECT_NE(nullptr, credits()->Veil());
    EXPECT_TRUE(quit->IsInactive());
    EXPECT_FALSE(quit->ButtonInterpreter()->IsEnabled());
    Step(500);
    credits()->CancelCredits();
    EXPECT_TRUE(StepUntil(10000, [&] { return credits() == nullptr; }));
    EXPECT_FALSE(quit->IsInactive());
    EXPECT_TRUE(StepUntil(1000, [&] { return quit->ButtonInterpreter()->IsEnabled(); }))
        << "the credits' end event gives the button back";
}

}  // namespace
