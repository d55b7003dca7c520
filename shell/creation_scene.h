#pragma once
// Scene 1, the painting screen. Here: its construction, the easel's
// decoration and the deferred commands; the screen's tools, buttons and
// canvas join it on the same base.
#include <cstdint>

#include "shell/base_scene.h"

class KVXPlaneComponentTop;
class MMCommand;
class MMPictureMolecule;
class NextTimeThread;
class UndoSnapshot;

enum : int32_t { kStampMode = 0, kToolMode = 1 };

class CreationScene : public KVXBaseScene {
public:
    CreationScene(MMStage* stage, KVXPlaneComponentTop* plane, UndoSnapshot* snapshot);
    ~CreationScene() override;

    void Begin() override;
    void DeleteMolecules() override;

    // Runs the command one scheduler pass later (taken over).
    void QueueCommand(MMCommand* command);

    int32_t Mode() const { return mode; }
    int32_t SavedMode() const { return savedMode; }
    bool PageFlag() const { return pageFlag != 0; }
    MMPictureMolecule* ModeIndicator() const { return modeIndicator; }
    NextTimeThread* NextTime() const { return nextTime; }

private:
    void Decorate();

    uint8_t pageFlag = 1;
    NextTimeThread* nextTime = nullptr;
    MMPictureMolecule* modeIndicator = nullptr;
    KVXPlaneComponentTop* canvasPlane;
    UndoSnapshot* undoSnapshot;
    int32_t mode = kToolMode;
    int32_t savedMode = kToolMode;
};
