#pragma once
// The sound of a freehand stroke: a loop whose loudness (or, for a few
// tools, pitch) follows the pen's speed, a start sound played once, and a
// random accent when the stroke turns. The sound id is also the resource id
// of a small table: key 0 the start sound, key 1 the loop, key 2 the turn
// variants.
#include <cstdint>

#include "engine/record_table.h"
#include "engine/resource_collection.h"

class MMGenericSoundChannel;
class MMStage;

// Whether the channel has a sound playing or about to play.
bool IsChannelPlaying(const MMGenericSoundChannel* channel);
// Plays, once on the channel, one key-2 row of the table chosen at random;
// false when there is none.
bool PlayRandomVariant(const MMRecordTable& table, MMGenericSoundChannel* channel);

class KVXToolSound {
public:
    KVXToolSound(MMStage* stage, MMResourceId soundId);
    virtual ~KVXToolSound();
    KVXToolSound(const KVXToolSound&) = delete;
    KVXToolSound& operator=(const KVXToolSound&) = delete;

    void Start(double x, double y);
    void Track(double x, double y);
    // Silences the loop 250 ms after the pen stopped (not in pitch mode).
    void Tick(int32_t time);
    void Stop();

    MMGenericSoundChannel* LoopChannel() const { return loopChannel; }
    MMGenericSoundChannel* EffectChannel() const { return effectChannel; }
    MMResourceId SoundId() const { return soundId; }
    bool PitchMode() const { return pitchMode != 0; }
    double Speed() const { return speed; }
    double LastAngle() const { return lastAngle; }
    int32_t TickTime() const { return tickTime; }

private:
    MMGenericSoundChannel* RestartChannel(MMGenericSoundChannel* channel);

    MMStage* stage;
    double lastX = 0;
    double lastY = 0;
    double lastAngle = 0;
    double speed = 0;
    int32_t tickTime = 0;
    MMGenericSoundChannel* loopChannel = nullptr;
    MMGenericSoundChannel* effectChannel = nullptr;
    MMRecordTable table;
    MMResourceId soundId;
    uint8_t pitchMode = 0;
};

// The rope selection's sound: a loop while the rope is drawn and a random
// variant at its end.
class KVXRopeSound {
public:
    KVXRopeSound(MMStage* stage, MMResourceId soundId);
    virtual ~KVXRopeSound();
    KVXRopeSound(const KVXRopeSound&) = delete;
    KVXRopeSound& operator=(const KVXRopeSound&) = delete;

    void PlayLoop(double x, double y);
    void Track(double x, double y) {}
    void PlayEndVariant();

    MMGenericSoundChannel* LoopChannel() const { return loopChannel; }
    MMGenericSoundChannel* EffectChannel() const { return effectChannel; }

private:
    MMStage* stage;
    MMGenericSoundChannel* loopChannel = nullptr;
    MMGenericSoundChannel* effectChannel = nullptr;
    MMRecordTable table;
    MMResourceId soundId;
};
