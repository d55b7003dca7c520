// The rope on a stage with a 64 x 48 canvas at (10, 10), driven by synthetic
// pointer events: a lasso cuts, the floating selection drags and is put
// down (a Control-drag leaves a copy), locked pixels stay, a selection
// dropped off the canvas goes and leaves its hole, the scale handle never
// makes it smaller than 3 x 3, flips, effects, a rope of 600 points, a
// picture centred, and the outline's colour coming round every 16 redraws.
#include "tool_fixture.h"

#include <algorithm>
#include <memory>

#include "media/bitmap.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "selection/pixel_kernels.h"
#include "selection/rope_interpreters.h"

namespace {

const KVXComponentPixel kRed = {0, 0, 255, kPixelPlain, 5000, 0};

// A 100 x 80 screen of magenta for the rope's visual to draw on.
struct RopeScreen {
    MMSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, 100, 80}, nullptr);
    MMBitmap shown;
    bool ready = false;
    RopeScreen()
    {
        if (!surface || !surface->GetBitmap(shown))
            return;
        surface->SetClipBox(surface->GetBounds());
        for (int y = 0; y < 80; ++y)
            std::fill_n(reinterpret_cast<uint32_t*>(shown.PixelAddress(0, y)), 100, kMagenta);
        ready = true;
    }
    ~RopeScreen()
    {
        if (surface)
            surface->Dispose();
    }
    uint32_t At(int x, int y) const
    {
        return *reinterpret_cast<const uint32_t*>(shown.PixelAddress(x, y)) & 0xFFFFFF;
    }
    static constexpr uint32_t kMagenta = 0x00C800C8u;
};

struct RopeStageTest : ToolFixture {
    RopeStageTest()
    {
        bare.stage.TopEnclosure()->AddVisual(&canvas);
        canvas.SetDrawMethod(kDrawStatic, 0, 0);
        // The canvas's left half is red.
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 32; ++x)
                *plane.PixelAt(x, y) = kRed;
    }
    ~RopeStageTest() override
    {
        rope.reset();
        bare.stage.TopEnclosure()->RemoveVisual(&canvas);
    }
    static MMStageEvent Event(int x, int y, uint32_t flags)
    {
        return MMStageEvent{kStageEventPointer, 0, 0, x, y, flags};
    }
    // A rectangle rope from one stage point to another.
    void Lasso(Pair from, Pair to)
    {
        rope.reset(new KVXRopeToolBoxInterpreter(&host, &bare.stage, &canvas, nullptr, kRopeSound, false));
        rope->SetFeedbackStyle(1);
        rope->Interpret(Event(from.x, from.y, kPointerPressed | kPointerHeld));
        rope->Interpret(Event(to.x, to.y, kPointerHeld));
        rope->Interpret(Event(to.x, to.y, kPointerReleased));
    }
    void Drag(MMMouseInterpreter* by, Pair from, Pair to, uint32_t extra = 0)
    {
        by->Interpret(Event(from.x, from.y, kPointerPressed | kPointerHeld | extra));
        by->Interpret(Event((from.x + to.x) / 2, (from.y + to.y) / 2, kPointerHeld | extra));
        by->Interpret(Event(to.x, to.y, kPointerReleased | extra));
    }
    MMMouseInterpreter* Grab() { return rope->Visual()->GetMouseInterpreter(); }
    bool IsRed(int sx, int sy) { return plane.PixelAt(sx - 10, sy - 10)->red == 255 && plane.PixelAt(sx - 10, sy - 10)->blue == 0; }
    bool IsBlank(int sx, int sy)
    {
        const KVXComponentPixel& p = *plane.PixelAt(sx - 10, sy - 10);
        return p.red == 255 && p.green == 255 && p.blue == 255 && p.height == kBlankHeight;
    }

    std::unique_ptr<KVXBaseRopeToolInterpreter> rope;
};

TEST_F(RopeStageTest, ALassoCutsAndTheSelectionDragsAndGoesDown)
{
    Lasso({14, 14}, {30, 30});
    ASSERT_TRUE(rope->HasSelection());
    Box box = rope->Selection().GetBox();
    EXPECT_EQ((Box{14, 14, 31, 31}), box);
    EXPECT_TRUE(IsBlank(20, 20)) << "the cut leaves blank canvas";
    EXPECT_TRUE(IsRed(40, 20));
    // Paint where the selection goes, one pixel locked.
    plane.PixelAt(52 - 10, 22 - 10)->type = kPixelLocked;
    Drag(Grab(), {20, 20}, {50, 25});
    EXPECT_EQ((Box{44, 19, 61, 36}), rope->Selection().GetBox());
    EXPECT_FALSE(rope->Selection().MeetsCanvas() == false);
    EXPECT_EQ(0, rope->Selection().MaskAt(3, 3)) << "opaque again after the drag";
    rope->FinishRope(0);
    EXPECT_FALSE(rope->HasSelection());
    EXPECT_TRUE(IsRed(50, 25)) << "put down where it was dragged";
    EXPECT_EQ(kPixelLocked, plane.PixelAt(52 - 10, 22 - 10)->type);
    EXPECT_TRUE(IsBlank(52, 22)) << "a locked pixel is never overwritten";
    EXPECT_TRUE(IsBlank(20, 20)) << "the hole stays";
}

