#include "launcher_test_support.h"

#include "launcher/launcher.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace launcher_test {

namespace {

constexpr DWORD kWaitMilliseconds = 30000;

fs::path TestFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

} // namespace

fs::path StubPath() { return TestFolder() / "launcher_stub.exe"; }

fs::path LauncherExePath() { return TestFolder().parent_path() / "bin" / "launcher.exe"; }

void PlaceStub(const fs::path& program)
{
    fs::create_directories(program.parent_path());
    fs::copy_file(StubPath(), program, fs::copy_options::overwrite_existing);
}

fs::path MarkerOf(const fs::path& program) { return fs::path(program.string() + ".ran"); }

bool WaitForFile(const fs::path& file)
{
    for (DWORD waited = 0; waited < kWaitMilliseconds; waited += 20) {
        if (fs::exists(file))
            return true;
        Sleep(20);
    }
    return fs::exists(file);
}

bool WaitForProcess(HANDLE process)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < kWaitMilliseconds) {
        DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, 100, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0)
            return true;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    return false;
}

ScratchFolder::ScratchFolder()
{
    static int counter = 0;
    path_ = fs::temp_directory_path() /
            ("launcher-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

HelperWindow::HelperWindow(const char* className, const char* title) : className_(className)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    EXPECT_NE(RegisterClassA(&windowClass), 0);
    window_ = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
    EXPECT_NE(window_, nullptr);
}

HelperWindow::~HelperWindow()
{
    DestroyWindow(window_);
    UnregisterClassA(className_.c_str(), GetModuleHandleA(nullptr));
}

TitlePaths::TitlePaths() { Remove(); }

TitlePaths::~TitlePaths() { Remove(); }

void TitlePaths::Set(const char* name, const std::string& value, bool terminate)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTitlePathsKey, 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    // RegSetValueExA counts a zero that directly follows the given bytes, so
    // an unterminated value is written from a buffer that goes on past it.
    std::string bytes = value + (terminate ? '\0' : '#');
    DWORD size = static_cast<DWORD>(value.size() + (terminate ? 1 : 0));
    EXPECT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                             size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void TitlePaths::Remove()
{
    // Only keys left empty go: RegDeleteKeyA keeps keys that have subkeys.
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTitlePathsKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Holvane\\PetimoFR");
}

} // namespace launcher_test
