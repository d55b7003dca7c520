#pragma once
// Driving the real atelier.exe from outside, as a child would: starting it,
// finding its windows, pressing keys and reading the screen.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/record_table.h"
#include "framework/heap.h"
#include "shell/creation_parts.h"
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

// Colours as the screen shows them: the sum of the channels' differences.
inline int Distance(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

// The canvas's paper: near white.
inline bool IsPaper(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200; }
inline bool IsNotPaper(COLORREF c) { return !IsPaper(c); }

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

// The middle of the first picture a button's script places.
inline bool ScriptMiddle(MMResourceId script, Pair& middle)
{
    MMRecordTable rows;
    rows.Load(script, 10, gDefaultHeap);
    int32_t place = -1;
    int32_t picture = -1;
    for (int32_t row = 0; row < rows.RowCount(); ++row) {
        int16_t op = rows.ShortAt(row, 0);
        if (op == 6 && place < 0)
            place = row;
        else if (op == 7 && picture < 0)
            picture = row;
    }
    if (place < 0 || picture < 0)
        return false;
    Pair at = rows.PairAt(place, 6);
    Pair size = CreationPictureSize(rows.LongAt(picture, 2));
    middle = {at.x + size.x / 2, at.y + size.y / 2};
    return size.x > 0 && size.y > 0;
}

// A copy of the program and its data in a folder of its own under the temp
// folder, so that the sketchbooks it writes start empty and go with it.
struct ProgramCopy {
    std::string folder;
    explicit ProgramCopy(const char* name)
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + name + "\\";
        Remove();
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string bin = BinFolder();
        for (const char* file : {"atelier.exe", "Hd.mms", "Hd.MMP", "App.MMP", "Stmp1.MMP",
                                 "Stmp2.MMP", "Hd.MMA", "App.MMA"})
            CopyFileA((bin + file).c_str(), (folder + file).c_str(), FALSE);
    }
    ~ProgramCopy() { Remove(); }
    // The books may lie in folders within folders: the whole tree goes.
    void Remove() const
    {
        FSDirectory copy(folder.c_str());
        DeleteDirectoryTree(copy);
    }
};

// The program started in a folder, watched until its painting screen shows.
struct PaintingScreen {
    Running atelier;
    HWND window = nullptr;
    POINT origin = {0, 0};

    // Starts the program and waits until the pixel at probe satisfies ready;
    // false when that did not come.
    template <class Ready>
    bool Open(const std::string& folder, Pair probe, Ready ready)
    {
        if (!atelier.Start(folder))
            return false;
        // Its own window: other folders' tests may run the program at the same time.
        if (!WaitFor([&] {
                for (HWND w : WindowsOf(atelier.process.dwProcessId).found)
                    if (ClassOf(w) == "PennaroWindowClass")
                        window = w;
                return window != nullptr;
            }))
            return false;
        HWND control = nullptr;
        if (!WaitFor([&] {
                return (control = FindWindowExA(window, nullptr, "MMStageControlClass", nullptr));
            }))
            return false;
        origin = StageOrigin(control);
        return WaitFor([&] { return ready(At(probe)); }, 60000);
    }
    POINT Screen(Pair p) const { return POINT{origin.x + p.x, origin.y + p.y}; }
    COLORREF At(Pair p) const { return ScreenPixel(origin.x + p.x, origin.y + p.y); }
    // Clicks the button until what it brings shows; a click may come while
    // the screen still settles on a loaded machine.
    template <class Shown>
    bool ClickUntil(Pair button, Shown shown)
    {
        return WaitFor([&] {
            SetForegroundWindow(window);
            Click(Screen(button));
            return WaitFor(shown, 5000);
        }, 60000);
    }
    // The stage's pixels in a box, row by row, in one copy from the screen.
    std::vector<COLORREF> Pixels(const Box& box) const
    {
        int32_t w = box.right - box.left;
        int32_t h = box.bottom - box.top;
        std::vector<COLORREF> out(size_t(w) * size_t(h));
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && bits) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(memory, 0, 0, w, h, screen, origin.x + box.left, origin.y + box.top, SRCCOPY);
            GdiFlush();
            const auto* words = static_cast<const uint32_t*>(bits);
            for (size_t i = 0; i < out.size(); ++i)
                out[i] = RGB((words[i] >> 16) & 0xFF, (words[i] >> 8) & 0xFF, words[i] & 0xFF);
            SelectObject(memory, old);
        }
        if (bitmap)
            DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return out;
    }
    // Clicks the exit button until the program has ended.
    void Exit(Pair exit)
    {
        WaitFor([&] {
            SetForegroundWindow(window);
            Click(Screen(exit));
            return atelier.Wait(3000) != STILL_ACTIVE;
        }, 40000);
    }
};
