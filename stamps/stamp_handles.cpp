#include "stamps/stamp_handles.h"

#include "media/visual.h"
#include "stamps/stamp_scaling.h"

Pair HandlePosition(KVXHandleCorner corner, const Box& frame, const Box& canvas,
                    const Pair& handleSize, bool layerStamp)
{
    Box limited = frame;
    limited.Intersect(canvas);
    Pair at = {0, 0};
    switch (corner) {
    case kHandleBottomRight:
        at = {limited.right, limited.bottom};
        break;
    case kHandleTopLeft:
        at = {limited.left, limited.top};
        break;
    case kHandleBottomLeft:
        at = {limited.left, limited.bottom};
        if (layerStamp) {
            at.x += 20;
            at.y -= 20;
        }
        break;
    case kHandleTopRight:
        at = {limited.right, limited.top};
        break;
    }
    return {at.x - handleSize.x / 2, at.y - handleSize.y / 2};
}

KVXScaleManipulatorInterpreter::KVXScaleManipulatorInterpreter(MMStage* stage, MMVisual* handle,
                                                               KVXScaleHandleTarget* target)
    : MMStandardMouseInterpreter(stage), handle(handle), target(target)
{
}

bool KVXScaleManipulatorInterpreter::Interpret(const MMStageEvent& event)
{
    if (event.type != kStageEventPointer)
        return pressed;
    Pair point = {event.x, event.y};
    if (!pressed) {
        if ((event.data & kPointerPressed) && Matches(event) && handle &&
            handle->ContainsPoint(event.x, event.y)) {
            target->ShowScaling(true);
            target->StartScaleSound();
            target->BeginScale(point);
            pressed = true;
        }
        return pressed;
    }
    if ((event.data & kPointerHeld) && !(event.data & kPointerReleased)) {
        target->DragScale(LimitScalePoint(point, target->CanvasBox()));
        target->UpdateScaleSound();
        return true;
    }
    target->EndScaleSound();
    target->EndScale(point);
    target->TakeUndoSnapshot();
    target->ShowScaling(false);
    pressed = false;
    return false;
}
