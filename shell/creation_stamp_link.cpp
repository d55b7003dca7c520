#include "shell/creation_stamp_link.h"

#include "gallery/sketchbook_list.h"
#include "shell/app.h"
#include "shell/creation_scene.h"
#include "shell/radio.h"

bool CreationStampLink::UpdateStampButtons()
{
    scene->UpdateStampButtons();
    return true;
}

void CreationStampLink::UpdatePlayButtons() { scene->UpdatePlayButtons(); }

void CreationStampLink::MarkCurrentPageModified()
{
    if (gApp)
        gApp->MarkCurrentPageModified();
}

void CreationStampLink::UpdatePageGenre(int16_t genre)
{
    if (gApp && gApp->SketchbookList())
        gApp->SketchbookList()->UpdatePageGenre(genre, true);
}

bool CreationStampLink::HasRadio() const { return scene->Radio() != nullptr; }

void CreationStampLink::SaveRadio(int16_t words[4])
{
    if (KVXRadio* radio = scene->Radio())
        radio->WriteState(words);
}

void CreationStampLink::LoadRadio(const int16_t words[4])
{
    if (KVXRadio* radio = scene->Radio())
        radio->ReadState(words);
}

int16_t CreationStampLink::RadioState() const
{
    return int16_t(scene->Radio() ? scene->Radio()->State() : kRadioIdle);
}

int16_t CreationStampLink::RadioStation() const
{
    return scene->Radio() ? scene->Radio()->Station() : 0;
}

void CreationStampLink::SelectStation(int16_t station)
{
    if (KVXRadio* radio = scene->Radio())
        radio->SelectStation(station);
}

void CreationStampLink::LeaveIdleState()
{
    if (KVXRadio* radio = scene->Radio())
        radio->LeaveIdleState();
}

void CreationStampLink::AddPlayableStamp()
{
    if (KVXRadio* radio = scene->Radio())
        radio->AddPlayableStamp();
}

void CreationStampLink::RemovePlayableStamp()
{
    if (KVXRadio* radio = scene->Radio())
        radio->RemovePlayableStamp();
}

void CreationStampLink::StopStampPlay()
{
    if (KVXRadio* radio = scene->Radio())
        radio->StopStampPlay();
}

void CreationStampLink::RefreshRadio()
{
    if (KVXRadio* radio = scene->Radio())
        radio->Refresh();
}
