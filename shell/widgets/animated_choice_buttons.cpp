#include "shell/widgets/animated_choice_buttons.h"

#include "engine/command.h"

KVXAnimatedRadioButtonMolecule::KVXAnimatedRadioButtonMolecule(
    MMBaseScene* scene, MMResourceId scriptId, MMCommand* clickCommand, MMCommand* onCommand,
    MMCommand* offCommand, int16_t layerOffset, int16_t cursorIndex, int16_t priority,
    int16_t resourceMode)
    : KVXAnimatedButtonMolecule(scene, scriptId, clickCommand, layerOffset, cursorIndex, priority,
                                resourceMode),
      onCommand(onCommand), offCommand(offCommand)
{
    Thread()->SetPriority(priority);
    Run(kLabelIdle);
    CollectLabels();
    SetLayerOffset(layerOffset);
}

KVXAnimatedRadioButtonMolecule::~KVXAnimatedRadioButtonMolecule()
{
    delete onCommand;
    delete offCommand;
}

bool KVXAnimatedRadioButtonMolecule::Select(bool withSound)
{
    KVXAnimatedButtonMolecule::Select(withSound);
    selected = true;
    return false;
}

bool KVXAnimatedRadioButtonMolecule::Reset()
{
    RunLabel(kLabelIdle);
    hovering = false;
    selected = false;
    on = false;
    return false;
}

void KVXAnimatedRadioButtonMolecule::Pressed()
{
    pressed = true;
    if (!selected)
        RunLabel(kLabelPress);
}

void KVXAnimatedRadioButtonMolecule::Clicked()
{
    hovering = false;
    bool posted = false;
    bool turnedOff = false;
    if (!selected) {
        // Label 6 posts at once; the click then counts as posted.
        posted = RunClickLabel() && clickCommand;
        if (posted)
            PostClick();
        selected = true;
    } else if (!on) {
        if (RunLabel(kLabelTurnOn))
            on = true;
        if (onCommand)
            onCommand->Post();
    } else if (RunLabel(kLabelTurnOff)) {
        on = false;
        turnedOff = true;
        if (offCommand)
            offCommand->Post();
    }
    if (!posted && !on && !turnedOff)
        PostClick();
    if (oneShot)
        SetActive(false, false);
    pressed = false;
}

void KVXAnimatedRadioButtonMolecule::ReleasedOutside()
{
    hovering = false;
    if (!selected)
        RunLabel(kLabelIdle);
    pressed = false;
}

bool KVXAnimatedRadioButtonMolecule::HasLabel(int16_t label) { return InList(label); }

void KVXAnimatedRadioButtonMolecule::PointerEntered()
{
    if (!on && !selected)
        MMMouseInterpreter::CurrentCursor();
    if (!hovering && !pressed && active && !selected) {
        if (!RunLabel(kLabelHover))
            RunLabel(kLabelLeave);
    }
    hovering = true;
}

bool KVXAnimatedRadioButtonMolecule::Interpret(const MMStageEvent& event)
{
    return InterpretEveryPress(event);
}

void KVXAnimatedRadioButtonMolecule::PointerLeft()
{
    if (!pressed && active && !selected && !on) {
        if (!RunLabel(kLabelLeave)) {
            StopAllSounds();
            RunLabel(kLabelIdle);
        }
    }
    hovering = false;
}

KVXAnimatedToolButtonMolecule::KVXAnimatedToolButtonMolecule(
    MMBaseScene* scene, MMResourceId scriptId, MMCommand* clickCommand, MMCommand* firstCommand,
    MMCommand* secondCommand, int16_t layerOffset, int16_t cursorIndex, int16_t priority,
    int16_t resourceMode, MMAnimationThread* thread)
    : KVXAnimatedButtonMolecule(scene, scriptId, clickCommand, layerOffset, cursorIndex, priority,
                                resourceMode, thread),
      firstCommand(firstCommand), secondCommand(secondCommand)
{
    Thread()->SetPriority(priority);
    Run(kLabelIdle);
    CollectLabels();
    SetLayerOffset(layerOffset);
}

