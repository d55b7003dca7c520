#include "framework/modal_dialog.h"

#include "framework/application.h"
#include "framework/window.h"

AFMovableModalDialog::AFMovableModalDialog(uint16_t templateId) : templateId(templateId) {}

AFMovableModalDialog::~AFMovableModalDialog() = default;

BOOL AFMovableModalDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR AFMovableModalDialog::Run()
{
    HWND owner = nullptr;
    if (gApplication != nullptr && gApplication->ownsDialogs &&
        gApplication->activeWindow != nullptr)
        owner = gApplication->activeWindow->window;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner,
                           &DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK AFMovableModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                  LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* object = reinterpret_cast<AFMovableModalDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (object == nullptr)
        return FALSE;
    return object->HandleMessage(dialog, message, wParam, lParam);
}
