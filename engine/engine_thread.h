#pragma once
// Engine threads: tasks of the run queue that live longer than a command.
// Lightweight threads run a slice on the stage thread whenever they are due;
// cooperative threads alternate with the stage thread on a thread of their own.
#include "engine/queued_task.h"

#include <windows.h>
#include <climits>
#include <cstdint>

class MMCommand;

enum MMThreadState : int32_t {
    kMMThreadInactive = 0,
    kMMThreadActivated = 1,
    kMMThreadRunning = 2,
    kMMThreadTerminating = 3,
};

class MMAbstractThread : public MMQueuedTask {
public:
    MMAbstractThread(const char* name, MMStage* stage);
    ~MMAbstractThread() override;

    bool Execute() override;
    void Cancel() override;
    virtual bool IsDue();
    virtual bool RunSlice() = 0;
    virtual void OnSleep() {}
    virtual void OnWake() {}

    void Activate();
    void Terminate();
    void SetPriority(int16_t priority);
    void SleepFor(int32_t ms);
    void SleepUntil(int32_t time);
    void WaitOn(MMSemaphore* semaphore);
    // Stage time of the thread's stage (0 without a stage).
    int32_t StageTime() const;

    MMCommand* MakeActivateCommand();
    MMCommand* MakeTerminateCommand();
    MMCommand* MakeSuspendCommand();
    MMCommand* MakeResumeCommand();

    int32_t State() const { return state_; }
    int32_t WakeTime() const { return wakeTime_; }
    MMSemaphore* Semaphore() const { return semaphore_; }
    int16_t Priority() const { return priority_; }

protected:
    void Suspend() { SleepUntil(INT_MAX); }
    void Resume() { SleepFor(0); }
    bool IsIdle() const { return wakeTime_ == INT_MAX && !semaphore_; }

    int32_t state_ = kMMThreadInactive;
    int32_t wakeTime_ = 0;
    MMSemaphore* semaphore_ = nullptr;
    int16_t priority_ = 200;

private:
    int32_t cancels_ = 0;
    MMCommand* MakeCommand(const char* verb, void (MMAbstractThread::*method)());
};

class MMLightweightThread : public MMAbstractThread {
public:
    MMLightweightThread(const char* name, MMStage* stage);
    bool RunSlice() override;
    // One unit of work; true to go on, false when finished.
    virtual bool Run() = 0;

    void Wait(int32_t ms);
    void WaitUntil(int32_t time);
    void WaitOnSemaphore(MMSemaphore* semaphore);
    bool Waited() const { return waited_; }

private:
    bool waited_ = false;
};

class MMCooperativeThread : public MMAbstractThread {
public:
    MMCooperativeThread(const char* name, MMStage* stage, uint16_t stackWords = 0);
    ~MMCooperativeThread() override;

    bool RunSlice() override;
    virtual bool Start();
    virtual void Close();
    // The thread's work, on its own operating-system thread.
    virtual void Body() = 0;

    // Thread side: give the turn back; the answer is false when the thread
    // is being terminated and the body must return.
    bool SleepFor(int32_t ms);
    bool SleepUntil(int32_t time);
    bool WaitOn(MMSemaphore* semaphore);
    bool Finished() const { return finished_; }

private:
    static unsigned __stdcall Entry(void* self);
    void HandOff(bool goOn);
    void YieldTurn();

    uint16_t stackWords_;
    volatile bool goOn_ = true;
    volatile bool finished_ = false;
    HANDLE threadHandle_ = nullptr;
    HANDLE ownEvent_ = nullptr;
    HANDLE stageEvent_ = nullptr;
    void* stageThreadRecord_ = nullptr;
};
