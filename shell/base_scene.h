#pragma once
// The common base of the application's own scenes built on the engine's.
#include "engine/scene.h"

class KVXBaseScene : public MMScene {
public:
    explicit KVXBaseScene(MMStage* stage) : MMScene(stage) {}

    bool HandleKey(uint32_t keyData) override { return MMBaseScene::HandleKey(keyData); }
    bool HandleMenuCommand(int32_t id) override { return MMBaseScene::HandleMenuCommand(id); }
};
