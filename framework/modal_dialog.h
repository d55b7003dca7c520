#pragma once
#include <cstdint>
#include <windows.h>

// A dialog template of the program's resources run as a modal dialog, owned
// by the application's active window when the application owns its dialogs.
// Each object answers its dialog's messages through HandleMessage.
class AFMovableModalDialog {
public:
    explicit AFMovableModalDialog(uint16_t templateId);
    virtual ~AFMovableModalDialog();
    AFMovableModalDialog(const AFMovableModalDialog&) = delete;
    AFMovableModalDialog& operator=(const AFMovableModalDialog&) = delete;

    // The default ends the dialog with 0 on IDCANCEL.
    virtual BOOL HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);  // 1

    // The value given to EndDialog, or -1 when the dialog could not be made.
    INT_PTR Run();

    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    uint16_t templateId;
};
