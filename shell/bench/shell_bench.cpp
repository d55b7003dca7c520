// Times one step of each of the application's own transitions over the
// whole stage, the change from the intro to the creation screen (end, begin
// and first full redraw, without the paced transition), one step of the
// radio's zoom and one of the closing credits, each printed as a ratio to a
// 16.7 ms frame. Run from build/<arch>/bin, beside the data files.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>

#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "engine/stage.h"
#include "framework/folders.h"
#include "framework/heap.h"
#include "media/offscreen_surface.h"
#include "media/sound/sound_loader.h"
#include "shell/app.h"
#include "shell/app_transitions.h"
#include "canvas/plane.h"
#include "canvas/undo_snapshot.h"
#include "shell/closing_credits.h"
#include "shell/creation_scene.h"
#include "shell/radio.h"
#include "shell/widgets/quit_button.h"
#include "shell/intro_scene.h"

namespace {

const double kFrameMs = 1000.0 / 60.0;
const Box kStage = {0, 0, 800, 600};

double NowMs()
{
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(count.QuadPart) / double(frequency.QuadPart);
}

struct StepCounter : MMTransitionObserver {
    int32_t steps = 0;
    void StepShown(int32_t, int32_t) override { ++steps; }
};

uint32_t FrozenClock() { return 1000; }

// Milliseconds per step of the effect over the stage, fresh timing each run.
double StepTime(const std::function<MMTransitionEffect*()>& make)
{
    WinMMOffscreenSurface* screen = MMSurface::CreateBitmapDC(32, kStage, nullptr);
    WinMMOffscreenSurface* offscreen = MMSurface::CreateBitmapDC(32, kStage, nullptr);
    double total = 0;
    int32_t steps = 0;
    for (int run = 0; run < 5; ++run) {
        TransitionTiming() = MMTransitionTiming();
        std::unique_ptr<MMTransitionEffect> effect(make());
        StepCounter counter;
        effect->SetObserver(&counter);
        effect->SetPacing(false);
        effect->SetClock(FrozenClock);
        double start = NowMs();
        effect->Run(screen, offscreen, kStage, nullptr);
        GdiFlush();
        total += NowMs() - start;
        steps += counter.steps > 0 ? counter.steps : 1;
    }
    screen->Dispose();
    offscreen->Dispose();
    return total / steps;
}

bool OpenData()
{
    FSDirectory folder;
    FSProgramFolder(folder);
    if (!OpenScriptFile(folder, "Hd.mms"))
        return false;
    for (const char* name : {"Hd.MMP", "App.MMP"})
        if (!MMOpenPictureFile(folder, name, false))
            return false;
    return CreateSoundLoader("Hd.MMA", folder, false) && CreateSoundLoader("App.MMA", folder, false);
}

}  // namespace

int main()
{
    const Box canvas = {144, 16, 784, 496};
    struct Effect {
        const char* name;
        std::function<MMTransitionEffect*()> make;
    } effects[] = {
        {"pan right", [] { return new KVXTransitionPanRight; }},
        {"pan left", [] { return new KVXTransitionPanLeft; }},
        {"canvas wipe up", [&] { return new KVXTransitionWipeUp(canvas); }},
        {"canvas wipe down", [&] { return new KVXTransitionWipeDown(canvas); }},
        {"undo dissolve", [&] { return new KVXTransitionUndoDissolve(canvas); }},
        {"reveal left", [] { return new KVXTransitionRevealLeft; }},
        {"reveal right", [] { return new KVXTransitionRevealRight; }},
    };
    std::printf("one step of each transition over the 800 x 600 stage, as a share of a 16.7 ms "
                "frame (goal 0.25):\n");
    for (const Effect& e : effects) {
        double ms = StepTime(e.make);
        std::printf("  %-18s %.4f  (%.1f us)\n", e.name, ms / kFrameMs, ms * 1000.0);
    }

    if (!OpenData()) {
        std::printf("data files not found beside the program\n");
        return 1;
    }
    AFHeap heap;
    KVXApp app(&heap, -1);
    gApp = &app;
    CanvasBox = canvas;
    MMStage stage(nullptr, kStage, 32, nullptr, nullptr, nullptr, nullptr);
    KVXPlaneComponentTop plane({canvas.Width(), canvas.Height()});
    UndoSnapshot undo(plane);
    IntroScene* intro = new IntroScene(&stage);
    CreationScene* creation = new CreationScene(&stage, &plane, &undo);
    app.SetSceneSlot(kSceneCreation, creation);
    const int runs = 20;
    double total = 0;
    for (int i = 0; i < runs; ++i) {
        intro->Begin();
        stage.RedrawDirty();
        double start = NowMs();
        intro->DeleteMolecules();
        creation->Begin();
        stage.Invalidate(kStage);
        stage.RedrawDirty();
        GdiFlush();
        total += NowMs() - start;
        creation->DeleteMolecules();
    }
    std::printf("intro to creation screen (end, begin, first full redraw), as a share of a frame "
                "(goal 1): %.3f\n", total / runs / kFrameMs);

    // The credits and the radio's zoom on the painting screen, stepped as the
    // stage steps them: tasks, then the redraw of what changed.
    stage.SetPendingScene(creation, nullptr, nullptr);
    stage.StartClock();
    stage.ChangeSceneOrDispatch();
    auto step = [&] {
        stage.ChangeSceneOrDispatch();
        stage.RunDueTasks();
        stage.RedrawDirty();
        GdiFlush();
    };
    double radioTotal = 0;
    int radioSteps = 0;
    for (int i = 0; i < 10 && creation->Radio(); ++i) {
        if (creation->Radio()->IsOpen())
            creation->Radio()->Close();
        else
            creation->Radio()->Open();
        while (creation->Radio()->IsBusy()) {
            double start = NowMs();
            step();
            radioTotal += NowMs() - start;
            ++radioSteps;
        }
    }
    if (radioSteps)
        std::printf("one radio zoom step, as a share of a frame (goal 0.25): %.3f\n",
                    radioTotal / radioSteps / kFrameMs);
    if (KVXQuitButton* quit = creation->ExitButton()) {
        auto* credits = new ClosingCreditsMolecule(quit, nullptr);
        double creditsTotal = 0;
        const int creditsSteps = 200;
        for (int i = 0; i < creditsSteps; ++i) {
            double start = NowMs();
            step();
            creditsTotal += NowMs() - start;
            Sleep(5);
        }
        std::printf("one credits step, as a share of a frame (goal 0.25): %.3f\n",
                    creditsTotal / creditsSteps / kFrameMs);
        delete credits;
    }
    creation->DeleteMolecules();
    app.SetSceneSlot(kSceneCreation, nullptr);
    gApp = nullptr;
    return 0;
}
