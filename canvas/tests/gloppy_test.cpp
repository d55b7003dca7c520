// Globs summed into a field, shown raised and written into the plane.
#include <gtest/gtest.h>

#include <memory>

#include "canvas/blend.h"
#include "canvas/gloppy_draw_methods.h"
#include "canvas_test_support.h"

namespace {

class GloppyTest : public ::testing::Test {
protected:
    GloppyTest() : plane({64, 64}), work(Box{0, 0, 64, 64}), texture({64, 64})
    {
        Paint(plane, Bgr(10, 20, 30), 3072);
        EXPECT_TRUE(work.EnsureSurface());
        texture.Fill(255);
    }
    void Use(KVXDrawMethodGloppy* m)
    {
        method.reset(m);
        method->Attach(&work, plane);
        plane.SetDirtyBox({0, 0, 0, 0});
    }
    KVXComponentPixel& At(int x, int y) { return *plane.PixelAt(x, y); }

    KVXPlaneComponentTop plane;
    WorkSurface work;
    KVXPlaneUCharTop texture;
    std::unique_ptr<KVXDrawMethodGloppy> method;
};

const uint32_t kRed = Bgr(0, 0, 255);
const uint32_t kBlue = Bgr(255, 0, 0);
// A glob of diameter 20 gives its centre sqrt(95) x 255 and adds a height of
// (510 - 255) x (2485 / 8) / 255 there.
const uint16_t kCentreValue = 2485;
const int kCentreHeight = 310;

}  // namespace

TEST_F(GloppyTest, AGlobWaitsForTheColourToChange)
{
    Use(new KVXDrawMethodGloppy(510));
    method->AddGlob(plane, {30, 30}, 20, kRed);
    EXPECT_EQ(Bgr(10, 20, 30), plane.ColorAt(30, 30));
    EXPECT_EQ(3072, At(30, 30).height);
    EXPECT_EQ((Box{10, 10, 50, 50}), plane.DirtyBox());
    EXPECT_EQ(kCentreValue, method->GlobValue(30, 30));
    EXPECT_EQ(0, method->GlobValue(45, 30));
    EXPECT_TRUE(method->HasPendingGlobs());

    method->AddGlob(plane, {10, 50}, 20, kBlue);
    EXPECT_EQ(kRed, plane.ColorAt(30, 30));
    EXPECT_EQ(3072 + kCentreHeight, At(30, 30).height);
    EXPECT_EQ(Bgr(10, 20, 30), plane.ColorAt(45, 30)) << "no paint where the value is 7 or less";
    EXPECT_EQ(0, method->GlobValue(30, 30)) << "the flush empties the field";

    method->Detach(plane);
    EXPECT_EQ(kBlue, plane.ColorAt(10, 50));
    // The earlier glob is neither repainted in the new colour nor raised again.
    EXPECT_EQ(kRed, plane.ColorAt(30, 30));
    EXPECT_EQ(3072 + kCentreHeight, At(30, 30).height);
}

TEST_F(GloppyTest, LockedPixelsAreNeverPainted)
{
    Use(new KVXDrawMethodTrasparentGloppy(765));
    At(30, 30).type = kPixelLocked;
    method->AddGlob(plane, {30, 30}, 20, kRed);
    method->Detach(plane);
    EXPECT_EQ(Bgr(10, 20, 30) | uint32_t(kPixelLocked) << 24, plane.ColorAt(30, 30));
    EXPECT_EQ(3072, At(30, 30).height);
    // Half glob, half picture; the height scale of 765 becomes 510.
    EXPECT_EQ(Bgr(BlendTable[0][128] + BlendTable[10][127], BlendTable[0][128] + BlendTable[20][127],
                  BlendTable[255][128] + BlendTable[30][127]),
              plane.ColorAt(31, 30));
    EXPECT_LT(3072 + 250, At(31, 30).height);
}

TEST_F(GloppyTest, GrainyGlobsChangeColoursOnly)
{
    Use(new KVXDrawMethodGrainyTrasparentGloppy(510, &texture));
    method->AddGlob(plane, {30, 30}, 20, kRed);
    method->Detach(plane);
    // u = 255 x ((1024 - 310) x 128 / 1024 + 128) / 255 = 217.
    EXPECT_EQ(Bgr(BlendTable[0][217] + BlendTable[10][38], BlendTable[0][217] + BlendTable[20][38],
                  BlendTable[255][217] + BlendTable[30][38]),
              plane.ColorAt(30, 30));
    EXPECT_EQ(3072, At(30, 30).height);
}

TEST_F(GloppyTest, PendingGlobsRenderRaised)
{
    Use(new KVXDrawMethodGloppy(510));
    auto target = MakeTarget(64, 64);
    method->AddGlob(plane, {30, 30}, 20, kRed);
    method->Render(plane, *target, false);
    uint32_t centre = TargetWord(*target, 30, 30);
    EXPECT_EQ(0u, centre & 0xFFFF) << "blue and green of the red glob stay dark";
    EXPECT_LT(150u, centre >> 16);
    EXPECT_EQ(Bgr(10, 20, 30), TargetWord(*target, 5, 5));
    EXPECT_EQ(Bgr(10, 20, 30), plane.ColorAt(30, 30));
}
