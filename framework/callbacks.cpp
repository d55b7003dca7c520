#include "framework/callbacks.h"

void AFSendCallback(HWND window, AFCallback* callback)
{
    if (callback == nullptr)
        return;
    SendMessageA(window, AF_RUN_CALLBACK, 0, reinterpret_cast<LPARAM>(callback));
    delete callback;
}

void AFInvokeCallbackMessage(LPARAM lParam)
{
    if (lParam != 0)
        reinterpret_cast<AFCallback*>(lParam)->Invoke();
}
