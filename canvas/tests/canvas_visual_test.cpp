// The canvas visual on a stage driven step by step: drawing, zoom, the
// dirty box reaching the stage, draw methods by kind, the wipe and undo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "canvas/canvas_visual.h"
#include "canvas_test_support.h"
#include "engine/tests/stage_fixture.h"
#include "fake_canvas_scene.h"
#include "media/offscreen_surface.h"
#include "media/tests/recording_enclosure.h"

namespace {

class CanvasVisualTest : public ::testing::Test {
protected:
    CanvasVisualTest()
        : bare(false), scene(&bare.stage, &calls), plane({40, 480}), undo(plane),
          canvas(&scene, &host, {100, 50, 140, 150}, 10, &plane, &undo)
    {
        Paint(plane, Bgr(10, 20, 30), 3072);
        undo.Checkpoint(plane);
        bare.stage.StartClock();
    }
    ~CanvasVisualTest() override
    {
        if (MMEnclosure* enclosure = canvas.Enclosure())
            enclosure->RemoveVisual(&canvas);
    }
    void Show() { bare.stage.TopEnclosure()->AddVisual(&canvas); }
    // One pass of the stage: time, threads and commands, then the redraw.
    void Pass(uint32_t ms = 1)
    {
        FakeClock::now += ms;
        bare.stage.ChangeSceneOrDispatch();
        bare.stage.RunDueTasks();
        bare.stage.RedrawDirty();
    }
    uint32_t Screen(int x, int y)
    {
        MMBitmap store;
        bare.stage.Offscreen()->GetBitmap(store);
        uint32_t word;
        std::memcpy(&word, store.PixelAddress(x, y), 4);
        return word & 0xFFFFFF;
    }
    bool Blank(int row)
    {
        for (int x = 0; x < plane.width; ++x)
            // The render keeps the shadow words: colour, type and height count.
            if (std::memcmp(plane.PixelAt(x, row), &kBlankPixel, 6) != 0)
                return false;
        return true;
    }

    BareStage bare;
    CallLog calls;
    RecordingScene scene;
    FakeCanvasScene host;
    KVXPlaneComponentTop plane;
    UndoSnapshot undo;
    KVXCanvasVisual canvas;
};

}  // namespace

TEST_F(CanvasVisualTest, ZoomedChangesReachTheStageAtTwiceTheirSize)
{
    RecordingEnclosure enclosure;
    canvas.SetEnclosure(&enclosure);
    canvas.SetDrawMethod(kDrawPlain, 0, 0);
    canvas.SetZoom(true);
    canvas.SetScroll(10, 20);
    enclosure.marked.clear();
    plane.SetDirtyBox({12, 20, 14, 30});
    plane.SetDirtyFlag(0);
    canvas.Invalidate();
    ASSERT_EQ(1u, enclosure.marked.size());
    EXPECT_EQ((Box{104, 50, 108, 70}), enclosure.marked[0]);
    EXPECT_EQ(1, plane.DirtyFlag()) << "the next render empties it";
    EXPECT_EQ(24, canvas.ViewToCanvasX(129));
    EXPECT_EQ(10, canvas.ViewToCanvasX(101));

    enclosure.marked.clear();
    plane.SetDirtyBox({0, 0, 0, 0});
    canvas.Invalidate();
    EXPECT_TRUE(enclosure.marked.empty());
    canvas.SetEnclosure(nullptr);
}

TEST_F(CanvasVisualTest, DrawsThePlaneAtOneAndTwoTimes)
{
    canvas.SetDrawMethod(kDrawAddHeight, 0, 0);
    plane.PixelAt(3, 2)->red = 99;
    Show();
    Pass();
    EXPECT_EQ(Bgr(10, 20, 30), Screen(100, 50));
    EXPECT_EQ(Bgr(10, 20, 99), Screen(103, 52));
    EXPECT_EQ(Bgr(10, 20, 30), Screen(138, 148));

    canvas.SetZoom(true);
    canvas.SetScroll(2, 1);
    Pass();
    EXPECT_EQ(Bgr(10, 20, 99), Screen(102, 52));
    EXPECT_EQ(Bgr(10, 20, 99), Screen(103, 53));
    EXPECT_EQ(Bgr(10, 20, 30), Screen(104, 52));
    EXPECT_FALSE(host.slate->log->empty());
    EXPECT_EQ("draw step", host.log.back()) << "the slate is drawn over the picture";
}

