#pragma once
// What the canvas needs of the painting screen that hosts it, and the
// global place of the canvas on the stage.
#include <cstdint>

#include "engine/resource_collection.h"
#include "framework/geometry.h"

class KVXPlaneUChar;
class MMCommand;
class KVXSlateRecording;
class MMScrollBarVisual;

// The box of the canvas on the stage; the application's start-up sets it
// from the creation screen's layout table.
extern Box CanvasBox;

// What the undo show needs of an animation molecule of the screen.
class KVXSirenAnimation {
public:
    virtual ~KVXSirenAnimation() = default;
    virtual void SetLayerOffset(int16_t n) = 0;
    virtual void Run(int32_t startFrame) = 0;
    // Replaces (and deletes) the command run at the end; null clears it.
    virtual void SetDoneCommand(MMCommand* command) = 0;
};

class KVXCanvasScene {
public:
    virtual ~KVXCanvasScene() = default;
    // The 8-bit plane of canvas size that brushes and grainy paint read as
    // their texture; null when there is none.
    virtual KVXPlaneUChar* TexturePlane() = 0;
    // Stops and deletes the screen's own sound channel.
    virtual void DeleteSoundChannel() = 0;
    // The visual of one zoom scroll bar from its picture, two layout tables
    // and its strip; null when it cannot be made.
    virtual MMScrollBarVisual* MakeZoomScrollBarVisual(MMResourceId picture, MMResourceId firstTable,
                                                      MMResourceId secondTable,
                                                      const Box& strip) = 0;
    // A new, empty slate recording for the canvas to own; null for none.
    virtual KVXSlateRecording* MakeSlateRecording() = 0;
    // A new siren animation of the screen (script none), owned by the caller.
    virtual KVXSirenAnimation* MakeSirenAnimation() { return nullptr; }
};
