#pragma once
// The selected stamp's handles: where each sits on the stamp's frame, and the
// scale handle's interpreter, which drives the scaling of the stamp it frames
// while the child drags it.
#include <cstdint>

#include "engine/mouse_interpreter.h"
#include "framework/geometry.h"

enum KVXHandleCorner : int32_t {
    kHandleBottomRight = 0,  // mirror top-bottom
    kHandleTopLeft = 1,      // mirror left-right
    kHandleBottomLeft = 2,   // options
    kHandleTopRight = 3,     // scale
};

// The top-left at which a handle of handleSize is centred on a corner of the
// frame, the frame first limited to the canvas; the options handle of a
// background, midground or foreground sits 20 pixels further in.
Pair HandlePosition(KVXHandleCorner corner, const Box& frame, const Box& canvas,
                    const Pair& handleSize, bool layerStamp);

// What the scale handle asks of the stamp it frames and of the painting
// screen around it.
class KVXScaleHandleTarget {
public:
    virtual ~KVXScaleHandleTarget() = default;
    virtual void BeginScale(const Pair& point) = 0;
    virtual void DragScale(const Pair& point) = 0;
    virtual void EndScale(const Pair& point) = 0;
    virtual void StartScaleSound() = 0;
    virtual void UpdateScaleSound() = 0;
    virtual void EndScaleSound() = 0;
    virtual void TakeUndoSnapshot() = 0;
    virtual void ShowScaling(bool scaling) = 0;  // the cursor and the handle's highlight
    virtual Box CanvasBox() const = 0;
};

class MMVisual;

class KVXScaleManipulatorInterpreter : public MMStandardMouseInterpreter {
public:
    KVXScaleManipulatorInterpreter(MMStage* stage, MMVisual* handle, KVXScaleHandleTarget* target);

    bool Interpret(const MMStageEvent& event) override;
    bool Pressed() const { return pressed; }

private:
    MMVisual* handle;
    KVXScaleHandleTarget* target;
    bool pressed = false;
};
