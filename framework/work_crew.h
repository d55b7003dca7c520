#pragma once
// Helper threads that run one job at a time beside the thread that asks for
// it, for work split into parts that may run in any order. A job takes its
// parts itself (from a counter in its context), so that a helper the system
// wakes late finds nothing left and the caller never waits for it; a helper
// may run the same job again and find nothing left either.
#include <atomic>
#include <cstdint>
#include <windows.h>

#include "framework/thread.h"

class ALWorkCrew {
public:
    typedef void (*Job)(void* context);

    ALWorkCrew();
    // Wakes the helpers and waits for each to end.
    ~ALWorkCrew();
    ALWorkCrew(const ALWorkCrew&) = delete;
    ALWorkCrew& operator=(const ALWorkCrew&) = delete;

    // Runs job(context) on the calling thread and on up to `helpers` helper
    // threads at once (started the first time they are wanted; at most
    // kMostHelpers); returns when every run of it has returned. A crew busy
    // with another job, or whose threads could not start, leaves the job to
    // the calling thread alone.
    void Run(Job job, void* context, int32_t helpers);

    // How many helper threads run (after a Run asked for them).
    int32_t Helpers() const { return started_; }

    static constexpr int32_t kMostHelpers = 7;

private:
    class Helper;

    void StartHelpers(int32_t wanted);
    void HelpOnce();

    // Not a critical section: the thread running a job may ask again.
    std::atomic<bool> busy_;
    HANDLE wake_;
    HANDLE done_;
    // The open job's bit and how many helpers are inside it.
    std::atomic<int32_t> state_;
    std::atomic<bool> ending_;
    Job job_;
    void* context_;
    Helper* helpers_[kMostHelpers];
    int32_t started_;
};

// How many processors the program may run on.
int32_t ProcessorCount();
