// The undo show: how many sirens for how much drawing, and the swap at
// the end of the last one.
#include <gtest/gtest.h>

#include "canvas/canvas_visual.h"
#include "canvas/siren_handler.h"
#include "canvas_test_support.h"
#include "engine/animation_molecule.h"
#include "engine/command.h"
#include "engine/tests/stage_fixture.h"
#include "fake_canvas_scene.h"
#include "framework/random.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_manager.h"

namespace {

class SirenTest : public ::testing::Test {
protected:
    SirenTest()
        : bare(false), scene(&bare.stage, &calls), plane({40, 40}), undo(plane),
          canvas(&scene, &host, {0, 0, 40, 40}, 10, &plane, &undo), sound(nullptr, nullptr),
          siren(&scene, &canvas, &sound)
    {
        ProgramRandom().Seed(1);
    }
    int Running() const
    {
        int n = 0;
        for (int k = 0; k < 4; ++k)
            n += siren.Animation(k) != nullptr && siren.Animation(k)->IsRunning();
        return n;
    }
    void StopAll()
    {
        for (int k = 0; k < 4; ++k)
            if (siren.Animation(k) != nullptr)
                siren.Animation(k)->Stop();
    }

    BareStage bare;
    CallLog calls;
    RecordingScene scene;
    FakeCanvasScene host;
    KVXPlaneComponentTop plane;
    UndoSnapshot undo;
    KVXCanvasVisual canvas;
    MMSoundManager sound;
    KVXSirenHandler siren;
};

}  // namespace

TEST_F(SirenTest, NothingDrawnNothingShown)
{
    siren.Start();
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(nullptr, siren.Animation(k));
    EXPECT_EQ(nullptr, siren.LastStarted());
    ASSERT_NE(nullptr, siren.Channel());
    EXPECT_FALSE(siren.Channel()->IsActive());
}

TEST_F(SirenTest, MoreDrawingMoreSirens)
{
    struct Case {
        Box drawn;
        int sirens;
    } cases[] = {
        {{0, 0, 20, 20}, 1},   // exactly a quarter
        {{0, 0, 20, 21}, 2},   // a row more
        {{0, 0, 40, 30}, 3},
        {{0, 0, 40, 31}, 4},
    };
    for (const Case& c : cases) {
        StopAll();
        canvas.GrowDrawnBox(c.drawn);
        siren.Start();
        EXPECT_EQ(c.sirens, Running()) << c.sirens;
        canvas.SnapshotForUndo(false);
        EXPECT_TRUE(canvas.DrawnBox().IsEmpty());
    }
    for (int k = 0; k < 4; ++k) {
        ASSERT_NE(nullptr, siren.Animation(k));
        EXPECT_EQ(98, siren.Animation(k)->LayerOffset());
        EXPECT_EQ(MM_NO_RESOURCE, siren.Animation(k)->ScriptId());
    }
}

TEST_F(SirenTest, OnlyTheLastStartedCarriesTheDoneCommandAndItsEndSwapsThePicture)
{
    Paint(plane, Bgr(1, 2, 3), 3072);
    canvas.SnapshotForUndo(false);
    plane.PixelAt(0, 0)->red = 99;
    canvas.GrowDrawnBox({0, 0, 40, 40});
    siren.Start();
    MMAnimationMolecule* last = siren.LastStarted();
    ASSERT_EQ(siren.Animation(3), last);
    int carrying = 0;
    for (int k = 0; k < 4; ++k)
        carrying += siren.Animation(k)->DoneCommand() != nullptr;
    EXPECT_EQ(1, carrying);
    ASSERT_NE(nullptr, last->DoneCommand());
    EXPECT_STREQ("Handle Siren Done", last->DoneCommand()->Name());
    // Without a script each animation ends on its first step; the last one
    // posts its done command, which the stage runs.
    for (int pass = 0; pass < 3; ++pass) {
        FakeClock::now += 50;
        bare.stage.ChangeSceneOrDispatch();
        bare.stage.RunDueTasks();
        bare.stage.FrameTick();
    }
    EXPECT_EQ(0, Running());
    EXPECT_EQ(3, plane.PixelAt(0, 0)->red) << "the picture of before";
    EXPECT_EQ(nullptr, last->DoneCommand());
}
