#pragma once
// The painting screen the tool and tray benchmarks run on: a stage without a
// window, a plain scene, the 640 x 480 canvas at its place over a grey
// texture, and a host that answers the tools and trays; the program's built
// data is read from beside the benchmark.
#include <cstdio>

#include "brushes/brush_scene.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_visual.h"
#include "canvas/undo_snapshot.h"
#include "engine/enclosure.h"
#include "engine/picture_loader.h"
#include "engine/scene.h"
#include "engine/script_file.h"
#include "engine/stage.h"
#include "framework/folders.h"
#include "tools/palette_target.h"
#include "trays/sub_scene.h"

class BenchScene : public MMScene {
public:
    using MMScene::MMScene;
    void Begin() override {}
};

class BenchCanvasScene : public KVXCanvasScene {
public:
    KVXPlaneUChar* TexturePlane() override { return texture; }
    void DeleteSoundChannel() override {}
    MMScrollBarVisual* MakeZoomScrollBarVisual(MMResourceId, MMResourceId, MMResourceId,
                                              const Box&) override
    {
        return nullptr;
    }
    KVXSlateRecording* MakeSlateRecording() override { return nullptr; }
    KVXPlaneUChar* texture = nullptr;
};

// Sprayed pictures land without their animations here.
class BenchBrushScene : public KVXBrushScene {
public:
    void StartSprayedAnimation(int32_t, int32_t, const Pair&, bool) override {}
    void PlayPhaserSound() override {}
};

class BenchHost : public KVXCreationHost, public KVXPaletteTarget {
public:
    MMBaseScene* HostScene() override { return scene; }
    KVXCanvasVisual* CreationCanvas() override { return canvas; }
    KVXPlaneComponentTop* CanvasComponentPlane() override { return plane; }
    KVXPlaneUChar* CanvasBytePlane() override { return texture; }
    KVXPaletteTarget* ColorPickerOwner() override { return this; }
    MMCursor* AppCursor(int32_t) override { return nullptr; }
    UURegistryKey* SettingsKey() override { return nullptr; }
    KVXBrushScene* BrushScene() override { return &sprays; }
    void NotifyPaletteMolecule(uint32_t) override {}

    MMBaseScene* scene = nullptr;
    KVXCanvasVisual* canvas = nullptr;
    KVXPlaneComponentTop* plane = nullptr;
    KVXPlaneUChar* texture = nullptr;
    BenchBrushScene sprays;
};

// The scripts and pictures beside the program; false, and said, without them.
inline bool OpenBenchData()
{
    FSDirectory folder;
    if (FSProgramFolder(folder) && OpenScriptFile(folder, "Hd.mms") &&
        MMOpenPictureFile(folder, "Hd.MMP", false) && MMOpenPictureFile(folder, "App.MMP", false))
        return true;
    std::printf("the data files are missing beside the program\n");
    return false;
}

struct BenchScreen {
    BenchScreen()
    {
        stage.StartClock();
        texture.Fill(128);
        canvasScene.texture = &texture;
        stage.TopEnclosure()->AddVisual(&canvas);
        host.scene = &scene;
        host.canvas = &canvas;
        host.plane = &plane;
        host.texture = &texture;
    }

    MMStage stage{nullptr, Box{0, 0, 800, 600}, 32, nullptr, nullptr, nullptr, nullptr};
    BenchScene scene{&stage};
    KVXPlaneComponentTop plane{{640, 480}};
    KVXPlaneUCharTop texture{{640, 480}};
    UndoSnapshot undo{plane};
    BenchCanvasScene canvasScene;
    KVXCanvasVisual canvas{&scene, &canvasScene, {144, 16, 784, 496}, 10, &plane, &undo};
    BenchHost host;
};
