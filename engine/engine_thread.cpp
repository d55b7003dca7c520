#include "engine/engine_thread.h"

#include <process.h>
#include <cstdio>

#include "engine/command.h"
#include "engine/run_queue.h"
#include "engine/stage.h"
#include "framework/thread.h"

namespace {
// Engine code on a cooperative thread must take the stage thread as current.
void InstallThreadRecord(void* record)
{
    ALThread::SetCurrent(static_cast<ALThread*>(record));
}
}  // namespace

MMAbstractThread::MMAbstractThread(const char* name, MMStage* stage) : MMQueuedTask(name, stage)
{
    if (!name || !name[0])
        SetName(nullptr, "some abstract thread");
}

// A thread deleted while queued must not leave a dangling node behind.
MMAbstractThread::~MMAbstractThread()
{
    if (state_ != kMMThreadInactive) {
        if (MMRunQueue* queue = Queue())
            queue->Forget(this);
    }
}

int32_t MMAbstractThread::StageTime() const { return stage_ ? stage_->StageTime() : 0; }

bool MMAbstractThread::IsDue()
{
    if (semaphore_)
        return semaphore_->Signalled();
    if (wakeTime_ == INT_MAX)
        return false;
    return StageTime() >= wakeTime_;
}

bool MMAbstractThread::Execute()
{
    if (!IsDue())
        return true;
    int32_t cancels = cancels_;
    bool goOn = RunSlice();
    // A slice that terminated its own thread has already left the queue.
    if (cancels != cancels_)
        return false;
    state_ = goOn ? kMMThreadRunning : kMMThreadInactive;
    return goOn;
}

void MMAbstractThread::Cancel()
{
    ++cancels_;
    if (state_ == kMMThreadRunning) {
        state_ = kMMThreadTerminating;
        RunSlice();
    }
    state_ = kMMThreadInactive;
}

void MMAbstractThread::Activate()
{
    if (MMRunQueue* queue = Queue()) {
        // Activating a queued thread again must not queue it twice.
        if (state_ != kMMThreadInactive)
            queue->Forget(this);
        queue->Enqueue(this, priority_);
    }
    state_ = kMMThreadActivated;
    wakeTime_ = 0;
    semaphore_ = nullptr;
}

void MMAbstractThread::Terminate()
{
    if (state_ != kMMThreadInactive) {
        if (MMRunQueue* queue = Queue())
            queue->Remove(this);
        state_ = kMMThreadInactive;
    }
    wakeTime_ = 0;
    semaphore_ = nullptr;
}

void MMAbstractThread::SetPriority(int16_t priority)
{
    priority_ = priority;
    if (state_ != kMMThreadInactive) {
        if (MMRunQueue* queue = Queue())
            queue->SetPriority(this, priority);
    }
}

void MMAbstractThread::SleepFor(int32_t ms)
{
    SleepUntil(ms == INT_MAX ? INT_MAX : StageTime() + ms);
}

void MMAbstractThread::SleepUntil(int32_t time)
{
    bool idleBefore = IsIdle();
    wakeTime_ = time;
    semaphore_ = nullptr;
    bool idleAfter = IsIdle();
    if (state_ == kMMThreadRunning && idleBefore != idleAfter) {
        if (idleAfter)
            OnSleep();
        else
            OnWake();
    }
}

void MMAbstractThread::WaitOn(MMSemaphore* semaphore)
{
    bool idleBefore = IsIdle();
    semaphore_ = semaphore;
    wakeTime_ = INT_MAX;
    bool idleAfter = semaphore == nullptr;
    if (state_ == kMMThreadRunning && idleBefore != idleAfter) {
        if (idleAfter)
            OnSleep();
        else
            OnWake();
    }
}

MMCommand* MMAbstractThread::MakeCommand(const char* verb, void (MMAbstractThread::*method)())
{
    char name[kTaskNameSize + 16];
    std::snprintf(name, sizeof name, "%s%s", verb, name_);
    return new MMClassCommand<MMAbstractThread>(name, stage_, this, method,
                                                int16_t(priority_ + 1));
}

MMCommand* MMAbstractThread::MakeActivateCommand()
{
    return MakeCommand("Activate ", &MMAbstractThread::Activate);
}

