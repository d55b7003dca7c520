#pragma once
// A physical sound channel owns one DirectSound secondary buffer for a
// logical channel and feeds it: the whole sound decoded once into a static
// buffer (single-paged), or a ring of about one and a half seconds refilled
// from a source while it plays (permanent: by its owner; streamed: every
// 100 ms by a pulse task of the second engine pulse-task manager).
#include <windows.h>
#include <cstdint>
#include "framework/lock.h"
#include "framework/pulse_task.h"
#include "engine/resource_collection.h"

struct IDirectSoundBuffer;
class MMLogicalSoundChannel;
class MMSoundSource;

// Device units of the logical channel's settings.
int32_t DeviceVolume(int32_t volume);      // 0..1024 -> -10000..0
int32_t DevicePan(int32_t pan);            // -1024..1024 -> -10000..10000
int32_t DeviceFrequency(uint32_t format, int32_t factor);  // 16.16 factor -> 100..100000 Hz

class MMPhysicalSoundChannel {
public:
    MMPhysicalSoundChannel(MMLogicalSoundChannel* owner, uint32_t format);
    virtual ~MMPhysicalSoundChannel();
    MMPhysicalSoundChannel(const MMPhysicalSoundChannel&) = delete;
    MMPhysicalSoundChannel& operator=(const MMPhysicalSoundChannel&) = delete;

    virtual void Start(int32_t bytePosition);
    virtual void LoopFlagCleared() {}
    virtual void Stop();
    virtual void Pause();
    virtual void Resume();
    virtual void ApplyFrequency();
    virtual void ApplyVolume();
    virtual void ApplyPan();
    // Makes the buffer; true when the channel can play.
    virtual bool MakeBuffer() = 0;
    virtual void Detach() {}
    virtual bool IsLooping();

    bool Create();
    // Detaches, then releases the buffer.
    void Release();
    // False while paused; else whether the buffer has stopped.
    bool IsFinished();
    bool IsValid() const { return valid; }
    bool IsPaused() const { return paused; }
    uint32_t Format() const { return format; }
    IDirectSoundBuffer* Buffer() const { return buffer; }
    MMLogicalSoundChannel* Owner() const { return owner; }

protected:
    MMLogicalSoundChannel* owner;
    uint32_t format;
    bool valid;
    Lock lock;  // re-entrant: a streamed Start holds it around the permanent Start
    IDirectSoundBuffer* buffer;
    bool looping;
    bool paused;
};

// The whole sound in one static buffer, loaded from its collection or
// shared with a sibling's buffer.
class MMSinglePagedPhysicalSoundChannel : public MMPhysicalSoundChannel {
public:
    MMSinglePagedPhysicalSoundChannel(MMLogicalSoundChannel* owner, MMResourceId soundId);
    MMSinglePagedPhysicalSoundChannel(MMLogicalSoundChannel* owner,
                                      MMSinglePagedPhysicalSoundChannel* sibling);
    void Start(int32_t bytePosition) override;
    void LoopFlagCleared() override;
    bool MakeBuffer() override;

    MMResourceId SoundId() const { return soundId; }
    int32_t DataSize() const { return dataSize; }

private:
    bool Load();

    MMResourceId soundId;
    int32_t dataSize;
    MMSinglePagedPhysicalSoundChannel* sibling;
};

enum MMRefillState : int32_t {
    kRefillIdle = 0,      // before the start, and after the last lap
    kRefillFilling = 1,
    kRefillDraining = 2,  // the source has ended: silence follows its data
    kRefillLastLap = 3    // playing once to the end of the data
};

// A ring buffer refilled from a source; it always plays looping until the
// source's data has gone through.
class MMPermanentPhysicalSoundChannel : public MMPhysicalSoundChannel {
public:
    MMPermanentPhysicalSoundChannel(MMLogicalSoundChannel* owner, MMSoundSource* source,
                                    int32_t durationMs);
    void Start(int32_t bytePosition) override;
    void Stop() override;
    bool MakeBuffer() override;
    bool IsLooping() override { return true; }

    // One refill step; the delay in milliseconds until the next (kNever: none).
    int32_t Refill();

    uint32_t BufferSize() const { return bufferSize; }
    int32_t State() const { return state; }
    uint32_t WritePosition() const { return writePosition; }
    uint32_t EndPosition() const { return endPosition; }

protected:
    bool FillFromSource(uint32_t upTo, bool wait);
    void FillSilence(uint32_t upTo);
    // Polls while the last of the data plays.
    int32_t Drain(uint32_t play);
    int32_t LastLap(uint32_t play);

    MMSoundSource* source;
    uint32_t bufferSize;
    int32_t state;
    uint32_t writePosition;
    uint32_t endPosition;
};

class MMStreamedPhysicalSoundChannel;

class MMStreamedPhysicalSoundChannelTask : public AFPulseTask {
public:
    explicit MMStreamedPhysicalSoundChannelTask(MMStreamedPhysicalSoundChannel* channel)
        : channel(channel) {}
    int32_t Pulse() override;

private:
    MMStreamedPhysicalSoundChannel* channel;
};

// A permanent channel refilled by a pulse task of the second engine
// pulse-task manager; without that manager it cannot be made.
class MMStreamedPhysicalSoundChannel : public MMPermanentPhysicalSoundChannel {
public:
    MMStreamedPhysicalSoundChannel(MMLogicalSoundChannel* owner, MMSoundSource* source,
                                   int32_t durationMs);
    ~MMStreamedPhysicalSoundChannel() override;
    void Start(int32_t bytePosition) override;
    bool MakeBuffer() override;
    void Detach() override;

    MMStreamedPhysicalSoundChannelTask* Task() const { return task; }

private:
    MMStreamedPhysicalSoundChannelTask* task;
};
