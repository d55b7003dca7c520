#include "selection/chalk_talk_scene.h"

#include <cstdio>
#include <new>

#include "media/surface.h"
#include "selection/chalk_talk_tables.h"

using namespace chalk_talk;

ChalkTalkEventCommand::ChalkTalkEventCommand(ChalkTalkScene* scene, int16_t event, int16_t value)
    : MMCommand("", scene->Stage()), scene(scene), event(event), value(value)
{
    char name[32];
    std::snprintf(name, sizeof name, "Event %d flag %d ChalkTalk", event, value);
    SetName(name);
}

void ChalkTalkEventCommand::Perform() { scene->HandleEvent(event, value); }

void TimerThread::Set(int32_t delayMs, MMCommand* command)
{
    delete pending;
    pending = command;
    delay = delayMs;
    start = StageTime();
    fired = false;
}

void TimerThread::Start()
{
    if (State() == kMMThreadInactive || State() == kMMThreadTerminating)
        Activate();
}

bool TimerThread::Run()
{
    if (State() == kMMThreadTerminating)
        return false;
    if (fired) {
        fired = false;
        if (pending)
            pending->Post();
        return false;
    }
    Wait(10);
    if (delay >= 0 && StageTime() - start >= delay)
        fired = true;
    return true;
}

ChalkTalkCanvasVisual::ChalkTalkCanvasVisual(MMStage* stage, const Box& box, int16_t layer,
                                             uint32_t ghostColour)
    : MMOpaqueBoxVisual(box), MMLightweightThread("Chalk talk Canvas Visual Thread", stage),
      store(new (std::nothrow) MagicSlateStore)
{
    this->layer = layer;
    if (store) {
        store->Init();
        store->SetGhostColour(ghostColour);
    }
}

void ChalkTalkCanvasVisual::Draw(MMSurface* surface)
{
    surface->FillBox(box, kBoardGreen);
    if (store)
        store->DrawPlaybackStep(surface);
}

bool ChalkTalkCanvasVisual::Run()
{
    if (State() == kMMThreadTerminating)
        return false;
    Wait(41);
    if (store && !IsHidden()) {
        store->SetStepFlag(true);
        Invalidate();
    }
    return true;
}

void ChalkTalkCanvasVisual::StoreStroke(int16_t channel, int16_t frame, const Pair* points,
                                        int32_t count, uint32_t colour, int16_t width)
{
    if (store)
        store->StoreFrame(channel, frame, points, count, colour, width);
    Invalidate();
}

void ChalkTalkCanvasVisual::StopPlayback()
{
    if (store)
        store->Stop();
    Invalidate();
}

void ChalkTalkCanvasVisual::StartPlayback()
{
    if (store)
        store->Start();
    Invalidate();
}

void ChalkTalkCanvasVisual::SelectChannel(int16_t channel)
{
    Invalidate();
    if (store)
        store->SelectChannel(channel);
    Invalidate();
}

void ChalkTalkCanvasVisual::SelectFrame(int16_t frame)
{
    Invalidate();
    if (store)
        store->SelectFrame(frame);
    Invalidate();
}

