// End to end on a real window with the program's built data: mouse messages
// to the stage control click a colour box of the palette, then the chalk's
// tool button, then drag across the canvas; the stroke is in that colour.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "canvas/canvas_visual.h"
#include "canvas/undo_snapshot.h"
#include "engine/animation_molecule.h"
#include "engine/enclosure.h"
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "engine/stage.h"
#include "engine/stage_control.h"
#include "engine/stage_window.h"
#include "engine/tests/built_data.h"
#include "fake_canvas_scene.h"
#include "media/bitmap_picture_collection.h"
#include "media/picture_visual.h"
#include "selection/rope_interpreters.h"
#include "shell/widgets/animated_choice_buttons.h"
#include "tools/chalk_tools.h"
#include "tools/palette_target.h"
#include "trays/color_pickers.h"
#include "trays/manager_tool.h"
#include "trays/tool_collection.h"
#include "window_fixture.h"

namespace {

const Box kCanvasBox = {144, 16, 784, 496};

class PaintingScreen : public MMScene, public KVXCreationHost {
public:
    PaintingScreen(MMStage* stage, KVXPlaneComponentTop* plane, KVXPlaneUChar* texture)
        : MMScene(stage), plane(plane), texture(texture)
    {
        host.texture = texture;
    }
    void Begin() override
    {
        canvas = new KVXCanvasVisual(this, &host, kCanvasBox, 10, plane, &undo);
        stage_->TopEnclosure()->AddVisual(canvas);
        canvas->Activate();
        manager = new KVXManagerTool(this);
        manager->Begin();
        begun = true;
    }
    void DeleteMolecules() override
    {
        manager->DeleteMolecules();
        delete manager;
        canvas->SetMouseInterpreter(nullptr);
        canvas->Terminate();
        stage_->TopEnclosure()->RemoveVisual(canvas);
        delete canvas;
        MMScene::DeleteMolecules();
    }

    MMBaseScene* HostScene() override { return this; }
    KVXCanvasVisual* CreationCanvas() override { return canvas; }
    KVXPlaneComponentTop* CanvasComponentPlane() override { return plane; }
    KVXPlaneUChar* CanvasBytePlane() override { return texture; }
    KVXPaletteTarget* ColorPickerOwner() override { return manager; }
    MMCursor* AppCursor(int32_t) override { return nullptr; }
    UURegistryKey* SettingsKey() override { return nullptr; }
    KVXBrushScene* BrushScene() override { return nullptr; }

    KVXPlaneComponentTop* plane;
    KVXPlaneUChar* texture;
    UndoSnapshot undo{*plane};
    FakeCanvasScene host;
    KVXCanvasVisual* canvas = nullptr;
    KVXManagerTool* manager = nullptr;
    volatile bool begun = false;
};

void Mouse(HWND window, UINT message, WPARAM keys, int x, int y)
{
    PostMessageA(window, message, keys, MAKELPARAM(x, y));
    Sleep(30);
}

void Click(HWND window, int x, int y)
{
    Mouse(window, WM_MOUSEMOVE, 0, x, y);
    Mouse(window, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    Mouse(window, WM_LBUTTONUP, 0, x, y);
}

// The channel (0 blue, 1 green, 2 red) that stands out in a colour.
int Dominant(uint32_t colour)
{
    int b = colour & 0xFF, g = (colour >> 8) & 0xFF, r = (colour >> 16) & 0xFF;
    return r > g && r > b ? 2 : g > b ? 1 : 0;
}

TEST(TraysWindow, AColourBoxTheChalkButtonAndADragPaintInThatColour)
{
    ASSERT_TRUE(OpenBuiltData()) << "run scripts/make-data.sh";
    new MMBitmapPictureCollection(40, 9);
    KVXPlaneComponentTop plane({640, 480});
    plane.Fill(kBlankPixel);
    KVXPlaneUCharTop texture({640, 480});
    texture.Fill(128);
    MMStageWindow* window = MakeStageWindow(Box{0, 0, 800, 600});
    window->Show(true);
    MMStage* stage = new MMStage(window, Box{0, 0, 800, 600}, 32, nullptr, nullptr, nullptr, nullptr);
    PaintingScreen* screen = new PaintingScreen(stage, &plane, &texture);
    ASSERT_TRUE(stage->StartWithScene(screen));
    ASSERT_TRUE(PumpUntil([&] { return window->Control() && screen->begun; }));
    ASSERT_TRUE(PumpUntil([&] { return stage->ShowState() == kShowNormal; }));
    HWND control = window->Control()->Window();
    KVXManagerTool* manager = screen->manager;
    ASSERT_NE(manager->Palette(), nullptr);
    KVXToolColorBoxSetVisual* boxes = manager->Palette()->Boxes()->Boxes();
    ASSERT_GT(boxes->BoxCount(), 0);
    // The reddest box that is not the blue the cell starts with.
    int32_t chosen = -1;
    for (int32_t k = 0; k < boxes->BoxCount() && chosen < 0; ++k)
        if (Dominant(boxes->ColorAt(boxes->ColorIndexOfBox(k))) == 2)
            chosen = k;
    ASSERT_GE(chosen, 0);
    uint32_t colour = boxes->ColorAt(boxes->ColorIndexOfBox(chosen)) & 0xFFFFFF;
    const Box& box = boxes->BoxAt(chosen);
    Click(control, (box.left + box.right) / 2, (box.top + box.bottom) / 2);
    ASSERT_TRUE(PumpUntil([&] { return (*manager->ColorCell() & 0xFFFFFF) == colour; }))
        << "the box's colour is the current colour";

    KVXAnimatedToolButtonMolecule* chalkButton = manager->ToolButton(kChalkCollection);
    ASSERT_NE(chalkButton, nullptr);
    ASSERT_NE(chalkButton->Visual(0), nullptr);
    Box at = chalkButton->Visual(0)->GetBounds();
    Click(control, (at.left + at.right) / 2, (at.top + at.bottom) / 2);
    ASSERT_TRUE(PumpUntil([&] { return manager->CurrentType() == kChalkCollection; }))
        << "the chalk's tray opened";
    ASSERT_TRUE(PumpUntil([&] { return dynamic_cast<ChalkTool*>(manager->CurrentTool()) != nullptr; }));

    Mouse(control, WM_MOUSEMOVE, 0, 300, 200);
    Mouse(control, WM_LBUTTONDOWN, MK_LBUTTON, 300, 200);
    for (int i = 1; i <= 12; ++i)
        Mouse(control, WM_MOUSEMOVE, MK_LBUTTON, 300 + 15 * i, 200 + 5 * i);
    Mouse(control, WM_LBUTTONUP, 0, 480, 260);
    int32_t painted = 0, inColour = 0;
    ASSERT_TRUE(PumpUntil([&] {
        painted = inColour = 0;
        for (int y = 150; y < 280; ++y)
            for (int x = 140; x < 360; ++x) {
                uint32_t c = plane.PixelAt(x, y)->ColorWord() & 0xFFFFFF;
                if (c == 0xFFFFFF)
                    continue;
                ++painted;
                inColour += Dominant(c) == 2;
            }
        return painted > 50;
    })) << "the drag left a stroke";
    // Chalk's grain leaves a few nearly white pixels at the stroke's edges.
    EXPECT_GT(inColour * 100, painted * 95) << "the stroke leans to the chosen colour";

    ASSERT_TRUE(stage->StopThread(10000));
    delete window;
}

}  // namespace
