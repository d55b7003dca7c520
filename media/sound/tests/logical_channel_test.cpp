#include <gtest/gtest.h>

#include <algorithm>
#include "channel_fixture.h"
#include "media/sound/sound_loader.h"
#include "sound_fixture.h"

namespace {

bool Called(FakeBuffer* buffer, const std::string& call)
{
    return std::find(buffer->calls.begin(), buffer->calls.end(), call) != buffer->calls.end();
}

struct GenericChannel : ChannelTest {
    ScratchFolder scratch;
    std::vector<TestSound> sounds;
    MMSoundReference longSound;   // 1,000,000 bytes of 22050 Hz stereo, streamed
    MMSoundReference shortSound;  // 100 ms of 22050 Hz mono
    MMGenericSoundChannel channel{&manager};

    GenericChannel()
    {
        sounds.resize(2);
        sounds[0].samples = Tone(300, 250000, true);
        sounds[0].source.stereo = true;
        sounds[0].source.streamed = true;
        sounds[1].samples = Tone(1000, 2205, false);
        EXPECT_TRUE(WriteSoundFile(scratch.folder, "Hd.MMA", sounds));
        EXPECT_NE(CreateSoundLoader("Hd.MMA", scratch.folder, false), nullptr);
        longSound.Load(0x40000000);
        shortSound.Load(0x40000001);
    }
    ~GenericChannel() override
    {
        channel.Stop();
        channel.SetPhysicalChannel(nullptr);
        longSound.Clear();
        shortSound.Clear();
        DeleteAllSoundCollections();
    }
    void Tick(uint32_t ms = 0)
    {
        SoundClock::now += ms;
        manager.Service();
    }
    // The ring of the newest buffer begins with these samples of a sound.
    bool RingBeginsWith(const TestSound& sound, size_t firstSample)
    {
        return std::memcmp(Buffer()->memory->data(), sound.samples.data() + firstSample, 4096) == 0;
    }
};

TEST_F(GenericChannel, APlayStartsOnTheTickAfterTheRequest)
{
    channel.Play(shortSound, false);
    EXPECT_FALSE(channel.IsActive());
    EXPECT_EQ(channel.ElapsedTime(), 0);
    EXPECT_EQ(channel.Duration(), 100);
    EXPECT_EQ(device.buffers.size(), 1u);  // the primary only
    Tick(25);
    ASSERT_TRUE(channel.IsActive());
    EXPECT_EQ(channel.ElapsedTime(), 0);
    EXPECT_EQ(Buffer()->Size(), 69632u);
    EXPECT_EQ(Buffer()->calls[0], "volume 0");
    EXPECT_EQ(Buffer()->calls[1], "pan 0");
    EXPECT_EQ(Buffer()->calls[2], "frequency 22050");
    EXPECT_TRUE(Called(Buffer(), "play looping"));
    EXPECT_TRUE(RingBeginsWith(sounds[1], 0));
    SoundClock::now += 40;
    EXPECT_EQ(channel.ElapsedTime(), 40);

    // A second request stops the first sound and starts on the next tick.
    FakeBuffer* first = Buffer();
    channel.Play(longSound, false);
    EXPECT_EQ(channel.ElapsedTime(), 40);
    Tick(10);
    EXPECT_EQ(first->references, 0u);
    EXPECT_EQ(Buffer()->Size(), 135168u);
    EXPECT_EQ(channel.ElapsedTime(), 0);
    EXPECT_TRUE(RingBeginsWith(sounds[0], 0));
}

TEST_F(GenericChannel, AStreamedSoundPlaysAgainWhileItStreams)
{
    channel.Play(longSound, false);
    Tick();
    channel.Play(longSound, false);
    Tick(500);
    ASSERT_NE(channel.PhysicalChannel(), nullptr);
    EXPECT_TRUE(RingBeginsWith(sounds[0], 0));
    EXPECT_EQ(device.buffers.size(), 3u);
}

TEST_F(GenericChannel, ALoopNeverFinishesUntilStopped)
{
    channel.Play(shortSound, true);
    Tick();
    Tick(10000);
    EXPECT_TRUE(channel.IsActive());
    FakeBuffer* buffer = Buffer();
    channel.Stop();
    EXPECT_FALSE(channel.IsActive());
    EXPECT_TRUE(Called(buffer, "stop"));
    EXPECT_EQ(channel.PhysicalChannel(), nullptr);
    EXPECT_EQ(channel.Source(), nullptr);
    Tick();
    EXPECT_FALSE(channel.IsActive());
}

TEST_F(GenericChannel, AFinishedBufferEndsTheSound)
{
    channel.Play(shortSound, false);
    Tick();
    Buffer()->Stop();
    Tick(5);
    EXPECT_FALSE(channel.IsActive());
    EXPECT_EQ(channel.PhysicalChannel(), nullptr);
}

TEST_F(GenericChannel, ADisabledChannelKeepsItsClockAndResumesWhereItIs)
{
    channel.Play(longSound, false);
    Tick();
    SoundClock::now += 300;
    manager.Disable();
    EXPECT_EQ(channel.PhysicalChannel(), nullptr);
    EXPECT_EQ(channel.ElapsedTime(), 300);
    Tick(200);
    EXPECT_EQ(channel.PhysicalChannel(), nullptr);
    EXPECT_EQ(channel.ElapsedTime(), 500);
    manager.Enable();
    Tick();
    ASSERT_NE(channel.PhysicalChannel(), nullptr);
    EXPECT_EQ(channel.ElapsedTime(), 500);
    EXPECT_TRUE(RingBeginsWith(sounds[0], 22050));  // 44,100 bytes in
}

TEST_F(GenericChannel, ALoopResumedMinutesLaterWrapsInsideTheSound)
{
    channel.Play(longSound, true);
    Tick();
    manager.Disable();
    SoundClock::now += 1200000;  // 20 minutes: 105,840,000 bytes
    manager.Enable();
    Tick();
    ASSERT_NE(channel.PhysicalChannel(), nullptr);
    EXPECT_TRUE(RingBeginsWith(sounds[0], 840000 / 2));
}

TEST_F(GenericChannel, APausedStageFreezesTheClock)
{
    channel.Play(shortSound, false);
    Tick();
    SoundClock::now += 10;
    manager.Suspend();
    Tick();
    EXPECT_FALSE(Buffer()->Playing());
    EXPECT_EQ(channel.TimingState(), kTimingPausedBuffer);
    SoundClock::now += 1000;
    EXPECT_EQ(channel.ElapsedTime(), 10);
    Tick();
    EXPECT_TRUE(channel.IsActive());
    EXPECT_EQ(manager.Resume(), 0);
    Tick(3);
    EXPECT_TRUE(Buffer()->Playing());
    EXPECT_EQ(channel.TimingState(), kTimingRunning);
    SoundClock::now += 5;
    EXPECT_EQ(channel.ElapsedTime(), 15);
}

TEST_F(GenericChannel, SettingsApplyOnceAndSurviveThePhysicalChannel)
{
    channel.SetVolume(0);
    channel.SetPan(-1024);
    channel.SetFrequency(0x8000);
    channel.Play(shortSound, false);
    Tick();
    EXPECT_EQ(Buffer()->volume, -10000);
    EXPECT_EQ(Buffer()->pan, -10000);
    EXPECT_EQ(Buffer()->frequency, 11025u);
    size_t calls = Buffer()->calls.size();
    channel.SetVolume(0);
    EXPECT_EQ(Buffer()->calls.size(), calls);
    channel.SetVolume(512);
    EXPECT_EQ(Buffer()->calls.back(), "volume -1000");
}

TEST_F(GenericChannel, WithoutADeviceASoundEndsByTheClock)
{
    MMSoundManager silent(nullptr, nullptr);
    silent.SetClock(SoundClock::Now);
    silent.Enable();
    MMGenericSoundChannel quiet(&silent);
    quiet.Play(shortSound, false);
    silent.Service();
    EXPECT_TRUE(quiet.IsActive());
    EXPECT_EQ(quiet.PhysicalChannel(), nullptr);
    EXPECT_EQ(quiet.Source(), nullptr);
    SoundClock::now += 99;
    silent.Service();
    EXPECT_TRUE(quiet.IsActive());
    SoundClock::now += 1;
    silent.Service();
    EXPECT_FALSE(quiet.IsActive());

    MMSoundReference none;
    quiet.Play(none, false);
    silent.Service();
    EXPECT_FALSE(quiet.IsActive());
}

TEST_F(GenericChannel, ArcadeChannelsShareOneStaticBuffer)
{
    MMArcadeSoundChannel first(&manager, shortSound);
    ASSERT_NE(first.PhysicalChannel(), nullptr);
    FakeBuffer* loaded = Buffer();
    EXPECT_EQ(loaded->description.dwFlags, 0xE2u);
    EXPECT_EQ(loaded->Size(), 4410u);
    EXPECT_EQ(std::memcmp(loaded->memory->data(), sounds[1].samples.data(), 4410), 0);
    MMArcadeSoundChannel second(&manager, &first);
    EXPECT_EQ(Buffer()->memory, loaded->memory);
    EXPECT_EQ(first.Next(), &second);
    EXPECT_EQ(second.Next(), &first);

    second.Replay(false);
    Tick();
    second.PhysicalChannel()->Start(10000);
    EXPECT_EQ(Buffer()->play, 4410u);  // not looping: its end
    second.Replay(true);
    Tick();
    second.PhysicalChannel()->Start(10000);
    EXPECT_EQ(Buffer()->play, 1180u);  // looping: wrapped
}

}  // namespace
