#include "shell/radio.h"

#include <algorithm>

#include "engine/animation_molecule.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/molecule.h"
#include "engine/stage.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/surface.h"
#include "shell/creation_parts.h"
#include "shell/creation_scene.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/toggle_button.h"

namespace {

const int16_t kCloseBoxLayer = 200;
const int16_t kPanelLayer = 201;
const int16_t kMarkerLayer = 203;
const int16_t kToggleLayer = 204;
const int16_t kSliderLayer = 205;
const int16_t kSpeakerLayerOffset = 206;
const int16_t kFrameLayer = 9999;
const int16_t kZoomSteps = 5;
const int16_t kZoomPriority = 500;
const MMResourceId kZoomSound = 0x4000001F;
const int32_t kFullVolume = 1024;
const int32_t kEffectVolume = 896;
const int16_t kStationKey = 2;
const int16_t kTrackKey = 1;

bool EmptyBox(const Box& box) { return box.left == box.right || box.top == box.bottom; }

}  // namespace

int32_t RadioVolumeAt(int32_t position, int32_t rows)
{
    int32_t highest = rows - 2;
    if (highest < 1)
        return kFullVolume;
    position = std::clamp(position, 0, highest);
    return position * kFullVolume / highest;
}

int32_t RadioPositionAt(int32_t pointerY, int32_t top, int32_t bottom, int32_t step, int32_t rows)
{
    int32_t highest = rows - 2;
    if (highest < 1 || step <= 0)
        return 0;
    int32_t i = highest;
    int32_t y0 = top;
    while (y0 <= bottom && i > 0 && pointerY > y0 && pointerY > y0 + step) {
        y0 += step;
        --i;
    }
    return std::min(i, highest);
}

// The frame that zooms between the closed radio and the panel.

KVXRadioFrameBoxVisual::KVXRadioFrameBoxVisual(int16_t layer) { SetLayer(layer); }

void KVXRadioFrameBoxVisual::Draw(MMSurface* surface)
{
    MMColor ink = {-1, 0x4F, 0x2A, 0x3B, 0};
    surface->FrameBox(box, ink, 1);
}

KVXRadioZoomThread::KVXRadioZoomThread(KVXRadio* radio, KVXRadioFrameBoxVisual* frame,
                                       const Box& from, const Box& to, int32_t steps,
                                       bool opening)
    : MMLightweightThread("stamp Zoom", radio->Stage()),
      radio(radio),
      frame(frame),
      box(from),
      target(to),
      steps(steps),
      dl((to.left - from.left) / steps),
      dt((to.top - from.top) / steps),
      dr((to.right - from.right) / steps),
      db((to.bottom - from.bottom) / steps),
      opening(opening)
{
    SetPriority(kZoomPriority);
}

void KVXRadioZoomThread::End()
{
    if (ended)
        return;
    ended = true;
    radio->ZoomEnded(opening);
}

bool KVXRadioZoomThread::Run()
{
    if (State() == kMMThreadTerminating) {
        End();
        return false;
    }
    if (stepsLeft < 0) {
        stepsLeft = steps;
        if (EmptyBox(box) && EmptyBox(target)) {
            End();
            return false;
        }
    } else if (stepsLeft == 1) {
        box = target;
    } else if (stepsLeft == 0) {
        End();
        return false;
    } else {
        box = {box.left + dl, box.top + dt, box.right + dr, box.bottom + db};
    }
    frame->SetBox(box);
    --stepsLeft;
    Wait(0);
    return true;
}

// The volume slider.

KVXRadioVolumeInterpreter::KVXRadioVolumeInterpreter(MMStage* stage, KVXRadio* radio,
                                                     MMVisual* visual)
    : MMStandardMouseInterpreter(stage), radio(radio), visual(visual)
{
}

bool KVXRadioVolumeInterpreter::Interpret(const MMStageEvent& event)
{
    if (!tracking) {
        if (!(event.data & kPointerPressed) || !visual->ContainsPoint(event.x, event.y))
            return false;
        tracking = true;
    }
    radio->TrackVolume(event.y);
    if ((event.data & kPointerReleased) || !(event.data & kPointerHeld)) {
        tracking = false;
        return false;
    }
    return true;
}

// The radio.

