#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "framework/callbacks.h"
#include "framework/geometry.h"

namespace {

LRESULT CALLBACK CallbackWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == AF_RUN_CALLBACK) {
        AFInvokeCallbackMessage(lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeCallbackWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CallbackWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PennaroCallbackTestWindow";
    RegisterClassA(&windowClass);
    return CreateWindowA("PennaroCallbackTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

struct Target {
    void Record(bool* ranHere)
    {
        threadId = GetCurrentThreadId();
        *ranHere = true;
    }
    void Measure(const Box& box, int32_t* width)
    {
        threadId = GetCurrentThreadId();
        *width = box.Width();
    }
    DWORD threadId = 0;
};

int gDeleted;

template <class Base>
struct Counted : Base {
    using Base::Base;
    ~Counted() override { ++gDeleted; }
};

}  // namespace

TEST(WindowThreadCallbacks, RunOnTheWindowsThreadAndAreDeletedBySender)
{
    HWND window = MakeCallbackWindow();
    ASSERT_NE(nullptr, window);
    Target target;
    bool ran = false;
    bool seenBySender = false;
    gDeleted = 0;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread sender([&] {
        AFSendCallback(window, new Counted<AFClassCallback1Parameter<Target, bool*>>(
                                   &target, &Target::Record, &ran));
        seenBySender = ran;  // written on the window's thread before the send returned
        SetEvent(done);
    });
    // Pump this (the window's) thread until the sender is done.
    while (MsgWaitForMultipleObjects(1, &done, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    sender.join();
    CloseHandle(done);
    EXPECT_TRUE(seenBySender);
    EXPECT_EQ(GetCurrentThreadId(), target.threadId);
    EXPECT_EQ(1, gDeleted);
    DestroyWindow(window);
}

TEST(WindowThreadCallbacks, SentFromTheWindowsOwnThreadRunsAtOnce)
{
    HWND window = MakeCallbackWindow();
    Target target;
    int32_t width = 0;
    Box box = {10, 0, 35, 5};
    gDeleted = 0;
    AFSendCallback(window, new Counted<AFClassCallback2Parameters<Target, const Box&, int32_t*>>(
                               &target, &Target::Measure, box, &width));
    EXPECT_EQ(25, width);
    EXPECT_EQ(GetCurrentThreadId(), target.threadId);
    EXPECT_EQ(1, gDeleted);
    AFSendCallback(window, nullptr);  // nothing to send
    DestroyWindow(window);
}
