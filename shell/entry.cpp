#include "shell/entry.h"

#include "engine/resource_heap.h"
#include "framework/heap.h"
#include "shell/app.h"

int RunAtelier(HINSTANCE instance)
{
    // Never closed: it marks the running copy for as long as the process lives.
    CreateSemaphoreA(nullptr, 0, 1, "PennaroWardClass");
    DWORD created = GetLastError();
    gInstance = instance;
    HWND first = FindWindowA("PennaroWindowClass", nullptr);
    if (first) {
        if (IsIconic(first))
            ShowWindow(first, SW_RESTORE);
        SetFocus(first);
        SetForegroundWindow(first);
        return 0;
    }
    if (created == ERROR_ALREADY_EXISTS)
        return 0;
    MMHeap heap;
    {
        KVXApp app(&heap, -1);
        gApp = &app;
        app.Run();
        gApp = nullptr;
    }
    return 1;
}
