#include "shell/widgets/push_buttons.h"

#include <new>

#include "engine/enclosure.h"
#include "engine/stage.h"
#include "media/sound/logical_sound_channel.h"
#include "media/visual.h"

KVXPushButtonInterpreterWithSound::KVXPushButtonInterpreterWithSound(MMStage* stage,
                                                                     MMCommand* command,
                                                                     MMCursor* cursor,
                                                                     MMResourceId soundId)
    : MMPushButtonInterpreter(stage, command, nullptr, nullptr, cursor), soundId(soundId)
{
    if (soundId != MM_NO_RESOURCE)
        sound.Load(soundId);
    if (stage && stage->SoundManager())
        channel = new (std::nothrow) MMGenericSoundChannel(stage->SoundManager());
}

KVXPushButtonInterpreterWithSound::~KVXPushButtonInterpreterWithSound()
{
    if (channel) {
        if (channel->IsActive())
            channel->Stop();
        delete channel;
    }
}

bool KVXPushButtonInterpreterWithSound::Inside(const MMStageEvent& event) const
{
    return Button() && Button()->ContainsPoint(event.x, event.y);
}

bool KVXPushButtonInterpreterWithSound::Interpret(const MMStageEvent& event)
{
    if (pressed && (event.data & kPointerReleased)) {
        if (Inside(event))
            PostCommand();
        SetHighlighted(false);
        pressed = false;
        return false;
    }
    if (pressed) {
        SetHighlighted(Inside(event));
        return true;
    }
    if ((event.data & kPointerPressed) && Matches(event) && Inside(event)) {
        if (soundId != MM_NO_RESOURCE && channel)
            channel->Play(sound, false);
        SetHighlighted(true);
        pressed = true;
        return true;
    }
    return pressed;
}

void KVXPushButtonInterpreterWithSound::CaptureLost()
{
    if (pressed) {
        SetHighlighted(false);
        pressed = false;
    }
}

KVXPictureButtonWithDisablingVisual::KVXPictureButtonWithDisablingVisual(
    const MMPictureReference& normal, const MMPictureReference& highlight,
    const MMPictureReference& disabledLook, const Pair& position, int16_t newLayer)
    : normalPicture(normal), highlightPicture(highlight), disabledPicture(disabledLook)
{
    ConstructWithPictureAt(normal, position.x, position.y, newLayer, false, false);
}

void KVXPictureButtonWithDisablingVisual::SetHighlighted(bool flag)
{
    if (!disabled)
        SetPicture(flag ? highlightPicture : normalPicture);
    highlighted = flag ? 1 : 0;
}

void KVXPictureButtonWithDisablingVisual::SetDisabled(bool flag)
{
    if (flag == disabled)
        return;
    disabled = flag;
    SetPicture(flag ? disabledPicture : normalPicture);
}

KVXPictureButtonWithDisablingMolecule::KVXPictureButtonWithDisablingMolecule(const Parameters& p)
    : MMMolecule(p.scene),
      visual(new KVXPictureButtonWithDisablingVisual(
          MMLoadedPicture(p.normal), MMLoadedPicture(p.highlight), MMLoadedPicture(p.disabled),
          {p.x, p.y}, p.layer)),
      soundInterpreter(
          new KVXPushButtonInterpreterWithSound(Stage(), p.command, p.cursor, p.soundId)),
      dummyInterpreter(new MMDummyMouseInterpreter(Stage()))
{
    soundInterpreter->SetButton(visual, visual);
    visual->SetMouseInterpreter(soundInterpreter);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(visual);
}

KVXPictureButtonWithDisablingMolecule::~KVXPictureButtonWithDisablingMolecule()
{
    soundInterpreter->ReleaseCapture();
    if (visual->Enclosure())
        visual->Enclosure()->RemoveVisual(visual);
    delete visual;
    delete soundInterpreter;
    delete dummyInterpreter;
}

void KVXPictureButtonWithDisablingMolecule::Show()
{
    visual->SetHidden(false);
    MMMolecule::Show();
}

void KVXPictureButtonWithDisablingMolecule::Hide()
{
    visual->SetHidden(true);
    MMMolecule::Hide();
}

void KVXPictureButtonWithDisablingMolecule::SetDisabled(bool flag)
{
    if (flag == disabled)
        return;
    disabled = flag;
    visual->SetDisabled(flag);
    if (flag)
        soundInterpreter->ReleaseCapture();
    visual->SetMouseInterpreter(flag ? static_cast<MMMouseInterpreter*>(dummyInterpreter)
                                     : soundInterpreter);
}
