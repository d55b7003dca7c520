// The intro scene, scene changes through the application, the next-time
// thread and the creation scene's decoration, on a stage stepped by hand.
#include <gtest/gtest.h>

#include "canvas/plane.h"
#include "engine/command.h"
#include "engine/molecule.h"
#include "engine/picture_molecule.h"
#include "engine/run_queue.h"
#include "framework/heap.h"
#include "media/picture_visual.h"
#include "media/visual.h"
#include "shell/app.h"
#include "shell/creation_scene.h"
#include "shell/intro_scene.h"
#include "shell/next_time_thread.h"
#include "shell_fixture.h"
#include "stage_fixture.h"

namespace {

int CursorCount()
{
    int count = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return count - 1;
}

struct SceneTest : ::testing::Test {
    AFHeap heap;
    KVXApp app{&heap, -1};
    BareStage bare{false};
    MMStage& stage = bare.stage;

    void SetUp() override { gApp = &app; }
    void TearDown() override
    {
        for (int32_t n = 0; n < kSceneCount; ++n)
            app.SetSceneSlot(n, nullptr);
        gApp = nullptr;
    }
};

TEST_F(SceneTest, IntroHidesThePointerCoversTheStageAndAsksForCreation)
{
    RecordingScene creation(&stage, &bare.log);
    app.SetSceneSlot(kSceneCreation, &creation);
    IntroScene intro(&stage);
    int before = CursorCount();
    intro.Begin();
    EXPECT_EQ(before - 1, CursorCount());
    ASSERT_EQ(1u, intro.Molecules().size());
    auto* cover = dynamic_cast<MMVisualMolecule*>(intro.Molecules()[0]);
    ASSERT_NE(nullptr, cover);
    auto* black = dynamic_cast<MMSolidBoxVisual*>(cover->Visual());
    ASSERT_NE(nullptr, black);
    EXPECT_EQ((Box{0, 0, 200, 150}), black->GetBounds());
    EXPECT_EQ(1, black->Layer());
    EXPECT_EQ(0, black->Color().red + black->Color().green + black->Color().blue);
    stage.RunQueue()->RunOnce();
    EXPECT_EQ(&creation, stage.PendingScene());
    intro.DeleteMolecules();
    EXPECT_EQ(before, CursorCount());
    EXPECT_TRUE(intro.Molecules().empty());
}

TEST_F(SceneTest, ChangingToAMissingSceneChangesNothing)
{
    RecordingScene creation(&stage, &bare.log);
    app.SetSceneSlot(kSceneCreation, &creation);
    for (int32_t n : {int32_t(kSceneGallery), 7, -1}) {
        app.ChangeScene(&stage, n, nullptr);
        stage.RunQueue()->RunOnce();
        EXPECT_EQ(nullptr, stage.PendingScene()) << n;
    }
    app.ChangeScene(&stage, kSceneCreation, nullptr);
    stage.RunQueue()->RunOnce();
    EXPECT_EQ(&creation, stage.PendingScene());
}

struct Counting {
    int performed = 0;
    void Perform() { ++performed; }
};

TEST_F(SceneTest, NextTimeThreadPostsItsCommandsOnItsNextStep)
{
    Counting counter;
    auto* thread = new NextTimeThread(&stage);
    EXPECT_EQ(30000, thread->Priority());
    thread->Activate();
    thread->Enqueue(new MMClassCommand<Counting>("count", &stage, &counter, &Counting::Perform));
    thread->Enqueue(new MMClassCommand<Counting>("count", &stage, &counter, &Counting::Perform));
    thread->Enqueue(nullptr);
    EXPECT_EQ(2, thread->Count());
    for (int pass = 0; pass < 3; ++pass)
        stage.RunQueue()->RunOnce();
    EXPECT_EQ(2, counter.performed);
    EXPECT_EQ(0, thread->Count());
    // Commands still held when the thread goes are deleted with it.
    thread->Enqueue(new MMClassCommand<Counting>("count", &stage, &counter, &Counting::Perform));
    thread->Terminate();
    delete thread;
    EXPECT_EQ(2, counter.performed);
}

}  // namespace
