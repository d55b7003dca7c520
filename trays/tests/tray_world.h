#pragma once
// A painting screen for the tray tests: a stage without a window driven
// step by step with a clock the test sets, a host scene, the 640 x 480
// canvas at its place on the screen, the program's data files as the build
// wrote them, and the program's own picture collection. A fixture may put
// the stage on a shown window of its own (onWindow, set before SetUp) and
// give the canvas another painting screen (CanvasHost).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "canvas/canvas_visual.h"
#include "canvas/plane.h"
#include "canvas/undo_snapshot.h"
#include "engine/enclosure.h"
#include "engine/picture_loader.h"
#include "engine/scene.h"
#include "engine/script_file.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "engine/tests/built_data.h"
#include "fake_canvas_scene.h"
#include "framework/folders.h"
#include "media/bitmap_picture_collection.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"
#include "stage_fixture.h"
#include "tools/palette_target.h"
#include "trays/sub_scene.h"
#include "window_fixture.h"

class TrayHostScene : public MMScene {
public:
    using MMScene::MMScene;
    void Begin() override {}
};

// What the trays ask of the painting screen.
class TrayHost : public KVXCreationHost {
public:
    MMBaseScene* HostScene() override { return scene; }
    KVXCanvasVisual* CreationCanvas() override { return canvas; }
    KVXPlaneComponentTop* CanvasComponentPlane() override { return plane; }
    KVXPlaneUChar* CanvasBytePlane() override { return bytes; }
    KVXPaletteTarget* ColorPickerOwner() override { return picks; }
    MMCursor* AppCursor(int32_t n) override
    {
        return n >= 0 && n < cursorCount ? &cursors[n] : nullptr;
    }
    UURegistryKey* SettingsKey() override { return nullptr; }
    KVXBrushScene* BrushScene() override { return nullptr; }

    MMBaseScene* scene = nullptr;
    KVXCanvasVisual* canvas = nullptr;
    KVXPlaneComponentTop* plane = nullptr;
    KVXPlaneUChar* bytes = nullptr;
    KVXPaletteTarget* picks = nullptr;
    MMCursor* cursors = nullptr;
    int32_t cursorCount = 0;
};

class TrayWorld : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        FSDirectory folder = BuiltDataFolder();
        ASSERT_TRUE(OpenBuiltData()) << "run scripts/make-data.sh";
        for (const char* name : {"Hd.MMA", "App.MMA"})
            ASSERT_NE(nullptr, CreateSoundLoader(name, folder, false)) << name;
    }
    static void TearDownTestSuite()
    {
        DeleteAllPictureCollections();
        DeleteAllSoundCollections();
        CloseAllScriptFiles();
    }

    void SetUp() override
    {
        FakeClock::now = 1000;
        if (onWindow) {
            window = MakeStageWindow(Box{0, 0, 800, 600});
            window->Show(true);
        }
        stage = new MMStage(window, Box{0, 0, 800, 600}, 32, new RecordingSound(&soundLog),
                            nullptr, nullptr, nullptr);
        stage->SetClock(FakeClock::Now);
        scene = new TrayHostScene(stage);
        stage->SetPendingScene(scene, nullptr, nullptr);
        stage->StartClock();
        stage->ChangeSceneOrDispatch();
        plane.Fill(kBlankPixel);
        canvas =
            new KVXCanvasVisual(scene, CanvasHost(), Box{144, 16, 784, 496}, 10, &plane, &undo);
        canvas->SetDrawMethod(kDrawStatic, 0, 0);
        stage->TopEnclosure()->AddVisual(canvas);
        host.scene = scene;
        host.canvas = canvas;
        host.plane = &plane;
        host.bytes = &texture;
    }
    void TearDown() override
    {
        stage->TopEnclosure()->RemoveVisual(canvas);
        delete canvas;
        delete scene;
        if (window != nullptr)
            delete window;  // and its stage
        else
            delete stage;
    }
    virtual KVXCanvasScene* CanvasHost() { return &canvasHost; }

    // Runs the stage's queued commands.
    void Step(int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            FakeClock::now += 16;
            stage->ChangeSceneOrDispatch();
            stage->RunDueTasks();
            if (window != nullptr)
                stage->RedrawDirty();
        }
    }
    void Mouse(int32_t x, int32_t y, uint32_t flags)
    {
        MMStageEvent event = {kStageEventPointer, 0, 0, x, y, flags};
        stage->DispatchMouseEvent(event);
    }
    void Click(int32_t x, int32_t y)
    {
        Mouse(x, y, kPointerPressed | kPointerHeld);
        Mouse(x, y, kPointerReleased);
        Step(2);
    }

    CallLog soundLog;
    bool onWindow = false;
    MMStageWindow* window = nullptr;
    MMStage* stage = nullptr;
    TrayHostScene* scene = nullptr;
    FakeCanvasScene canvasHost;
    KVXPlaneComponentTop plane{Pair{640, 480}};
    KVXPlaneUCharTop texture{Pair{640, 480}};
    UndoSnapshot undo{plane};
    KVXCanvasVisual* canvas = nullptr;
    MMBitmapPictureCollection runtimePictures{200, 9};
    TrayHost host;
};
