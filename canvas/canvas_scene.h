#pragma once
// What the canvas needs of the painting screen that hosts it, and the
// global place of the canvas on the stage.
#include <cstdint>

#include "engine/resource_collection.h"
#include "framework/geometry.h"

class KVXPlaneUChar;
class KVXSlateRecording;
class MMScrollBarVisual;

// The box of the canvas on the stage; the application's start-up sets it
// from the creation screen's layout table.
extern Box CanvasBox;

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
};
