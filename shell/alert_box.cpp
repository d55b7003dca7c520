#include "shell/alert_box.h"

#include "framework/string_table.h"
#include "shell/app.h"
#include "shell/stage_window.h"

namespace {

AlertMessageBoxFunction gMessageBox = MessageBoxA;

const uint32_t kCaptionString = 102;

}  // namespace

void SetAlertMessageBox(AlertMessageBoxFunction function)
{
    gMessageBox = function ? function : MessageBoxA;
}

UINT AlertBox::StyleForKind(int32_t kind)
{
    switch (kind) {
    case kAlertInformation:
        return MB_OK | MB_ICONINFORMATION;
    case kAlertOkCancel:
        return MB_OKCANCEL | MB_ICONHAND;
    case kAlertRetryCancel:
        return MB_RETRYCANCEL | MB_ICONHAND;
    case kAlertYesNo:
        return MB_YESNO | MB_ICONHAND;
    case kAlertYesNoCancel:
        return MB_YESNOCANCEL | MB_ICONHAND;
    default:
        return MB_OK | MB_USERICON;
    }
}

int32_t AlertBox::ResultFromButton(int button)
{
    switch (button) {
    case IDNO:
        return kAnswerNo;
    case IDCANCEL:
        return kAnswerCancel;
    case IDRETRY:
        return kAnswerRetry;
    default:
        return kAnswerOk;
    }
}

int32_t AlertBox::Show(int32_t) const
{
    UINT style = StyleForKind(kind);
    KVXStageWindow* owner = gApp ? gApp->StageWindow() : nullptr;
    int button = 0;
    if (owner && owner->window) {
        char caption[256] = "";
        owner->GetTitle(caption);
        owner->SetModalBox(true);
        button = gMessageBox(owner->window, text, caption, style);
        owner->SetModalBox(false);
    } else {
        char caption[256];
        if (LoadResourceString(kCaptionString, caption))
            button = gMessageBox(nullptr, text, caption, style);
    }
    return ResultFromButton(button);
}
