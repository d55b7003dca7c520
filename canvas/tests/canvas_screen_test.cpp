// The canvas visual on a running stage: raised paint read back from the
// window, drips running under kind 7, the zoom and the wipe.
#include <gtest/gtest.h>

#include <atomic>

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

// Zooms the canvas or starts its wipe on the stage thread when the test
// thread asks for it.
class Trigger : public MMLightweightThread {
public:
    Trigger(MMStage* stage, KVXCanvasVisual** canvas)
        : MMLightweightThread("Canvas Test Trigger", stage), canvas(canvas) {}
    bool Run() override
    {
        if (State() == kMMThreadTerminating)
            return false;
        Wait(5);
        if (zoom.exchange(false))
            (*canvas)->SetZoom(true);
        if (wipe.exchange(false))
            (*canvas)->StartWipe();
        wiping = (*canvas)->IsWiping();
        kind = (*canvas)->DrawMethod() ? (*canvas)->DrawMethod()->Kind() : -1;
        return true;
    }
    KVXCanvasVisual** canvas;
    std::atomic<bool> zoom{false};
    std::atomic<bool> wipe{false};
    std::atomic<bool> wiping{false};
    std::atomic<int> kind{-1};
};

class TriggeredScene : public CanvasScene {
public:
    TriggeredScene(MMStage* stage, KVXCanvasVisual** canvas)
        : CanvasScene(stage, canvas), trigger(stage, canvas) {}
    void Begin() override
    {
        trigger.Activate();
        CanvasScene::Begin();
    }
    void DeleteMolecules() override
    {
        trigger.Terminate();
        CanvasScene::DeleteMolecules();
    }
    Trigger trigger;
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

TEST(CanvasScreen, ZoomsAndWipesOnTheWindow)
{
    MMStageWindow* window = MakeStageWindow();
    window->Show(true);
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(stage->IsUsable());
    KVXPlaneComponentTop plane({40, 30});
    Paint(plane, Bgr(100, 150, 200), 3072);
    plane.PixelAt(2, 1)->red = 255;
    plane.PixelAt(2, 1)->blue = 0;
    plane.PixelAt(2, 1)->green = 0;
    UndoSnapshot undo(plane);
    FakeCanvasScene host;
    KVXCanvasVisual* canvas = nullptr;
    TriggeredScene* scene = new TriggeredScene(stage, &canvas);
    canvas = new KVXCanvasVisual(scene, &host, {20, 30, 60, 60}, 10, &plane, &undo);
    canvas->SetDrawMethod(kDrawAddHeight, 0, 0);
    plane.MarkAllDirty();

    ASSERT_TRUE(stage->StartWithScene(scene));
    ASSERT_TRUE(PumpUntil([&] { return window->Control() && scene->begun; }));
    HWND control = window->Control()->Window();
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF grey = RGB(200, 150, 100);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 22, 31) == red; }))
        << std::hex << WindowPixel(control, 22, 31);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 23, 31) == grey; }));

    // At 2x canvas pixel (2, 1) covers the stage pixels (24, 32) to (25, 33).
    scene->trigger.zoom = true;
    EXPECT_TRUE(PumpUntil([&] {
        return WindowPixel(control, 24, 32) == red && WindowPixel(control, 25, 33) == red;
    })) << std::hex << WindowPixel(control, 24, 32);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 23, 32) == grey; }));
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 26, 33) == grey; }));

    // The wipe clears the picture band by band and gives the method back.
    scene->trigger.wipe = true;
    EXPECT_TRUE(PumpUntil([&] { return scene->trigger.wiping.load(); }));
    EXPECT_TRUE(PumpUntil([&] { return !scene->trigger.wiping.load(); }));
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 24, 32) == RGB(255, 255, 255); }))
        << std::hex << WindowPixel(control, 24, 32);
    EXPECT_TRUE(PumpUntil([&] { return scene->trigger.kind == kDrawAddHeight; }));

    stage->StopThread();
    EXPECT_EQ(kBlankPixel.ColorWord(), plane.ColorAt(39, 29));
    delete canvas;
    delete window;
}
