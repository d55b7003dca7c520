// Times the trays on the program's built data: opening each tray through the
// tool manager (the old tray closed, the new one's tools, buttons with their
// previews and sliders built, its size applied, Opened) and a colour change
// (its buttons rebuilt), resources warm, each as a share of a 16.7 ms frame.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "canvas/canvas_scene.h"
#include "canvas/canvas_visual.h"
#include "canvas/undo_snapshot.h"
#include "engine/enclosure.h"
#include "engine/picture_loader.h"
#include "engine/scene.h"
#include "engine/script_file.h"
#include "engine/stage.h"
#include "brushes/brush_scene.h"
#include "media/bitmap_picture_collection.h"
#include "selection/rope_interpreters.h"
#include "tools/palette_target.h"
#include "trays/manager_tool.h"
#include "trays/tool_collection.h"

namespace {

const double kFrameMs = 1000.0 / 60.0;
const int32_t kRounds = 20;

const char* const kNames[kToolCollectionTypes] = {
    "pencil", "chalk",        "crayon",       "marker", "eraser", "image spray", "image tube",
    "paint brush", "paint bucket", "rope", "shape", "spray", "text", "magic slate"};

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

FSDirectory ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    return FSDirectory(p.substr(0, p.rfind('\\') + 1).c_str());
}

double NowMs()
{
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return 1000.0 * double(count.QuadPart) / double(frequency.QuadPart);
}

// The fastest of the rounds: the one no other program interrupted.
template <class F>
double Fastest(F run)
{
    double best = 1e9;
    for (int32_t round = 0; round < kRounds; ++round) {
        double start = NowMs();
        run();
        best = std::min(best, NowMs() - start);
    }
    return best;
}

}  // namespace

int main()
{
    FSDirectory folder = ProgramFolder();
    if (!OpenScriptFile(folder, "Hd.mms") || !MMOpenPictureFile(folder, "Hd.MMP", false) ||
        !MMOpenPictureFile(folder, "App.MMP", false)) {
        std::printf("the data files are missing beside the program\n");
        return 1;
    }
    new MMBitmapPictureCollection(40, 9);
    RegisterRopeInterpreters();
    MMStage stage(nullptr, Box{0, 0, 800, 600}, 32, nullptr, nullptr, nullptr, nullptr);
    stage.StartClock();
    BenchScene scene(&stage);
    KVXPlaneComponentTop plane({640, 480});
    KVXPlaneUCharTop texture({640, 480});
    texture.Fill(128);
    UndoSnapshot undo(plane);
    BenchCanvasScene canvasScene;
    canvasScene.texture = &texture;
    KVXCanvasVisual canvas(&scene, &canvasScene, {144, 16, 784, 496}, 10, &plane, &undo);
    stage.TopEnclosure()->AddVisual(&canvas);
    BenchHost host;
    host.scene = &scene;
    host.canvas = &canvas;
    host.plane = &plane;
    host.texture = &texture;

    KVXManagerTool manager(&host);
    manager.Begin();
    std::printf("%-14s %10s %9s %12s %9s\n", "tray", "open ms", "of frame", "colour ms",
                "of frame");
    double worst = 0;
    std::string worstName;
    for (int32_t type = 0; type < kToolCollectionTypes; ++type) {
        if (manager.Collection(type) == nullptr || type == kMagicSlateCollection)
            continue;
        // Another tray stands open before each opening, as when the child
        // switches; its closing is part of the switch.
        int32_t other = type == kChalkCollection ? kPencilCollection : kChalkCollection;
        manager.SelectCollection(type);
        double open = 1e9;
        for (int32_t round = 0; round < kRounds; ++round) {
            manager.SelectCollection(other);
            double start = NowMs();
            manager.SelectCollection(type);
            open = std::min(open, NowMs() - start);
        }
        KVXToolCollection* tray = manager.Collection(type);
        double colour = Fastest([&] { tray->RebuildModifiers(); });
        std::printf("%-14s %10.3f %8.1f%% %12.3f %8.1f%%\n", kNames[type], open,
                    100 * open / kFrameMs, colour, 100 * colour / kFrameMs);
        double share = std::max(open, colour) / kFrameMs;
        if (share > worst) {
            worst = share;
            worstName = kNames[type];
        }
    }
    std::printf("worst: %s at %.1f%% of a 16.7 ms frame\n", worstName.c_str(), 100 * worst);
    manager.DeleteMolecules();
    stage.TopEnclosure()->RemoveVisual(&canvas);
    return 0;
}
