#pragma once
// A sound manager on the fake device with a clock the test moves, a source
// of bytes in memory, and a pulse-task manager the test pulses by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>
#include "engine/engine_pulse_managers.h"
#include "fake_direct_sound.h"
#include "framework/pending_error.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/physical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_format.h"
#include "media/sound/sound_manager.h"

struct SoundClock {
    static inline uint32_t now = 1000;
    static uint32_t Now() { return now; }
};

// Bytes in memory; without wait it gives at most `ready` bytes a read.
class MemorySource : public MMSoundSource {
public:
    MemorySource(uint32_t format, std::vector<uint8_t> bytes)
        : MMSoundSource(format), bytes(std::move(bytes)) {}
    bool AtEnd() override { return position >= bytes.size(); }
    void Seek(int32_t to) override
    {
        seeks.push_back(to);
        position = std::min(size_t(std::max(to, 0)), bytes.size());
    }
    int32_t Read(void* destination, int32_t count, bool wait) override
    {
        size_t n = std::min(size_t(count), bytes.size() - position);
        if (!wait) n = std::min(n, ready);
        std::memcpy(destination, bytes.data() + position, n);
        position += n;
        return int32_t(n);
    }
    std::vector<uint8_t> bytes;
    size_t position = 0;
    size_t ready = SIZE_MAX;
    std::vector<int32_t> seeks;
};

inline std::vector<uint8_t> Ramp(size_t n)
{
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(1 + i % 251);
    return bytes;
}

struct ChannelTest : testing::Test {
    FakeDirectSound device;
    AFPulseTaskManager pulses;  // not started: the test pulses it
    MMSoundManager manager{nullptr, FakeDirectSoundCreate};

    ChannelTest()
    {
        ClearPendingError();
        gFakeDevice = &device;
        SoundClock::now = 1000;
        manager.SetClock(SoundClock::Now);
        pulses.SetClock(SoundClock::Now);
        gSecondEnginePulseTaskManager = &pulses;
        SoundFormat = 26;
        manager.Enable();
    }
    ~ChannelTest() override
    {
        gSecondEnginePulseTaskManager = nullptr;
        gFakeDevice = nullptr;
        SoundFormat = 10;
    }
    // The newest secondary buffer.
    FakeBuffer* Buffer() { return device.Last(); }
};
