#include "framework/pulse_task.h"

#include "framework/heap.h"

AFPulseTaskManager* gPulseTaskManager = nullptr;

void AFPulseTask::Schedule(int32_t delay)
{
    if (!manager)
        return;
    InterlockedExchange(&due, static_cast<LONG>(manager->Now() + delay));
    manager->WakeUp();
}

AFPulseTaskManager::AFPulseTaskManager()
    : cursor(tasks.End()), removing(tasks.End()), thread(nullptr), stop(false),
      wakeUp(CreateEventA(nullptr, FALSE, FALSE, nullptr)), clock_(&ElapsedMilliseconds),
      walkingThread_(0)
{
    InitLock(&lock);
}

AFPulseTaskManager::~AFPulseTaskManager()
{
    if (thread)
        Stop();
    if (wakeUp)
        CloseHandle(wakeUp);
    DeleteLock(&lock);
}

void AFPulseTaskManager::Start()
{
    if (thread)
        return;
    stop = false;
    thread = new (gDefaultHeap) AFPulseTaskThread(this);
    if (thread)
        thread->Resume();
}

void AFPulseTaskManager::Stop()
{
    if (!thread)
        return;
    stop = true;
    SetEvent(wakeUp);
    thread->WaitForEnd();
    delete thread;
    thread = nullptr;
}

void AFPulseTaskManager::Add(AFPulseTask* task)
{
    task->due = 0;
    task->manager = this;
    {
        LockHolder hold(&lock);
        tasks.Append(task);
    }
    SetEvent(wakeUp);
}

void AFPulseTaskManager::Remove(AFPulseTask* task)
{
    EnterLock(&lock);
    UUUntypedListNode* node = tasks.Find(task);
    if (!node) {
        LeaveLock(&lock);
        return;
    }
    // A task that removes itself from its own Pulse is the walk's current
    // task on the walking thread: waiting for the walk to move on would wait
    // for ourselves. Step the walk back instead; it goes on with the next task.
    if (node == cursor && walkingThread_ == GetCurrentThreadId())
        cursor = node->previous;
    while (node == cursor) {
        removing = node;
        LeaveLock(&lock);
        SetEvent(wakeUp);
        Sleep(0);
        EnterLock(&lock);
    }
    removing = tasks.End();
    tasks.RemoveAndDelete(node);
    LeaveLock(&lock);
    task->manager = nullptr;
}

int32_t AFPulseTaskManager::NextDue()
{
    LockHolder hold(&lock);
    int32_t next = kNever;
    for (UUUntypedListNode* node = tasks.First(); node != tasks.End(); node = node->next) {
        int32_t due = UUList<AFPulseTask*>::ItemOf(node)->due;
        if (due < next)
            next = due;
    }
    return next;
}

AFPulseTask* AFPulseTaskManager::NextTask()
{
    LockHolder hold(&lock);
    cursor = cursor == tasks.End() ? tasks.First() : cursor->next;
    if (cursor != tasks.End() && cursor == removing)
        cursor = cursor->next;
    return cursor == tasks.End() ? nullptr : UUList<AFPulseTask*>::ItemOf(cursor);
}

void AFPulseTaskManager::RunDue()
{
    int32_t now = static_cast<int32_t>(Now());
    walkingThread_ = GetCurrentThreadId();
    while (AFPulseTask* task = NextTask()) {
        if (task->due > now)
            continue;
        // While the task pulses its due time reads "never"; a Schedule made
        // meanwhile replaces it, and the earlier of that time and the
        // pulse's own answer wins, so the Schedule is never lost.
        LONG due = kNever;
        InterlockedExchange(&task->due, due);
        UUUntypedListNode* pulsing = cursor;
        int32_t delay = task->Pulse();
        // A task that removed itself may be gone: leave it alone.
        if (cursor != pulsing)
            continue;
        LONG next = delay == kNever ? kNever : now + delay;
        for (;;) {
            LONG seen = InterlockedCompareExchange(&task->due, next, due);
            if (seen == due)
                break;
            due = seen;
            if (seen < next)
                next = seen;
        }
    }
    walkingThread_ = 0;
}

void AFPulseTaskThread::Run()
{
    while (!manager->stop) {
        manager->RunDue();
        int32_t next = manager->NextDue();
        DWORD wait = INFINITE;
        if (next != kNever) {
            int32_t left = next - static_cast<int32_t>(manager->Now());
            wait = left > 0 ? static_cast<DWORD>(left) : 0;
        }
        WaitForSingleObject(manager->wakeUp, wait);
    }
}
