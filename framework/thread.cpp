#include "framework/thread.h"

#include <process.h>
#include <mmsystem.h>

namespace {

DWORD gSlot = TLS_OUT_OF_INDEXES;

uint32_t SystemMilliseconds() { return timeGetTime(); }

}  // namespace

ALMainThread::ALMainThread()
{
    gSlot = TlsAlloc();
    if (gSlot != TLS_OUT_OF_INDEXES)
        TlsSetValue(gSlot, this);
    threadId = GetCurrentThreadId();
}

ALMainThread::~ALMainThread()
{
    if (gSlot != TLS_OUT_OF_INDEXES)
        TlsFree(gSlot);
    gSlot = static_cast<DWORD>(-1);
}

namespace {
ALMainThread gMainThread __attribute__((init_priority(102)));
}

ALMainThread* MainThread() { return &gMainThread; }

ALThread* ALThread::Current()
{
    if (gSlot == TLS_OUT_OF_INDEXES)
        return nullptr;
    return static_cast<ALThread*>(TlsGetValue(gSlot));
}

void ALThread::SetCurrent(ALThread* thread)
{
    if (gSlot != TLS_OUT_OF_INDEXES)
        TlsSetValue(gSlot, thread);
}

ALUserThread::ALUserThread() : handle(nullptr), osThreadId(0), started(false)
{
    unsigned id = 0;
    uintptr_t created = _beginthreadex(nullptr, 0, &ALUserThread::Entry, this, CREATE_SUSPENDED, &id);
    handle = reinterpret_cast<HANDLE>(created);
    osThreadId = id;
}

ALUserThread::~ALUserThread()
{
    if (handle)
        CloseHandle(handle);
}

unsigned __stdcall ALUserThread::Entry(void* argument)
{
    ALUserThread* thread = static_cast<ALUserThread*>(argument);
    if (gSlot != TLS_OUT_OF_INDEXES)
        TlsSetValue(gSlot, thread);
    thread->threadId = GetCurrentThreadId();
    thread->Run();
    return 0;
}

void ALUserThread::Resume()
{
    started = true;
    if (handle)
        ResumeThread(handle);
}

void ALUserThread::WaitForEnd()
{
    if (handle)
        WaitForSingleObject(handle, INFINITE);
}

int ALUserThread::State()
{
    if (!handle)
        return kThreadNone;
    if (!started)
        return kThreadCreated;
    return WaitForSingleObject(handle, 0) == WAIT_TIMEOUT ? kThreadRunning : kThreadEnded;
}

void YieldUnless(bool flag)
{
    if (!flag)
        Sleep(0);
}

ElapsedClock::ElapsedClock(Source source) : source_(source), base_(0), first_(true) {}

uint32_t ElapsedClock::Now()
{
    uint32_t now = source_();
    if (first_) {
        base_ = now - 1;
        first_ = false;
    }
    return now - base_;
}

uint32_t ElapsedMilliseconds()
{
    static ElapsedClock clock(&SystemMilliseconds);
    return clock.Now();
}
