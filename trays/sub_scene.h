#pragma once
// A scene inside the creation scene: it owns molecules and hears the stage's
// notices like any scene, but borrows the creation scene's stage, enclosure
// and keyboard focus, and reaches the creation scene's canvas objects.
#include <cstdint>

#include "engine/scene.h"

class KVXBrushScene;
class KVXCanvasVisual;
class KVXPaletteTarget;
class KVXPlaneComponentTop;
class KVXPlaneUChar;
class MMCursor;
class UURegistryKey;

// What the sub-scenes need of the creation scene; the creation scene
// implements it. Every answer is a plain read and may be null.
class KVXCreationHost {
public:
    virtual ~KVXCreationHost() = default;
    // The creation scene itself, whose stage and enclosure are borrowed.
    virtual MMBaseScene* HostScene() = 0;
    virtual KVXCanvasVisual* CreationCanvas() = 0;
    virtual KVXPlaneComponentTop* CanvasComponentPlane() = 0;
    // The 8-bit plane of canvas size that brushes read as their texture.
    virtual KVXPlaneUChar* CanvasBytePlane() = 0;
    // Where Control-click on the canvas sends the picked colour.
    virtual KVXPaletteTarget* ColorPickerOwner() = 0;
    // Cursor n of the application's cursor set.
    virtual MMCursor* AppCursor(int32_t n) = 0;
    // The program's settings key, open for reading and writing.
    virtual UURegistryKey* SettingsKey() = 0;
    // Sprayed pictures and the phaser's sound.
    virtual KVXBrushScene* BrushScene() = 0;
};

class KVXSubScene : public MMBaseScene {
public:
    explicit KVXSubScene(KVXCreationHost* creationScene) : creationScene(creationScene) {}

    MMStage* Stage() override;                // 6
    MMEnclosure* TopEnclosure() override;     // 7
    void TakeKeyboardFocus() override;        // 12

    KVXCreationHost* GetCreationScene() const { return creationScene; }
    KVXCanvasVisual* GetCreationCanvas() const;
    KVXPlaneUChar* GetCanvasBytePlane() const;
    KVXPlaneComponentTop* GetCanvasComponentPlane() const;

protected:
    KVXCreationHost* const creationScene;
};
