#include "media/sound/physical_sound_channel.h"

#include "media/sound/direct_sound.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include "engine/engine_pulse_managers.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_format.h"
#include "media/sound/sound_manager.h"

namespace {
const int32_t kDeviceSilence = -10000;  // DSBVOLUME_MIN, and the pan's extremes
const int32_t kPlayingPoll = 10;
const int32_t kWaitingPoll = 100;
}  // namespace

int32_t DeviceVolume(int32_t volume)
{
    volume = std::clamp(volume, int32_t(0), int32_t(1024));
    if (volume == 0) return kDeviceSilence;
    return std::max(int32_t(1000 * std::log2(volume / 1024.0)), kDeviceSilence);
}

int32_t DevicePan(int32_t pan)
{
    pan = std::clamp(pan, int32_t(-1024), int32_t(1024));
    double q = pan / 1024.0;
    if (pan == 1024) return -kDeviceSilence;
    if (pan == -1024) return kDeviceSilence;
    if (q > 0.0001) return std::min(int32_t(-1000 * std::log2(1 - q)), -kDeviceSilence);
    if (q < -0.0001) return std::max(int32_t(1000 * std::log2(1 + q)), kDeviceSilence);
    return 0;
}

int32_t DeviceFrequency(uint32_t format, int32_t factor)
{
    double hz = 0.5 + double(SoundSampleRate(format)) * factor / 65536.0;
    return int32_t(std::clamp(hz, 100.0, 100000.0));
}

MMPhysicalSoundChannel::MMPhysicalSoundChannel(MMLogicalSoundChannel* owner, uint32_t format)
    : owner(owner), format(format), valid(false), buffer(nullptr), looping(false), paused(false)
{
    InitLock(&lock);
}

MMPhysicalSoundChannel::~MMPhysicalSoundChannel()
{
    if (buffer) buffer->Release();
    DeleteLock(&lock);
}

bool MMPhysicalSoundChannel::Create()
{
    valid = MakeBuffer();
    return valid;
}

void MMPhysicalSoundChannel::Release()
{
    Detach();
    LockHolder hold(&lock);
    if (buffer) buffer->Release();
    buffer = nullptr;
    valid = false;
}

bool MMPhysicalSoundChannel::IsLooping()
{
    const MMPlayRecord& current = owner->Current();
    return current.active && current.loop;
}

void MMPhysicalSoundChannel::Start(int32_t bytePosition)
{
    LockHolder hold(&lock);
    if (!buffer) return;
    buffer->SetCurrentPosition(DWORD(std::max(bytePosition, int32_t(0))));
    looping = IsLooping();
    if (!paused) buffer->Play(0, 0, looping ? DSBPLAY_LOOPING : 0);
}

void MMPhysicalSoundChannel::Stop()
{
    LockHolder hold(&lock);
    if (buffer) buffer->Stop();
}

void MMPhysicalSoundChannel::Pause()
{
    LockHolder hold(&lock);
    if (buffer) buffer->Stop();
    paused = true;
}

void MMPhysicalSoundChannel::Resume()
{
    LockHolder hold(&lock);
    if (buffer) buffer->Play(0, 0, looping ? DSBPLAY_LOOPING : 0);
    paused = false;
}

void MMPhysicalSoundChannel::ApplyFrequency()
{
    LockHolder hold(&lock);
    if (buffer) buffer->SetFrequency(DWORD(DeviceFrequency(format, owner->Frequency())));
}

void MMPhysicalSoundChannel::ApplyVolume()
{
    LockHolder hold(&lock);
    if (buffer) buffer->SetVolume(DeviceVolume(owner->Volume()));
}

void MMPhysicalSoundChannel::ApplyPan()
{
    LockHolder hold(&lock);
    if (buffer) buffer->SetPan(DevicePan(owner->Pan()));
}

bool MMPhysicalSoundChannel::IsFinished()
{
    if (paused) return false;
    LockHolder hold(&lock);
    DWORD status = 0;
    if (!buffer || FAILED(buffer->GetStatus(&status))) return true;
    return status == 0;
}

MMSinglePagedPhysicalSoundChannel::MMSinglePagedPhysicalSoundChannel(MMLogicalSoundChannel* owner,
                                                                     MMResourceId soundId)
    : MMPhysicalSoundChannel(owner, 0), soundId(soundId), dataSize(0), sibling(nullptr)
{
    if (MMSoundCollection* collection = MMFindSoundCollection(soundId)) {
        format = collection->Format(MMItemOf(soundId));
        dataSize = std::max(collection->DecodedSize(MMItemOf(soundId)), int32_t(0));
    }
}

