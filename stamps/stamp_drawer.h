#pragma once
// The stamp drawer at the left of the creation screen: the looks of its
// animation (pressed and released, for the stamps rack and the tools rack)
// and the interpreter that turns presses in its box into them.
#include <cstdint>

#include "engine/mouse_interpreter.h"
#include "framework/geometry.h"

enum KVXDrawerRack : int32_t { kStampsRack = 0, kToolsRack = 1 };

enum KVXDrawerFeedback : int32_t {
    kDrawerPressed = 0,
    kDrawerReleased = 1,
    kDrawerToggle = 2,
};

// Start values of the drawer's animation.
enum : int16_t {
    kStampsRackPressed = 300,
    kStampsRackReleased = 350,
    kToolsRackPressed = 400,
    kToolsRackReleased = 450,
};

class KVXStampDrawerState {
public:
    virtual ~KVXStampDrawerState() = default;

    void Feedback(int32_t type);
    void Toggle();
    void ShowStampsRack();
    void ShowToolsRack();
    void SetReady() { ready = true; }
    void ClearReady() { ready = false; }

    bool Ready() const { return ready; }
    int32_t Rack() const { return rack; }

protected:
    // The drawer's animation restarts at a look; its hit box shows or hides.
    virtual void RestartAnimation(int16_t start) = 0;
    virtual void ShowHitBox(bool shown) = 0;

private:
    bool ready = true;
    int32_t rack = kStampsRack;
};

class KVXStampDrawerInterpreter : public MMStandardMouseInterpreter {
public:
    KVXStampDrawerInterpreter(MMStage* stage, KVXStampDrawerState* drawer, const Box& hotBox);

    bool Interpret(const MMStageEvent& event) override;
    bool Pressed() const { return pressed; }

private:
    bool Inside(const MMStageEvent& event) const;

    KVXStampDrawerState* drawer;
    Box hotBox;
    bool pressed = false;
};