TEST_F(RopeStageTest, AControlDragLeavesACopyAndADropOffTheCanvasLeavesTheHole)
{
    Lasso({14, 14}, {30, 30});
    Drag(Grab(), {20, 20}, {50, 25}, kPointerControl);
    EXPECT_TRUE(IsRed(20, 20)) << "the copy left behind";
    Drag(Grab(), {50, 25}, {300, 300});
    EXPECT_FALSE(rope->HasSelection()) << "dropped off the canvas";
    EXPECT_TRUE(IsBlank(50, 25));
    EXPECT_TRUE(IsRed(20, 20));
}

// Undo after a selection is put down: a moved part comes back where it was
// lifted (not a hole with the part gone); after a Control-drag the copy
// left behind is what undo keeps.
TEST_F(RopeStageTest, UndoAfterPuttingDownKeepsTheLiftedPart)
{
    Lasso({14, 14}, {30, 30});
    Drag(Grab(), {20, 20}, {50, 25});
    rope->FinishRope(0);
    canvas.SwapWithUndo();
    EXPECT_TRUE(IsRed(20, 20)) << "back where it was lifted";
    EXPECT_TRUE(IsBlank(50, 25));
    canvas.SwapWithUndo();
    EXPECT_TRUE(IsRed(50, 25)) << "undone again: where it was put down";
    EXPECT_TRUE(IsBlank(20, 20));

    Lasso({44, 14}, {60, 30});
    canvas.SwapWithUndo();
    canvas.SwapWithUndo();
    Drag(Grab(), {50, 20}, {50, 40});
    rope->FinishRope(0);
    canvas.SwapWithUndo();
    EXPECT_TRUE(IsRed(50, 20)) << "two undos while it floated change nothing";
    EXPECT_TRUE(IsBlank(50, 40));
    canvas.SwapWithUndo();

    Lasso({14, 34}, {30, 50});
    Drag(Grab(), {20, 40}, {20, 14}, kPointerControl);
    rope->FinishRope(0);
    canvas.SwapWithUndo();
    EXPECT_TRUE(IsRed(20, 40)) << "the copy left behind";
    EXPECT_TRUE(IsBlank(20, 14));
}

TEST_F(RopeStageTest, TheScaleHandleKeepsThreeByThreeAndTheMoveHandleKeepsTheCanvas)
{
    Lasso({14, 14}, {30, 30});
    ASSERT_NE(nullptr, rope->Control(0));
    MMMouseInterpreter* scale = rope->Control(0)->GetMouseInterpreter();
    MMMouseInterpreter* move = rope->Control(1)->GetMouseInterpreter();
    ASSERT_NE(nullptr, scale);
    Drag(scale, {31, 14}, {0, 100});
    Box box = rope->Selection().GetBox();
    EXPECT_EQ(14, box.left);
    EXPECT_EQ(31, box.bottom) << "left and bottom kept";
    EXPECT_EQ(3, box.Width());
    EXPECT_EQ(3, box.Height());
    Drag(scale, {17, 28}, {45, 20});
    EXPECT_EQ((Box{14, 20, 45, 31}), rope->Selection().GetBox());
    ASSERT_NE(nullptr, rope->Selection().CutPlane());
    EXPECT_EQ(31, rope->Selection().CutPlane()->width) << "the pixels are made at the new size";
    Drag(move, {14, 20}, {-50, 400});
    EXPECT_EQ((Box{10, 47, 41, 58}), rope->Selection().GetBox()) << "the whole box stays on the canvas";
}

// While the scale handle drags, the box grows ahead of the pixels, which are
// remade at its size on the release: until then only the old pixels show,
// take clicks or go down, and nothing beyond them is read.
TEST_F(RopeStageTest, WhileTheScaleHandleDragsOnlyTheOldPixelsShow)
{
    Lasso({14, 14}, {30, 30});  // red on the left of x 42; 17 x 17 pixels
    MMMouseInterpreter* scale = rope->Control(0)->GetMouseInterpreter();
    scale->Interpret(Event(31, 14, kPointerPressed | kPointerHeld));
    scale->Interpret(Event(70, 11, kPointerHeld));
    ASSERT_EQ((Box{14, 11, 70, 31}), rope->Selection().GetBox());
    EXPECT_EQ(17, rope->Selection().CutPlane()->width) << "the pixels wait for the release";

    {
        RopeScreen screen;
        ASSERT_TRUE(screen.ready);
        rope->Visual()->Draw(screen.surface);
        EXPECT_EQ(0xFF0000u, screen.At(20, 20)) << "the old pixels, drawn at the box's corner";
        for (Pair p : {Pair{40, 20}, Pair{20, 28}, Pair{60, 25}})
            EXPECT_EQ(RopeScreen::kMagenta, screen.At(p.x, p.y)) << p.x << ", " << p.y;
    }
    EXPECT_TRUE(rope->Selection().ContainsPoint({20, 20}));
    EXPECT_FALSE(rope->Selection().ContainsPoint({40, 20}));

    // Put down mid-drag, the old pixels land at the box's corner.
    rope->PlaceSelection();
    EXPECT_TRUE(IsRed(20, 20));
    EXPECT_TRUE(IsBlank(25, 29)) << "under the cut";
    EXPECT_TRUE(IsRed(35, 20)) << "beyond the old pixels the canvas stays";
    EXPECT_TRUE(IsBlank(50, 20));
    scale->Interpret(Event(70, 11, kPointerReleased));
    EXPECT_EQ(56, rope->Selection().CutPlane()->width);
}

