#include "shell/widgets/animated_button.h"

#include "engine/command.h"
#include "engine/scene.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"

KVXAnimatedButtonMolecule::KVXAnimatedButtonMolecule(MMBaseScene* scene, MMResourceId scriptId,
                                                     MMCommand* clickCommand, int16_t layerOffset,
                                                     int16_t cursorIndex, int16_t priority,
                                                     int16_t resourceMode,
                                                     MMAnimationThread* thread)
    : KVXAnimationMolecule(scene, scriptId, resourceMode,
                           EnsureAnimationThread(scene->Stage(), thread)),
      MMStandardMouseInterpreter(scene->Stage()),
      clickCommand(clickCommand)
{
    Thread()->SetPriority(priority);
    Run(kLabelIdle);
    for (int16_t i = 0; i < VisualCount(); ++i)
        Visual(i)->SetMouseInterpreter(this);
    KVXAnimatedButtonMolecule::SetLayerOffset(layerOffset);
    KVXAnimatedButtonMolecule::SetCursor(cursorIndex);
}

KVXAnimatedButtonMolecule::~KVXAnimatedButtonMolecule()
{
    ReleaseCapture();
    for (int16_t i = 0; i < VisualCount(); ++i)
        Visual(i)->SetMouseInterpreter(nullptr);
    delete clickCommand;
}

bool KVXAnimatedButtonMolecule::RunLabel(int16_t label)
{
    if (!HasLabel(label))
        return false;
    Run(label);
    return true;
}

bool KVXAnimatedButtonMolecule::RunClickLabel()
{
    if (RunLabel(kLabelClick))
        return false;
    if (RunLabel(kLabelClickWithoutThree))
        return true;
    RunLabel(kLabelIdle);
    return false;
}

void KVXAnimatedButtonMolecule::StopAllSounds()
{
    for (int16_t i = 0; i < SoundChannelCount(); ++i)
        SoundChannel(i)->Stop();
}

void KVXAnimatedButtonMolecule::PostClick()
{
    if (clickCommand)
        clickCommand->Post();
}

bool KVXAnimatedButtonMolecule::Select(bool withSound)
{
    SetSoundOnNextPlay(withSound);
    RunClickLabel();
    hovering = false;
    pressed = false;
    return false;
}

bool KVXAnimatedButtonMolecule::Reset()
{
    RunLabel(kLabelIdle);
    selected = false;
    hovering = false;
    pressed = false;
    return false;
}

void KVXAnimatedButtonMolecule::SetActive(bool isActive, bool postInactive)
{
    active = isActive;
    postWhenInactive = postInactive;
}

void KVXAnimatedButtonMolecule::SetDisabled(bool flag)
{
    if (flag && !disabled && IsRunning()) {
        Hide();
        Stop();
        SetActive(false, false);
    } else if (!flag && disabled && !IsRunning()) {
        Show();
        Run(kLabelIdle);
        SetActive(true, false);
    }
    disabled = flag;
}

void KVXAnimatedButtonMolecule::SetLayerOffset(int16_t offset)
{
    MMAnimationMolecule::SetLayerOffset(offset);
}

void KVXAnimatedButtonMolecule::SetCursor(int16_t index)
{
    cursor = KVXAppCursor(index);
    MMStandardMouseInterpreter::SetCursor(cursor);
}

bool KVXAnimatedButtonMolecule::BindEventCommand(int16_t event, MMCommand* eventCommand,
                                                 MMCommand* click)
{
    if (click != clickCommand)
        delete clickCommand;
    clickCommand = click;
    MMAnimationMolecule::SetCommand(event, eventCommand);
    oneShot = true;
    return true;
}

void KVXAnimatedButtonMolecule::SetSoundOnNextPlay(bool flag) { soundOnNextPlay = flag; }

void KVXAnimatedButtonMolecule::Pressed()
{
    pressed = true;
    RunLabel(kLabelPress);
}

void KVXAnimatedButtonMolecule::Clicked()
{
    hovering = false;
    RunClickLabel();
    PostClick();
    if (oneShot)
        SetActive(false, false);
}

void KVXAnimatedButtonMolecule::ReleasedOutside()
{
    hovering = false;
    RunLabel(kLabelIdle);
}

bool KVXAnimatedButtonMolecule::HasLabel(int16_t label)
{
    return KVXScriptHasLabel(*this, label);
}

bool KVXAnimatedButtonMolecule::InList(int16_t label) const
{
    for (int16_t l : labels) {
        if (l == label)
            return true;
    }
    return false;
}

bool KVXAnimatedButtonMolecule::ContainsPoint(const Pair& point)
{
    return KVXAnimationContainsPoint(*this, point);
}

void KVXAnimatedButtonMolecule::CollectLabels()
{
    labels.clear();
    const MMRecordTable& script = Script();
    for (int32_t row = 0; row < script.RowCount(); ++row) {
        int16_t label = script.ShortAt(row, 2);
        if (script.ShortAt(row, 0) == kOpFrame && label != 0)
            labels.push_back(label);
    }
}

void KVXAnimatedButtonMolecule::PointerEntered()
{
    MMMouseInterpreter::CurrentCursor();
    if (!hovering && !pressed && active)
        RunLabel(kLabelHover);
    hovering = true;
    seen = false;
}

bool KVXAnimatedButtonMolecule::Interpret(const MMStageEvent& event)
{
    if (disabled)
        return false;
    Pair point = {event.x, event.y};
    bool inside = (event.data & kPointerPressed) && ContainsPoint(point);
    if (!active) {
        if (postWhenInactive && inside)
            PostClick();
        return false;
    }
    if (inside && seen) {
        Pressed();
        seen = true;
        return pressed;
    }
    if ((event.data & kPointerReleased) && pressed) {
        pressed = false;
        if (ContainsPoint(point))
            Clicked();
        else
            ReleasedOutside();
    }
    seen = true;
    return pressed;
}

bool KVXAnimatedButtonMolecule::InterpretEveryPress(const MMStageEvent& event)
{
    if (disabled)
        return false;
    Pair point = {event.x, event.y};
    bool inside = (event.data & kPointerPressed) && ContainsPoint(point);
    if (!active) {
        if (postWhenInactive && inside)
            PostClick();
        return false;
    }
    if (inside) {
        Pressed();
        return pressed;
    }
    if ((event.data & kPointerReleased) && pressed) {
        if (ContainsPoint(point))
            Clicked();
        else
            ReleasedOutside();
    }
    return pressed;
}

void KVXAnimatedButtonMolecule::PointerLeft()
{
    if (!pressed && active) {
        if (!RunLabel(kLabelLeave)) {
            StopAllSounds();
            if (!RunLabel(kLabelLeaveSilenced))
                RunLabel(kLabelIdle);
        }
    }
    hovering = false;
    MMStandardMouseInterpreter::CaptureLost();
    seen = false;
}
