// End to end on a real window: mouse messages lasso a painted patch and drag
// it; the window shows it moved and its hole blank. Two slate frames are
// recorded on the canvas, and as playback runs the window shows the
// in-between of the two strokes.
#include <gtest/gtest.h>

#include <windows.h>

#include "canvas/canvas_visual.h"
#include "canvas/undo_snapshot.h"
#include "engine/enclosure.h"
#include "engine/stage.h"
#include "engine/stage_control.h"
#include "engine/stage_window.h"
#include "fake_canvas_scene.h"
#include "selection/rope_interpreters.h"
#include "selection/slate_store.h"
#include "window_fixture.h"

namespace {

const KVXComponentPixel kRed = {0, 0, 255, kPixelPlain, kBlankHeight, 0};

class SlateHost : public FakeCanvasScene {
public:
    KVXSlateRecording* MakeSlateRecording() override { return new MagicSlateStore; }
};

class PaintingScene : public MMScene {
public:
    PaintingScene(MMStage* stage, KVXPlaneComponentTop* plane) : MMScene(stage), plane(plane) {}
    void Begin() override
    {
        canvas = new KVXCanvasVisual(this, &host, Box{20, 20, 180, 140}, 10, plane, &undo);
        canvas->SetDrawMethod(kDrawStatic, 0, 0);
        stage_->TopEnclosure()->AddVisual(canvas);
        rope = new KVXRopeToolBoxInterpreter(nullptr, stage_, canvas, nullptr, kRopeSound, false);
        rope->SetFeedbackStyle(1);
        canvas->SetMouseInterpreter(rope);
        canvas->Activate();
        begun = true;
    }
    void DeleteMolecules() override
    {
        canvas->SetMouseInterpreter(nullptr);
        canvas->Terminate();
        delete rope;
        stage_->TopEnclosure()->RemoveVisual(canvas);
        delete canvas;
        MMScene::DeleteMolecules();
    }

    KVXPlaneComponentTop* plane;
    UndoSnapshot undo{*plane};
    SlateHost host;
    KVXCanvasVisual* canvas = nullptr;
    KVXBaseRopeToolInterpreter* rope = nullptr;
    volatile bool begun = false;
};

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

void Mouse(HWND window, UINT message, WPARAM keys, int x, int y)
{
    PostMessageA(window, message, keys, MAKELPARAM(x, y));
    Sleep(30);
}

TEST(RopeWindow, MouseMessagesLassoAndMoveAPatchAndTheSlatePlaysItsInBetween)
{
    KVXPlaneComponentTop plane({160, 120});
    plane.Fill(kBlankPixel);
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 30; ++x)
            *plane.PixelAt(x, y) = kRed;
    MMStageWindow* window = MakeStageWindow(Box{40, 40, 240, 190});
    window->Show(true);
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr, nullptr);
    PaintingScene* scene = new PaintingScene(stage, &plane);
    ASSERT_TRUE(stage->StartWithScene(scene));
    ASSERT_TRUE(PumpUntil([&] { return window->Control() && scene->begun; }));
    ASSERT_TRUE(PumpUntil([&] { return stage->ShowState() == kShowNormal; }));
    HWND control = window->Control()->Window();
    ASSERT_TRUE(PumpUntil([&] { return WindowPixel(control, 40, 40) == RGB(255, 0, 0); }))
        << "the painted patch at canvas (20, 20)";

    // The lasso around the patch: from (28, 28) to (52, 52) on the stage.
    Mouse(control, WM_MOUSEMOVE, 0, 28, 28);
    Mouse(control, WM_LBUTTONDOWN, MK_LBUTTON, 28, 28);
    for (int i = 1; i <= 4; ++i)
        Mouse(control, WM_MOUSEMOVE, MK_LBUTTON, 28 + 6 * i, 28 + 6 * i);
    Mouse(control, WM_LBUTTONUP, 0, 52, 52);
    ASSERT_TRUE(PumpUntil([&] { return scene->rope->HasSelection(); }));
    // Dragged 80 pixels to the right.
    Mouse(control, WM_MOUSEMOVE, 0, 40, 40);
    Mouse(control, WM_LBUTTONDOWN, MK_LBUTTON, 40, 40);
    for (int i = 1; i <= 8; ++i)
        Mouse(control, WM_MOUSEMOVE, MK_LBUTTON, 40 + 10 * i, 40);
    Mouse(control, WM_LBUTTONUP, 0, 120, 40);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 120, 40) == RGB(255, 0, 0); }))
        << "the patch shown where it was dragged";
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 40, 40) == RGB(255, 255, 255); }))
        << "its hole blank";

    // Two slate frames: a line down the canvas at x 60, then at x 160.
    Pair first[2] = {{60, 60}, {60, 130}};
    Pair second[2] = {{160, 60}, {160, 130}};
    scene->canvas->StoreSlateStroke(0, 0, first, 2, 0x000000FF, 3);
    scene->canvas->StoreSlateStroke(0, 1, second, 2, 0x000000FF, 3);
    scene->canvas->StartSlatePlayback();
    EXPECT_TRUE(PumpUntil([&] {
        for (int x = 80; x <= 140; ++x)
            if (WindowPixel(control, x, 100) != RGB(255, 255, 255))
                return true;
        return false;
    })) << "an in-between of the two frames, between their lines";

    ASSERT_TRUE(stage->StopThread(10000));
    delete window;
}

}  // namespace