// A selection dragged partly off the canvas keeps its outline on the canvas:
// none is drawn over what lies around it.
TEST_F(RopeStageTest, TheOutlineStaysOnTheCanvas)
{
    Lasso({14, 14}, {30, 30});
    Drag(Grab(), {20, 20}, {10, 20});
    ASSERT_EQ((Box{4, 14, 21, 31}), rope->Selection().GetBox());
    RopeScreen screen;
    ASSERT_TRUE(screen.ready);
    rope->Visual()->Draw(screen.surface);
    GdiFlush();
    for (int y = 12; y < 34; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(RopeScreen::kMagenta, screen.At(x, y)) << x << ", " << y;
    EXPECT_NE(RopeScreen::kMagenta, screen.At(15, 14)) << "the outline's top edge on the canvas";
    EXPECT_EQ(screen.surface->GetBounds(), screen.surface->GetClipBox()) << "the screen's clip comes back";
}

TEST_F(RopeStageTest, FlipsEffectsAndTheOutlineComingRoundEverySixteenRedraws)
{
    Lasso({36, 14}, {47, 20});  // red on its left, blank on its right
    ASSERT_TRUE(rope->HasSelection());
    KVXPlaneComponentTop* cut = rope->Selection().CutPlane();
    EXPECT_EQ(0, cut->PixelAt(0, 0)->blue);
    EXPECT_EQ(255, cut->PixelAt(11, 0)->blue);
    rope->FlipSelectionX();
    EXPECT_EQ(0, cut->PixelAt(11, 0)->blue);
    EXPECT_EQ(255, cut->PixelAt(0, 0)->blue);
    rope->FlipSelectionY();
    EXPECT_EQ(0, cut->PixelAt(11, 6)->blue);
    uint8_t untouched = plane.PixelAt(0, 40)->blue;
    rope->ApplyEffect(kEffectMosaic, 400);
    EXPECT_EQ(untouched, plane.PixelAt(0, 40)->blue) << "with a selection only the selection changes";
    EXPECT_GT(cut->PixelAt(0, 0)->blue, 0) << "a tile of red and white mixes";
    EXPECT_LT(cut->PixelAt(0, 0)->blue, 255);

    RopeScreen screen;
    ASSERT_TRUE(screen.ready);
    KVXRopeSelectionVisual* visual = rope->Visual();
    EXPECT_EQ(0.0, visual->Hue());
    for (int i = 1; i <= 16; ++i) {
        visual->Draw(screen.surface);
        if (i < 16) {
            EXPECT_NE(0.0, visual->Hue()) << i;
        }
    }
    EXPECT_EQ(0.0, visual->Hue()) << "16 colours, then round again";
}

TEST_F(RopeStageTest, ARopeOfSixHundredPointsKeepsFiveHundredAndTwelveAndAPictureIsCentred)
{
    auto* poly = new KVXRopeToolPolylineInterpreter(&host, &bare.stage, &canvas, nullptr, kRopeSound);
    rope.reset(poly);
    poly->Interpret(Event(12, 12, kPointerPressed | kPointerHeld));
    for (int i = 0; i < 600; ++i)
        poly->Interpret(Event(i % 2 ? 12 : 70, 12 + i % 37, kPointerHeld));
    EXPECT_EQ(size_t(kRopePoints - 1), poly->Points().size());
    poly->Interpret(Event(12, 12, kPointerReleased));
    ASSERT_TRUE(rope->HasSelection());
    EXPECT_EQ(size_t(kRopePoints), rope->Selection().Outline().size()) << "closed within its 512 points";

    std::unique_ptr<MMBitmapWithPixels> picture(MMBitmap::CreateWithPixels({0, 0, 10, 6}, kPixelBGRA, nullptr));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) {
            uint8_t* p = picture->PixelAddress(x, y);
            p[0] = 200, p[1] = 100, p[2] = 50, p[3] = 0;
        }
    ASSERT_TRUE(rope->TakeSurfaceAsSelection(*picture));
    EXPECT_TRUE(rope->Selection().FromPicture());
    EXPECT_EQ((Box{37, 31, 47, 37}), rope->Selection().GetBox());
    rope->FinishRope(0);
    EXPECT_EQ(50, plane.PixelAt(37 - 10, 31 - 10)->red);
    EXPECT_EQ(200, plane.PixelAt(46 - 10, 36 - 10)->blue);
}

}  // namespace
