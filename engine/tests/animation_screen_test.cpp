// A molecule built from a script file on a running stage: a click through the
// stage control window plays its label-3 frames, read back from the window.
#include <gtest/gtest.h>

#include "animation_fixture.h"
#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "engine/stage_control.h"
#include "media/visual.h"
#include "window_fixture.h"

namespace {

class ButtonScene : public MMScene {
public:
    explicit ButtonScene(MMStage* stage)
        : MMScene(stage), background({0, 0, 200, 150}, {-1, 255, 255, 255, 0}, 0)
    {
    }
    void Begin() override
    {
        TopEnclosure()->AddVisual(&background);
        molecule = new MMAnimationMolecule(this, ScriptId(0), 1);
        molecule->SetMouseCommand(molecule->MakeGotoCommand(3));
        molecule->Show();
        begun = true;
    }
    void DeleteMolecules() override
    {
        MMScene::DeleteMolecules();
        TopEnclosure()->RemoveVisual(&background);
    }
    MMAnimationMolecule* molecule = nullptr;
    volatile bool begun = false;

private:
    MMSolidBoxVisual background;
};

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

TEST(AnimationScreen, AClickPlaysTheClickFramesOnTheWindow)
{
    ScratchFolder scratch;
    ScriptRows rows = ScriptRows().Visuals(1)
                          .Frame(1, 0).Place(0, 0, 10, 10).Picture(ScriptPicture(0))
                          .Frame(3, 100).Place(0, 0, 10, 10).Picture(ScriptPicture(1))
                          .Frame(4, 0).Place(0, 0, 10, 10).Picture(ScriptPicture(2));
    ASSERT_TRUE(WriteScripts(scratch.folder, "s.mms", kAnimationScripts, {{0, rows}}));
    ASSERT_TRUE(WritePictures(scratch.folder, "s.MMP", kAnimationPictures,
                              {{20, 10, 255, 0, 0}, {30, 16, 0, 255, 0}, {8, 8, 0, 0, 255}}));
    ASSERT_TRUE(OpenScriptFile(scratch.folder, "s.mms"));
    ASSERT_NE(MMOpenPictureFile(scratch.folder, "s.MMP", false), nullptr);

    MMStageWindow* window = MakeStageWindow();
    window->Show(true);
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr,
                                 nullptr);
    ButtonScene* scene = new ButtonScene(stage);
    ASSERT_TRUE(stage->StartWithScene(scene));
    ASSERT_TRUE(PumpUntil([&] { return window->Control() && scene->begun; }));
    ASSERT_TRUE(PumpUntil([&] { return stage->ShowState() == kShowNormal; }));
    HWND control = window->Control()->Window();
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 25, 15) == RGB(255, 0, 0); }))
        << "the idle frame: picture 0 at (10, 10)";
    EXPECT_EQ(WindowPixel(control, 35, 22), RGB(255, 255, 255));

    PostMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(control, 12, 12) == RGB(0, 0, 255); }))
        << "the last click frame: picture 2";
    EXPECT_EQ(WindowPixel(control, 25, 15), RGB(255, 255, 255));

    ASSERT_TRUE(stage->StopThread(10000));
    delete window;  // the stage, the scene and its molecule
    DeleteAllPictureCollections();
    CloseAllScriptFiles();
}

}  // namespace
