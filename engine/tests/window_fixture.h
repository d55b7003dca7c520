#pragma once
// A real stage window (hidden top-level popup) holding a stage, for tests
// that need real windows and messages.
#include <windows.h>

#include "engine/stage.h"
#include "engine/stage_window.h"
#include "stage_fixture.h"

inline const AFWindowClass& TestStageWindowClass()
{
    static const AFWindowClass windowClass = {
        CS_OWNDC | CS_DBLCLKS, 0, 0, false, nullptr, nullptr, false, IDC_ARROW,
        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "EngineTestStageWindow",
        AFWindow::WindowProc};
    return windowClass;
}

inline MMStageWindow* MakeStageWindow(const Box& client = Box{40, 40, 240, 190})
{
    AFWindowCreation creation = {&TestStageWindowClass(), client, WS_POPUP, 0};
    return new MMStageWindow(creation);
}

// Pumps the calling thread's messages until the condition holds or twenty
// seconds have gone by: a stage thread opens the sound device before its
// first frame, which takes a while on a busy machine.
template <class Condition>
bool PumpUntil(Condition condition)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 20000) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition())
            return true;
        Sleep(1);
    }
    return condition();
}
