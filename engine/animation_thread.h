#pragma once
// Scripted animations. A script is a record table of 10-byte rows: header
// rows declare the molecule's visuals and sound channels; frame rows (opcode
// 5) are each followed by rows that place visuals, set pictures, play sounds,
// post event commands and jump. The animation thread plays one frame per
// slice and sleeps until the next frame is due.
#include <climits>
#include <cstdint>
#include <vector>

#include "engine/engine_thread.h"
#include "engine/resource_collection.h"
#include "framework/geometry.h"

class MMAnimationMolecule;
class MMPictureBasedVisual;
class MMRecordTable;

// When an animation holds uses of its script's pictures and sounds.
class MMAnimationResourceUsage {
public:
    enum ResourceMode : int16_t {
        kResourcesNever = 0,
        kResourcesWhileAttached = 1,   // from attachment to destruction
        kResourcesPreloaded = 2,       // the same, loaded at once
        kResourcesWhilePlaying = 3,    // only while the thread plays
    };
};

// The script's row layout and opcodes.
class MMScriptedAnimationContext {
public:
    enum : int32_t { kScriptRowSize = 10 };
    enum Opcode : int16_t {
        kOpName = 0,
        kOpVisualCount = 1,
        kOpChannelCount = 2,
        kOpSynchronised = 3,
        kOpEnclosureLayer = 4,
        kOpFrame = 5,
        kOpPlaceVisual = 6,
        kOpSetPicture = 7,
        kOpSelectChannel = 8,
        kOpPlaySound = 9,
        kOpPostEvent = 10,
        kOpJump = 11,
        kOpGotoWhenChannelIdle = 12,
        kOpTimingReset = 13,
        kOpCustom = 14,
        kOpEnclosure = 15,
    };
};

enum MMAnimationTimingState : int32_t {
    kAnimationTimingIdle = 0,
    kAnimationTimingStarted = 1,
    kAnimationTimingRunning = 2,
};

class MMAnimationThread : public MMLightweightThread,
                          public MMAnimationResourceUsage,
                          public MMScriptedAnimationContext {
public:
    explicit MMAnimationThread(MMStage* stage);
    ~MMAnimationThread() override;

    void OnSleep() override;                                              // 5
    void OnWake() override;                                               // 6
    bool Run() override;                                                  // 7
    virtual void AttachMolecule(MMAnimationMolecule* molecule);           // 8
    virtual MMPictureBasedVisual* CreateVisual(int16_t index);            // 9
    virtual void SetOffset(int32_t x, int32_t y);                         // 10
    virtual void SetLayerOffset(int16_t layerOffset);                     // 11
    virtual void Goto(int16_t label);                                     // 12
    virtual void FrameDone();                                             // 13
    virtual bool PlayFrame();                                             // 14
    virtual void Step();                                                  // 15
    virtual void EnterFrame(int16_t label, int16_t delay, int16_t loopLength,
                            int16_t loopCount);                           // 16
    virtual void PlaceVisual(int16_t index, int16_t layer, const Pair& point);  // 17
    virtual void SetPicture(MMResourceId picture);                        // 18
    virtual void SelectSoundChannel(int16_t index, int16_t keep, int16_t loop);  // 19
    virtual void PlaySound(MMResourceId sound);                           // 20
    virtual void PostEventCommand(int16_t event);                         // 21
    virtual void PostEndCommand();                                        // 22
    virtual void SetTimingReset(bool value);                              // 23
    virtual void JumpTo(int16_t label);                                   // 24
    virtual bool GotoWhenChannelIdle(int16_t channel, int16_t label);     // 25
    virtual bool CustomOpcode(int16_t a, int16_t b, int16_t c, int16_t d);  // 26
    virtual void SetEnclosureBox(const Box& box);                         // 27
    virtual void StartTiming();                                           // 28
    virtual int32_t ClearTiming();                                        // 29
    virtual bool UseResources(bool preload);                              // 30
    virtual void ReleaseResources();                                      // 31

    MMAnimationMolecule* Molecule() const { return molecule_; }
    int32_t Position() const { return position_; }
    int16_t CurrentVisual() const { return currentVisual_; }
    int16_t CurrentChannel() const { return currentChannel_; }
    int32_t Delay() const { return delay_; }
    bool IsSynchronised() const { return synchronised_; }
    bool TimingReset() const { return timingReset_; }
    int32_t TimingState() const { return timingState_; }
    int32_t DueTime() const { return due_; }
    int32_t Correction() const { return correction_; }
    int32_t TotalTime() const { return totalTime_; }
    int32_t FramesPlayed() const { return framesPlayed_; }
    bool IsLooping() const { return loopActive_; }
    bool ResourcesHeld() const { return resourcesHeld_; }
    const Pair& Offset() const { return offset_; }
    int16_t LayerOffset() const { return layerOffset_; }

protected:
    int32_t RowCount() const;
    int16_t OpcodeAt(int32_t row) const;
    bool AtEnd() const { return position_ < 0 || position_ >= RowCount(); }
    // The molecule's visual or channel, null when the index is out of range.
    MMPictureBasedVisual* VisualAt(int32_t index) const;
    bool ChannelIsActive(int32_t index) const;
    void HideAllVisuals();
    void StopAllChannels();
    void ResetLoop();
    // Moves the position past the loop's last frame, or back to its start.
    void AdvanceLoop();
    int16_t ResourceMode() const;

    int32_t position_ = -1;
    int16_t currentVisual_ = -1;
    int16_t currentChannel_ = -1;
    int32_t loopNextSound_ = 0;
    int32_t delay_ = 0;
    bool synchronised_ = false;
    bool timingReset_ = false;
    int32_t timingState_ = kAnimationTimingIdle;
    int32_t frameStart_ = 0;
    int32_t due_ = 0;
    int32_t correction_ = 0;
    int32_t totalTime_ = 0;
    int32_t framesPlayed_ = 0;
    int32_t loopStart_ = -1;
    int16_t loopLength_ = 0;
    bool loopActive_ = false;
    int32_t loopFrames_ = 0;
    int16_t loopRemaining_ = 0;
    bool resourcesHeld_ = false;
    MMAnimationMolecule* molecule_ = nullptr;
    const MMRecordTable* script_ = nullptr;
    Pair offset_ = {0, 0};
    int16_t layerOffset_ = 0;
};

// Plays scripts mirrored about an anchor point: the anchor (in script
// coordinates) lands on the anchor position on screen.
class MMAnchoredAnimationThread : public MMAnimationThread {
public:
    explicit MMAnchoredAnimationThread(MMStage* stage);

    void AttachMolecule(MMAnimationMolecule* molecule) override;
    void SetOffset(int32_t x, int32_t y) override;
    void PlaceVisual(int16_t index, int16_t layer, const Pair& point) override;
    void SetPicture(MMResourceId picture) override;
    virtual void SetAnchor(const Pair& anchor, const Pair& position);  // 32
    virtual void SetFlip(bool horizontal, bool vertical);               // 33

    const Pair& Anchor() const { return anchor_; }
    const Pair& AnchorPosition() const { return anchorPosition_; }
    bool FlipsHorizontally() const { return flipHorizontal_; }
    bool FlipsVertically() const { return flipVertical_; }

private:
    Pair OffsetFromAnchor() const;
    // Where a visual showing a picture of the size lands for a script point.
    Pair ScreenPoint(const Pair& point, const Pair& pictureSize) const;

    Pair anchor_ = {0, 0};
    Pair anchorPosition_ = {0, 0};
    std::vector<Pair> scriptPositions_;
    bool flipHorizontal_ = false;
    bool flipVertical_ = false;
};
