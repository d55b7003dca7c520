// The slate tray's twist through the application: on the painting screen the
// slate's tool button clicked twice takes the child to the chalk talk; a
// finished lesson and the leave button bring the painting screen back, where
// the reopened slate tray offers the lesson's drawing and pastes it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "canvas/plane.h"
#include "canvas/undo_snapshot.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "selection/chalk_talk_scene.h"
#include "selection/magic_slate_tool_collection.h"
#include "selection/slate_store.h"
#include "shell/app.h"
#include "shell/creation_scene.h"
#include "shell/registry_settings.h"
#include "shell/widgets/animated_choice_buttons.h"
#include "shell/widgets/stamp_button.h"
#include "shell_fixture.h"
#include "stage_fixture.h"
#include "trays/manager_tool.h"

namespace {

struct SlateTwistTest : ::testing::Test {
    AFHeap heap;
    KVXApp app{&heap, -1};
    CallLog log;
    MMStage stage{nullptr, Box{0, 0, 800, 600}, 32, new RecordingSound(&log), nullptr, nullptr,
                  nullptr};
    Box savedCanvas = CanvasBox;
    std::unique_ptr<KVXPlaneComponentTop> plane;
    std::unique_ptr<UndoSnapshot> undo;
    std::unique_ptr<RegistrySettings> settings;
    std::unique_ptr<CreationScene> creation;
    std::unique_ptr<ChalkTalkScene> chalk;

    void SetUp() override
    {
        gApp = &app;
        RemoveSettingsKey();
        ASSERT_TRUE(OpenBuiltData());
        ASSERT_TRUE(OpenBuiltSounds());
        AppPreparedSlateStrokes().clear();
        CanvasBox = {144, 16, 784, 496};
        plane.reset(new KVXPlaneComponentTop({640, 480}));
        undo.reset(new UndoSnapshot(*plane));
        settings.reset(new RegistrySettings);
        settings->Open();
        app.SetSettingsForTest(settings.get());
        creation.reset(new CreationScene(&stage, plane.get(), undo.get()));
        chalk.reset(new ChalkTalkScene(&stage));
        app.SetSceneSlot(kSceneCreation, creation.get());
        app.SetSceneSlot(kSceneChalkTalk, chalk.get());
        FakeClock::now = 1000;
        stage.SetClock(FakeClock::Now);
        stage.StartClock();
        stage.SetPendingScene(creation.get(), nullptr, nullptr);
        Step();
    }
    void TearDown() override
    {
        stage.SetPendingScene(nullptr, nullptr, nullptr);
        Step();
        chalk.reset();
        creation.reset();
        for (int32_t n = 0; n < kSceneCount; ++n)
            app.SetSceneSlot(n, nullptr);
        app.SetSettingsForTest(nullptr);
        settings.reset();
        AppPreparedSlateStrokes().clear();
        RemoveSettingsKey();
        CanvasBox = savedCanvas;
        CloseBuiltData();
        gApp = nullptr;
    }
    void Step()
    {
        FakeClock::now += 10;
        stage.ChangeSceneOrDispatch();
        stage.RunDueTasks();
        stage.FrameTick();
    }
    bool StepUntil(int ms, const std::function<bool()>& done)
    {
        for (int t = 0; t < ms && !done(); t += 10)
            Step();
        return done();
    }
    KVXMagicSlateToolCollection* SlateTray() const
    {
        KVXManagerTool* manager = creation->ToolManager();
        return manager ? dynamic_cast<KVXMagicSlateToolCollection*>(manager->CurrentCollection())
                       : nullptr;
    }
};

TEST_F(SlateTwistTest, TheSlateButtonTwistsToTheChalkTalkWhoseDrawingComesBackToPaste)
{
    ASSERT_EQ(creation.get(), stage.Scene());
    KVXManagerTool* manager = creation->ToolManager();
    ASSERT_NE(nullptr, manager);
    KVXAnimatedToolButtonMolecule* slateButton = manager->ToolButton(kMagicSlateCollection);
    ASSERT_NE(nullptr, slateButton);

    // The first click opens the slate; nothing leaves the screen.
    slateButton->Clicked();
    ASSERT_TRUE(StepUntil(500, [&] { return SlateTray() != nullptr; }));
    StepUntil(300, [] { return false; });
    EXPECT_EQ(creation.get(), stage.Scene());
    ASSERT_NE(nullptr, creation->SlateStore());
    EXPECT_EQ(SlateTray(), creation->SlateStore()->owner);
    EXPECT_EQ(nullptr, SlateTray()->ClipboardButton()) << "no lesson drawn yet";

    // The second click on the open slate's button is its twist: off to scene 4.
    slateButton->Clicked();
    ASSERT_TRUE(StepUntil(500, [&] { return stage.Scene() == chalk.get(); }));
    EXPECT_EQ(nullptr, creation->CanvasVisual()) << "the painting screen was ended";
    ASSERT_NE(nullptr, chalk->Canvas()) << "the chalk talk was begun";

    // A lesson drawn to its end leaves its drawing for the slate.
    chalk->HandleEvent(kChalkLessonChosen, 0);
    ASSERT_TRUE(StepUntil(20000, [&] {
        return !chalk->StepButtons().empty() && !chalk->Canvas()->Store().HasStrokes();
    })) << "the preview ends";
    chalk->HandleEvent(kChalkStep, int16_t(chalk->Lesson()->StepCount() - 1));
    ASSERT_TRUE(StepUntil(2000, [&] { return !AppPreparedSlateStrokes().empty(); }));
    std::vector<KVXPreparedSlateStroke> prepared = AppPreparedSlateStrokes();

    // The leave button: back to the painting screen with the slate open again.
    chalk->PostEvent(kChalkLeave, -1);
    ASSERT_TRUE(StepUntil(500, [&] { return stage.Scene() == creation.get(); }));
    EXPECT_EQ(nullptr, chalk->Canvas()) << "the chalk talk was ended";
    ASSERT_NE(nullptr, creation->CanvasVisual());
    EXPECT_EQ(kMagicSlateCollection, manager->CurrentType());
    KVXMagicSlateToolCollection* tray = SlateTray();
    ASSERT_NE(nullptr, tray);
    KVXAnimatedStampButtonMolecule* clipboard = tray->ClipboardButton();
    ASSERT_NE(nullptr, clipboard) << "the lesson's drawing waits on the clipboard";

    clipboard->Clicked();
    MagicSlateStore* slate = creation->SlateStore();
    ASSERT_NE(nullptr, slate);
    ASSERT_TRUE(StepUntil(500, [&] { return slate->HasStrokes(); }));
    for (const KVXPreparedSlateStroke& stroke : prepared) {
        const SlateFrame& frame = slate->channels[stroke.channel].frames[stroke.frame];
        EXPECT_EQ(kSlateDrawn, frame.state) << stroke.channel << "," << stroke.frame;
        EXPECT_EQ(stroke.colour, frame.colour);
        EXPECT_EQ(stroke.width, frame.width);
        ASSERT_EQ(int16_t(stroke.points.size()), frame.count);
        for (size_t i = 0; i < stroke.points.size(); ++i)
            EXPECT_EQ(stroke.points[i], frame.points[i]);
    }
    EXPECT_TRUE(slate->IsRunning()) << "the pasted drawing plays";

    // Twisted again from the reopened tray, the chalk talk comes once more.
    slateButton = manager->ToolButton(kMagicSlateCollection);
    ASSERT_NE(nullptr, slateButton);
    slateButton->Clicked();
    ASSERT_TRUE(StepUntil(500, [&] { return stage.Scene() == chalk.get(); }));
}

}  // namespace
