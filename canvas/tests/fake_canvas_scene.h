#pragma once
// A painting screen and a slate recording for the canvas visual's tests.
#include <string>
#include <vector>

#include "canvas/canvas_scene.h"
#include "canvas/plane.h"
#include "canvas/slate_recording.h"
#include "engine/command.h"
#include "engine/scroll_bar.h"

class FakeSlate : public KVXSlateRecording {
public:
    explicit FakeSlate(std::vector<std::string>* log) : log(log) {}
    void Init() override { log->push_back("init"); }
    void Release() override { log->push_back("release"); }
    bool StoreFrame(int32_t, int32_t, const Pair*, int32_t, uint32_t, int32_t) override { return true; }
    void Stop() override { running = false; }
    void Start() override { running = true; }
    bool SelectChannel(int32_t c) override
    {
        log->push_back("channel " + std::to_string(c));
        return true;
    }
    bool SelectFrame(int32_t f) override
    {
        log->push_back("frame " + std::to_string(f));
        return true;
    }
    bool CopyFrame(int32_t, int32_t, int32_t) override { return true; }
    bool ClearFrame(int32_t, int32_t) override { return true; }
    void ClearAll() override { log->push_back("clear all"); }
    Box GetBounds() const override { return bounds; }
    void DrawPlaybackStep(MMSurface*) override { log->push_back("draw step"); }
    void DrawAtStep(MMSurface*, int32_t) override {}
    bool IsRunning() const override { return running; }
    void SetStepFlag(bool on) override { stepFlag = on; }
    bool IsPaused() const override { return paused; }
    void SetPaused(bool on) override { paused = on; }
    bool IsLooping() const override { return looping; }
    void SetLooping(bool on) override { looping = on; }
    void SetOwner(KVXMagicSlateToolCollection*) override {}
    int32_t FrameState(int32_t, int32_t) const override { return 0; }
    uint32_t FrameColour(int32_t, int32_t) const override { return 0; }

    std::vector<std::string>* log;
    Box bounds = {0, 0, 0, 0};
    bool running = false;
    bool stepFlag = false;
    bool paused = false;
    bool looping = false;
};

class FakeCanvasScene : public KVXCanvasScene {
public:
    KVXPlaneUChar* TexturePlane() override { return texture; }
    void DeleteSoundChannel() override { log.push_back("delete sound channel"); }
    MMScrollBarVisual* MakeZoomScrollBarVisual(MMResourceId, MMResourceId, MMResourceId,
                                              const Box& strip) override
    {
        auto* visual = new MMPlainScrollBarVisual(strip.Width() > strip.Height()
                                                      ? kScrollHorizontal
                                                      : kScrollVertical);
        visual->SetBox(strip);
        return visual;
    }
    KVXSlateRecording* MakeSlateRecording() override
    {
        slate = new FakeSlate(&log);
        return slate;
    }

    std::vector<std::string> log;
    KVXPlaneUChar* texture = nullptr;
    FakeSlate* slate = nullptr;
};
