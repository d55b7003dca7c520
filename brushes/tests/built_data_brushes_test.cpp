// The brushes on the program's own data files, as the build wrote them: the
// gloppy paint's row through the metaball, the phaser bursts of every size,
// the whipped cream's picture list through the single-image sprayer and a
// nib master through the standard brush.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "brushes/brush_scene.h"
#include "brushes/path_generator.h"
#include "brushes/single_brushes.h"
#include "brushes/std_brush.h"
#include "canvas/effect_draw_methods.h"
#include "canvas/gloppy_draw_methods.h"
#include "canvas_fixture.h"
#include "canvas_test_support.h"
#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "engine/record_table.h"
#include "engine/script_file.h"
#include "engine/tests/built_data.h"
#include "framework/random.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"

namespace {

class SceneCount : public KVXBrushScene {
public:
    void StartSprayedAnimation(int32_t, int32_t, const Pair&, bool) override {}
    void PlayPhaserSound() override { ++sounds; }
    int sounds = 0;
};

class BuiltBrushData : public CanvasVisualFixture {
protected:
    BuiltBrushData() : CanvasVisualFixture(240, 120) {}

    static void SetUpTestSuite()
    {
        FSDirectory folder = BuiltDataFolder();
        ASSERT_TRUE(OpenBuiltData()) << "run scripts/make-data.sh";
        for (const char* name : {"Hd.MMA", "App.MMA"})
            ASSERT_NE(CreateSoundLoader(name, folder, false), nullptr) << name;
    }
    static void TearDownTestSuite()
    {
        DeleteAllPictureCollections();
        DeleteAllSoundCollections();
        CloseAllScriptFiles();
    }

    struct Row : MMRecordTable {
        Row(MMResourceId id, int32_t rowSize) { Load(id, rowSize, nullptr); }
    };

    uint8_t red[4] = {0, 0, 255, 0};
};

}  // namespace

TEST_F(BuiltBrushData, MetaballLaysTheGloppyRowsGlobs)
{
    Row gloppy(500, 48);
    ASSERT_TRUE(gloppy.IsLoaded());
    int16_t dMin = gloppy.ShortAt(2, 16);
    int16_t dMax = gloppy.ShortAt(2, 18);
    int16_t rMin = int16_t(int32_t(dMin * (1.0 / 255) * 100));
    int16_t rMax = int16_t(int32_t(dMax * (1.0 / 255) * 100));
    ASSERT_LE(rMin, rMax);
    canvas.SetDrawMethod(10, 255, 300, 2);
    auto* method = dynamic_cast<KVXDrawMethodGloppy*>(canvas.DrawMethod());
    ASSERT_NE(method, nullptr);

    ProgramRandom().Seed(3);
    KVXBrushMetaball brush(rMin, rMax, red, &canvas, &plane);
    auto* walk = new IteratingPathGenerator;
    const double params[4] = {gloppy.ShortAt(2, 20) / 255.0, gloppy.ShortAt(2, 22) / 255.0,
                              double(dMin), double(dMax)};
    walk->SetParameters(params);
    brush.SetPathGenerator(walk);
    BrushDab from = Sample(60, 60, 19), to = Sample(120, 60, 19);
    brush.BeginStroke(&from);
    brush.ContinueStroke(&to);
    brush.EndStroke(&to);
    EXPECT_TRUE(method->HasPendingGlobs());
    EXPECT_GT(method->GlobValue(90, 60), 7) << "paint along the stroke";
    EXPECT_EQ(0, method->GlobValue(235, 5)) << "nothing far beyond the largest glob";
    method->FlushGlobs(plane);
    EXPECT_EQ(Bgr(0, 0, 255), plane.ColorAt(90, 60) & 0xFFFFFF);
    EXPECT_EQ(Bgr(255, 255, 255), plane.ColorAt(235, 5) & 0xFFFFFF);
}

TEST_F(BuiltBrushData, PhaserBurstsWithTheFramesOfEachSize)
{
    Row sound(464, 10);
    ASSERT_GE(sound.FindRowByKey(1), 0);
    EXPECT_NE(MMFindSoundCollection(sound.LongAt(sound.FindRowByKey(1), 2)), nullptr);
    SceneCount scene;
    int32_t previous = 0;
    for (int32_t type = 0; type < 5; ++type) {
        SCOPED_TRACE(type);
        canvas.SetDrawMethod(13, 0, 0, type);
        auto* phaser = dynamic_cast<KVXDrawMethodPhaser*>(canvas.DrawMethod());
        ASSERT_NE(phaser, nullptr);
        Row frames(529 + type, 4);
        ASSERT_GT(frames.RowCount(), 0);
        EXPECT_EQ(frames.RowCount(), phaser->FrameCount()) << "every frame is a plain 8-bit picture";

        KVXPhaserEraser brush(&canvas, &plane, &scene);
        BrushDab at = Sample(120, 60, 19);
        brush.BeginStroke(&at);
        EXPECT_EQ(type + 1, scene.sounds);
        ASSERT_TRUE(phaser->IsRunning());
        Box burst = phaser->EffectBox();
        EXPECT_EQ(burst.Width(), burst.Height());
        EXPECT_GT(burst.Width(), previous) << "larger sizes burst wider";
        EXPECT_EQ(120, (burst.left + burst.right) / 2);
        previous = burst.Width();
        brush.EndStroke(&at);
        for (int32_t i = 0; i < phaser->FrameCount(); ++i)
            phaser->Tick(plane);
        EXPECT_FALSE(phaser->IsRunning());
    }
}