MMSinglePagedPhysicalSoundChannel::MMSinglePagedPhysicalSoundChannel(
    MMLogicalSoundChannel* owner, MMSinglePagedPhysicalSoundChannel* sibling)
    : MMPhysicalSoundChannel(owner, sibling->Format()), soundId(sibling->SoundId()),
      dataSize(sibling->DataSize()), sibling(sibling)
{
}

bool MMSinglePagedPhysicalSoundChannel::MakeBuffer()
{
    MMSoundManager* manager = owner->Manager();
    if (sibling) {
        buffer = manager->DuplicateBuffer(sibling->Buffer());
        sibling = nullptr;
        return buffer != nullptr;
    }
    if (dataSize <= 0) return false;
    buffer = manager->CreateBuffer(format, uint32_t(dataSize), DSBCAPS_STATIC);
    if (!buffer) return false;
    Load();
    return true;
}

bool MMSinglePagedPhysicalSoundChannel::Load()
{
    MMSoundCollection* collection = MMFindSoundCollection(soundId);
    MMSoundSource* source = collection ? collection->OpenSource(MMItemOf(soundId)) : nullptr;
    if (!source) return false;
    void* bytes = nullptr;
    DWORD length = 0;
    bool ok = SUCCEEDED(buffer->Lock(0, DWORD(dataSize), &bytes, &length, nullptr, nullptr, 0));
    if (ok) {
        int32_t n = source->Read(bytes, int32_t(length), true);
        buffer->Unlock(bytes, length, nullptr, 0);
        ok = n == int32_t(length);
    }
    delete source;
    return ok;
}

void MMSinglePagedPhysicalSoundChannel::Start(int32_t bytePosition)
{
    if (owner->Current().loop) bytePosition = dataSize > 0 ? bytePosition % dataSize : 0;
    else bytePosition = std::min(bytePosition, dataSize);
    MMPhysicalSoundChannel::Start(bytePosition);
}

void MMSinglePagedPhysicalSoundChannel::LoopFlagCleared()
{
    LockHolder hold(&lock);
    if (buffer) buffer->Play(0, 0, 0);
    looping = false;
}

MMPermanentPhysicalSoundChannel::MMPermanentPhysicalSoundChannel(MMLogicalSoundChannel* owner,
                                                                 MMSoundSource* source,
                                                                 int32_t durationMs)
    : MMPhysicalSoundChannel(owner, source ? source->format : 0), source(source), bufferSize(0),
      state(kRefillIdle), writePosition(0), endPosition(0)
{
    uint32_t perTick = uint32_t(SoundBytesPerSecond(format)) / 25;
    uint32_t bytes = perTick * uint32_t(std::max(durationMs, int32_t(0))) / 40;
    bufferSize = (bytes + 4095) & ~uint32_t(4095);
}

bool MMPermanentPhysicalSoundChannel::MakeBuffer()
{
    if (!source || bufferSize == 0) return false;
    buffer = owner->Manager()->CreateBuffer(format, bufferSize, 0);
    writePosition = 0;
    return buffer != nullptr;
}

void MMPermanentPhysicalSoundChannel::Start(int32_t)
{
    LockHolder hold(&lock);
    FillFromSource(bufferSize, true);
    MMPhysicalSoundChannel::Start(0);
    state = kRefillFilling;
}

void MMPermanentPhysicalSoundChannel::Stop()
{
    LockHolder hold(&lock);
    MMPhysicalSoundChannel::Stop();
    writePosition = 0;
}

bool MMPermanentPhysicalSoundChannel::FillFromSource(uint32_t upTo, bool wait)
{
    if (!buffer || upTo <= writePosition) return true;
    void* bytes = nullptr;
    DWORD length = 0;
    if (FAILED(buffer->Lock(writePosition, upTo - writePosition, &bytes, &length, nullptr,
                            nullptr, 0)))
        return false;
    int32_t n = std::max(source->Read(bytes, int32_t(length), wait), int32_t(0));
    buffer->Unlock(bytes, DWORD(n), nullptr, 0);
    writePosition += uint32_t(n);
    if (writePosition >= bufferSize) writePosition = 0;
    return uint32_t(n) == length;
}

