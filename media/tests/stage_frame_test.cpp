// Visuals of a running stage reach the stage control window at the frame
// tick: the window's pixels are read back.
#include <gtest/gtest.h>

#include "engine/enclosure.h"
#include "engine/stage_control.h"
#include "engine/tests/window_fixture.h"
#include "media/bitmap_picture_collection.h"
#include "media/picture_visual.h"
#include "media/offscreen_surface.h"
#include "media/transition_wipes.h"
#include "engine/command.h"
#include <atomic>
#include <functional>
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

namespace {

// A scene of one box in a palette colour; its Begin may ask for the next
// scene.
class PaletteScene : public MMScene {
public:
    PaletteScene(MMStage* stage, int16_t index)
        : MMScene(stage), box({0, 0, 200, 150}, MakeMMColorFromIndex(index), 0)
    {
    }
    void Begin() override
    {
        Stage()->TopEnclosure()->AddVisual(&box);
        if (onBegin) {
            onBegin();
        }
        begun = true;
    }
    void DeleteMolecules() override
    {
        Stage()->TopEnclosure()->RemoveVisual(&box);
        MMScene::DeleteMolecules();
    }
    void ChangeTo(MMBaseScene* next, MMTransitionEffect* effect, const MMColorTable* table)
    {
        MMCommand* change = Stage()->MakeChangeSceneCommand(next, effect, table);
        change->Post();
        delete change;
    }
    std::function<void()> onBegin;
    volatile bool begun = false;

private:
    MMSolidBoxVisual box;
};

// At the wipe's first step: what the window shows at its two edges.
class EdgeWatcher : public MMTransitionObserver {
public:
    explicit EdgeWatcher(MMStage* stage) : stage(stage) {}
    void StepShown(int32_t step, int32_t steps) override
    {
        if (step == 0) {
            HWND window = stage->Control()->Window();
            left = WindowPixel(window, 0, 75);
            right = WindowPixel(window, 199, 75);
        }
        ++count;
    }
    MMStage* stage;
    COLORREF left = CLR_INVALID;
    COLORREF right = CLR_INVALID;
    std::atomic<int> count{0};
};

}  // namespace

TEST(StageFrame, ColourTableCutThenASceneChangesWipe)
{
    MMColorTable table;
    for (int i = 0; i < 256; ++i) {
        table.entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 128, 0};
    }
    const COLORREF five = RGB(128, 250, 5);
    const COLORREF seven = RGB(128, 248, 7);

    MMStageWindow* window = MakeStageWindow();
    window->Show(true);
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 8, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(stage->IsUsable());
    PaletteScene* first = new PaletteScene(stage, 5);
    PaletteScene* second = new PaletteScene(stage, 5);
    PaletteScene* third = new PaletteScene(stage, 7);
    MMTransitionWipeRight wipe;
    wipe.SetPacing(false);
    EdgeWatcher watcher(stage);
    wipe.SetObserver(&watcher);
    HPALETTE before = nullptr;
    first->onBegin = [&] { first->ChangeTo(second, nullptr, &table); };
    second->onBegin = [&] {
        // A palette of the window surface's device context before the cut:
        // applying the table must not delete it.
        MMLogPalette logical = {0x300, 1, {{1, 2, 3, 0}}};
        before = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
        SelectPalette(stage->ControlSurface()->GetDC(), before, TRUE);
        second->ChangeTo(third, &wipe, nullptr);
    };
    third->onBegin = [&] {
        // 8 strips of 25 columns.
        TransitionTiming().copyCost = 0;
        TransitionTiming().singleCopyTime = 1500 * 1000 / 8;
    };
    ASSERT_TRUE(stage->StartWithScene(first));
    ASSERT_TRUE(PumpUntil([&] { return window->Control() && third->begun; }));
    HWND control = window->Control()->Window();
    ASSERT_TRUE(PumpUntil([&] {
        return watcher.count == 8 && WindowPixel(control, 199, 75) == seven;
    }));
    EXPECT_EQ(seven, watcher.left);   // the wipe's first strip
    EXPECT_EQ(five, watcher.right);   // the cut of the second scene, in the table's colour
    EXPECT_EQ(seven, WindowPixel(control, 100, 140));

    // The window owns a palette of the table; the surface's old one lives on.
    ASSERT_NE(nullptr, window->palette);
    PALETTEENTRY entry = {};
    GetPaletteEntries(window->palette, 5, 1, &entry);
    EXPECT_EQ(128, entry.peRed);
    EXPECT_EQ(250, entry.peGreen);
    EXPECT_EQ(5, entry.peBlue);
    EXPECT_EQ(static_cast<DWORD>(OBJ_PAL), GetObjectType(before));

    stage->StopThread();
    delete window;
    DeleteObject(before);
}