// The plane's last column and row are drawn too, by every kind of draw
// method: nothing left on the screen before shows through there. (Zoomed,
// the sliders cover them.)
TEST_F(CanvasVisualTest, TheLastColumnAndRowAreDrawnOverWhatWasThere)
{
    KVXPlaneComponentTop small({40, 100});
    Paint(small, Bgr(10, 20, 30), 3072);
    auto smallUndo = std::make_unique<UndoSnapshot>(small);
    // Too large for the stack.
    auto visual = std::make_unique<KVXCanvasVisual>(&scene, &host, Box{10, 20, 50, 120}, 10,
                                                    &small, smallUndo.get());
    KVXCanvasVisual& whole = *visual;
    bare.stage.TopEnclosure()->AddVisual(&whole);
    // Stage pixels of the last column (x 49) and the last row (y 119).
    const Pair edges[] = {{49, 20}, {49, 70}, {49, 119}, {10, 119}, {30, 119}};
    for (int32_t kind : {kDrawPlain, kDrawAddHeight, kDrawStatic, kDrawRemoveHeight,
                         kDrawDrippyAddHeight, kDrawGloppy}) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        whole.SetDrawMethod(kind, 0, 0);
        Pass();
        MMBitmap store;
        ASSERT_TRUE(bare.stage.Offscreen()->GetBitmap(store));
        for (int y = 10; y < 130; ++y)
            std::fill_n(reinterpret_cast<uint32_t*>(store.PixelAddress(0, y)), 60, 0xC800C8u);
        bare.stage.TopEnclosure()->Invalidate(whole.GetBounds());
        Pass();
        for (const Pair& p : edges)
            EXPECT_EQ(Bgr(10, 20, 30), Screen(p.x, p.y)) << p.x << ", " << p.y;
        EXPECT_EQ(Bgr(10, 20, 30), Screen(30, 70)) << "inside";
    }
    bare.stage.TopEnclosure()->RemoveVisual(&whole);
}

TEST_F(CanvasVisualTest, AKindAboveSixteenLeavesNoDrawMethod)
{
    canvas.SetDrawMethod(kDrawImageRoller, 0, 0);
    EXPECT_EQ(1, canvas.Work()->busy);
    canvas.SetDrawMethod(17, 0, 0);
    EXPECT_EQ(nullptr, canvas.DrawMethod());
    EXPECT_EQ(0, canvas.Work()->busy);
    Show();
    Pass();
    EXPECT_NE(Bgr(10, 20, 30), Screen(105, 55)) << "nothing but the slate is drawn";
    EXPECT_EQ("draw step", host.log.back());
}

TEST_F(CanvasVisualTest, TheWipeClearsBandByBandAndGivesTheMethodBack)
{
    canvas.SetDrawMethod(kDrawDrippyAddHeight, 0, 0);
    KVXDrawMethod* before = canvas.DrawMethod();
    Show();
    canvas.Activate();
    Pass();
    plane.PixelAt(0, 0)->red = 1;
    canvas.StartWipe();
    EXPECT_EQ(1, undo.Copy().PixelAt(0, 0)->red) << "the picture of before is the undo copy";
    EXPECT_EQ(kDrawPlain, canvas.DrawMethod()->Kind());
    const auto& visuals = bare.stage.TopEnclosure()->Visuals();
    auto blockers = [&visuals] {
        return std::count_if(visuals.begin(), visuals.end(),
                             [](MMVisual* v) { return v->Layer() == 9999; });
    };
    EXPECT_EQ(1, blockers()) << "the pointer is blocked";
    Pass(41);  // the thread wakes from its idle sleep: the first band
    EXPECT_TRUE(Blank(1));
    EXPECT_FALSE(Blank(2));
    for (int step = 1; step <= 100; ++step)
        Pass();
    EXPECT_TRUE(Blank(101));
    EXPECT_FALSE(Blank(102));
    for (int step = 0; step < 376 && canvas.IsWiping(); ++step)
        Pass();
    EXPECT_TRUE(canvas.IsWiping()) << "the band's bottom is at 479";
    Pass();
    EXPECT_FALSE(canvas.IsWiping());
    EXPECT_TRUE(Blank(479));
    EXPECT_EQ(before, canvas.DrawMethod());
    EXPECT_EQ(0, blockers());
    auto cleared = std::find(host.log.begin(), host.log.end(), "clear all");
    ASSERT_LE(3, host.log.end() - cleared);
    EXPECT_EQ("channel 0", cleared[1]);
    EXPECT_EQ("frame 0", cleared[2]);
}