void MMPermanentPhysicalSoundChannel::FillSilence(uint32_t upTo)
{
    if (!buffer || upTo <= writePosition) return;
    void* bytes = nullptr;
    DWORD length = 0;
    if (FAILED(buffer->Lock(writePosition, upTo - writePosition, &bytes, &length, nullptr,
                            nullptr, 0)))
        return;
    std::memset(bytes, SoundIs16Bit(format) ? 0 : 0x80, length);
    buffer->Unlock(bytes, length, nullptr, 0);
    writePosition += length;
    if (writePosition >= bufferSize) writePosition = 0;
}

// While the rest of the data plays: soon while the buffer plays, less often
// while it is paused.
int32_t MMPermanentPhysicalSoundChannel::Drain(uint32_t)
{
    DWORD status = 0;
    if (SUCCEEDED(buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING)) return kPlayingPoll;
    return kWaitingPoll;
}

int32_t MMPermanentPhysicalSoundChannel::LastLap(uint32_t play)
{
    DWORD status = 0;
    bool playing = SUCCEEDED(buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
    // A buffer that stopped by itself at its end has played everything.
    if (play > endPosition || (!playing && !paused)) {
        buffer->Stop();
        state = kRefillIdle;
        return kNever;
    }
    return playing ? kPlayingPoll : kWaitingPoll;
}

int32_t MMPermanentPhysicalSoundChannel::Refill()
{
    LockHolder hold(&lock);
    if (!buffer || !source) return kNever;
    uint32_t play = 0;
    if (state != kRefillIdle) {
        DWORD cursor = 0, write = 0;
        if (FAILED(buffer->GetCurrentPosition(&cursor, &write))) return 0;
        play = cursor;
    }
    if (state == kRefillIdle || state == kRefillFilling) {
        uint32_t w = writePosition;
        if (play < w || (state == kRefillIdle && w == 0)) {
            if (FillFromSource(bufferSize, false) && play > 0 && !source->AtEnd())
                FillFromSource(play, false);
        } else if (state == kRefillFilling && play > w) {
            FillFromSource(play, false);
        }
        if (!source->AtEnd()) return kWaitingPoll;
        if (owner->Current().active && owner->Current().loop) {
            source->Seek(0);
            return 0;
        }
        endPosition = writePosition;
        if (state == kRefillIdle) return 0;
        state = kRefillDraining;
    }
    if (state == kRefillDraining) {
        uint32_t w = writePosition;
        if (play >= w) {
            if (play > w) FillSilence(play);
            return Drain(play);
        }
        FillSilence(bufferSize);
        if (looping) {
            // A paused buffer plays once when it resumes; playing it now
            // would end the pause.
            if (!paused) buffer->Play(0, 0, 0);
            looping = false;
        }
        state = kRefillLastLap;
    }
    if (state == kRefillLastLap) return LastLap(play);
    return kWaitingPoll;
}

int32_t MMStreamedPhysicalSoundChannelTask::Pulse() { return channel->Refill(); }

MMStreamedPhysicalSoundChannel::MMStreamedPhysicalSoundChannel(MMLogicalSoundChannel* owner,
                                                               MMSoundSource* source,
                                                               int32_t durationMs)
    : MMPermanentPhysicalSoundChannel(owner, source, durationMs), task(nullptr)
{
}

MMStreamedPhysicalSoundChannel::~MMStreamedPhysicalSoundChannel() { Detach(); }

bool MMStreamedPhysicalSoundChannel::MakeBuffer()
{
    if (!gSecondEnginePulseTaskManager) return false;
    return MMPermanentPhysicalSoundChannel::MakeBuffer();
}

void MMStreamedPhysicalSoundChannel::Detach()
{
    if (!task) return;
    if (task->manager) task->manager->Remove(task);
    delete task;
    task = nullptr;
}

void MMStreamedPhysicalSoundChannel::Start(int32_t bytePosition)
{
    // The old task may be refilling, which takes the lock: remove it first.
    Detach();
    LockHolder hold(&lock);
    if (source) source->Seek(bytePosition);
    MMPermanentPhysicalSoundChannel::Start(bytePosition);
    if (!buffer || !gSecondEnginePulseTaskManager) return;
    task = new MMStreamedPhysicalSoundChannelTask(this);
    gSecondEnginePulseTaskManager->Add(task);
}