KVXAnimatedToolButtonMolecule::~KVXAnimatedToolButtonMolecule()
{
    delete firstCommand;
    delete secondCommand;
}

bool KVXAnimatedToolButtonMolecule::Select(bool withSound)
{
    KVXAnimatedButtonMolecule::Select(withSound);
    selected = true;
    return false;
}

bool KVXAnimatedToolButtonMolecule::Reset()
{
    RunLabel(kLabelIdle);
    hovering = false;
    selected = false;
    suppressClick = false;
    return false;
}

void KVXAnimatedToolButtonMolecule::Pressed()
{
    pressed = true;
    if (!selected)
        RunLabel(kLabelPress);
}

void KVXAnimatedToolButtonMolecule::Clicked()
{
    hovering = false;
    bool wasSelected = selected;
    bool posted = false;
    if (!selected) {
        posted = RunClickLabel() && clickCommand && !suppressClick;
        if (posted)
            PostClick();
        selected = true;
    }
    if (!wasSelected && !posted && !suppressClick)
        PostClick();
    if (oneShot)
        SetActive(false, false);
    pressed = false;
}

void KVXAnimatedToolButtonMolecule::ReleasedOutside()
{
    hovering = false;
    if (!selected)
        RunLabel(kLabelIdle);
    pressed = false;
}

bool KVXAnimatedToolButtonMolecule::HasLabel(int16_t label) { return InList(label); }

bool KVXAnimatedToolButtonMolecule::Bind(int16_t event, MMCommand* eventCommand,
                                         MMCommand* command, MMCommand*& slot, bool& bound)
{
    if (!eventCommand)
        return false;
    if (command != slot)
        delete slot;
    slot = command;
    MMAnimationMolecule::SetCommand(event, eventCommand);
    bound = true;
    return true;
}

bool KVXAnimatedToolButtonMolecule::BindSelectCommand(int16_t event, MMCommand* eventCommand,
                                                      MMCommand* command)
{
    return Bind(event, eventCommand, command, firstCommand, selectBound);
}

bool KVXAnimatedToolButtonMolecule::BindSecondCommand(int16_t event, MMCommand* eventCommand,
                                                      MMCommand* command)
{
    return Bind(event, eventCommand, command, secondCommand, secondBound);
}

void KVXAnimatedToolButtonMolecule::PointerEntered()
{
    MMMouseInterpreter::CurrentCursor();
    if (!hovering && !pressed && active) {
        if (selected)
            RunLabel(kLabelEnterSelected);
        else if (!RunLabel(kLabelHover))
            RunLabel(kLabelLeave);
    }
    hovering = true;
}

bool KVXAnimatedToolButtonMolecule::Interpret(const MMStageEvent& event)
{
    return InterpretEveryPress(event);
}

void KVXAnimatedToolButtonMolecule::PointerLeft()
{
    if (!pressed && active && !suppressClick) {
        if (selected) {
            RunLabel(kLabelLeaveSelected);
        } else if (!RunLabel(kLabelLeave)) {
            StopAllSounds();
            RunLabel(kLabelIdle);
        }
    }
    hovering = false;
}

KVXAnimatedToolSizeButton::KVXAnimatedToolSizeButton(MMBaseScene* scene, MMResourceId scriptId,
                                                     MMCommand* clickCommand,
                                                     int16_t layerOffset, int16_t cursorIndex,
                                                     int16_t priority, int16_t resourceMode)
    : KVXAnimatedButtonMolecule(scene, scriptId, clickCommand, layerOffset, cursorIndex, priority,
                                resourceMode)
{
}

void KVXAnimatedToolSizeButton::Pressed()
{
    pressed = true;
    if (!selected && HasLabel(kLabelPress)) {
        Run(kLabelPress);
        selected = true;
    }
}

void KVXAnimatedToolSizeButton::PointerLeft() { StopAllSounds(); }
