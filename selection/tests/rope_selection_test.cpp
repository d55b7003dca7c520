// The rope's floating selection on a 64 x 48 canvas placed at (10, 20) of
// the stage: lifting, moving, copying, locked pixels, flips and effects.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/random.h"
#include "media/bitmap.h"
#include "media/surface.h"
#include "selection/pixel_kernels.h"
#include "selection/rope_selection.h"

namespace {

const Box kArea = {10, 20, 74, 68};

struct RopeSelectionTest : ::testing::Test {
    RopeSelectionTest() : canvas({64, 48})
    {
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                *canvas.PixelAt(x, y) = {uint8_t(x * 4), uint8_t(y * 5), 90, 0, uint16_t(100 + x), 0};
    }
    KVXComponentPixel& At(int stageX, int stageY)
    {
        return *canvas.PixelAt(stageX - kArea.left, stageY - kArea.top);
    }
    // A square rope from (20, 30) to (40, 50) of the stage.
    std::vector<Pair> Square()
    {
        std::vector<Pair> rope;
        for (Pair p : {Pair{20, 30}, Pair{40, 30}, Pair{40, 50}, Pair{20, 50}})
            AddRopePoint(rope, p, kArea);
        CloseRope(rope);
        return rope;
    }
    KVXPlaneComponentTop canvas;
};

TEST_F(RopeSelectionTest, ARopeLiftsItsInsideAndLeavesBlankPaper)
{
    KVXRopeSelection selection(kArea);
    std::vector<Pair> rope = Square();
    KVXComponentPixel inside = At(30, 40);
    ASSERT_TRUE(selection.Make(rope.data(), int32_t(rope.size()), canvas, true));
    EXPECT_EQ((Box{20, 30, 41, 51}), selection.GetBox());
    EXPECT_EQ(0, selection.MaskAt(10, 10));
    EXPECT_EQ(kBlankPixel.ColorWord(), At(30, 40).ColorWord());
    EXPECT_EQ(kBlankHeight, At(30, 40).height);
    EXPECT_NE(kBlankPixel.ColorWord(), At(50, 40).ColorWord()) << "outside stays";
    EXPECT_TRUE(selection.ContainsPoint({30, 40}));
    EXPECT_FALSE(selection.ContainsPoint({45, 40}));

    // Dragged and put down: the patch lands at its new place.
    selection.MakeTranslucent();
    selection.MoveTo({44, 26});
    selection.MakeOpaque();
    selection.Place(canvas);
    EXPECT_EQ(inside.ColorWord(), At(54, 36).ColorWord());
    EXPECT_EQ(inside.height, At(54, 36).height);
    EXPECT_EQ(kBlankPixel.ColorWord(), At(30, 40).ColorWord()) << "the hole stays";
}

TEST_F(RopeSelectionTest, ControlDragLeavesACopyAndLockedPixelsAreKept)
{
    KVXRopeSelection selection(kArea);
    std::vector<Pair> rope = Square();
    KVXComponentPixel inside = At(30, 40);
    KVXComponentPixel beside = At(31, 40);
    ASSERT_TRUE(selection.Make(rope.data(), int32_t(rope.size()), canvas, true));
    selection.Place(canvas);  // Control at the press: a copy stays behind
    KVXComponentPixel locked = {1, 2, 3, kPixelLocked, 7, 0};
    At(55, 36) = locked;
    selection.MoveTo({45, 26});
    selection.Place(canvas);
    EXPECT_EQ(inside.ColorWord(), At(30, 40).ColorWord());
    EXPECT_EQ(beside.ColorWord(), At(56, 36).ColorWord());
    EXPECT_EQ(locked.ColorWord(), At(55, 36).ColorWord());
    EXPECT_EQ(7, At(55, 36).height);
}

TEST_F(RopeSelectionTest, RopesThatEncloseNothingMakeNoSelection)
{
    KVXRopeSelection selection(kArea);
    std::vector<Pair> two = {{20, 30}, {40, 40}};
    EXPECT_FALSE(selection.Make(two.data(), 2, canvas, true));
    std::vector<Pair> line = {{20, 30}, {30, 30}, {40, 30}, {20, 30}};
    EXPECT_FALSE(selection.Make(line.data(), 4, canvas, true));
    std::vector<Pair> off = {{100, 100}, {120, 100}, {120, 120}, {100, 100}};
    EXPECT_FALSE(selection.Make(off.data(), 4, canvas, true));
    EXPECT_FALSE(selection.IsActive());

    // Moves of five pixels or less add nothing; the rope never holds more
    // than 511 points before its closing one.
    std::vector<Pair> rope;
    EXPECT_TRUE(AddRopePoint(rope, {30, 30}, kArea));
    EXPECT_FALSE(AddRopePoint(rope, {35, 30}, kArea));
    EXPECT_TRUE(AddRopePoint(rope, {200, -50}, kArea));
    EXPECT_EQ((Pair{73, 20}), rope.back()) << "clamped inside the canvas";
    rope.clear();
    for (int i = 0; i < 600; ++i)
        AddRopePoint(rope, {20 + (i % 2) * 30, 30 + (i / 2) % 15}, kArea);
    EXPECT_EQ(kRopePoints - 1, int(rope.size()));
    CloseRope(rope);
    EXPECT_EQ(kRopePoints, int(rope.size()));
    EXPECT_EQ(rope.front(), rope.back());
}

TEST_F(RopeSelectionTest, TranslucencyComesBackExactly)
{
    KVXRopeSelection selection(kArea);
    std::vector<Pair> rope = Square();
    ASSERT_TRUE(selection.Make(rope.data(), int32_t(rope.size()), canvas, false));
    const uint8_t masks[] = {0, 1, 2, 100, 254, 255};
    for (int i = 0; i < 6; ++i) {
        MMBitmap pixels;
        selection.Surface()->GetBitmap(pixels);
        pixels.PixelAddress(i, 0)[3] = masks[i];
    }
    selection.MakeTranslucent();
    EXPECT_EQ(128, selection.MaskAt(0, 0));
    EXPECT_EQ(127, selection.MaskAt(1, 0));
    EXPECT_EQ(255, selection.MaskAt(5, 0));
    selection.MakeOpaque();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(masks[i], selection.MaskAt(i, 0)) << i;
    EXPECT_EQ(0x10000, ScaleHandleFrequency(0, 0));
    EXPECT_EQ(0x10000 - 100 * 61440 / 200, ScaleHandleFrequency(100, 200));
    EXPECT_EQ(4096, ScaleHandleFrequency(201, 200));
}

TEST_F(RopeSelectionTest, FlipsAndEffectsChangeTheLiftedPixels)
{
    KVXRopeSelection selection(kArea);
    std::vector<Pair> rope = Square();
    KVXComponentPixel corner = At(20, 30);
    ASSERT_TRUE(selection.Make(rope.data(), int32_t(rope.size()), canvas, true));
    selection.FlipX();
    EXPECT_EQ(corner.ColorWord(), selection.CutPlane()->PixelAt(20, 0)->ColorWord());
    selection.FlipY();
    EXPECT_EQ(corner.ColorWord(), selection.CutPlane()->PixelAt(20, 20)->ColorWord());
    UURandom random{3};
    selection.ApplyEffect(kEffectMosaic, 255, nullptr, random);
    const KVXComponentPixel* tile = selection.CutPlane()->PixelAt(0, 0);
    EXPECT_EQ(tile->ColorWord(), selection.CutPlane()->PixelAt(7, 7)->ColorWord());
    MMBitmap pixels;
    selection.Surface()->GetBitmap(pixels);
    EXPECT_EQ(tile->blue, pixels.PixelAddress(7, 7)[0]) << "the surface shows the effect";
}

TEST_F(RopeSelectionTest, APictureArrivesCentredAndWhole)
{
    std::unique_ptr<MMBitmapWithPixels> picture(
        MMBitmap::CreateWithPixels({0, 0, 20, 10}, kPixelBGRA, nullptr));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            uint8_t* p = picture->PixelAddress(x, y);
            p[0] = 10;
            p[1] = 20;
            p[2] = 30;
            p[3] = 0;
        }
    KVXRopeSelection selection(kArea);
    ASSERT_TRUE(selection.TakePicture(*picture));
    EXPECT_TRUE(selection.FromPicture());
    EXPECT_EQ((Box{32, 39, 52, 49}), selection.GetBox());
    EXPECT_EQ(5u, selection.Outline().size());
    EXPECT_EQ((Pair{51, 48}), selection.Outline()[2]);
    At(40, 40).height = 999;
    selection.Place(canvas);
    EXPECT_EQ(10, At(40, 40).blue);
    EXPECT_EQ(30, At(40, 40).red);
    EXPECT_EQ(999, At(40, 40).height) << "a picture keeps the paint's height";
    selection.MoveTo({200, 200});
    EXPECT_FALSE(selection.MeetsCanvas());
}

}  // namespace
