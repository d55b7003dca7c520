#include "shell/widgets/toggle_button.h"

#include <new>

#include "engine/enclosure.h"
#include "engine/stage.h"
#include "media/sound/logical_sound_channel.h"

KVXToggleButtonVisual::KVXToggleButtonVisual(const Pair& position,
                                             MMMouseInterpreter* mouseInterpreter,
                                             int16_t newLayer)
{
    ConstructAt(position.x, position.y, newLayer);
    interpreter = mouseInterpreter;
}

KVXToggleButtonVisual::KVXToggleButtonVisual(const MMPictureReference& off,
                                             const MMPictureReference& on, const Pair& position,
                                             MMMouseInterpreter* mouseInterpreter,
                                             int16_t newLayer)
    : offPicture(off), onPicture(on)
{
    ConstructWithPictureAt(off, position.x, position.y, newLayer, false, false);
    interpreter = mouseInterpreter;
}

void KVXToggleButtonVisual::SetHighlighted(bool flag)
{
    const MMPictureReference& chosen = flag ? onPicture : offPicture;
    if (!MMSamePicture(chosen, picture))
        SetPicture(chosen);
    highlighted = flag ? 1 : 0;
}

void KVXToggleButtonVisual::SetOffPicture(const MMPictureReference& reference)
{
    offPicture = reference;
    if (!highlighted)
        SetPicture(offPicture);
}

void KVXToggleButtonVisual::SetOnPicture(const MMPictureReference& reference)
{
    onPicture = reference;
    if (highlighted)
        SetPicture(onPicture);
}

KVXToggleButtonInterpreter::KVXToggleButtonInterpreter(MMStage* stage)
    : MMStandardMouseInterpreter(stage)
{
}

KVXToggleButtonInterpreter::KVXToggleButtonInterpreter(MMStage* stage, MMCommand* command,
                                                       KVXToggleButtonVisual* newVisual,
                                                       MMHighlightable* newTarget,
                                                       MMCursor* cursor, MMResourceId soundId)
    : MMStandardMouseInterpreter(stage, command, cursor), visual(newVisual), target(newTarget)
{
    if (visual && !target)
        target = visual;
    if (soundId != MM_NO_RESOURCE) {
        sound.Load(soundId);
        if (stage && stage->SoundManager())
            channel = new (std::nothrow) MMGenericSoundChannel(stage->SoundManager());
    }
}

KVXToggleButtonInterpreter::~KVXToggleButtonInterpreter()
{
    if (channel) {
        if (channel->IsActive())
            channel->Stop();
        delete channel;
    }
    sound.Clear();
}

void KVXToggleButtonInterpreter::SetParts(KVXToggleButtonVisual* newVisual,
                                          MMHighlightable* newTarget)
{
    visual = newVisual;
    target = newTarget;
}

void KVXToggleButtonInterpreter::SetState(bool on)
{
    if (target)
        target->SetHighlighted(on);
}

bool KVXToggleButtonInterpreter::Inside(const MMStageEvent& event) const
{
    return visual && visual->ContainsPoint(event.x, event.y);
}

bool KVXToggleButtonInterpreter::Interpret(const MMStageEvent& event)
{
    bool hit = ((event.data & kPointerPressed) && Matches(event) && Inside(event)) ||
               (pressed && (event.data & kPointerHeld));
    if (hit) {
        pressed = true;
        return true;
    }
    if (pressed) {
        if ((event.data & kPointerReleased) && Inside(event)) {
            SetState(!(target && target->IsHighlighted()));
            if (channel)
                channel->Play(sound, false);
            PostCommand();
        }
        pressed = false;
    }
    return pressed;
}

void KVXToggleButtonInterpreter::CaptureLost()
{
    if (pressed) {
        SetState(false);
        pressed = false;
    }
    MMStandardMouseInterpreter::CaptureLost();
}

KVXToggleButtonMolecule::KVXToggleButtonMolecule(const Parameters& p)
    : MMMolecule(p.scene),
      visual(new KVXToggleButtonVisual(MMLoadedPicture(p.offPicture),
                                       MMLoadedPicture(p.onPicture), {p.x, p.y}, nullptr, 1))
{
    Bind(p.interpreter, p.command, p.cursor, p.layer);
}

KVXToggleButtonMolecule::KVXToggleButtonMolecule(MMBaseScene* scene,
                                                 KVXToggleButtonVisual* builtVisual,
                                                 MMCommand* command, MMCursor* cursor,
                                                 KVXToggleButtonInterpreter* given)
    : MMMolecule(scene), visual(builtVisual)
{
    Bind(given, command, cursor, visual->Layer());
}

void KVXToggleButtonMolecule::Bind(KVXToggleButtonInterpreter* given, MMCommand* command,
                                   MMCursor* cursor, int16_t layer)
{
    interpreter = given ? given
                        : new KVXToggleButtonInterpreter(Stage(), command, nullptr, nullptr,
                                                         cursor, MM_NO_RESOURCE);
    interpreter->SetParts(visual, visual);
    visual->SetLayer(layer);
    visual->SetMouseInterpreter(interpreter);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(visual);
}

KVXToggleButtonMolecule::~KVXToggleButtonMolecule()
{
    interpreter->ReleaseCapture();
    if (visual->Enclosure())
        visual->Enclosure()->RemoveVisual(visual);
    delete visual;
    delete interpreter;
}

void KVXToggleButtonMolecule::Show()
{
    visual->SetHidden(false);
    MMMolecule::Show();
}

void KVXToggleButtonMolecule::Hide()
{
    interpreter->ReleaseCapture();
    visual->SetHidden(true);
    MMMolecule::Hide();
}

void KVXToggleButtonMolecule::SetOn()
{
    if (!visual->IsHighlighted())
        visual->SetHighlighted(true);
}

void KVXToggleButtonMolecule::SetOff()
{
    if (visual->IsHighlighted())
        visual->SetHighlighted(false);
}
