// Invisible ink, its reveal, image-roller paint and the phaser burst.
#include <gtest/gtest.h>

#include <memory>

#include "canvas/blend.h"
#include "canvas/effect_draw_methods.h"
#include "canvas_test_support.h"
#include "engine/record_table.h"
#include "engine/script_file.h"
#include "media/bitmap_picture_collection.h"
#include "resource_fixture.h"

namespace {

class EffectTest : public ::testing::Test {
protected:
    EffectTest() : plane({5, 5}), work(Box{0, 0, 5, 5}), target(MakeTarget(5, 5))
    {
        Paint(plane, Bgr(200, 100, 50), 3072);
        EXPECT_TRUE(work.EnsureSurface());
    }
    void Use(KVXDrawMethod* m)
    {
        method.reset(m);
        method->Attach(&work, plane);
    }
    void Put(int x, int y, uint32_t bgr, uint8_t type)
    {
        plane.PixelAt(x, y)->SetColorWord(bgr | uint32_t(type) << 24);
        plane.AddDirtyRect({x, y, x + 1, y + 1});
    }
    void Render() { method->Render(plane, *target, false); }
    // A tick of the canvas thread and the render that follows it.
    void Step()
    {
        method->Tick(plane);
        Render();
    }
    KVXComponentPixel& At(int x, int y) { return *plane.PixelAt(x, y); }

    KVXPlaneComponentTop plane;
    WorkSurface work;
    std::unique_ptr<MMBitmapWithPixels> target;
    std::unique_ptr<KVXDrawMethod> method;
};

uint8_t Toward(uint8_t own, uint8_t stored, uint8_t w)
{
    return uint8_t(BlendTable[stored][255 - w] + BlendTable[own][w]);
}

}  // namespace

TEST_F(EffectTest, InvisibleInkFadesOverNineTicksAndStaysHidden)
{
    Use(new KVXDrawMethodInvisible);
    Put(1, 1, Bgr(0, 0, 255), kPixelInvisibleInk);
    Render();
    for (int tick = 1; tick <= 8; ++tick)
        Step();
    EXPECT_EQ(2, At(1, 1).type);
    uint8_t red = At(1, 1).red;
    Step();
    EXPECT_EQ(kPixelLocked, At(1, 1).type);
    EXPECT_EQ(Toward(red, 50, 28), At(1, 1).red) << "the last step mixes by (2 - 1) / 9";
    Step();
    EXPECT_EQ(Bgr(200, 100, 50) | 0x01000000u, plane.ColorAt(1, 1)) << "hidden: the colour of before";
    Put(3, 3, Bgr(0, 255, 0), kPixelInvisibleInk);
    method->Detach(plane);
    EXPECT_EQ(Bgr(200, 100, 50) | 0x01000000u, plane.ColorAt(3, 3));
}

TEST_F(EffectTest, RevealShowsHiddenInkInvertedAndGivesItBack)
{
    Put(2, 2, Bgr(200, 100, 50), kPixelLocked);
    Use(new KVXDrawMethodInvisibleReveal);
    EXPECT_EQ(Bgr(55, 155, 205) | 0x01000000u, plane.ColorAt(2, 2));
    EXPECT_EQ(plane.Bounds(), plane.DirtyBox());
    Put(1, 1, Bgr(0, 0, 0), kPixelRevealedInk);
    Render();
    Step();
    EXPECT_EQ(19, At(1, 1).type);
    method->Detach(plane);
    EXPECT_EQ(Bgr(200, 100, 50) | 0x01000000u, plane.ColorAt(2, 2));
    EXPECT_EQ(Bgr(200, 100, 50), plane.ColorAt(1, 1)) << "revealing ink leaves the colour of before";
}

