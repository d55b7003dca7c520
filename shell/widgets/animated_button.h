#pragma once
// The paint program's standard button: an animation molecule that is its own
// mouse interpreter. Every reaction is a run of its script from a frame
// label (1 idle, 3 click, 4 hover, 5 press, 6 click without 3, 44 leave, 90
// leave without 44, 99 dimmed); a label the script lacks is skipped.
#include <cstdint>
#include <vector>

#include "engine/mouse_interpreter.h"
#include "shell/widgets/animation_thread.h"

class MMCursor;

enum KVXButtonLabel : int16_t {
    kLabelIdle = 1,
    kLabelClick = 3,
    kLabelHover = 4,
    kLabelPress = 5,
    kLabelClickWithoutThree = 6,
    kLabelLeave = 44,
    kLabelLeaveSilenced = 90,
    kLabelDimmed = 99,
};

class KVXAnimatedButtonMolecule : public KVXAnimationMolecule, public MMStandardMouseInterpreter {
public:
    KVXAnimatedButtonMolecule(MMBaseScene* scene, MMResourceId scriptId, MMCommand* clickCommand,
                              int16_t layerOffset, int16_t cursorIndex, int16_t priority,
                              int16_t resourceMode, MMAnimationThread* thread = nullptr);
    ~KVXAnimatedButtonMolecule() override;

    virtual bool Select(bool withSound);
    virtual bool Reset();
    virtual void SetActive(bool isActive, bool postWhenInactive);
    virtual void SetDisabled(bool flag);
    virtual void SetLayerOffset(int16_t offset);
    virtual void SetCursor(int16_t index);
    virtual bool BindEventCommand(int16_t event, MMCommand* eventCommand, MMCommand* click);
    virtual void SetSoundOnNextPlay(bool flag);
    virtual void Pressed();
    virtual void Clicked();
    virtual void ReleasedOutside();
    virtual bool HasLabel(int16_t label);
    virtual bool ContainsPoint(const Pair& point);
    virtual void CollectLabels();

    // The interpreter face: the stage's enter and leave calls.
    void CurrentCursor() final { PointerEntered(); }
    void CaptureLost() final { PointerLeft(); }
    virtual void PointerEntered();
    bool Interpret(const MMStageEvent& event) override;
    virtual void PointerLeft();

    MMStage* Stage() const { return MMMolecule::Stage(); }
    MMCursor* ButtonCursor() const { return cursor; }
    MMCommand* ClickCommand() const { return clickCommand; }
    bool SoundOnNextPlay() const { return soundOnNextPlay; }
    bool IsPressed() const { return pressed; }
    bool IsSelected() const { return selected; }
    bool IsActive() const { return active; }
    bool IsHovering() const { return hovering; }
    bool IsDisabled() const { return disabled; }
    bool IsOneShot() const { return oneShot; }
    const std::vector<int16_t>& Labels() const { return labels; }

protected:
    // Runs the script from the label when it has it.
    bool RunLabel(int16_t label);
    // Label 3, else 6, else 1; true when label 6 ran.
    bool RunClickLabel();
    void StopAllSounds();
    bool InList(int16_t label) const;
    void PostClick();
    // The sticky kinds' reading: every press inside counts.
    bool InterpretEveryPress(const MMStageEvent& event);

    bool soundOnNextPlay = true;
    bool pressed = false;
    bool selected = false;
    bool active = true;
    bool postWhenInactive = false;
    bool hovering = false;
    bool disabled = false;
    bool seen = false;
    bool oneShot = false;
    MMCursor* cursor = nullptr;
    MMCommand* clickCommand;
    std::vector<int16_t> labels;
};