KVXRadio::KVXRadio(CreationScene* host, MMSoundManager* manager, int16_t station)
    : KVXSubScene(host), host(host), manager(manager), station(station)
{
    MMRecordTable musicTable;
    musicTable.LoadTenByteRows(kRadioMusicTable, 0);
    stationCount = int16_t(musicTable.CountRows(0, 0, kStationKey));
    if (manager) {
        music = new (gDefaultHeap) MMGenericSoundChannel(manager);
        effect = new (gDefaultHeap) MMGenericSoundChannel(manager);
    }
}

KVXRadio::~KVXRadio()
{
    DeleteMolecules();
    for (MMGenericSoundChannel* channel : {music, effect}) {
        if (channel) {
            channel->Stop();
            delete channel;
        }
    }
}

void KVXRadio::Begin()
{
    layout.LoadTenByteRows(kRadioLayoutTable, 0);
    sliderTable.Load(kRadioVolumeTable, 8, gDefaultHeap);
    BuildPanel();
    SelectStation(station);
    state = kRadioIdle;
    ShowPanel(false);
}

void KVXRadio::DeleteMolecules()
{
    if (zoom) {
        zoom->Terminate();
        delete zoom;
        zoom = nullptr;
    }
    MMBaseScene::DeleteMolecules();
    for (MMStandardMouseInterpreter* interpreter : interpreters)
        delete interpreter;
    interpreters.clear();
    closedRadio = panel = marker = sliderBackground = nullptr;
    std::fill(std::begin(sliderPositions), std::end(sliderPositions), nullptr);
    toggle = nullptr;
    arrows[0] = arrows[1] = nullptr;
    speaker = nullptr;
    closeBox = nullptr;
    zoomFrame = nullptr;
    open = false;
    busy = false;
}

MMPictureMolecule* KVXRadio::LayoutPicture(int16_t key, int16_t layer)
{
    int32_t row = layout.FindRowByKey(key);
    Pair at;
    MMPictureID picture;
    if (row < 0 || !MMPlacedPicture(layout.ItemIdAt(row, 2), 0, at, picture))
        return nullptr;
    return new (gDefaultHeap) MMPictureMolecule(this, picture, at, layer);
}

