#pragma once
// The top-level window that holds a stage: passes its menu commands to the
// stage control, runs window-thread callbacks for the stage thread, and stops
// and deletes its stage when it is destroyed.
#include "framework/callbacks.h"
#include "framework/window.h"

class MMStage;
class MMStageControl;

class MMStageWindow : public AFWindow {
public:
    explicit MMStageWindow(const AFWindowCreation& creation);
    ~MMStageWindow() override;

    bool CanClose() override;
    bool HandleCommand(uint16_t command) override;
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;

    void SetStage(MMStage* stage) { stage_ = stage; }
    MMStage* Stage() const { return stage_; }
    void SetControl(MMStageControl* control) { control_ = control; }
    MMStageControl* Control() const { return control_; }
    // Sends the callback to the UI thread (blocking) and deletes it.
    void RunOnWindowThread(AFCallback* callback);

private:
    MMStage* stage_ = nullptr;
    MMStageControl* volatile control_ = nullptr;
};
