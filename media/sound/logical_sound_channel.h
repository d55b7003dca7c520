#pragma once
// Logical sound channels: what every sound user holds. Requests (play, stop,
// volume, pan, frequency) are taken at any time on the stage thread; a play
// request is carried out by the channel's per-tick service, so a sound
// starts on the frame tick after the request. The channel keeps the sound's
// clock and decides when a physical channel exists.
#include <cstdint>
#include "engine/resource_collection.h"

class MMPhysicalSoundChannel;
class MMSoundManager;
class MMSoundReference;
class MMSoundSource;

struct MMPlayRecord {
    volatile bool active = false;
    bool loop = false;
    // While running, the start time on the engine clock; while frozen, the
    // elapsed time.
    int32_t position = 0;
};

enum MMTimingState : int32_t {
    kTimingRunning = 0,
    kTimingPausedBuffer = 1,  // frozen with the device buffer paused
    kTimingFrozen = 2         // frozen without a paused buffer
};

class MMLogicalSoundChannel {
public:
    explicit MMLogicalSoundChannel(MMSoundManager* manager);
    virtual ~MMLogicalSoundChannel();
    MMLogicalSoundChannel(const MMLogicalSoundChannel&) = delete;
    MMLogicalSoundChannel& operator=(const MMLogicalSoundChannel&) = delete;

    virtual void OnStart() {}
    virtual MMPhysicalSoundChannel* MakePhysicalChannel() = 0;
    virtual bool IsFinished();
    virtual void Reset();
    // Whether the sound is over, when there is no physical channel.
    virtual bool FinishedByTime() = 0;
    // Bytes of the decoded sound, or 0 when unknown: a looping sound resumed
    // at a time past its length starts again from the wrapped position.
    virtual int64_t SoundLength() { return 0; }

    void Stop();
    void SetVolume(int32_t level);
    void SetPan(int32_t pan);
    void SetFrequency(int32_t factor);
    // 0 when nothing is current; frozen while paused.
    int32_t ElapsedTime();
    bool IsActive() const { return current.active; }
    const volatile bool* ActiveFlag() const { return &current.active; }
    void EndLoop();
    // The per-tick step (the manager's Service).
    void Service();

    // From the manager's walks.
    void RaiseDisableCount();
    void LowerDisableCount() { --disableCount; }
    void AddPause(int32_t step) { pauseCount += step; }

    MMSoundManager* Manager() const { return manager; }
    MMPhysicalSoundChannel* PhysicalChannel() const { return physical; }
    const MMPlayRecord& Current() const { return current; }
    const MMPlayRecord& Request() const { return request; }
    int32_t Volume() const { return volume; }
    int32_t Pan() const { return pan; }
    int32_t Frequency() const { return frequency; }
    int32_t PauseCount() const { return pauseCount; }
    int32_t TimingState() const { return timingState; }
    int32_t DisableCount() const { return disableCount; }

    void SetPhysicalChannel(MMPhysicalSoundChannel* channel);

protected:
    void RecordRequest(bool loop);
    void StartAt(int32_t ms);
    void SyncPause();
    int32_t Now() const;

    MMSoundManager* manager;
    MMPlayRecord current;
    MMPlayRecord request;
    MMPhysicalSoundChannel* physical;
    int32_t pauseCount;
    int32_t timingState;
    int32_t disableCount;
    int32_t volume;
    int32_t pan;
    int32_t frequency;
};

// The channel the program plays all its sounds on: each sound is streamed
// from a source of its collection.
class MMGenericSoundChannel : public MMLogicalSoundChannel {
public:
    explicit MMGenericSoundChannel(MMSoundManager* manager);
    ~MMGenericSoundChannel() override;
    // No request when the reference names no open collection.
    void Play(const MMSoundReference& sound, bool loop);
    MMPhysicalSoundChannel* MakePhysicalChannel() override;
    void Reset() override;
    bool FinishedByTime() override;
    int64_t SoundLength() override;

    MMResourceId SoundId() const { return soundId; }
    int32_t Duration() const { return duration; }
    MMSoundSource* Source() const { return source; }

private:
    MMResourceId soundId;
    int32_t duration;
    MMSoundSource* source;
};

// Short effects held whole in a static buffer and shared between the
// channels made from one another.
class MMArcadeSoundChannel : public MMLogicalSoundChannel {
public:
    MMArcadeSoundChannel(MMSoundManager* manager, const MMSoundReference& sound);
    MMArcadeSoundChannel(MMSoundManager* manager, MMArcadeSoundChannel* sibling);
    ~MMArcadeSoundChannel() override;
    void Play(const MMSoundReference& sound, bool loop);
    void Replay(bool loop);
    MMPhysicalSoundChannel* MakePhysicalChannel() override;
    bool FinishedByTime() override;

    MMArcadeSoundChannel* Next() const { return next; }

private:
    void MakePhysicalNow();

    MMResourceId soundId;
    int32_t duration;
    MMArcadeSoundChannel* next;
};

// Plays a source its creator owns through a ring buffer.
class MMPermanentSoundChannel : public MMLogicalSoundChannel {
public:
    MMPermanentSoundChannel(MMSoundManager* manager, MMSoundSource* source, int32_t durationMs);
    void Replay(bool loop);
    bool FinishedByTime() override;

    MMSoundSource* Source() const { return source; }

protected:
    int32_t streamingDuration;
    MMSoundSource* source;
};

class MMStreamedSoundChannel : public MMPermanentSoundChannel {
public:
    using MMPermanentSoundChannel::MMPermanentSoundChannel;
    MMPhysicalSoundChannel* MakePhysicalChannel() override;
};
