#include "launcher/launcher.h"
#include "launcher_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace fs = std::filesystem;
using namespace launcher_test;

namespace {

// Starts the real launcher.exe with the given current folder.
PROCESS_INFORMATION StartLauncherExe(const fs::path& currentFolder)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "launcher.exe ignored arguments";
    EXPECT_TRUE(CreateProcessA(LauncherExePath().string().c_str(), commandLine.data(), nullptr,
                               nullptr, FALSE, 0, nullptr, currentFolder.string().c_str(),
                               &startup, &process))
        << LauncherExePath();
    return process;
}

// A launcher that does not end (its message box waiting) is ended here.
DWORD FinishAndExitCode(PROCESS_INFORMATION& process)
{
    if (!WaitForProcess(process.hProcess)) {
        ADD_FAILURE() << "launcher.exe did not end";
        TerminateProcess(process.hProcess, STILL_ACTIVE);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return exitCode;
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    // A dialog turns visible only once its texts are set.
    if (owner != search->processId || lstrcmpA(className, search->className) != 0 ||
        !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForMessageBox(DWORD processId)
{
    WindowSearch search = {processId, "#32770", nullptr};
    for (int tries = 0; tries < 1500 && !search.found; ++tries) {
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(20);
    }
    return search.found;
}

BOOL CALLBACK FindStaticWithText(HWND window, LPARAM parameter)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0 || GetWindowTextLengthW(window) == 0)
        return TRUE;
    *reinterpret_cast<HWND*>(parameter) = window;
    return FALSE;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// With nothing else to find, a launcher that missed the window would wait in
// its message box and not end.
TEST(LauncherProgram, EndsWithZeroWhenTheTitleRuns)
{
    ScratchFolder scratch;
    TitlePaths paths;
    HelperWindow window("NembaMainWndClass", "Petimo");

    PROCESS_INFORMATION launcher = StartLauncherExe(scratch.Path());
    EXPECT_EQ(FinishAndExitCode(launcher), 0u);
}

TEST(LauncherProgram, StartsTheTitleAndEndsWithZero)
{
    ScratchFolder scratch;
    const fs::path title = scratch.Path() / "title" / "Petimo.exe";
    PlaceStub(title);
    TitlePaths paths;
    paths.Set("Local", title.parent_path().string() + "\\");

    PROCESS_INFORMATION launcher = StartLauncherExe(scratch.Path());
    EXPECT_EQ(FinishAndExitCode(launcher), 0u);
    EXPECT_TRUE(WaitForFile(MarkerOf(title)));
}

TEST(LauncherProgram, AsksForTheCdInAMessageBoxAndEndsWithZero)
{
    ScratchFolder scratch;
    TitlePaths paths;

    PROCESS_INFORMATION launcher = StartLauncherExe(scratch.Path());
    HWND box = WaitForMessageBox(launcher.dwProcessId);
    HWND text = nullptr;
    std::wstring caption, message;
    HWND owner = nullptr;
    if (box) {
        owner = GetWindow(box, GW_OWNER);
        caption = TextOf(box);
        EnumChildWindows(box, FindStaticWithText, reinterpret_cast<LPARAM>(&text));
        if (text)
            message = TextOf(text);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    EXPECT_EQ(FinishAndExitCode(launcher), 0u);

    ASSERT_NE(box, nullptr);
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(caption, L"Setup Error");
    EXPECT_EQ(message, L"Veuillez ins\u00e9rer le CD de Tavelo Tisbold et ex\u00e9"
                       L"cuter le programme d'installation.");
}

} // namespace
