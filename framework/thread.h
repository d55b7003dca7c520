#pragma once
#include <cstdint>
#include <windows.h>

// Operating-system threads as objects. Every thread finds its own object
// through one thread-local slot; the main thread's is ALMainThread.

class ALThread {
public:
    ALThread() : threadId(0) {}
    virtual ~ALThread() {}

    static ALThread* Current();
    // Makes `thread` the calling thread's object (a thread that stands in
    // for another, such as a cooperative engine thread, takes its record).
    static void SetCurrent(ALThread* thread);

    uint32_t threadId;
};

class ALMainThread : public ALThread {
public:
    ALMainThread();
    ~ALMainThread() override;
};

ALMainThread* MainThread();

enum ALThreadState {
    kThreadNone = 0,     // creation failed
    kThreadCreated = 1,  // not yet started
    kThreadRunning = 2,
    kThreadEnded = 3,
};

// Base of every thread the program starts. The constructor creates the
// thread suspended; Resume starts Run. Wait for the end before deleting.
class ALUserThread : public ALThread {
public:
    ALUserThread();
    ~ALUserThread() override;
    virtual void Run() = 0;

    void Resume();
    void WaitForEnd();
    int State();

    HANDLE handle;
    uint32_t osThreadId;
    bool started;

private:
    static unsigned __stdcall Entry(void* argument);
};

void YieldUnless(bool flag);

// The program's one clock: milliseconds since start-up, 1 on the first call,
// wrapping after about 49.7 days. 0x7FFFFFFF stands for "never".
uint32_t ElapsedMilliseconds();
// A source of that clock that tests can replace.
typedef uint32_t (*MMClockSource)();
constexpr int32_t kNever = 0x7FFFFFFF;

// The clock with its time source, so that a test can drive it by hand.
class ElapsedClock {
public:
    typedef uint32_t (*Source)();
    explicit ElapsedClock(Source source);
    uint32_t Now();

private:
    Source source_;
    uint32_t base_;
    bool first_;
};
