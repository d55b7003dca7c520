// An animated button on a running stage: real mouse messages through the
// stage control window, its hover, click and leave frames read back from
// the window's pixels.
#include <gtest/gtest.h>

#include <atomic>

#include "animation_fixture.h"
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "engine/stage_control.h"
#include "media/visual.h"
#include "shell/widgets/animated_button.h"
#include "window_fixture.h"

namespace {

class FlagCommand : public MMCommand {
public:
    FlagCommand(MMStage* stage, std::atomic<int>* count) : MMCommand("clicked", stage), count(count) {}
    MMCommand* Clone() const override { return new FlagCommand(*this); }
    void Perform() override { ++*count; }

private:
    std::atomic<int>* count;
};

class ButtonScene : public MMScene {
public:
    explicit ButtonScene(MMStage* stage)
        : MMScene(stage), background({0, 0, 200, 150}, {-1, 255, 255, 255, 0}, 0)
    {
    }
    void Begin() override
    {
        TopEnclosure()->AddVisual(&background);
        new KVXAnimatedButtonMolecule(this, ScriptId(0), new FlagCommand(Stage(), &clicks), 5, 0,
                                      100, 1);
        begun = true;
    }
    void DeleteMolecules() override
    {
        MMScene::DeleteMolecules();
        TopEnclosure()->RemoveVisual(&background);
    }
    std::atomic<int> clicks{0};
    std::atomic<bool> begun{false};

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

TEST(ButtonScreen, RealMouseMessagesShowTheHoverPressClickAndLeaveFrames)
{
    ScratchFolder scratch;
    // Idle red, hover green, pressed blue, clicked yellow, left grey: each
    // 30 x 16 at (10, 10).
    ScriptRows rows = ScriptRows().Visuals(1);
    const int16_t labels[] = {1, 4, 5, 3, 44};
    for (int16_t i = 0; i < 5; ++i)
        rows.Frame(labels[i], 0).Place(0, 0, 10, 10).Picture(ScriptPicture(i));
    ASSERT_TRUE(WriteScripts(scratch.folder, "s.mms", kAnimationScripts, {{0, rows}}));
    ASSERT_TRUE(WritePictures(scratch.folder, "s.MMP", kAnimationPictures,
                              {{30, 16, 255, 0, 0}, {30, 16, 0, 255, 0}, {30, 16, 0, 0, 255},
                               {30, 16, 255, 255, 0}, {30, 16, 128, 128, 128}}));
    ASSERT_TRUE(OpenScriptFile(scratch.folder, "s.mms"));
    ASSERT_NE(MMOpenPictureFile(scratch.folder, "s.MMP", false), nullptr);

    MMStageWindow* window = MakeStageWindow();
    window->Show(true);
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr,
                                 nullptr);
    auto* scene = new ButtonScene(stage);
    ASSERT_TRUE(stage->StartWithScene(scene));
    ASSERT_TRUE(PumpUntil([&] { return window->Control() && scene->begun; }));
    ASSERT_TRUE(PumpUntil([&] { return stage->ShowState() == kShowNormal; }));
    HWND control = window->Control()->Window();
    auto shows = [&](COLORREF colour) {
        return PumpUntil([&] { return WindowPixel(control, 20, 15) == colour; });
    };
    EXPECT_TRUE(shows(RGB(255, 0, 0))) << "idle";

    PostMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    EXPECT_TRUE(shows(RGB(0, 255, 0))) << "hover";
    EXPECT_EQ(WindowPixel(control, 39, 25), RGB(0, 255, 0)) << "the hover frame's corner";
    EXPECT_EQ(WindowPixel(control, 40, 26), RGB(255, 255, 255));
    PostMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(21, 15));
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(21, 15));
    EXPECT_TRUE(shows(RGB(0, 0, 255))) << "pressed";
    EXPECT_EQ(scene->clicks, 0);
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(21, 15));
    EXPECT_TRUE(shows(RGB(255, 255, 0))) << "clicked";
    EXPECT_TRUE(PumpUntil([&] { return scene->clicks == 1; }));
    PostMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(150, 100));
    EXPECT_TRUE(shows(RGB(128, 128, 128))) << "left";
    EXPECT_EQ(scene->clicks, 1);

    ASSERT_TRUE(stage->StopThread(10000));
    delete window;  // the stage, the scene and its button
    DeleteAllPictureCollections();
    CloseAllScriptFiles();
}

}  // namespace
