#pragma once
// The undo show: one to four siren animations, more the more was drawn since
// the last undo snapshot, and a siren sound; when the last animation ends the
// canvas takes back its undo copy.
// The animations are molecules of the scene that the handler owns: it is
// deleted before the scene deletes its molecules.
#include <cstdint>

class KVXCanvasVisual;
class MMAnimationMolecule;
class MMBaseScene;
class MMGenericSoundChannel;
class MMSoundManager;

class KVXSirenHandler {
public:
    // Makes its sound channel on manager (none without a manager).
    KVXSirenHandler(MMBaseScene* scene, KVXCanvasVisual* canvas, MMSoundManager* manager);
    ~KVXSirenHandler();
    KVXSirenHandler(const KVXSirenHandler&) = delete;
    KVXSirenHandler& operator=(const KVXSirenHandler&) = delete;

    void Start();
    void StopSirenSound();
    // k = 1, 2 or 3 selects that animation, anything else animation 0.
    void StartSirenAnimation(int32_t k);
    void HandleSirenDone();

    MMAnimationMolecule* Animation(int32_t k) const { return animations[k]; }
    MMAnimationMolecule* LastStarted() const { return lastStarted; }
    MMGenericSoundChannel* Channel() const { return channel; }

private:
    MMBaseScene* scene;
    KVXCanvasVisual* canvas;
    MMAnimationMolecule* animations[4] = {nullptr, nullptr, nullptr, nullptr};
    MMGenericSoundChannel* channel = nullptr;
    MMAnimationMolecule* lastStarted = nullptr;
};
