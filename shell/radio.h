#pragma once
// The radio of the painting screen: a small radio on the shelf that opens
// into a panel with a station dial, a play toggle, arrows, a volume slider
// and a rippling loudspeaker. The track played follows the number of
// animated stamps on the canvas; its state is kept with each page.
#include <cstdint>
#include <vector>

#include "engine/engine_thread.h"
#include "engine/mouse_interpreter.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "stamps/stamp_scene_link.h"
#include "trays/sub_scene.h"
#include "media/visual.h"

class CreationScene;
class KVXAnimatedButtonMolecule;
class KVXRadio;
class KVXToggleButtonMolecule;
class MMAnimationMolecule;
class MMGenericSoundChannel;
class MMPictureVisual;
class MMSoundManager;
class MMVisualMolecule;

// The fourth state, idle (3), is kRadioIdle of the stamps' link, which reads
// and restores the radio's state with the page.
enum KVXRadioState : int32_t {
    kRadioPlaying = 0,
    kRadioStampAdded = 1,
    kRadioStampPlacing = 2,
};

const int16_t kRadioLayoutTable = 1038;
const int16_t kRadioVolumeTable = 1040;
const int16_t kRadioMusicTable = 996;

// The volume of a slider position: i / c x 1024 with c the highest
// position (rows of table 1040 - 2); 1024 without positions to choose.
int32_t RadioVolumeAt(int32_t position, int32_t rows);
// The slider position under the pointer's y (the top is the loudest).
int32_t RadioPositionAt(int32_t pointerY, int32_t top, int32_t bottom, int32_t step, int32_t rows);

class KVXRadioFrameBoxVisual : public MMOpaqueBoxVisual {
public:
    explicit KVXRadioFrameBoxVisual(int16_t layer);
    void Draw(MMSurface* surface) override;
};

class KVXRadioZoomThread : public MMLightweightThread {
public:
    KVXRadioZoomThread(KVXRadio* radio, KVXRadioFrameBoxVisual* frame, const Box& from,
                       const Box& to, int32_t steps, bool opening);
    bool Run() override;
    int32_t StepsLeft() const { return stepsLeft; }

private:
    void End();

    KVXRadio* radio;
    KVXRadioFrameBoxVisual* frame;
    Box box;
    Box target;
    int32_t steps;
    int32_t stepsLeft = -1;
    int32_t dl, dt, dr, db;
    bool opening;
    bool ended = false;
};

class KVXRadioVolumeInterpreter : public MMStandardMouseInterpreter {
public:
    KVXRadioVolumeInterpreter(MMStage* stage, KVXRadio* radio, MMVisual* visual);
    bool Interpret(const MMStageEvent& event) override;

private:
    KVXRadio* radio;
    MMVisual* visual;
    bool tracking = false;
};

class KVXRadio : public KVXSubScene {
public:
    KVXRadio(CreationScene* host, MMSoundManager* manager, int16_t station);
    ~KVXRadio() override;

    void Begin() override;
    void DeleteMolecules() override;

    void SelectStation(int32_t n);
    void PlayTrack(int32_t station, int32_t index, bool loop);
    void Refresh();
    void RecountStamps();
    void AddPlayableStamp();
    void RemovePlayableStamp();
    void IncrementStampCount() { ++playableStamps; }
    void OpenRadio();
    void EnterIdleState();
    void LeaveIdleState();
    void StopStampPlay();
    void Mute();
    void Unmute();
    void SetVolume(int32_t volume);
    void Open();
    void Close();
    // The end of a zoom: the panel or the closed radio shows.
    void ZoomEnded(bool opened);

    // The page's record: state, station, volume, state.
    static const int32_t kStoredSize = 8;
    void WriteState(int16_t* words) const;
    void ReadState(const int16_t* words);

    // A press on the volume slider at the pointer's y.
    void TrackVolume(int32_t y);

    int32_t State() const { return state; }
    bool IsIdle() const { return state == kRadioIdle; }
    bool IsOpen() const { return open; }
    bool IsBusy() const { return busy; }
    int16_t Station() const { return station; }
    int16_t StationCount() const { return stationCount; }
    int32_t Volume() const { return volume; }
    int16_t PlayableStamps() const { return playableStamps; }
    int16_t SliderPosition() const { return sliderPosition; }
    MMGenericSoundChannel* MusicChannel() const { return music; }
    MMGenericSoundChannel* EffectChannel() const { return effect; }
    MMResourceId TrackPlayed() const { return trackPlayed; }

private:
    void BuildPanel();
    void ShowPanel(bool shown);
    void ShowClosedPicture();
    void StartZoom(const Box& from, const Box& to, bool opening);
    void SelectSlider(int32_t i);
    void RippleRadioCommand() {}
    void LeftArrowCommand() {}
    MMPictureMolecule* LayoutPicture(int16_t key, int16_t layer);

    CreationScene* host;
    MMSoundManager* manager;
    MMGenericSoundChannel* music = nullptr;
    MMGenericSoundChannel* effect = nullptr;
    int16_t savedVolume = -1;
    int16_t playableStamps = 0;
    int16_t station;
    int16_t stationCount = 0;
    int32_t state = kRadioIdle;
    bool open = false;
    int32_t volume = 1024;
    bool busy = false;
    MMResourceId trackPlayed = -1;
    MMRecordTable layout;
    MMRecordTable sliderTable;
    // The panel.
    MMPictureMolecule* closedRadio = nullptr;
    MMPictureMolecule* panel = nullptr;
    MMPictureMolecule* marker = nullptr;
    MMPictureMolecule* sliderBackground = nullptr;
    MMPictureMolecule* sliderPositions[32] = {};
    int16_t sliderPosition = 0;
    int16_t sliderCount = 0;
    KVXToggleButtonMolecule* toggle = nullptr;
    KVXAnimatedButtonMolecule* arrows[2] = {nullptr, nullptr};
    MMAnimationMolecule* speaker = nullptr;
    MMVisualMolecule* closeBox = nullptr;
    MMVisualMolecule* zoomFrame = nullptr;
    KVXRadioZoomThread* zoom = nullptr;
    std::vector<MMStandardMouseInterpreter*> interpreters;
};
