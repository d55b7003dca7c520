// TWAIN at the device: Wine's source manager with the tests' source in place
// of its sane.ds placeholder, its camera source without a camera, and two
// stand-in managers (none at all, one listing nothing).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "gallery/twain_manager.h"

namespace {

const char kTestSource[] = "Pennaro Test Source";

std::vector<std::string> gShown;
void RecordErrorBox(HWND, const char* text)
{
    gShown.push_back(text);
}

struct Received {
    int count = 0;
    int32_t width = 0;
    uint32_t pixel = 0;  // (3, 1) from the top
};

void Receive(const TW_IMAGEINFO& info, HGLOBAL dib, void* context)
{
    auto* received = static_cast<Received*>(context);
    ++received->count;
    received->width = info.ImageWidth;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    auto* rows = reinterpret_cast<uint32_t*>(header + 1);
    received->pixel = rows[(header->biHeight - 1 - 1) * header->biWidth + 3];
    GlobalUnlock(dib);
}

DWORD WINAPI Idle(void* event)
{
    WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
    return 0;
}

class Twain : public ::testing::Test {
protected:
    void SetUp() override
    {
        gShown.clear();
        TwainManager::SetErrorBox(&RecordErrorBox);
        TwainManager::SetSearchFolders({});
        SetEnvironmentVariableA("PENNARO_TEST_SOURCE", nullptr);
        parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        stage = CreateThread(nullptr, 0, &Idle, stop, 0, nullptr);
        manager.SetParentWindow(parent);
        manager.SetStageThread(stage);
        manager.SetImageReceiver(&Receive, &received);
    }
    void TearDown() override
    {
        manager.Shutdown();
        SetEvent(stop);
        WaitForSingleObject(stage, INFINITE);
        CloseHandle(stage);
        CloseHandle(stop);
        DestroyWindow(parent);
        TwainManager::SetErrorBox(nullptr);
        TwainManager::SetSearchFolders({});
    }
    // The UI thread's loop until the source is disabled again (or 20 s).
    void Pump()
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 20000) {
            MSG message;
            if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!manager.IsSourceEnabled())
                    return;
                Sleep(10);
                continue;
            }
            if (manager.HandleMessage(message) || manager.ProcessEvent(&message))
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    bool Lists(const char* name) const
    {
        for (int i = 0; i < manager.SourceCount(); ++i) {
            if (std::string(manager.SourceName(i)) == name)
                return true;
        }
        return false;
    }
    void BringUp()
    {
        PostThreadMessageA(GetCurrentThreadId(), TwainManager::BringUpMessage(), 0, 0);
        Pump();
    }

    TwainManager manager;
    Received received;
    HWND parent = nullptr;
    HANDLE stop = nullptr;
    HANDLE stage = nullptr;
};

}  // namespace

TEST_F(Twain, TheTestSourceGivesItsPictureAndThePriorityComesBack)
{
    EXPECT_STREQ("not initialized", manager.Status());
    PostThreadMessageA(GetCurrentThreadId(), TwainManager::InitializeMessage(), 0, 0);
    Pump();
    ASSERT_TRUE(manager.WaitForStart());
    EXPECT_STREQ("no error", manager.Status());
    EXPECT_EQ(3, manager.State());
    ASSERT_TRUE(Lists(kTestSource));
    int count = manager.SourceCount();
    manager.Start();  // a second start does nothing
    EXPECT_EQ(count, manager.SourceCount());

    ASSERT_TRUE(manager.SelectSourceByName(kTestSource));
    EXPECT_STREQ(kTestSource, manager.CurrentSourceName());
    BringUp();
    EXPECT_EQ(1, received.count);
    EXPECT_EQ(8, received.width);
    EXPECT_EQ(uint32_t(90) << 16 | 60 << 8 | 200, received.pixel & 0x00FFFFFF);
    EXPECT_EQ(THREAD_PRIORITY_NORMAL, GetThreadPriority(stage));
    EXPECT_EQ(3, manager.State());
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_TRUE(gShown.empty());

    // Again, cancelled in the source: nothing comes, nothing is shown.
    SetEnvironmentVariableA("PENNARO_TEST_SOURCE", "cancel");
    BringUp();
    EXPECT_EQ(1, received.count);
    EXPECT_TRUE(gShown.empty());
    EXPECT_STREQ("user canceled", manager.Status());
    EXPECT_EQ(THREAD_PRIORITY_NORMAL, GetThreadPriority(stage));
}

TEST_F(Twain, ACameraSourceWithoutACameraShowsUnknownError)
{
    manager.Start();
    ASSERT_TRUE(manager.IsReady());
    ASSERT_TRUE(manager.SelectSourceByName("GPhoto2 Camera"));
    BringUp();
    EXPECT_EQ(0, received.count);
    ASSERT_EQ(1u, gShown.size());
    EXPECT_EQ("unknown error", gShown[0]);
    EXPECT_EQ(3, manager.State());
}

// A thread's entry has the platform's calling convention, which a lambda
// cannot have on 32-bit Windows.
DWORD WINAPI AnswerChooser(void*)
{
    for (int i = 0; i < 400; ++i) {
        HWND dialog = FindWindowA(nullptr, "Choisir un p\xE9riph\xE9rique TWAIN");
        if (dialog != nullptr && IsWindowVisible(dialog)) {
            SendDlgItemMessageA(dialog, 101, LB_SELECTSTRING, WPARAM(-1),
                                reinterpret_cast<LPARAM>(kTestSource));
            SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            return 0;
        }
        Sleep(25);
    }
    return 1;
}

TEST_F(Twain, TheChooserAnsweredByAWatcher)
{
    manager.Start();
    ASSERT_GE(manager.SourceCount(), 2);
    HANDLE watcher = CreateThread(
        nullptr, 0,
        AnswerChooser,
        nullptr, 0, nullptr);
    EXPECT_TRUE(manager.ChooseTwainSourceDialog(parent, GetCurrentThreadId()));
    WaitForSingleObject(watcher, INFINITE);
    DWORD code = 1;
    GetExitCodeThread(watcher, &code);
    CloseHandle(watcher);
    EXPECT_EQ(0u, code);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        manager.HandleMessage(message);
    EXPECT_STREQ(kTestSource, manager.CurrentSourceName());
}

TEST_F(Twain, WithoutAManagerOrWithoutSources)
{
    char empty[MAX_PATH];
    GetTempPathA(sizeof empty, empty);
    std::string folder = std::string(empty) + "pennaro-no-twain";
    CreateDirectoryA(folder.c_str(), nullptr);
    TwainManager::SetSearchFolders({folder});
    manager.Start();
    EXPECT_EQ(1, manager.State());
    EXPECT_EQ(1, manager.ReturnCode());
    EXPECT_FALSE(manager.IsReady());
    BringUp();
    ASSERT_EQ(1u, gShown.size());
    EXPECT_EQ("no twain.dll", gShown[0]);
    manager.Shutdown();
    RemoveDirectoryA(folder.c_str());

    gShown.clear();
    TwainManager::SetSearchFolders({EMPTY_MANAGER_FOLDER});
    manager.Start();
    EXPECT_EQ(3, manager.State());
    EXPECT_STREQ("no twain devices", manager.Status());
    EXPECT_FALSE(manager.IsReady());
    BringUp();
    ASSERT_EQ(1u, gShown.size());
    EXPECT_EQ("no twain devices", gShown[0]);
}
