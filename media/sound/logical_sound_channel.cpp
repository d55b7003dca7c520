#include "media/sound/logical_sound_channel.h"

#include <algorithm>
#include "media/sound/physical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_format.h"
#include "media/sound/sound_manager.h"

MMLogicalSoundChannel::MMLogicalSoundChannel(MMSoundManager* manager)
    : manager(manager), physical(nullptr), pauseCount(manager->SuspendCount()),
      timingState(kTimingRunning), disableCount(manager->DisableCount()), volume(1024), pan(0),
      frequency(0x10000)
{
    manager->AddChannel(this);
}

MMLogicalSoundChannel::~MMLogicalSoundChannel()
{
    SetPhysicalChannel(nullptr);
    manager->RemoveChannel(this);
}

int32_t MMLogicalSoundChannel::Now() const { return int32_t(manager->Now()); }

bool MMLogicalSoundChannel::IsFinished()
{
    if (current.loop) return false;
    if (physical) return physical->IsFinished();
    return FinishedByTime();
}

void MMLogicalSoundChannel::Reset()
{
    current.active = false;
    current.loop = false;
    current.position = 0;
}

void MMLogicalSoundChannel::RecordRequest(bool loop)
{
    request.active = true;
    request.loop = loop;
    request.position = 0;
}

void MMLogicalSoundChannel::Stop()
{
    if (current.active) {
        if (physical) physical->Stop();
        Reset();
    }
    request.active = false;
}

void MMLogicalSoundChannel::SetVolume(int32_t level)
{
    if (level == volume) return;
    volume = level;
    if (physical) physical->ApplyVolume();
}

void MMLogicalSoundChannel::SetPan(int32_t value)
{
    if (value == pan) return;
    pan = value;
    if (physical) physical->ApplyPan();
}

void MMLogicalSoundChannel::SetFrequency(int32_t factor)
{
    if (factor == frequency) return;
    frequency = factor;
    if (physical) physical->ApplyFrequency();
}

int32_t MMLogicalSoundChannel::ElapsedTime()
{
    if (!current.active) return 0;
    if (timingState != kTimingRunning) return current.position;
    return Now() - current.position;
}

void MMLogicalSoundChannel::EndLoop()
{
    if (!current.active || !current.loop) return;
    current.loop = false;
    if (physical) physical->LoopFlagCleared();
}

void MMLogicalSoundChannel::RaiseDisableCount()
{
    if (disableCount++ == 0) SetPhysicalChannel(nullptr);
}

void MMLogicalSoundChannel::Service()
{
    if (current.active) {
        if (IsFinished()) Reset();
        if (current.active && request.active) {
            if (physical) physical->Stop();
            Reset();
        }
    }
    if (request.active) {
        current.loop = request.loop;
        current.position = request.position;
        current.active = true;
        request.active = false;
        OnStart();
        if (!physical && disableCount == 0) SetPhysicalChannel(MakePhysicalChannel());
        StartAt(current.position);
        return;
    }
    if (current.active && disableCount == 0) {
        if (physical) {
            SyncPause();
        } else {
            SetPhysicalChannel(MakePhysicalChannel());
            StartAt(ElapsedTime());
        }
    }
}

void MMLogicalSoundChannel::StartAt(int32_t ms)
{
    SyncPause();
    if (physical) {
        uint32_t format = physical->Format();
        // 64-bit: a sound minutes long passes 2^31 in the product.
        int64_t bytes = int64_t(SoundBytesPerSecond(format) / 25) * ms / 40;
        int64_t length = SoundLength();
        if (current.loop && length > 0) bytes %= length;
        int32_t frame = std::max(SoundBytesPerFrame(format), int32_t(1));
        if (bytes < 0) bytes = 0;
        else bytes -= bytes % frame;
        physical->Start(int32_t(std::min<int64_t>(bytes, INT32_MAX)));
    }
    current.position = ms;
    if (timingState == kTimingRunning) current.position = Now() - ms;
}

void MMLogicalSoundChannel::SyncPause()
{
    if (pauseCount > 0) {
        if (timingState == kTimingRunning) {
            current.position = Now() - current.position;
            timingState = kTimingFrozen;
        }
        if (timingState == kTimingFrozen && physical) {
            physical->Pause();
            timingState = kTimingPausedBuffer;
        }
        return;
    }
    if (timingState == kTimingPausedBuffer && physical) physical->Resume();
    if (timingState != kTimingRunning) {
        current.position = Now() - current.position;
        timingState = kTimingRunning;
    }
}

void MMLogicalSoundChannel::SetPhysicalChannel(MMPhysicalSoundChannel* channel)
{
    if (physical) {
        physical->Release();
        delete physical;
        physical = nullptr;
        // The clock stays frozen, but no buffer is paused any more.
        if (timingState == kTimingPausedBuffer) timingState = kTimingFrozen;
    }
    if (channel) {
        if (channel->IsValid() || channel->Create()) physical = channel;
        else delete channel;
    }
    if (physical) {
        physical->ApplyVolume();
        physical->ApplyPan();
        physical->ApplyFrequency();
    }
}

