#pragma once
// A message or question shown as a standard message box over the main
// window; the kind names the buttons and the answer is one of four numbers.
#include <windows.h>
#include <cstdint>

enum AlertKind : int32_t {
    kAlertInformation = 128,
    kAlertOkCancel = 129,
    kAlertRetryCancel = 130,
    kAlertYesNo = 131,
    kAlertYesNoCancel = 132,
};

enum AlertAnswer : int32_t {
    kAnswerOk = 1,  // also Yes
    kAnswerNo = 2,
    kAnswerCancel = 3,
    kAnswerRetry = 4,
};

// The message box call; a test may put its own in place.
typedef int(WINAPI* AlertMessageBoxFunction)(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
void SetAlertMessageBox(AlertMessageBoxFunction function);

class AlertBox {
public:
    AlertBox(const char* text, int32_t kind) : text(text), kind(kind) {}

    // The flag has no effect.
    int32_t Show(int32_t flag = 0) const;

    static UINT StyleForKind(int32_t kind);
    static int32_t ResultFromButton(int button);

    const char* text;
    int32_t kind;
};