TEST_F(EffectTest, RollerPaintFadesInOverFourTicks)
{
    Use(new KVXDrawMethodImageRoller);
    Put(1, 1, Bgr(0, 0, 0), kPixelRollerPaint);
    Render();
    EXPECT_EQ(Bgr(200, 100, 50), TargetWord(*target, 1, 1)) << "shown as the picture of before";
    // Each tick's render shows the type of before and then counts it down.
    uint8_t shown[] = {255, 191, 127, 63};
    for (uint8_t e : shown) {
        Step();
        EXPECT_EQ(BlendTable[200][e], TargetWord(*target, 1, 1) & 0xFF) << int(e);
    }
    EXPECT_EQ(21, At(1, 1).type);
    EXPECT_EQ(Bgr(200, 100, 50), TargetWord(*target, 2, 1));
    Step();
    EXPECT_EQ(kPixelPlain, At(1, 1).type);
    EXPECT_EQ(0u, TargetWord(*target, 1, 1));
    EXPECT_EQ(0, At(1, 1).blue);
}

namespace {

class PhaserTest : public EffectTest {
protected:
    void SetUp() override
    {
        // Two 5 x 5 frames of key 10 with a bump of 40 in the middle.
        for (int16_t i = 0; i < 2; ++i) {
            auto frame = MMBitmap::CreateWithPixels({0, 0, 5, 5}, kPixelIndexed, nullptr);
            for (int y = 0; y < 5; ++y)
                std::memset(frame->PixelAddress(0, y), 10, 5);
            *frame->PixelAddress(2, 2) = 40;
            frame->transparencyKind = kTransparencyOpaque;
            frames.BindPicture(references[i], i, *frame, nullptr);
            delete frame;
            ASSERT_FALSE(references[i].IsEmpty());
        }
        TestTable table;
        table.table = 531;
        table.item = 0;
        table.rowSize = 4;
        PutLong(table.rows, frames.MakePictureId(0));
        PutLong(table.rows, frames.MakePictureId(1));
        ASSERT_TRUE(WriteScriptFile(temp.Folder(), "p.mms", {table}, 600, -1, 1252));
        ASSERT_TRUE(OpenScriptFile(temp.Folder(), "p.mms"));
    }
    void TearDown() override { CloseAllScriptFiles(); }

    TempFolder temp;
    MMBitmapPictureCollection frames{2, 0x4100};
    MMPictureReference references[2];
};

}  // namespace

TEST_F(PhaserTest, ABurstMovesTheCanvasTowardBlank)
{
    auto* phaser = new KVXDrawMethodPhaser(2, nullptr);
    Use(phaser);
    ASSERT_EQ(2, phaser->FrameCount());
    phaser->MoveBurst(plane, {2, 2});
    EXPECT_EQ((Box{0, 0, 5, 5}), phaser->EffectBox());
    Render();
    EXPECT_EQ(Bgr(200, 100, 50), plane.ColorAt(2, 2)) << "frame 0 changes nothing";
    phaser->Tick(plane);
    Render();
    // Halfway (1 of 2 frames) at the centre, where 1 - d^2 / r^2 = 1.
    EXPECT_EQ(Bgr(227, 177, 152), plane.ColorAt(2, 2));
    EXPECT_EQ(3072, At(2, 2).height);
    EXPECT_EQ(Bgr(200, 100, 50), plane.ColorAt(0, 2)) << "on the radius: no change";
    EXPECT_EQ(Bgr(200, 100, 50), plane.ColorAt(0, 0)) << "outside the radius";
    phaser->Tick(plane);
    EXPECT_FALSE(phaser->IsRunning());
    EXPECT_TRUE(phaser->EffectBox().IsEmpty());
    method->Detach(plane);
}

TEST_F(EffectTest, APhaserWithoutFramesShowsNoBurst)
{
    auto* phaser = new KVXDrawMethodPhaser(4, nullptr);
    Use(phaser);
    phaser->MoveBurst(plane, {2, 2});
    EXPECT_FALSE(phaser->IsRunning());
    Render();
    phaser->Tick(plane);
    Render();
    EXPECT_EQ(Bgr(200, 100, 50), plane.ColorAt(2, 2));
}
