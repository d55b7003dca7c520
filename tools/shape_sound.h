#pragma once
// The sound of something dragged: a looping sound whose pitch falls as the
// drag grows. The sound id is also the resource id of a small table whose
// key-1 row names the loop sound.
#include <cstdint>

#include "engine/record_table.h"
#include "engine/resource_collection.h"

class MMGenericSoundChannel;
class MMStage;

class KVXShapeSound {
public:
    KVXShapeSound(MMStage* stage, MMResourceId soundId);
    virtual ~KVXShapeSound();
    KVXShapeSound(const KVXShapeSound&) = delete;
    KVXShapeSound& operator=(const KVXShapeSound&) = delete;

    // Remembers the start, (re)makes the channel and loops the key-1 sound.
    void Start(double x, double y);
    // The pitch from the distance to the start: 0x10000 - d x 0x8000 / size.
    void Update(double x, double y);
    // The pitch of the stored distance again.
    void Update();
    void Stop();

    MMGenericSoundChannel* Channel() const { return channel; }
    int16_t Distance() const { return distance; }
    int16_t Size() const { return size; }

private:
    MMStage* stage;
    double startX = 0;
    double startY = 0;
    int16_t size;
    int16_t distance = 0;
    MMGenericSoundChannel* channel = nullptr;
    MMRecordTable table;
    MMResourceId soundId;
};