MMCommand* MMAbstractThread::MakeTerminateCommand()
{
    return MakeCommand("Terminate ", &MMAbstractThread::Terminate);
}

MMCommand* MMAbstractThread::MakeSuspendCommand()
{
    return MakeCommand("Suspend ", &MMAbstractThread::Suspend);
}

MMCommand* MMAbstractThread::MakeResumeCommand()
{
    return MakeCommand("Resume ", &MMAbstractThread::Resume);
}

MMLightweightThread::MMLightweightThread(const char* name, MMStage* stage)
    : MMAbstractThread(name, stage)
{
    if (!name || !name[0])
        SetName(nullptr, "some lightweight thread");
}

bool MMLightweightThread::RunSlice()
{
    waited_ = false;
    return Run();
}

void MMLightweightThread::Wait(int32_t ms)
{
    waited_ = true;
    SleepFor(ms);
}

void MMLightweightThread::WaitUntil(int32_t time)
{
    waited_ = true;
    SleepUntil(time);
}

void MMLightweightThread::WaitOnSemaphore(MMSemaphore* semaphore)
{
    waited_ = true;
    WaitOn(semaphore);
}

MMCooperativeThread::MMCooperativeThread(const char* name, MMStage* stage, uint16_t stackWords)
    : MMAbstractThread(name, stage), stackWords_(stackWords)
{
    if (!name || !name[0])
        SetName(nullptr, "some cooperative thread");
}

// A body still waiting for its turn is told to unwind before the handles go.
MMCooperativeThread::~MMCooperativeThread()
{
    while (threadHandle_ && !finished_)
        HandOff(false);
    Close();
}

bool MMCooperativeThread::Start()
{
    MMRunQueue* queue = Queue();
    if (!queue)
        return false;
    stageEvent_ = queue->HandOffEvent();
    if (!ownEvent_)
        ownEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!ownEvent_)
        return false;
    finished_ = false;
    stageThreadRecord_ = ALThread::Current();
    uintptr_t handle = _beginthreadex(nullptr, unsigned(stackWords_) * 4, Entry, this, 0, nullptr);
    if (!handle)
        return false;
    threadHandle_ = reinterpret_cast<HANDLE>(handle);
    return true;
}

void MMCooperativeThread::Close()
{
    if (threadHandle_) {
        WaitForSingleObject(threadHandle_, INFINITE);
        CloseHandle(threadHandle_);
        threadHandle_ = nullptr;
    }
    if (ownEvent_) {
        CloseHandle(ownEvent_);
        ownEvent_ = nullptr;
    }
}

unsigned __stdcall MMCooperativeThread::Entry(void* self)
{
    MMCooperativeThread* thread = static_cast<MMCooperativeThread*>(self);
    WaitForSingleObject(thread->ownEvent_, INFINITE);
    thread->finished_ = false;
    InstallThreadRecord(thread->stageThreadRecord_);
    // A thread terminated before its first turn never runs its body.
    if (thread->goOn_)
        thread->Body();
    thread->finished_ = true;
    SetEvent(thread->stageEvent_);
    return 0;
}

bool MMCooperativeThread::RunSlice()
{
    if (state_ == kMMThreadActivated && !threadHandle_) {
        if (!Start())
            return true;
    }
    if (!threadHandle_)
        return false;
    HandOff(state_ != kMMThreadTerminating);
    if (finished_) {
        Close();
        return false;
    }
    return true;
}

void MMCooperativeThread::HandOff(bool goOn)
{
    goOn_ = goOn;
    SetEvent(ownEvent_);
    WaitForSingleObject(stageEvent_, INFINITE);
}

void MMCooperativeThread::YieldTurn()
{
    SetEvent(stageEvent_);
    WaitForSingleObject(ownEvent_, INFINITE);
}

bool MMCooperativeThread::SleepFor(int32_t ms)
{
    MMAbstractThread::SleepFor(ms);
    YieldTurn();
    return goOn_;
}

bool MMCooperativeThread::SleepUntil(int32_t time)
{
    MMAbstractThread::SleepUntil(time);
    YieldTurn();
    return goOn_;
}

bool MMCooperativeThread::WaitOn(MMSemaphore* semaphore)
{
    MMAbstractThread::WaitOn(semaphore);
    YieldTurn();
    return goOn_;
}
