#include "launcher/launcher.h"

#include <cstring>
#include <strsafe.h>

namespace {

constexpr DWORD kPathSize = 1024;
constexpr int kClassNameSize = 1024;
constexpr int kTitleSize = 4096;

bool g_windowFound = false;

bool AnyWindowFound(LPARAM mode)
{
    EnumWindows(FindTitleWindowProc, mode);
    return g_windowFound;
}

// The value may fill the whole buffer without a terminating zero, so room for
// one is kept and it is always written.
bool ReadFolderValue(const char* name, char (&folder)[kPathSize])
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTitlePathsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = kPathSize - 1;
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(folder), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || size > kPathSize - 1)
        return false;
    folder[size] = '\0';
    return true;
}

bool ReadCurrentFolder(char (&folder)[kPathSize])
{
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return false;
    if (folder[length - 1] == '\\')
        return true;
    return SUCCEEDED(StringCchCatA(folder, kPathSize, "\\"));
}

// The file name is glued to the folder as given; a path that does not fit
// counts as a failed start.
bool StartProgram(const char* folder, const char* file, PROCESS_INFORMATION& process)
{
    char path[kPathSize];
    if (FAILED(StringCchCopyA(path, kPathSize, folder)) ||
        FAILED(StringCchCatA(path, kPathSize, file)))
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    if (CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process))
        return true;
    process = {};
    return false;
}

} // namespace

void MessageBoxSetupAlert::Show(const char* text, const char* caption)
{
    MessageBoxA(nullptr, text, caption, MB_ICONINFORMATION);
}

BOOL CALLBACK FindTitleWindowProc(HWND window, LPARAM mode)
{
    if (!IsWindow(window))
        return TRUE;
    char className[kClassNameSize];
    if (GetClassNameA(window, className, kClassNameSize) == 0)
        return TRUE;
    if (mode == kFindTitleWindow) {
        if (std::strcmp(className, "NembaMainWndClass") != 0)
            return TRUE;
        char title[kTitleSize];
        if (GetWindowTextA(window, title, kTitleSize) == 0)
            return TRUE;
        // Plain ASCII case folding: a locale-aware comparison would also
        // ignore hyphens and apostrophes.
        if (_stricmp(title, "Petimo") != 0)
            return TRUE;
    } else if (std::strcmp(className, "InstallShield_Win") != 0) {
        return TRUE;
    }
    g_windowFound = true;
    return FALSE;
}

LaunchResult RunLauncher(SetupAlert& alert)
{
    LaunchResult result;
    char folder[kPathSize];
    g_windowFound = false;

    if (AnyWindowFound(kFindTitleWindow)) {
        result.outcome = LaunchOutcome::TitleRunning;
        return result;
    }
    if (ReadFolderValue("Local", folder) && StartProgram(folder, "Petimo.exe", result.process)) {
        result.outcome = LaunchOutcome::TitleStarted;
        return result;
    }
    if (AnyWindowFound(kFindInstallerWindow)) {
        result.outcome = LaunchOutcome::InstallerRunning;
        return result;
    }
    if (ReadFolderValue("CD", folder) &&
        StartProgram(folder, "Setup\\Setup.exe", result.process)) {
        result.outcome = LaunchOutcome::SetupStartedFromCd;
        return result;
    }
    if (ReadCurrentFolder(folder) && StartProgram(folder, "Setup\\Setup.exe", result.process)) {
        result.outcome = LaunchOutcome::SetupStartedFromCurrentFolder;
        return result;
    }
    alert.Show(kInsertCdText, kSetupErrorCaption);
    result.outcome = LaunchOutcome::AskedForCd;
    return result;
}
