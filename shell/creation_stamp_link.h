#pragma once
// What the stamp manager asks of the painting screen: its stamp and play
// buttons, the current page and the radio.
#include <cstdint>

#include "stamps/stamp_scene_link.h"

class CreationScene;

class CreationStampLink : public KVXStampSceneLink {
public:
    explicit CreationStampLink(CreationScene* scene) : scene(scene) {}

    bool UpdateStampButtons() override;
    void UpdatePlayButtons() override;
    void MarkCurrentPageModified() override;
    void UpdatePageGenre(int16_t genre) override;

    bool HasRadio() const override;
    void SaveRadio(int16_t words[4]) override;
    void LoadRadio(const int16_t words[4]) override;
    int16_t RadioState() const override;
    int16_t RadioStation() const override;
    void SelectStation(int16_t station) override;
    void LeaveIdleState() override;
    void AddPlayableStamp() override;
    void RemovePlayableStamp() override;
    void StopStampPlay() override;
    void RefreshRadio() override;

private:
    CreationScene* scene;
};
