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

bool MMStageWindow::CanClose() { return !(stage_ && !control_); }

bool MMStageWindow::HandleCommand(uint16_t command)
{
    MMStageControl* control = control_;
    if (control && control->HandleOwnerCommand(command))
        return true;
    return AFWindow::HandleCommand(command);
}

void MMStageWindow::RunOnWindowThread(AFCallback* callback)
{
    SendMessageA(window, kMessageWindowCallback, 0, reinterpret_cast<LPARAM>(callback));
    delete callback;
}

bool MMStageWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  LRESULT* result)
{
    if (message == kMessageWindowCallback) {
        // A null callback has nothing to run.
        if (AFCallback* callback = reinterpret_cast<AFCallback*>(lParam))
            callback->Invoke();
        return true;
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        ReplyMessage(0);
    return AFWindow::HandleMessage(hwnd, message, wParam, lParam, result);
}
