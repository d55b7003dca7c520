#pragma once
#include <cstdint>
#include <windows.h>
#include "framework/lock.h"
#include "framework/thread.h"
#include "framework/uu_list.h"

// Small periodic jobs run by one worker thread per manager. Each Pulse says
// how long to wait before the next one (kNever: until scheduled again).

class AFPulseTaskManager;

class AFPulseTask {
public:
    AFPulseTask() : due(kNever), manager(nullptr) {}
    virtual ~AFPulseTask() {}
    virtual int32_t Pulse() = 0;

    // Due again `delay` ms from now; wakes the worker. Only for added tasks.
    void Schedule(int32_t delay);

    volatile LONG due;
    AFPulseTaskManager* manager;
};

class AFPulseTaskThread;

class AFPulseTaskManager {
public:
    typedef uint32_t (*Clock)();

    AFPulseTaskManager();
    virtual ~AFPulseTaskManager();
    AFPulseTaskManager(const AFPulseTaskManager&) = delete;
    AFPulseTaskManager& operator=(const AFPulseTaskManager&) = delete;

    virtual void RunDue();

    void Start();
    void Stop();
    bool IsRunning() const { return thread != nullptr; }
    void Add(AFPulseTask* task);
    void Remove(AFPulseTask* task);
    int32_t NextDue();
    void WakeUp() { SetEvent(wakeUp); }
    // The time source of due times (ElapsedMilliseconds unless a test says).
    void SetClock(Clock clock) { clock_ = clock; }
    uint32_t Now() const { return clock_(); }

    UUList<AFPulseTask*> tasks;
    UUUntypedListNode* cursor;
    Lock lock;
    UUUntypedListNode* removing;
    AFPulseTaskThread* thread;
    volatile bool stop;
    HANDLE wakeUp;

private:
    AFPulseTask* NextTask();
    Clock clock_;
    DWORD walkingThread_;  // the thread inside RunDue; 0 between passes
};

class AFPulseTaskThread : public ALUserThread {
public:
    explicit AFPulseTaskThread(AFPulseTaskManager* manager) : manager(manager) {}
    void Run() override;

    AFPulseTaskManager* manager;
};

// The application's manager (made by the application object; may be null).
extern AFPulseTaskManager* gPulseTaskManager;
