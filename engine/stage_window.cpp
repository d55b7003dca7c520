#include "engine/stage_window.h"

#include "engine/stage.h"
#include "engine/stage_control.h"

MMStageWindow::MMStageWindow(const AFWindowCreation& creation) : AFWindow(creation, nullptr) {}

MMStageWindow::~MMStageWindow()
{
    if (stage_) {
        stage_->StopThread();
        delete stage_;
        stage_ = nullptr;
    }
}

// Until the control registers, closing would cut the stage off mid-start;
// a stage whose start failed has nothing left to wait for.
bool MMStageWindow::CanClose() { return !(stage_ && !control_ && !stage_->StartFailed()); }

bool MMStageWindow::HandleCommand(uint16_t command)
{
    MMStageControl* control = control_;
    if (control && control->HandleOwnerCommand(command))
        return true;
    return AFWindow::HandleCommand(command);
}

void MMStageWindow::RunOnWindowThread(AFCallback* callback)
{
    AFSendCallback(window, callback);
}

bool MMStageWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  LRESULT* result)
{
    if (message == kMessageWindowCallback) {
        AFInvokeCallbackMessage(lParam);  // nothing for a null callback
        return true;
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        ReplyMessage(0);
    return AFWindow::HandleMessage(hwnd, message, wParam, lParam, result);
}
