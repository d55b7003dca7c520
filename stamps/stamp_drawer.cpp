#include "stamps/stamp_drawer.h"

void KVXStampDrawerState::Feedback(int32_t type)
{
    switch (type) {
    case kDrawerPressed:
        RestartAnimation(rack == kStampsRack ? kStampsRackPressed : kToolsRackPressed);
        break;
    case kDrawerReleased:
        RestartAnimation(rack == kStampsRack ? kStampsRackReleased : kToolsRackReleased);
        break;
    case kDrawerToggle:
        if (ready)
            Toggle();
        break;
    default:
        break;
    }
}

void KVXStampDrawerState::Toggle()
{
    if (rack == kToolsRack) {
        rack = kStampsRack;
        RestartAnimation(kStampsRackPressed);
        ShowStampsRack();
    } else {
        rack = kToolsRack;
        RestartAnimation(kToolsRackPressed);
        ShowToolsRack();
    }
    ShowHitBox(false);
}

void KVXStampDrawerState::ShowStampsRack()
{
    rack = kStampsRack;
    ShowHitBox(true);
}

void KVXStampDrawerState::ShowToolsRack()
{
    rack = kToolsRack;
    ShowHitBox(true);
}

KVXStampDrawerInterpreter::KVXStampDrawerInterpreter(MMStage* stage, KVXStampDrawerState* drawer,
                                                     const Box& hotBox)
    : MMStandardMouseInterpreter(stage), drawer(drawer), hotBox(hotBox)
{
}

bool KVXStampDrawerInterpreter::Inside(const MMStageEvent& event) const
{
    return event.x >= hotBox.left && event.x < hotBox.right && event.y >= hotBox.top &&
           event.y < hotBox.bottom;
}

bool KVXStampDrawerInterpreter::Interpret(const MMStageEvent& event)
{
    if (event.type != kStageEventPointer)
        return pressed;
    if (!pressed) {
        if ((event.data & kPointerPressed) && !(event.data & kPointerDoubleClick) &&
            Matches(event) && Inside(event)) {
            drawer->Feedback(kDrawerPressed);
            pressed = true;
        }
        return pressed;
    }
    if (event.data & kPointerReleased) {
        drawer->Feedback(Inside(event) ? kDrawerToggle : kDrawerReleased);
        pressed = false;
        return false;
    }
    if (event.data & kPointerHeld)
        return true;
    drawer->Feedback(kDrawerReleased);
    pressed = false;
    return false;
}
