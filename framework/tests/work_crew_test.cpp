#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "framework/work_crew.h"

namespace {

struct Parts {
    std::atomic<int32_t> next{0};
    std::atomic<int32_t> inside{0};
    std::atomic<int32_t> entered{0};
    DWORD caller = 0;
    bool helperSeen = false;
    std::vector<std::atomic<int32_t>> hits;
    explicit Parts(size_t n) : hits(n) {}
};

void TakeParts(void* context)
{
    Parts& parts = *static_cast<Parts*>(context);
    parts.inside.fetch_add(1);
    parts.entered.fetch_add(1);
    if (GetCurrentThreadId() == parts.caller && !parts.helperSeen) {
        // The caller waits (generously) until a helper has joined.
        for (int i = 0; i < 10000 && parts.entered.load() < 2; ++i)
            Sleep(1);
        parts.helperSeen = parts.entered.load() >= 2;
    }
    for (;;) {
        int32_t part = parts.next.fetch_add(1);
        if (part >= int32_t(parts.hits.size()))
            break;
        parts.hits[part].fetch_add(1);
    }
    parts.inside.fetch_sub(1);
}

}  // namespace

// Every part once, every run of the job over when Run returns, a helper taking
// part; fifty jobs in a row on the same helpers.
TEST(WorkCrew, RunsEveryPartOnceBesideItsHelpers)
{
    ALWorkCrew crew;
    bool helperSeen = false;
    for (int job = 0; job < 50; ++job) {
        Parts parts(3000);
        parts.caller = GetCurrentThreadId();
        parts.helperSeen = helperSeen;
        crew.Run(&TakeParts, &parts, 3);
        EXPECT_EQ(0, parts.inside.load()) << "job " << job;
        for (size_t i = 0; i < parts.hits.size(); ++i)
            ASSERT_EQ(1, parts.hits[i].load()) << "part " << i << " of job " << job;
        helperSeen = parts.helperSeen;
    }
    EXPECT_TRUE(helperSeen);
    EXPECT_EQ(3, crew.Helpers());
}

namespace {

struct Nested {
    ALWorkCrew* crew;
    DWORD outer = 0;
    DWORD inner = 0;
};

void Inner(void* context) { static_cast<Nested*>(context)->inner = GetCurrentThreadId(); }

void Outer(void* context)
{
    Nested& nested = *static_cast<Nested*>(context);
    if (GetCurrentThreadId() != nested.outer)
        return;
    nested.crew->Run(&Inner, &nested, 2);
}

}  // namespace

// A crew busy with a job leaves a second job to the thread that asks; a job
// that wants no helpers runs on the caller alone.
TEST(WorkCrew, BusyOrWithoutHelpersRunsOnTheCaller)
{
    ALWorkCrew crew;
    Nested nested;
    nested.crew = &crew;
    nested.outer = GetCurrentThreadId();
    crew.Run(&Outer, &nested, 2);
    EXPECT_EQ(nested.outer, nested.inner);

    ALWorkCrew alone;
    Parts parts(10);
    alone.Run(&TakeParts, &parts, 0);
    EXPECT_EQ(0, alone.Helpers());
    for (size_t i = 0; i < parts.hits.size(); ++i)
        EXPECT_EQ(1, parts.hits[i].load());
}
