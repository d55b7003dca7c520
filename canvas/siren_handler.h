#pragma once
// The undo show: one to four siren animations, more the more was drawn since
// the last undo snapshot, and a siren sound; when the last animation ends the
// canvas takes back its undo copy.
#include <cstdint>

#include "canvas/canvas_scene.h"

class KVXCanvasVisual;
class MMBaseScene;
class MMCommand;
class MMGenericSoundChannel;
class MMSoundManager;

class KVXSirenHandler {
public:
    // Makes its sound channel on manager (none without a manager).
    KVXSirenHandler(MMBaseScene* scene, KVXCanvasScene* host, KVXCanvasVisual* canvas,
                    MMSoundManager* manager);
    ~KVXSirenHandler();
    KVXSirenHandler(const KVXSirenHandler&) = delete;
    KVXSirenHandler& operator=(const KVXSirenHandler&) = delete;

    void Start();
    void StopSirenSound();
    // k = 1, 2 or 3 selects that animation, anything else animation 0.
    void StartSirenAnimation(int32_t k);
    void HandleSirenDone();

    KVXSirenAnimation* Animation(int32_t k) const { return animations[k]; }
    KVXSirenAnimation* LastStarted() const { return lastStarted; }
    MMGenericSoundChannel* Channel() const { return channel; }

private:
    MMBaseScene* scene;
    KVXCanvasScene* host;
    KVXCanvasVisual* canvas;
    KVXSirenAnimation* animations[4] = {nullptr, nullptr, nullptr, nullptr};
    MMGenericSoundChannel* channel = nullptr;
    KVXSirenAnimation* lastStarted = nullptr;
};
