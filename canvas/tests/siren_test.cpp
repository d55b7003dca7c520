// The undo show: how many sirens for how much drawing, and the swap at
// the end of the last one.
#include <gtest/gtest.h>

#include "canvas/canvas_visual.h"
#include "canvas/siren_handler.h"
#include "canvas_test_support.h"
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
          siren(&scene, &host, &canvas, &sound)
    {
        ProgramRandom().Seed(1);
    }
    int Running()
    {
        int n = 0;
        for (FakeSirenAnimation* a : host.animations)
            n += a->runs;
        return n;
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
    EXPECT_EQ(0u, host.animations.size());
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
        for (FakeSirenAnimation* a : host.animations)
            a->runs = 0;
        canvas.GrowDrawnBox(c.drawn);
        siren.Start();
        EXPECT_EQ(c.sirens, Running()) << c.sirens;
        canvas.SnapshotForUndo(false);
        EXPECT_TRUE(canvas.DrawnBox().IsEmpty());
    }
    for (FakeSirenAnimation* a : host.animations)
        EXPECT_EQ(98, a->layerOffset);
}

TEST_F(SirenTest, OnlyTheLastStartedCarriesTheDoneCommand)
{
    Paint(plane, Bgr(1, 2, 3), 3072);
    canvas.SnapshotForUndo(false);
    plane.PixelAt(0, 0)->red = 99;
    canvas.GrowDrawnBox({0, 0, 40, 40});
    siren.Start();
    ASSERT_EQ(4u, host.animations.size());
    auto* last = static_cast<FakeSirenAnimation*>(siren.LastStarted());
    int carrying = 0;
    for (FakeSirenAnimation* a : host.animations)
        carrying += a->done != nullptr;
    EXPECT_EQ(1, carrying);
    ASSERT_NE(nullptr, last->done);
    EXPECT_STREQ("Handle Siren Done", last->done->Name());
    // The animation posts a copy of its done command.
    MMCommand* posted = last->done->Clone();
    posted->Perform();
    delete posted;
    EXPECT_EQ(3, plane.PixelAt(0, 0)->red) << "the picture of before";
    EXPECT_EQ(nullptr, last->done);
}