void KVXRadio::BuildPanel()
{
    MMStage* stage = Stage();
    closedRadio = LayoutPicture(3, kPanelLayer);
    if (closedRadio && closedRadio->Visual()) {
        auto* hotSpot = new (gDefaultHeap) MMHotSpotInterpreter(
            stage, closedRadio->Visual(),
            new (gDefaultHeap) MMClassCommand<KVXRadio>("Open Radio", stage, this, &KVXRadio::Open),
            nullptr);
        closedRadio->Visual()->SetMouseInterpreter(hotSpot);
        interpreters.push_back(hotSpot);
    }
    panel = LayoutPicture(0, kPanelLayer);
    auto* box = new (gDefaultHeap) MMBoxVisual(Stage()->StageBox(), kCloseBoxLayer);
    if (box) {
        auto* closer = new (gDefaultHeap) MMSingleEventInterpreter(
            stage, new (gDefaultHeap) MMClassCommand<KVXRadio>("Close Radio Command", stage, this,
                                                              &KVXRadio::Close),
            nullptr);
        box->SetMouseInterpreter(closer);
        interpreters.push_back(closer);
        closeBox = new (gDefaultHeap) MMVisualMolecule(this, box);
    }
    int32_t speakerRow = layout.FindRowByKey(12);
    if (speakerRow >= 0) {
        speaker = new (gDefaultHeap) MMAnimationMolecule(this, layout.ItemIdAt(speakerRow, 2), 1);
        if (speaker) {
            speaker->SetLayerOffset(kSpeakerLayerOffset);
            speaker->SetMouseCommand(new (gDefaultHeap) MMClassCommand<KVXRadio>(
                "Ripple Radio Command", stage, this, &KVXRadio::RippleRadioCommand));
        }
    }
    int32_t stations = layout.FindRowByKey(11);
    if (stations >= 0) {
        MMRecordTable table;
        table.Load(layout.ItemIdAt(stations, 2), 8, gDefaultHeap);
        if (table.RowCount() > 0)
            marker = new (gDefaultHeap) MMPictureMolecule(
                this, MMPictureID(table.PictureIdAt(table.RowCount() - 1)), table.PairAt(0, 0),
                kMarkerLayer);
    }
    int32_t off = layout.FindRowByKey(1);
    int32_t on = layout.FindRowByKey(2);
    if (off >= 0 && on >= 0) {
        MMRecordTable offTable;
        MMRecordTable onTable;
        offTable.Load(layout.ItemIdAt(off, 2), 8, gDefaultHeap);
        onTable.Load(layout.ItemIdAt(on, 2), 8, gDefaultHeap);
        if (offTable.RowCount() > 0 && onTable.RowCount() > 0) {
            Pair point = offTable.PairAt(0, 0);
            KVXToggleButtonMolecule::Parameters parameters = {
                this, point.x, point.y, MMPictureID(offTable.PictureIdAt(0)),
                MMPictureID(onTable.PictureIdAt(0)),
                new (gDefaultHeap) MMClassCommand<KVXRadio>("Open Radio", stage, this,
                                                           &KVXRadio::OpenRadio),
                kToggleLayer, nullptr, nullptr};
            toggle = new (gDefaultHeap) KVXToggleButtonMolecule(parameters);
        }
    }
    const int16_t arrowKeys[2] = {5, 8};
    for (int32_t i = 0; i < 2; ++i) {
        int32_t row = layout.FindRowByKey(arrowKeys[i]);
        if (row >= 0)
            arrows[i] = new (gDefaultHeap) KVXAnimatedButtonMolecule(
                this, layout.ItemIdAt(row, 2),
                new (gDefaultHeap) MMClassCommand<KVXRadio>("Handle Left Arrow Selection", stage,
                                                           this, &KVXRadio::LeftArrowCommand),
                kToggleLayer, 0, 100, 1);
    }
    if (sliderTable.RowCount() > 0) {
        sliderBackground = new (gDefaultHeap) MMPictureMolecule(
            this, MMPictureID(sliderTable.PictureIdAt(0)), sliderTable.PairAt(0, 0), kSliderLayer);
        if (sliderBackground && sliderBackground->Visual()) {
            auto* volume = new (gDefaultHeap)
                KVXRadioVolumeInterpreter(stage, this, sliderBackground->Visual());
            sliderBackground->Visual()->SetMouseInterpreter(volume);
            interpreters.push_back(volume);
        }
        int32_t step = sliderTable.RowCount() > 1
                           ? CreationPictureSize(MMPictureID(sliderTable.PictureIdAt(1))).y
                           : 0;
        sliderCount = int16_t(std::min<int32_t>(sliderTable.RowCount() - 1, 32));
        for (int32_t i = 0; i < sliderCount; ++i) {
            Pair point = sliderTable.PairAt(i + 1, 0);
            point.y += i * step;
            sliderPositions[i] = new (gDefaultHeap) MMPictureMolecule(
                this, MMPictureID(sliderTable.PictureIdAt(i + 1)), point, kSliderLayer + 1);
            if (sliderPositions[i])
                sliderPositions[i]->Hide();
        }
    }
}

void KVXRadio::ShowPanel(bool shown)
{
    for (MMMolecule* molecule : {static_cast<MMMolecule*>(panel), static_cast<MMMolecule*>(marker),
                                 static_cast<MMMolecule*>(toggle), static_cast<MMMolecule*>(arrows[0]),
                                 static_cast<MMMolecule*>(arrows[1]),
                                 static_cast<MMMolecule*>(sliderBackground),
                                 static_cast<MMMolecule*>(closeBox)}) {
        if (!molecule)
            continue;
        if (shown)
            molecule->Show();
        else
            molecule->Hide();
    }
    for (int32_t i = 0; i < sliderCount; ++i)
        if (sliderPositions[i] && (!shown || i != sliderPosition))
            sliderPositions[i]->Hide();
    if (shown) {
        int32_t positions = sliderCount;
        int32_t i = positions > 0 ? std::max(0, volume * positions / kFullVolume - 1) : 0;
        SelectSlider(i);
        if (toggle) {
            if (state != kRadioIdle)
                toggle->SetOn();
            else
                toggle->SetOff();
        }
        if (speaker && state != kRadioIdle)
            speaker->Run(1);
    } else if (speaker) {
        speaker->Stop();
        speaker->Hide();
    }
    if (closedRadio) {
        if (shown)
            closedRadio->Hide();
        else
            closedRadio->Show();
    }
    if (!shown)
        ShowClosedPicture();
}

