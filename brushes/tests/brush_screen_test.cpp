// A stroke driven through a brush on the stage thread into the canvas
// visual of a running stage, read back from the window.
#include <gtest/gtest.h>

#include "brush_test_support.h"
#include "brushes/path_generator.h"
#include "brushes/std_brush.h"
#include "canvas/canvas_visual.h"
#include "canvas_test_support.h"
#include "engine/enclosure.h"
#include "engine/stage_control.h"
#include "engine/tests/window_fixture.h"
#include "fake_canvas_scene.h"

namespace {

typedef KVXBrushStdTransfer<KVXCoverTransfer, KVXPlainPixelTransfer, KVXNULLHeightTransfer,
                            KVXColorGeneratorColor, KVXOpacityGeneratorNib>
    FlatBrush;

// Plays a stroke of pen samples into the brush, one sample per slice, as
// the freehand ticker does.
class StrokeThread : public MMLightweightThread {
public:
    StrokeThread(MMStage* stage, BrushBase* brush, KVXCanvasVisual** canvas)
        : MMLightweightThread("Stroke", stage), brush(brush), canvas(canvas) {}
    bool Run() override
    {
        BrushDab sample = Sample(5 + 3 * step, 20, 19);
        if (step == 0)
            brush->BeginStroke(&sample);
        else if (step < 10)
            brush->ContinueStroke(&sample);
        else
            brush->EndStroke(&sample);
        (*canvas)->Invalidate();
        Wait(5);
        done = ++step > 10;
        return !done;
    }
    BrushBase* brush;
    KVXCanvasVisual** canvas;
    int step = 0;
    volatile bool done = false;
};

class StrokeScene : public MMScene {
public:
    StrokeScene(MMStage* stage, KVXCanvasVisual** canvas, StrokeThread** stroke)
        : MMScene(stage), canvas(canvas), stroke(stroke) {}
    void Begin() override
    {
        Stage()->TopEnclosure()->AddVisual(*canvas);
        (*canvas)->Activate();
        (*stroke)->Activate();
        begun = true;
    }
    void DeleteMolecules() override
    {
        Stage()->TopEnclosure()->RemoveVisual(*canvas);
        (*canvas)->Terminate();
        (*stroke)->Terminate();
        MMScene::DeleteMolecules();
    }
    KVXCanvasVisual** canvas;
    StrokeThread** stroke;
    volatile bool begun = false;
};

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

}  // namespace

TEST(BrushScreen, StrokeReadBackFromTheWindow)
{
    MMStageWindow* window = MakeStageWindow();
    window->Show(true);
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(stage->IsUsable());
    KVXPlaneComponentTop plane({60, 40});
    plane.Fill(kBlankPixel);
    plane.MarkAllDirty();
    UndoSnapshot undo(plane);
    FakeCanvasScene host;
    BytePlane nib(7, 7, 255);
    uint8_t colour[4] = {40, 160, 220, 0};  // blue, green, red
    const uint8_t heights[2] = {0, 0};
    auto* brush = new FlatBrush(DiameterParams(255, 255), kNoSaturation, kNibOpacity, heights,
                                &plane, &nib, nullptr, colour);
    const double spacing[4] = {0.5, 0.5, 4, 4};
    auto* walk = new IteratingPathGenerator;
    walk->SetParameters(spacing);
    brush->SetPathGenerator(walk);

    KVXCanvasVisual* canvas = nullptr;
    StrokeThread* stroke = nullptr;
    StrokeScene* scene = new StrokeScene(stage, &canvas, &stroke);
    canvas = new KVXCanvasVisual(scene, &host, {20, 30, 80, 70}, 10, &plane, &undo);
    canvas->SetDrawMethod(kDrawPlain, 0, 0);
    stroke = new StrokeThread(stage, brush, &canvas);

    ASSERT_TRUE(stage->StartWithScene(scene));
    ASSERT_TRUE(PumpUntil([&] { return window->Control() && scene->begun; }));
    ASSERT_TRUE(PumpUntil([&] { return stroke->done; }));
    HWND control = window->Control()->Window();
    // The stroke runs from canvas x 5 to 32 along row 20: stage x 25 to 52.
    for (int x : {25, 40, 52})
        EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, x, 50) == RGB(220, 160, 40); }))
            << x << ": " << std::hex << WindowPixel(control, x, 50);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 40, 40) == RGB(255, 255, 255); }))
        << "above the stroke " << std::hex << WindowPixel(control, 40, 40);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 65, 50) == RGB(255, 255, 255); }))
        << "past its end";
    EXPECT_EQ(2, plane.changeState.value);

    stage->StopThread();
    delete stroke;
    delete canvas;
    delete window;
    delete brush;
}
