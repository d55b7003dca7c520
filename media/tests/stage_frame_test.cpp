// Visuals of a running stage reach the stage control window at the frame
// tick: the window's pixels are read back.
#include <gtest/gtest.h>

#include "engine/enclosure.h"
#include "engine/stage_control.h"
#include "engine/tests/window_fixture.h"
#include "media/bitmap_picture_collection.h"
#include "media/picture_visual.h"
#include "media_test_support.h"

namespace {

class PaintedScene : public MMScene {
public:
    PaintedScene(MMStage* stage, const MMPictureReference& picture)
        : MMScene(stage), background({0, 0, 200, 150}, {-1, 0, 0, 255, 0}, 0),
          box({20, 20, 60, 50}, {-1, 0, 255, 0, 0}, 5)
    {
        sprite.ConstructWithPictureAt(picture, 100, 40, 7, false, false);
    }
    void Begin() override
    {
        MMEnclosure* top = Stage()->TopEnclosure();
        top->AddVisual(&sprite);
        top->AddVisual(&box);
        top->AddVisual(&background);
        begun = true;
    }
    void DeleteMolecules() override
    {
        MMEnclosure* top = Stage()->TopEnclosure();
        top->RemoveVisual(&sprite);
        top->RemoveVisual(&box);
        top->RemoveVisual(&background);
        MMScene::DeleteMolecules();
    }
    volatile bool begun = false;

private:
    MMSolidBoxVisual background;
    MMSolidBoxVisual box;
    MMPictureVisual sprite;
};

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

}  // namespace

TEST(StageFrame, VisualsReachTheWindowAtTheFrameTick)
{
    // A 10 x 10 keyed sprite: blue, with its left half clear.
    MMBitmapPictureCollection pictures(1, 40000);
    auto sprite = MakeBitmap(kPixelBGRA, 10, 10);
    sprite->transparencyKind = kTransparencyKeyed;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            uint8_t* p = sprite->PixelAddress(x, y);
            p[0] = 255;
            p[3] = x < 5 ? 255 : 0;
        }
    }
    MMPictureReference picture;
    pictures.BindPicture(picture, 0, *sprite, nullptr);
    ASSERT_FALSE(picture.IsEmpty());

    MMStageWindow* window = MakeStageWindow();
    window->Show(true);
    MMStage* stage =
        new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(stage->IsUsable());
    PaintedScene* scene = new PaintedScene(stage, picture);
    ASSERT_TRUE(stage->StartWithScene(scene));
    ASSERT_TRUE(PumpUntil([&] { return window->Control() && scene->begun; }));
    ASSERT_TRUE(PumpUntil([&] { return stage->ShowState() == kShowNormal; }));
    HWND control = window->Control()->Window();
    ASSERT_TRUE(PumpUntil([&] {
        return WindowPixel(control, 30, 30) == RGB(0, 255, 0) &&
               WindowPixel(control, 107, 45) == RGB(0, 0, 255);
    }));
    EXPECT_EQ(RGB(255, 0, 0), WindowPixel(control, 5, 5));
    EXPECT_EQ(RGB(255, 0, 0), WindowPixel(control, 102, 45));  // the sprite's clear half
    EXPECT_EQ(RGB(0, 255, 0), WindowPixel(control, 59, 49));
    EXPECT_EQ(RGB(255, 0, 0), WindowPixel(control, 60, 50));

    stage->StopThread();
    delete window;  // deletes the stage and the scene
    picture.Clear();
}