void KVXRadio::ShowClosedPicture()
{
    if (!closedRadio || !closedRadio->Visual())
        return;
    int32_t row = layout.FindRowByKey(state == kRadioIdle ? 3 : 4);
    Pair at;
    MMPictureID picture;
    if (row < 0 || !MMPlacedPicture(layout.ItemIdAt(row, 2), 0, at, picture))
        return;
    closedRadio->Visual()->SetPicture(MMLoadedPicture(picture));
    closedRadio->Visual()->SetPosition(at.x, at.y);
}

void KVXRadio::SelectSlider(int32_t i)
{
    if (sliderCount <= 0)
        return;
    i = std::clamp<int32_t>(i, 0, sliderCount - 1);
    if (sliderPositions[sliderPosition])
        sliderPositions[sliderPosition]->Hide();
    sliderPosition = int16_t(i);
    if (sliderPositions[i])
        sliderPositions[i]->Show();
}

void KVXRadio::TrackVolume(int32_t y)
{
    if (!sliderBackground || !sliderBackground->Visual()) {
        SetVolume(kFullVolume);
        return;
    }
    Box bounds = sliderBackground->Visual()->GetBounds();
    int32_t step = sliderTable.RowCount() > 1
                       ? CreationPictureSize(MMPictureID(sliderTable.PictureIdAt(1))).y
                       : 0;
    int32_t i = RadioPositionAt(y, bounds.top, bounds.bottom, step, sliderTable.RowCount());
    SelectSlider(i);
    SetVolume(RadioVolumeAt(i, sliderTable.RowCount()));
}

void KVXRadio::SelectStation(int32_t n)
{
    if (stationCount <= 0)
        return;
    station = int16_t(std::clamp<int32_t>(n, 0, stationCount - 1));
    int32_t row = layout.FindRowByKey(11);
    if (row < 0 || !marker || !marker->Visual())
        return;
    MMRecordTable table;
    table.Load(layout.ItemIdAt(row, 2), 8, gDefaultHeap);
    if (station >= table.RowCount())
        return;
    Pair point = table.PairAt(station, 0);
    marker->Visual()->SetPosition(point.x, point.y + 3);
}

void KVXRadio::PlayTrack(int32_t stationIndex, int32_t index, bool loop)
{
    if (state == kRadioIdle || !music || stationCount <= 0)
        return;
    MMRecordTable musicTable;
    musicTable.LoadTenByteRows(kRadioMusicTable, 0);
    int32_t stationRow = musicTable.FindRowByKey(
        kStationKey, 0, std::clamp<int32_t>(stationIndex, 0, stationCount - 1));
    if (stationRow < 0)
        return;
    MMRecordTable stationTable;
    stationTable.LoadTenByteRows(musicTable.ItemIdAt(stationRow, 2), 0);
    int32_t trackRow = stationTable.FindRowByKey(kTrackKey);
    if (trackRow < 0)
        return;
    MMRecordTable tracks;
    tracks.Load(stationTable.ItemIdAt(trackRow, 2), 4, gDefaultHeap);
    if (tracks.RowCount() <= 0)
        return;
    index = std::clamp<int32_t>(index, 0, tracks.RowCount() - 1);
    music->Stop();
    MMSoundReference sound;
    trackPlayed = tracks.LongAt(index, 0);
    sound.Load(trackPlayed);
    music->Play(sound, loop);
}

void KVXRadio::Refresh()
{
    if (open) {
        if (toggle) {
            if (state != kRadioIdle)
                toggle->SetOn();
            else
                toggle->SetOff();
        }
    } else {
        ShowClosedPicture();
    }
    if (state != kRadioIdle && open && speaker)
        speaker->Run(1);
    if (state != kRadioIdle)
        PlayTrack(station, playableStamps - 1, true);
    if (music)
        music->SetVolume(volume);
}

void KVXRadio::RecountStamps()
{
    playableStamps = int16_t(CreationAnimatedStampCount(host->StampManager()));
    if (state == kRadioPlaying && playableStamps == 0)
        playableStamps = 1;
}

void KVXRadio::AddPlayableStamp()
{
    ++playableStamps;
    RecountStamps();
    Refresh();
}

void KVXRadio::RemovePlayableStamp()
{
    if (playableStamps > 0)
        --playableStamps;
    RecountStamps();
    if (state == kRadioStampAdded && playableStamps == 0)
        EnterIdleState();
    else if (state != kRadioIdle)
        PlayTrack(station, playableStamps - 1, true);
}

void KVXRadio::OpenRadio()
{
    if (state == kRadioIdle) {
        state = kRadioPlaying;
        if (playableStamps == 0)
            playableStamps = 1;
        Refresh();
    } else {
        EnterIdleState();
    }
}

