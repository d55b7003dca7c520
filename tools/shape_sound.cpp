#include "tools/shape_sound.h"

#include <cmath>
#include <new>

#include "engine/stage.h"
#include "framework/heap.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"

namespace {
// The width of the common screen rectangle.
const int16_t kScreenWidth = 640;
}  // namespace

KVXShapeSound::KVXShapeSound(MMStage* stage, MMResourceId soundId)
    : stage(stage), size(kScreenWidth), soundId(soundId)
{
    table.Load(soundId, 10, gDefaultHeap);
}

KVXShapeSound::~KVXShapeSound()
{
    Stop();
    table.Free();
}

void KVXShapeSound::Start(double x, double y)
{
    startX = x;
    startY = y;
    if (channel)
        channel->Stop();
    else if (stage && stage->SoundManager())
        channel = new (std::nothrow) MMGenericSoundChannel(stage->SoundManager());
    int32_t row = table.FindRowByKey(1);
    if (channel && row >= 0) {
        MMSoundReference loop;
        loop.Load(table.LongAt(row, 2));
        channel->Play(loop, true);
    }
    distance = 0;
}

void KVXShapeSound::Update(double x, double y)
{
    distance = int16_t(std::sqrt((startX - x) * (startX - x) + (startY - y) * (startY - y)));
    Update();
}

void KVXShapeSound::Update()
{
    if (channel)
        channel->SetFrequency(0x10000 - distance * 0x8000 / size);
}

void KVXShapeSound::Stop()
{
    if (!channel)
        return;
    channel->Stop();
    delete channel;
    channel = nullptr;
}
