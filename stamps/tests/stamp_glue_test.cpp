// A stamp's picture glued into the canvas: its pixels land under the stamp,
// at 1x and through the 2x zoom.
#include <gtest/gtest.h>

#include <cstring>

#include "canvas/canvas_visual.h"
#include "canvas_test_support.h"
#include "engine/tests/stage_fixture.h"
#include "fake_canvas_scene.h"
#include "media/bitmap_picture_collection.h"
#include "stamps/stamp_glue.h"

namespace {

class StampGlueTest : public ::testing::Test {
protected:
    StampGlueTest()
        : bare(false), scene(&bare.stage, &calls), plane({64, 48}), undo(plane),
          canvas(&scene, &host, {100, 50, 164, 98}, 10, &plane, &undo)
    {
        Paint(plane, Bgr(250, 250, 250), 3072);
        canvas.SetDrawMethod(kDrawPlain, 0, 0);
    }
    ~StampGlueTest() override { picture.Clear(); }

    // 3 x 2: a red, a green and a clear pixel over a half-clear blue row.
    void BindPicture()
    {
        auto bitmap = MakeTarget(3, 2, 0);
        const uint32_t words[] = {0x00FF0000, 0x0000FF00, 0xFF000000,
                                  0x800000FF, 0x800000FF, 0x800000FF};
        for (int i = 0; i < 6; ++i)
            std::memcpy(bitmap->PixelAddress(i % 3, i / 3), &words[i], 4);
        bitmap->transparencyKind = kTransparencyStraight;
        pictures.BindPicture(picture, 0, *bitmap, nullptr);
        ASSERT_FALSE(picture.IsEmpty());
    }

    BareStage bare;
    CallLog calls;
    RecordingScene scene;
    FakeCanvasScene host;
    KVXPlaneComponentTop plane;
    UndoSnapshot undo;
    KVXCanvasVisual canvas;
    MMBitmapPictureCollection pictures{2, 0x4300};
    MMPictureReference picture;
};

TEST_F(StampGlueTest, ThePicturesPixelsLandUnderTheStamp)
{
    BindPicture();
    Box glued = GlueStampPicture(&canvas, picture, {110, 70});
    EXPECT_EQ(10, glued.left);
    EXPECT_EQ(20, glued.top);
    EXPECT_EQ(15, glued.right);
    EXPECT_EQ(24, glued.bottom);
    EXPECT_EQ(0xFF0000u, plane.ColorAt(10, 20));
    EXPECT_EQ(0x00FF00u, plane.ColorAt(11, 20));
    EXPECT_EQ(Bgr(250, 250, 250), plane.ColorAt(12, 20)) << "clear pixels leave the paint";
    uint32_t blended = plane.ColorAt(10, 21);
    EXPECT_NE(Bgr(250, 250, 250), blended);
    EXPECT_NE(0x0000FFu, blended);
    EXPECT_EQ(Bgr(250, 250, 250), plane.ColorAt(9, 20));
    EXPECT_EQ(Bgr(250, 250, 250), plane.ColorAt(13, 20));
}

TEST_F(StampGlueTest, AZoomedCanvasTakesThePictureAtTheZoomOrigin)
{
    BindPicture();
    canvas.SetZoom(true);
    canvas.SetScroll(20, 10);
    Pair at = GluePlanePoint(canvas, {111, 71});
    EXPECT_EQ(25, at.x);
    EXPECT_EQ(20, at.y);
    GlueStampPicture(&canvas, picture, {111, 71});
    EXPECT_EQ(0xFF0000u, plane.ColorAt(25, 20));
    EXPECT_EQ(0x00FF00u, plane.ColorAt(26, 20));
    EXPECT_EQ(Bgr(250, 250, 250), plane.ColorAt(10, 20));
}

TEST_F(StampGlueTest, NothingToGlueChangesNothing)
{
    Box glued = GlueStampPicture(&canvas, picture, {110, 70});
    EXPECT_EQ(0, glued.right);
    EXPECT_EQ(Bgr(250, 250, 250), plane.ColorAt(10, 20));
    EXPECT_EQ(0, GlueStampPicture(nullptr, picture, {0, 0}).right);
}

}  // namespace
