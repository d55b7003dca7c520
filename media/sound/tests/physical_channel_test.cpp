#include <gtest/gtest.h>

#include "channel_fixture.h"

namespace {

// A streamed channel over a source in memory, started by one tick.
struct StreamedChannel : ChannelTest {
    MemorySource* source = nullptr;
    MMStreamedSoundChannel* channel = nullptr;

    void Play(size_t bytes, bool loop, uint32_t format = 26)
    {
        source = new MemorySource(format, Ramp(bytes));
        channel = new MMStreamedSoundChannel(&manager, source, 1500);
        channel->Replay(loop);
        manager.Service();
    }
    ~StreamedChannel() override
    {
        delete channel;
        delete source;
    }
    MMStreamedPhysicalSoundChannel* Physical()
    {
        return static_cast<MMStreamedPhysicalSoundChannel*>(channel->PhysicalChannel());
    }
    int32_t RefillAt(DWORD cursor)
    {
        Buffer()->play = cursor;
        return Physical()->Refill();
    }
    bool RingHolds(uint32_t at, size_t sourceOffset, size_t n)
    {
        return std::memcmp(Buffer()->memory->data() + at, source->bytes.data() + sourceOffset, n) == 0;
    }
    bool RingSilent(uint32_t from, uint32_t to)
    {
        for (uint32_t i = from; i < to; ++i)
            if ((*Buffer()->memory)[i] != 0) return false;
        return true;
    }
};

TEST_F(StreamedChannel, AShortSoundIsFollowedBySilenceAndStopsPastItsEnd)
{
    Play(1000, false);
    ASSERT_NE(Physical(), nullptr);
    EXPECT_EQ(Buffer()->Size(), 135168u);
    EXPECT_TRUE(RingHolds(0, 0, 1000));
    EXPECT_TRUE(Buffer()->Looping());
    EXPECT_EQ(Physical()->State(), kRefillFilling);
    ASSERT_NE(Physical()->Task(), nullptr);

    EXPECT_EQ(RefillAt(0), 10);
    EXPECT_EQ(Physical()->State(), kRefillLastLap);
    EXPECT_EQ(Physical()->EndPosition(), 1000u);
    EXPECT_TRUE(RingSilent(1000, 135168));
    EXPECT_TRUE(Buffer()->Playing());
    EXPECT_FALSE(Buffer()->Looping());
    EXPECT_EQ(RefillAt(1000), 10);

    // The task runs the last step: the buffer stops and it is never due again.
    Buffer()->play = 1001;
    pulses.RunDue();
    EXPECT_FALSE(Buffer()->Playing());
    EXPECT_EQ(Physical()->State(), kRefillIdle);
    EXPECT_EQ(Physical()->Task()->due, kNever);
    EXPECT_TRUE(channel->IsFinished());
    manager.Service();
    EXPECT_FALSE(channel->IsActive());
}

TEST_F(StreamedChannel, ALongSoundRefillsBehindTheCursorAndDrains)
{
    Play(300000, false);
    EXPECT_TRUE(RingHolds(0, 0, 135168));
    EXPECT_EQ(Physical()->WritePosition(), 0u);
    EXPECT_EQ(RefillAt(0), 100);  // full: nothing to do
    EXPECT_EQ(RefillAt(50000), 100);
    EXPECT_TRUE(RingHolds(0, 135168, 50000));
    EXPECT_EQ(RefillAt(120000), 100);
    EXPECT_TRUE(RingHolds(50000, 185168, 70000));
    // The cursor wrapped: the end of the ring, then its start up to the cursor.
    source->ready = 10000;
    EXPECT_EQ(RefillAt(20000), 100);
    EXPECT_EQ(Physical()->WritePosition(), 130000u);  // a short read stops there
    source->ready = SIZE_MAX;
    EXPECT_EQ(RefillAt(25000), 100);
    EXPECT_TRUE(RingHolds(130000, 265168, 5168));
    EXPECT_TRUE(RingHolds(0, 270336, 25000));
    EXPECT_EQ(RefillAt(60000), 10);  // the data ends inside this step
    EXPECT_EQ(Physical()->EndPosition(), 29664u);
    EXPECT_EQ(Physical()->State(), kRefillDraining);
    EXPECT_TRUE(RingHolds(25000, 295336, 4664));
    EXPECT_TRUE(RingSilent(29664, 60000));  // silence behind the cursor
    EXPECT_EQ(RefillAt(10000), 10);         // wrapped again: the last lap
    EXPECT_EQ(Physical()->State(), kRefillLastLap);
    EXPECT_TRUE(RingSilent(60000, 135168));
    EXPECT_EQ(RefillAt(29664), 10);
    EXPECT_EQ(RefillAt(29665), kNever);
}

TEST_F(StreamedChannel, ALoopingSoundSeeksBackAndNeverDrains)
{
    Play(50000, true);
    EXPECT_EQ(Physical()->WritePosition(), 50000u);
    EXPECT_EQ(RefillAt(0), 0);  // at its end: back to the start at once
    EXPECT_EQ(source->seeks.back(), 0);
    EXPECT_EQ(RefillAt(0), 0);
    EXPECT_TRUE(RingHolds(50000, 0, 50000));
    EXPECT_EQ(RefillAt(0), 100);
    EXPECT_TRUE(RingHolds(100000, 0, 35168));
    EXPECT_EQ(Physical()->State(), kRefillFilling);
    EXPECT_FALSE(channel->IsFinished());
}

TEST_F(StreamedChannel, PausedAndStoppedBuffersEndTheDrainInTime)
{
    Play(1000, false);
    channel->AddPause(1);
    manager.Service();
    EXPECT_TRUE(Physical()->IsPaused());
    EXPECT_FALSE(Buffer()->Playing());
    EXPECT_FALSE(Physical()->IsFinished());  // stopped, but only paused
    EXPECT_EQ(RefillAt(0), 100);             // polls slowly while paused
    EXPECT_EQ(Physical()->State(), kRefillLastLap);
    channel->AddPause(-1);
    manager.Service();
    EXPECT_TRUE(Buffer()->Playing());
    // A buffer that stopped by itself before its cursor was seen past the end.
    Buffer()->Stop();
    EXPECT_EQ(RefillAt(0), kNever);
    EXPECT_EQ(Physical()->State(), kRefillIdle);
}

TEST_F(StreamedChannel, StartingAgainKeepsOneTaskAndSeeksTheSource)
{
    Play(100000, false);
    Physical()->Start(4000);
    Physical()->Start(8000);
    EXPECT_EQ(pulses.tasks.count, 1);
    EXPECT_EQ(source->seeks, (std::vector<int32_t>{0, 4000, 8000}));
    channel->SetPhysicalChannel(nullptr);
    EXPECT_EQ(pulses.tasks.count, 0);
}

TEST_F(StreamedChannel, RefusedLocksAndEightBitSilence)
{
    Play(1000, false, 2);  // 22050 Hz 8-bit mono
    EXPECT_EQ(Buffer()->Size(), 36864u);
    std::fill(Buffer()->memory->begin() + 1000, Buffer()->memory->end(), 0x11);
    Buffer()->failLock = true;
    EXPECT_EQ(RefillAt(0), 10);
    EXPECT_EQ((*Buffer()->memory)[1000], 0x11);  // nothing written
    EXPECT_EQ(Physical()->WritePosition(), 1000u);
    EXPECT_EQ(Physical()->State(), kRefillLastLap);

    Buffer()->failLock = false;
    channel->Stop();
    channel->Replay(false);
    manager.Service();
    EXPECT_EQ(Physical()->State(), kRefillFilling);
    EXPECT_EQ(RefillAt(0), 10);
    EXPECT_EQ((*Buffer()->memory)[1000], 0x80);
    EXPECT_EQ(Buffer()->memory->back(), 0x80);
}

TEST_F(ChannelTest, WithoutTheSecondPulseManagerNoStreamIsMade)
{
    gSecondEnginePulseTaskManager = nullptr;
    MemorySource source(26, Ramp(100));
    MMStreamedSoundChannel channel(&manager, &source, 1500);
    channel.Replay(false);
    manager.Service();
    EXPECT_EQ(channel.PhysicalChannel(), nullptr);
}

}  // namespace
