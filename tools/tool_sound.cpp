#include "tools/tool_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "engine/stage.h"
#include "framework/heap.h"
#include "framework/random.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"

namespace {
enum : int16_t { kStartKey = 0, kLoopKey = 1, kVariantKey = 2 };
// The stroke's angle is lifted into the positive range by this, not 2 pi.
const double kAngleLift = 6.18;
const int32_t kSilenceAfter = 250;
const double kTopSpeed = 16;

bool IsPitchSound(MMResourceId id)
{
    int32_t item = int32_t(uint32_t(id) & 0xFFFF);
    return item == 465 || item == 475 || item == 481 || item == 486 || item == 487;
}

MMGenericSoundChannel* NewChannel(MMStage* stage)
{
    if (!stage || !stage->SoundManager())
        return nullptr;
    return new (std::nothrow) MMGenericSoundChannel(stage->SoundManager());
}

void PlayKey(const MMRecordTable& table, int16_t key, MMGenericSoundChannel* channel, bool loop)
{
    int32_t row = table.FindRowByKey(key);
    if (!channel || row < 0)
        return;
    MMSoundReference sound;
    sound.Load(table.LongAt(row, 2));
    channel->Play(sound, loop);
}

void DeleteChannel(MMGenericSoundChannel*& channel)
{
    if (!channel)
        return;
    channel->Stop();
    delete channel;
    channel = nullptr;
}
}  // namespace

bool IsChannelPlaying(const MMGenericSoundChannel* channel)
{
    return channel && (channel->Current().active || channel->Request().active);
}

bool PlayRandomVariant(const MMRecordTable& table, MMGenericSoundChannel* channel)
{
    int32_t count = table.CountRows(0, 0, kVariantKey);
    if (!channel || count <= 0)
        return false;
    int32_t k = ProgramRandom().Range(0, count - 1);
    int32_t row = table.FindRowByKey(kVariantKey, 0, k);
    if (row < 0)
        return false;
    MMSoundReference sound;
    sound.Load(table.LongAt(row, 2));
    channel->Play(sound, false);
    return true;
}

KVXToolSound::KVXToolSound(MMStage* stage, MMResourceId soundId)
    : stage(stage), soundId(soundId), pitchMode(IsPitchSound(soundId))
{
    table.Load(soundId, 10, gDefaultHeap);
}

KVXToolSound::~KVXToolSound()
{
    Stop();
    table.Free();
}

MMGenericSoundChannel* KVXToolSound::RestartChannel(MMGenericSoundChannel* channel)
{
    if (channel) {
        channel->Stop();
        return channel;
    }
    return NewChannel(stage);
}

void KVXToolSound::Start(double x, double y)
{
    lastX = x;
    lastY = y;
    speed = 0;
    loopChannel = RestartChannel(loopChannel);
    if (loopChannel)
        loopChannel->SetVolume(0);
    PlayKey(table, kLoopKey, loopChannel, true);
    effectChannel = RestartChannel(effectChannel);
    PlayKey(table, kStartKey, effectChannel, false);
    tickTime = 0;
}

void KVXToolSound::Track(double x, double y)
{
    tickTime = 0;
    int32_t dx = int32_t(lastX - x);
    int32_t dy = int32_t(lastY - y);
    int32_t d = std::abs(dx) + std::abs(dy);
    if (d > 0) {
        double angle = std::atan2(lastX - x, lastY - y);
        while (angle < 0)
            angle += kAngleLift;
        if (!IsChannelPlaying(effectChannel)) {
            int32_t turn = std::abs(int32_t(angle - lastAngle));
            if (turn > 2 && turn < 4.18)
                PlayRandomVariant(table, effectChannel);
        }
        lastAngle = angle;
    }
    lastX = x;
    lastY = y;
    speed = std::min(double(d), kTopSpeed);
    if (!loopChannel)
        return;
    if (pitchMode) {
        int32_t frequency = speed <= 8 ? int32_t(61523 + (speed - 1) / 7 * 4013)
                                       : int32_t(65536 + (speed - 8) / 8 * 8767);
        loopChannel->SetFrequency(frequency);
        loopChannel->SetVolume(1024);
    } else {
        loopChannel->SetVolume(int32_t(speed / kTopSpeed * 1024));
    }
}

void KVXToolSound::Tick(int32_t time)
{
    if (tickTime == 0) {
        tickTime = time;
        return;
    }
    if (!pitchMode && time - tickTime > kSilenceAfter && loopChannel)
        loopChannel->SetVolume(0);
}

void KVXToolSound::Stop()
{
    DeleteChannel(loopChannel);
    DeleteChannel(effectChannel);
}

KVXRopeSound::KVXRopeSound(MMStage* stage, MMResourceId soundId) : stage(stage), soundId(soundId)
{
    table.Load(soundId, 10, gDefaultHeap);
    loopChannel = NewChannel(stage);
    effectChannel = NewChannel(stage);
}

KVXRopeSound::~KVXRopeSound()
{
    DeleteChannel(loopChannel);
    DeleteChannel(effectChannel);
    table.Free();
}

void KVXRopeSound::PlayLoop(double, double) { PlayKey(table, kLoopKey, loopChannel, true); }

void KVXRopeSound::PlayEndVariant()
{
    if (loopChannel)
        loopChannel->Stop();
    if (effectChannel && !IsChannelPlaying(effectChannel))
        PlayRandomVariant(table, effectChannel);
}
