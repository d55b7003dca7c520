// Ends the test program when one test runs far longer than any test should:
// a deadlock between the stage thread and the UI thread then fails with the
// name of the test instead of hanging the whole run.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {

const DWORD kTestBound = 60000;  // ms
const DWORD kLookEvery = 250;    // ms

// Plain static data: the watching thread outlives every object that the
// test framework destroys at exit, so it reads nothing else.
struct WatchedTest {
    std::atomic<bool> running;
    std::atomic<DWORD> started;
    char name[256];
};
WatchedTest gWatched;

DWORD WINAPI Watch(void*)
{
    for (;;) {
        Sleep(kLookEvery);
        if (gWatched.running && GetTickCount() - gWatched.started > kTestBound) {
            std::fprintf(stderr, "\n%s did not end within %lu s: stopping the tests\n",
                         gWatched.name, static_cast<unsigned long>(kTestBound / 1000));
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
    return 0;
}

class TestWatchdog : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo& info) override
    {
        std::snprintf(gWatched.name, sizeof gWatched.name, "%s.%s", info.test_suite_name(),
                      info.name());
        gWatched.started = GetTickCount();
        gWatched.running = true;
    }
    void OnTestEnd(const testing::TestInfo&) override { gWatched.running = false; }
};

struct InstallWatchdog {
    InstallWatchdog()
    {
        testing::UnitTest::GetInstance()->listeners().Append(new TestWatchdog);
        CloseHandle(CreateThread(nullptr, 0, &Watch, nullptr, 0, nullptr));
    }
} gInstallWatchdog;

}  // namespace