MMGenericSoundChannel::MMGenericSoundChannel(MMSoundManager* manager)
    : MMLogicalSoundChannel(manager), soundId(MM_NO_RESOURCE), duration(0), source(nullptr)
{
}

MMGenericSoundChannel::~MMGenericSoundChannel()
{
    // The physical channel reads the source: it goes first.
    SetPhysicalChannel(nullptr);
    delete source;
}

void MMGenericSoundChannel::Play(const MMSoundReference& sound, bool loop)
{
    soundId = sound.Id();
    MMSoundCollection* collection = sound.Collection();
    if (!collection) {
        duration = 0;
        return;
    }
    duration = collection->Duration(MMItemOf(soundId));
    RecordRequest(loop);
}

MMPhysicalSoundChannel* MMGenericSoundChannel::MakePhysicalChannel()
{
    // The old source goes before a new one opens: a streamed sound has one
    // stream at a time.
    delete source;
    source = nullptr;
    // Without a device no buffer can be made: do not read the sound for nothing.
    if (!manager->Device()) return nullptr;
    MMSoundCollection* collection = MMFindSoundCollection(soundId);
    if (collection) source = collection->OpenSource(MMItemOf(soundId));
    if (!source) return nullptr;
    return new MMStreamedPhysicalSoundChannel(this, source, MM_STREAMING_DURATION);
}

void MMGenericSoundChannel::Reset()
{
    MMLogicalSoundChannel::Reset();
    SetPhysicalChannel(nullptr);
    delete source;
    source = nullptr;
}

bool MMGenericSoundChannel::FinishedByTime() { return ElapsedTime() >= duration; }

int64_t MMGenericSoundChannel::SoundLength()
{
    MMSoundCollection* collection = MMFindSoundCollection(soundId);
    return collection ? collection->DecodedSize(MMItemOf(soundId)) : 0;
}

MMArcadeSoundChannel::MMArcadeSoundChannel(MMSoundManager* manager, const MMSoundReference& sound)
    : MMLogicalSoundChannel(manager), soundId(sound.Id()), duration(sound.Duration()), next(this)
{
    MakePhysicalNow();
}

MMArcadeSoundChannel::MMArcadeSoundChannel(MMSoundManager* manager, MMArcadeSoundChannel* sibling)
    : MMLogicalSoundChannel(manager), soundId(sibling->soundId), duration(sibling->duration),
      next(sibling->next)
{
    sibling->next = this;
    MakePhysicalNow();
}

MMArcadeSoundChannel::~MMArcadeSoundChannel()
{
    MMArcadeSoundChannel* before = this;
    while (before->next != this) before = before->next;
    before->next = next;
}

void MMArcadeSoundChannel::MakePhysicalNow()
{
    if (disableCount == 0) SetPhysicalChannel(MakePhysicalChannel());
}

void MMArcadeSoundChannel::Play(const MMSoundReference& sound, bool loop)
{
    MMResourceId id = sound.Id();
    if (id != soundId) SetPhysicalChannel(nullptr);
    soundId = id;
    duration = sound.Duration();
    if (sound.Collection()) RecordRequest(loop);
}

void MMArcadeSoundChannel::Replay(bool loop) { RecordRequest(loop); }

MMPhysicalSoundChannel* MMArcadeSoundChannel::MakePhysicalChannel()
{
    MMSinglePagedPhysicalSoundChannel* made = nullptr;
    for (MMArcadeSoundChannel* other = next; other != this && !made; other = other->next) {
        auto* lender = dynamic_cast<MMSinglePagedPhysicalSoundChannel*>(other->PhysicalChannel());
        if (lender && lender->SoundId() == soundId)
            made = new MMSinglePagedPhysicalSoundChannel(this, lender);
    }
    if (!made) made = new MMSinglePagedPhysicalSoundChannel(this, soundId);
    if (made->Create()) return made;
    delete made;
    return nullptr;
}

bool MMArcadeSoundChannel::FinishedByTime() { return ElapsedTime() > duration; }

MMPermanentSoundChannel::MMPermanentSoundChannel(MMSoundManager* manager, MMSoundSource* source,
                                                 int32_t durationMs)
    : MMLogicalSoundChannel(manager), streamingDuration(durationMs), source(source)
{
}

void MMPermanentSoundChannel::Replay(bool loop) { RecordRequest(loop); }

bool MMPermanentSoundChannel::FinishedByTime() { return !source || source->AtEnd(); }

MMPhysicalSoundChannel* MMStreamedSoundChannel::MakePhysicalChannel()
{
    return new MMStreamedPhysicalSoundChannel(this, source, streamingDuration);
}
