#pragma once
// The application's stage: its menu commands and volume keys, the system
// wave-out volume kept in step with the program's eight-step volume, and a
// picture collection shared by the screens. Its control pauses the stage
// and gives the user's own volume back while the program is inactive.
#include <windows.h>
#include <cstdint>

#include "engine/stage.h"
#include "engine/stage_control.h"

class MMBitmapPictureCollection;
class KVXStageWindow;

// The wave-out volume (0 to 1024) of volume level 0 to 7.
int32_t WaveVolumeForLevel(int32_t level);

class KVXStage : public MMStage {
public:
    KVXStage(KVXStageWindow* window, const Box& box);
    ~KVXStage() override;

    bool HasCommand(int32_t id) override;
    MMStageControl* CreateControl(MMStageWindow* window, const Box& box) override;
    void ThreadStart() override;
    void Loop() override;
    void ThreadEnd() override;
    void HandleMenuCommand(int32_t id) override;
    void HandleKey(uint32_t keyData) override;

    MMBitmapPictureCollection* GetPictureCollection() const { return pictureCollection; }
    HANDLE ThreadHandle() const { return threadHandle; }
    int32_t SavedVolume() const { return savedVolume; }
    void SetSavedVolume(int32_t volume) { savedVolume = volume; }

private:
    // Handled here: true; else the base offers the id to the scene.
    bool HandleOwnCommand(int32_t id, bool newValue);
    // The first checked volume item from 13001, 13008 when none is.
    int32_t CheckedVolumeItem();
    void StepVolume(bool up);

    HANDLE threadHandle = nullptr;
    int32_t savedVolume = 0;
    MMBitmapPictureCollection* pictureCollection = nullptr;
};

class KVXStageControl : public MMStageControl {
public:
    using MMStageControl::MMStageControl;

    void OnActivated() override;
    void OnDeactivated() override;
};
