#pragma once
// The child window on which the stage is shown and through which all of its
// input arrives. Made on the stage thread, so its window procedure runs there.
#include <windows.h>
#include <cstdint>

#include "engine/wintab_binding.h"
#include "framework/controls.h"
#include "framework/geometry.h"

class MMStage;
class MMStageWindow;

class MMStageControl : public AFWindowsSystemControl {
public:
    MMStageControl(MMStageWindow* owner, const Box& box, MMStage* stage);
    ~MMStageControl() override;

    bool CanTakeFocus() override { return true; }
    bool HandleOwnerCommand(uint16_t id) override;
    void OnAppActivated() override;
    void OnAppDeactivated() override;
    void OnActivated() override {}
    void OnDeactivated() override;
    void OnOwnerMovedOrSized() override {}
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    virtual uint32_t TranslateMouseFlags(WPARAM keyState);  // 22

    void FlushInput();
    void EnableTablet(bool on);
    bool SetPointerSamplingMode(bool on);

    MMStage* Stage() const { return stage_; }
    MMStageWindow* StageWindow() const { return stageWindow_; }
    bool TabletEnabled() const { return tabletEnabled_; }
    bool SamplingOn() const { return samplingOn_; }
    bool MouseSamples() const { return mouseSamples_; }
    MMTabletContext TabletContext() const { return tabletContext_; }
    bool TimerSet() const { return timerSet_; }
    int16_t ReleaseMark() const { return releaseMark_; }
    int16_t PressureSpan() const { return pressureSpan_; }

private:
    void OpenTabletContext();
    void HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleKeyDown(WPARAM virtualKey);
    void HandleCharacter(WPARAM code);
    void HandleTimer();
    void HandlePacket(WPARAM serial);
    int16_t ScalePressure(int32_t cursor, int32_t pressure);

    MMStage* stage_;
    MMStageWindow* stageWindow_;
    bool timerSet_ = false;
    bool tabletEnabled_ = false;
    bool samplingOn_ = false;
    MMTabletContext tabletContext_ = nullptr;
    bool mouseSamples_ = false;
    bool hasPressure_ = false;
    int16_t lastCursor_ = -1;
    int16_t releaseMark_ = 0;
    int16_t pressureSpan_ = 0;
    int16_t maxPressure_ = 0;
    int32_t originX_ = 0;
    int32_t originY_ = 0;
    MMTabletPacket lastPacket_ = {};
    int32_t lastTabletTime_ = -500;
};

extern const char kStageControlClassName[];  // "MMStageControlClass"
