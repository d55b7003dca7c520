// Drippy paint running down the canvas under kinds 6 to 9.
#include <gtest/gtest.h>

#include <memory>

#include "canvas/blend.h"
#include "canvas/drippy_draw_methods.h"
#include "canvas_test_support.h"

namespace {

class DrippyTest : public ::testing::Test {
protected:
    DrippyTest() : plane({3, 8}), work(Box{0, 0, 3, 8}), target(MakeTarget(3, 8))
    {
        Paint(plane, Bgr(10, 20, 30), 3072);
        EXPECT_TRUE(work.EnsureSurface());
    }
    void Use(KVXDrawMethod* m)
    {
        method.reset(m);
        method->Attach(&work, plane);
    }
    void Drip(int x, int y, uint16_t height, uint32_t bgr = Bgr(200, 100, 0))
    {
        KVXComponentPixel& p = *plane.PixelAt(x, y);
        p = {uint8_t(bgr), uint8_t(bgr >> 8), uint8_t(bgr >> 16), kPixelDrippy, height, 0};
        plane.AddDirtyRect({x, y, x + 1, y + 1});
    }
    // A tick of the canvas thread and the render that follows it.
    void Step()
    {
        method->Render(plane, *target, false);
        method->Tick(plane);
    }
    KVXComponentPixel& At(int x, int y) { return *plane.PixelAt(x, y); }

    KVXPlaneComponentTop plane;
    WorkSurface work;
    std::unique_ptr<MMBitmapWithPixels> target;
    std::unique_ptr<KVXDrawMethod> method;
};

}  // namespace

TEST_F(DrippyTest, PlainDripLosesEighteenATickUntilItsFloor)
{
    Use(new KVXDrawMethodDrippyPlain(0));
    Drip(1, 1, 3072 + 50);
    int expected[] = {3072 + 32, 3072 + 14};
    for (int h : expected) {
        Step();
        EXPECT_EQ(h, At(1, 1).height);
        EXPECT_EQ(kPixelDrippy, At(1, 1).type);
    }
    EXPECT_EQ(kPixelDrippy, At(1, 2).type) << "it ran into the pixel below";
    EXPECT_EQ(3072 + 24, At(1, 2).height) << "copied from above, 8 lower";
    Step();
    EXPECT_EQ(3072, At(1, 1).height);
    EXPECT_EQ(kPixelPlain, At(1, 1).type);
    method->Detach(plane);
    EXPECT_EQ(kPixelDrippy, At(1, 2).type) << "kind 6 leaves running paint marked";
}

TEST_F(DrippyTest, AddHeightDropMovesDownUntilItsExcessRunsOut)
{
    Use(new KVXDrawMethodDrippyAddHeight(0));
    Drip(1, 1, 3072 + 20);
    int excess[] = {16, 12, 8, 4};
    for (int i = 0; i < 4; ++i) {
        Step();
        int row = 2 + i;
        EXPECT_EQ(3072 + excess[i], At(1, row).height) << "row " << row;
        EXPECT_EQ(kPixelDrippy, At(1, row).type);
        EXPECT_EQ(3072, At(1, row - 1).height);
        EXPECT_EQ(kPixelPlain, At(1, row - 1).type);
    }
    EXPECT_EQ(BlendTable[BlendTable[200][239] + BlendTable[10][16]][239] + BlendTable[10][16],
              At(1, 3).blue);
    Step();
    EXPECT_EQ(kPixelPlain, At(1, 5).type) << "an excess of 4 stops";
    EXPECT_EQ(kPixelPlain, At(1, 6).type);
    EXPECT_EQ(3072, At(1, 6).height);
}

TEST_F(DrippyTest, PaintBelowItsFloorStopsInsteadOfRunning)
{
    for (int kind : {7, 8}) {
        SCOPED_TRACE(kind);
        Paint(plane, Bgr(10, 20, 30), 3072);
        if (kind == 7)
            Use(new KVXDrawMethodDrippyAddHeight(0));
        else
            Use(new KVXDrawMethodDrippyRemoveHeight(0));
        // Below the floor for kind 7, above it for kind 8: nothing to give.
        Drip(1, 1, kind == 7 ? 3000 : 3150);
        Step();
        EXPECT_EQ(kPixelPlain, At(1, 1).type);
        EXPECT_EQ(3072, At(1, 2).height);
        EXPECT_EQ(kPixelPlain, At(1, 2).type);
        method->Detach(plane);
    }
}

TEST_F(DrippyTest, RemoveHeightCarvedPaintRunsDown)
{
    Use(new KVXDrawMethodDrippyRemoveHeight(0));
    Drip(1, 1, 3072 - 20);
    Step();
    EXPECT_EQ(3072 - 16, At(1, 2).height);
    EXPECT_EQ(kPixelDrippy, At(1, 2).type);
    EXPECT_EQ(3072, At(1, 1).height);
}

TEST_F(DrippyTest, WaterStopsBelowNineAndLeavesNoHeightBehind)
{
    Use(new KVXDrawMethodDrippyWater(0));
    Drip(1, 1, 3072 + 8);
    Step();
    EXPECT_EQ(kPixelPlain, At(1, 1).type);
    EXPECT_EQ(3072, At(2, 2).height);

    Drip(0, 1, 3072 + 30, Bgr(0, 0, 0));
    Step();
    EXPECT_EQ(3072 + 26, At(0, 2).height);
    uint8_t t = uint8_t(3072 * 255 / (3072 + 3102));
    uint8_t mixed = uint8_t(BlendTable[10][t] + BlendTable[0][255 - t]);
    EXPECT_EQ(BlendTable[mixed][254] + BlendTable[255][1], At(0, 2).blue);
    At(2, 5).type = kPixelLocked;
    method->Detach(plane);
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(3072, At(0, y).height) << y;
    EXPECT_EQ(kPixelPlain, At(0, 2).type);
    EXPECT_EQ(kPixelLocked, At(2, 5).type);
}

TEST_F(DrippyTest, PaintInTheLastRowNeverMovesFurther)
{
    Use(new KVXDrawMethodDrippyPlain(0));
    Drip(1, 7, 3072 + 40);
    Step();
    EXPECT_EQ(kPixelDrippy, At(1, 7).type);
    EXPECT_EQ(3072 + 22, At(1, 7).height) << "it only loses height";
    method->Detach(plane);

    Use(new KVXDrawMethodDrippyAddHeight(0));
    At(0, 0).type = kPixelLocked;
    Drip(2, 2, 3072 + 40);
    Step();
    EXPECT_EQ(kPixelDrippy, At(2, 3).type);
    method->Detach(plane);
    EXPECT_EQ(kPixelPlain, At(2, 3).type) << "detaching kind 7 settles the paint";
    EXPECT_EQ(kPixelLocked, At(0, 0).type);
}
