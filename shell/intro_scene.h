#pragma once
// Scene 0: hides the pointer, covers the stage with black and at once asks
// for the creation scene through the box-out.
#include "shell/base_scene.h"

class MMAnimationMolecule;

class IntroScene : public KVXBaseScene {
public:
    explicit IntroScene(MMStage* stage) : KVXBaseScene(stage) {}
    ~IntroScene() override;

    void Begin() override;
    void DeleteMolecules() override;
    bool HandleKey(uint32_t keyData) override;
    void GoToCreation();

private:
    MMAnimationMolecule* introAnimation = nullptr;
    MMMolecule* owned = nullptr;
};