TEST_F(BuiltBrushData, WhippedCreamStampsItsPictureAlongTheStroke)
{
    // The whipped cream's list of row 2: the picture after the first word 1.
    Row cream(506, 8);
    ASSERT_GE(cream.RowCount(), 3);
    Row list(cream.ItemIdAt(2, 0), 2);
    int32_t one = list.FindRow(0, 0, 0, 1);
    ASSERT_GE(one, 0);
    MMResourceId id = list.LongAtRow(one, 2);
    MMPictureReference picture;
    picture.Load(id);
    ASSERT_NE(picture.Collection(), nullptr);
    Pair size = picture.GetSize();
    MMBitmap bits;
    ASSERT_TRUE(picture.LockBitmap(bits));
    ASSERT_EQ(32, bits.bitsPerPixel);
    uint32_t centre = *reinterpret_cast<const uint32_t*>(
        bits.PixelAddress(bits.box.left + size.x / 2, bits.box.top + size.y / 2));
    picture.Unlock();
    ASSERT_EQ(0u, centre >> 24) << "an opaque middle";

    const double opacity[4] = {255, 255, 255, 255};
    KVXBrushSingleImageSprayer brush(&plane, red, nullptr, opacity);
    brush.pictureIds.push_back(id);
    auto* walk = new IteratingPathGenerator;
    const double params[4] = {1.0 / 255, 1.0 / 255, 255, 255};
    walk->SetParameters(params);
    brush.SetPathGenerator(walk);
    BrushDab from = Sample(60, 60, 19), to = Sample(150, 60, 19);
    brush.BeginStroke(&from);
    EXPECT_TRUE(plane.DirtyBox().IsEmpty()) << "the pen-down sample stamps nothing";
    brush.ContinueStroke(&to);
    brush.EndStroke(&to);
    // The last stamp lies whole at the stroke's end.
    int32_t lastX = plane.DirtyBox().right - size.x + size.x / 2;
    EXPECT_GE(lastX, 149);
    EXPECT_EQ(centre & 0xFFFFFF, plane.ColorAt(lastX, 60) & 0xFFFFFF);
    EXPECT_NE(Bgr(255, 255, 255), plane.ColorAt(100, 60 + size.y / 2 - 2) & 0xFFFFFF)
        << "the ribbon's lower rim";
    EXPECT_EQ(Bgr(255, 255, 255), plane.ColorAt(100, 60 + size.y) & 0xFFFFFF);
}

TEST_F(BuiltBrushData, SprayNibMasterMakesItsDab)
{
    Row spray(498, 48);
    ASSERT_TRUE(spray.IsLoaded());
    MMPictureReference picture;
    picture.Load(spray.LongAt(2, 40));
    ASSERT_NE(picture.Collection(), nullptr);
    KVXPlaneUCharTop nib(picture.GetSize());
    nib.Fill(0);
    nib.LoadFromPicture(picture, {0, 0});
    EXPECT_EQ(255, *nib.PixelAt(nib.width / 2, nib.height / 2)) << "full paint in the middle";
    EXPECT_EQ(0, *nib.PixelAt(0, 0)) << "none in the corner";

    int16_t dMax = spray.ShortAt(2, 18);
    const double params[4] = {0.2, 0.2, double(spray.ShortAt(2, 16)), double(dMax)};
    const uint8_t heights[2] = {0, 0};
    KVXBrushStdTransfer<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightCarve,
                        KVXColorGeneratorSaturation, KVXOpacityGeneratorNib>
        brush(params, kNoSaturation, kNibOpacity, heights, &plane, &nib, nullptr, red);
    BrushDab at = Sample(120, 60, 19);
    brush.BeginStroke(&at);
    brush.EndStroke(&at);
    Box painted = plane.DirtyBox();
    int32_t side = int32_t(dMax / 255.0 * nib.width);
    EXPECT_EQ(side, painted.Width()) << "the nib of size 19 is diameter max wide";
    EXPECT_EQ(side, painted.Height());
    EXPECT_EQ(Bgr(0, 0, 255), plane.ColorAt(120, 60) & 0xFFFFFF);
    EXPECT_EQ(Bgr(255, 255, 255), plane.ColorAt(painted.left, painted.top) & 0xFFFFFF)
        << "a round nib leaves its corners";
}