TEST_F(CanvasVisualTest, AWipeThatRunsOutOfTimeClearsTheRestAtOnce)
{
    canvas.SetDrawMethod(kDrawAddHeight, 0, 0);
    Show();
    canvas.Activate();
    Pass();
    canvas.StartWipe();
    Pass();
    Pass();
    EXPECT_FALSE(Blank(300));
    Pass(2998);
    EXPECT_TRUE(canvas.IsWiping()) << "3000 ms exactly is not past the end";
    Pass();
    EXPECT_FALSE(canvas.IsWiping());
    EXPECT_TRUE(Blank(300));
    EXPECT_TRUE(Blank(479));
    EXPECT_EQ(kDrawAddHeight, canvas.DrawMethod()->Kind());
}

TEST_F(CanvasVisualTest, UndoSwapsThePictureAndTheChangeState)
{
    canvas.SetDrawMethod(kDrawRemoveHeight, 0, 0);
    canvas.SnapshotForUndo(true);
    EXPECT_EQ(2, plane.changeState.value);
    plane.PixelAt(5, 5)->blue = 77;
    canvas.SwapWithUndo();
    EXPECT_EQ(10, plane.PixelAt(5, 5)->blue);
    EXPECT_EQ(0, plane.changeState.value);
    EXPECT_EQ(1, canvas.Work()->busy) << "the method is attached again";
    canvas.SwapWithUndo();
    EXPECT_EQ(77, plane.PixelAt(5, 5)->blue);
}

TEST_F(CanvasVisualTest, ZoomShowsTheSlidersAndTheyScroll)
{
    Show();
    ASSERT_NE(nullptr, canvas.XSlider());
    ASSERT_NE(nullptr, canvas.YSlider());
    EXPECT_TRUE(canvas.XSlider()->IsHidden());
    EXPECT_EQ((40 - 1) / 2, canvas.XSlider()->Range());
    EXPECT_EQ((100 - 1) / 2, canvas.YSlider()->Range());
    canvas.SetZoom(true);
    EXPECT_FALSE(canvas.XSlider()->IsHidden());
    canvas.XSlider()->ChangePosition(7);
    canvas.YSlider()->ChangePosition(9);
    Pass();
    Pass();
    EXPECT_EQ((Pair{7, 9}), canvas.Scroll());
    canvas.SetZoom(false);
    EXPECT_TRUE(canvas.YSlider()->IsHidden());
}

TEST_F(CanvasVisualTest, ADragTakesAwayHeightAndGivesTheMethodBack)
{
    canvas.SetDrawMethod(kDrawInvisible, 0, 0);
    KVXDrawMethod* before = canvas.DrawMethod();
    canvas.BeginTemporaryRemoveHeight();
    EXPECT_EQ(kDrawRemoveHeight, canvas.DrawMethod()->Kind());
    canvas.EndTemporaryDrawMethod();
    EXPECT_EQ(before, canvas.DrawMethod());
    EXPECT_EQ(1, canvas.Work()->busy);

    canvas.SetDrawMethod(kDrawStatic, 0, 0);
    plane.PixelAt(1, 1)->red = 5;
    canvas.RefreshDrawMethodRect({-10, -10, 2, 2});
    Show();
    Pass();
    EXPECT_EQ(Bgr(10, 20, 5), Screen(101, 51));
}