void KVXRadio::EnterIdleState()
{
    if (open && toggle)
        toggle->SetOff();
    if (speaker)
        speaker->Stop();
    if (music)
        music->Stop();
    playableStamps = 0;
    state = kRadioIdle;
    if (!open)
        ShowClosedPicture();
}

void KVXRadio::LeaveIdleState()
{
    if (state != kRadioIdle)
        return;
    state = kRadioStampAdded;
    RecountStamps();
    Refresh();
}

void KVXRadio::StopStampPlay()
{
    if (state != kRadioStampPlacing) {
        RecountStamps();
        return;
    }
    if (playableStamps > 0)
        --playableStamps;
    EnterIdleState();
}

void KVXRadio::Mute()
{
    if (savedVolume >= 0)
        return;
    savedVolume = int16_t(volume);
    if (music)
        music->SetVolume(0);
}

void KVXRadio::Unmute()
{
    if (savedVolume < 0)
        return;
    SetVolume(savedVolume);
    savedVolume = -1;
}

void KVXRadio::SetVolume(int32_t value)
{
    volume = std::clamp<int32_t>(value, 0, kFullVolume);
    if (music)
        music->SetVolume(volume);
}

void KVXRadio::StartZoom(const Box& from, const Box& to, bool opening)
{
    busy = true;
    if (zoom) {
        zoom->Terminate();
        delete zoom;
        zoom = nullptr;
    }
    auto* frame = new (gDefaultHeap) KVXRadioFrameBoxVisual(kFrameLayer);
    if (!frame) {
        ZoomEnded(opening);
        return;
    }
    frame->SetBox(from);
    zoomFrame = new (gDefaultHeap) MMVisualMolecule(this, frame);
    zoom = new (gDefaultHeap) KVXRadioZoomThread(this, frame, from, to, kZoomSteps, opening);
    if (effect) {
        MMSoundReference sound;
        sound.Load(kZoomSound);
        effect->Play(sound, true);
        effect->SetVolume(kFullVolume);
        effect->SetVolume(kEffectVolume);
    }
    if (zoom)
        zoom->Activate();
    else
        ZoomEnded(opening);
}

void KVXRadio::Open()
{
    if (busy || open)
        return;
    int32_t closed = layout.FindRowByKey(13);
    int32_t opened = layout.FindRowByKey(14);
    Box from = closed < 0 ? Box{0, 0, 0, 0} : layout.RectAt(closed, 2);
    Box to = opened < 0 ? Box{0, 0, 0, 0} : layout.RectAt(opened, 2);
    CreationCoverTextBox(host->ToolManager(), true);
    StartZoom(from, to, true);
}

void KVXRadio::Close()
{
    if (busy || !open)
        return;
    int32_t closed = layout.FindRowByKey(13);
    int32_t opened = layout.FindRowByKey(14);
    Box from = opened < 0 ? Box{0, 0, 0, 0} : layout.RectAt(opened, 2);
    Box to = closed < 0 ? Box{0, 0, 0, 0} : layout.RectAt(closed, 2);
    StartZoom(from, to, false);
}

void KVXRadio::ZoomEnded(bool opened)
{
    if (effect)
        effect->Stop();
    if (zoomFrame) {
        MMVisualMolecule* frame = zoomFrame;
        zoomFrame = nullptr;
        delete frame;
    }
    // The thread itself is ending: it is deleted with the next zoom or the radio.
    if (zoom && zoom->State() != kMMThreadInactive && zoom->StepsLeft() > 0)
        zoom->Terminate();
    open = opened;
    ShowPanel(opened);
    busy = false;
    if (!opened)
        CreationCoverTextBox(host->ToolManager(), false);
}

void KVXRadio::WriteState(int16_t* words) const
{
    int16_t stored = int16_t(state);
    words[0] = stored;
    words[1] = station;
    words[2] = savedVolume >= 0 ? savedVolume : int16_t(volume);
    words[3] = stored;
}

void KVXRadio::ReadState(const int16_t* words)
{
    SelectStation(words[1]);
    volume = std::clamp<int32_t>(words[2], 0, kFullVolume);
    int32_t stored = words[3];
    state = stored >= kRadioPlaying && stored <= kRadioIdle ? stored : kRadioIdle;
    if (state == kRadioIdle)
        EnterIdleState();
    else
        Refresh();
}
