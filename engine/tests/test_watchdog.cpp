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

class TestWatchdog : public testing::EmptyTestEventListener {
public:
    TestWatchdog() { CloseHandle(CreateThread(nullptr, 0, &TestWatchdog::Watch, this, 0, nullptr)); }
    void OnTestStart(const testing::TestInfo& info) override
    {
        started_ = GetTickCount();
        current_ = &info;
    }
    void OnTestEnd(const testing::TestInfo&) override { current_ = nullptr; }

private:
    static DWORD WINAPI Watch(void* self)
    {
        TestWatchdog* watchdog = static_cast<TestWatchdog*>(self);
        for (;;) {
            Sleep(kLookEvery);
            const testing::TestInfo* test = watchdog->current_;
            if (test && GetTickCount() - watchdog->started_ > kTestBound) {
                std::fprintf(stderr, "\n%s.%s did not end within %lu s: stopping the tests\n",
                             test->test_suite_name(), test->name(),
                             static_cast<unsigned long>(kTestBound / 1000));
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
        return 0;
    }

    std::atomic<DWORD> started_{0};
    std::atomic<const testing::TestInfo*> current_{nullptr};
};

struct InstallWatchdog {
    InstallWatchdog() { testing::UnitTest::GetInstance()->listeners().Append(new TestWatchdog); }
} gInstallWatchdog;

}  // namespace
