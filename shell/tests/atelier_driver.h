#pragma once
// Driving the real atelier.exe from outside, as a child would: starting it,
// finding its windows, pressing keys and reading the screen.
#include <windows.h>

#include <string>
#include <vector>

#include "shell_fixture.h"

struct Running {
    PROCESS_INFORMATION process = {};
    DWORD started = 0;

    bool Start(const std::string& folder)
    {
        std::string exe = folder + "atelier.exe";
        STARTUPINFOA info = {};
        info.cb = sizeof(info);
        std::vector<char> command(exe.begin(), exe.end());
        command.push_back(0);
        started = GetTickCount();
        return CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &info, &process) != 0;
    }
    // The exit code, or STILL_ACTIVE when it has not ended in time.
    DWORD Wait(DWORD ms)
    {
        if (!process.hProcess)
            return STILL_ACTIVE;
        WaitForSingleObject(process.hProcess, ms);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }
    ~Running()
    {
        if (process.hProcess && Wait(0) == STILL_ACTIVE)
            TerminateProcess(process.hProcess, 99);
        if (process.hProcess) {
            WaitForSingleObject(process.hProcess, 10000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }
};

template <class Condition>
inline bool WaitFor(Condition condition, DWORD ms = 30000)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (condition())
            return true;
        Sleep(20);
    }
    return condition();
}

struct WindowsOf {
    DWORD pid;
    std::vector<HWND> found;
    static BOOL CALLBACK Collect(HWND window, LPARAM self)
    {
        auto* me = reinterpret_cast<WindowsOf*>(self);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == me->pid && IsWindowVisible(window))
            me->found.push_back(window);
        return TRUE;
    }
    explicit WindowsOf(DWORD pid) : pid(pid) { EnumWindows(Collect, LPARAM(this)); }
};

inline std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

inline std::string TextOf(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// The message box of the process and its text.
inline HWND MessageBoxOf(DWORD pid)
{
    for (HWND window : WindowsOf(pid).found)
        if (ClassOf(window) == "#32770")
            return window;
    return nullptr;
}

inline std::string MessageTextOf(HWND box)
{
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? TextOf(text) : "";
}

inline void Press(const std::vector<WORD>& keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *it;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline std::string BinFolder() { return BuiltDataFolder().Path(); }

inline COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    COLORREF color = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return color;
}

// The stage's top-left corner on the screen.
inline POINT StageOrigin(HWND control)
{
    POINT origin = {0, 0};
    ClientToScreen(control, &origin);
    return origin;
}

inline void MouseTo(POINT at)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG(at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = LONG(at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

inline void MouseButton(bool down)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

inline void Click(POINT at)
{
    MouseTo(at);
    Sleep(150);
    MouseButton(true);
    Sleep(150);
    MouseButton(false);
    Sleep(150);
}

// Drags from a to b in small steps, as a hand would.
inline void Drag(POINT a, POINT b)
{
    MouseTo(a);
    Sleep(100);
    MouseButton(true);
    Sleep(200);
    const int steps = 100;
    for (int i = 1; i <= steps; ++i) {
        MouseTo(POINT{a.x + (b.x - a.x) * i / steps, a.y + (b.y - a.y) * i / steps});
        Sleep(40);
    }
    Sleep(200);
    MouseButton(false);
}

// Removes the files of folder, of its subfolders (one level deep: the
// sketchbooks and their trash) and the folders themselves.
inline void RemoveProgramCopy(const std::string& folder)
{
    std::vector<std::string> subfolders;
    WIN32_FIND_DATAA found;
    HANDLE walk = FindFirstFileA((folder + "*").c_str(), &found);
    if (walk != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + name).c_str());
            else if (name != "." && name != "..")
                subfolders.push_back(folder + name + "\\");
        } while (FindNextFileA(walk, &found));
        FindClose(walk);
    }
    for (const std::string& sub : subfolders) {
        walk = FindFirstFileA((sub + "*").c_str(), &found);
        if (walk != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((sub + found.cFileName).c_str());
            } while (FindNextFileA(walk, &found));
            FindClose(walk);
        }
        RemoveDirectoryA(sub.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}
