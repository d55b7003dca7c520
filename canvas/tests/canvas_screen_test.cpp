// The canvas visual on a running stage: raised paint read back from the
// window, and drips running under kind 7.
#include <gtest/gtest.h>

#include "canvas/canvas_visual.h"
#include "canvas_test_support.h"
#include "engine/enclosure.h"
#include "engine/stage_control.h"
#include "engine/tests/window_fixture.h"
#include "fake_canvas_scene.h"

namespace {

class CanvasScene : public MMScene {
public:
    CanvasScene(MMStage* stage, KVXCanvasVisual** canvas) : MMScene(stage), canvas(canvas) {}
    void Begin() override
    {
        Stage()->TopEnclosure()->AddVisual(*canvas);
        (*canvas)->Activate();
        begun = true;
    }
    void DeleteMolecules() override
    {
        Stage()->TopEnclosure()->RemoveVisual(*canvas);
        (*canvas)->Terminate();
        MMScene::DeleteMolecules();
    }
    KVXCanvasVisual** canvas;
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

TEST(CanvasScreen, RaisedPaintAndDripsOnTheWindow)
{
    MMStageWindow* window = MakeStageWindow();
    window->Show(true);
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(stage->IsUsable());
    KVXPlaneComponentTop plane({40, 30});
    Paint(plane, Bgr(100, 150, 200), 3072);
    plane.PixelAt(11, 10)->height = 3072 + 40;  // lights (10, 10)
    UndoSnapshot undo(plane);
    FakeCanvasScene host;
    KVXCanvasVisual* canvas = nullptr;
    CanvasScene* scene = new CanvasScene(stage, &canvas);
    canvas = new KVXCanvasVisual(scene, &host, {20, 30, 60, 60}, 10, &plane, &undo);
    canvas->SetDrawMethod(kDrawDrippyAddHeight, 0, 0);
    *plane.PixelAt(30, 2) = {0, 0, 255, kPixelDrippy, 3072 + 40, 0};
    plane.MarkAllDirty();

    ASSERT_TRUE(stage->StartWithScene(scene));
    ASSERT_TRUE(PumpUntil([&] { return window->Control() && scene->begun; }));
    HWND control = window->Control()->Window();
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 30, 40) == RGB(218, 184, 150); }))
        << std::hex << WindowPixel(control, 30, 40);
    // A loaded display can fail a single read of the window: poll it.
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 25, 45) == RGB(200, 150, 100); }))
        << "flat paint " << std::hex << WindowPixel(control, 25, 45);
    // The drop runs down a row per tick of the canvas thread.
    EXPECT_TRUE(PumpUntil([&] { return plane.PixelAt(30, 4)->type == kPixelDrippy; }));
    EXPECT_TRUE(PumpUntil([&] { return GetRValue(WindowPixel(control, 50, 36)) > 200; }))
        << "the drop is shown where it ran";

    stage->StopThread();  // ends the scene: its molecules go
    delete canvas;
    delete window;  // deletes the stage and the scene
}
