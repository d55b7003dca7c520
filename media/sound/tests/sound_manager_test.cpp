#include <gtest/gtest.h>

#include <map>
#include "channel_fixture.h"
#include "media/sound/sound_format.h"
#include "sound_fixture.h"

namespace {

TEST(SoundManager, WithoutDirectSoundEverythingRunsSilently)
{
    MMSoundManager manager(nullptr, nullptr);
    {
        MMStreamedSoundChannel channel(&manager, nullptr, 1500);
        manager.Enable();
        EXPECT_EQ(manager.DisableCount(), 0);
        EXPECT_EQ(manager.Device(), nullptr);
        EXPECT_EQ(channel.DisableCount(), 0);
        channel.Replay(false);
        manager.Service();
        EXPECT_EQ(channel.PhysicalChannel(), nullptr);
        manager.Service();  // a source-less sound ends by itself
        EXPECT_FALSE(channel.IsActive());
        EXPECT_EQ(manager.Disable(), 1);
    }
    EXPECT_TRUE(manager.Channels().IsEmpty());
    EXPECT_EQ(manager.CreateBuffer(26, 4096, 0), nullptr);
}

TEST_F(ChannelTest, TheDeviceOpensOnceWithThePrimaryFormat)
{
    EXPECT_EQ(manager.Device(), &device);
    EXPECT_EQ(device.cooperativeLevel, DWORD(DSSCL_EXCLUSIVE));
    ASSERT_EQ(device.buffers.size(), 1u);
    FakeBuffer& primary = *device.buffers[0];
    EXPECT_EQ(primary.description.dwFlags, DWORD(DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME));
    EXPECT_EQ(primary.description.dwBufferBytes, 0u);
    EXPECT_EQ(primary.format.nSamplesPerSec, 22050u);
    EXPECT_EQ(primary.format.nChannels, 2);
    EXPECT_EQ(primary.format.wBitsPerSample, 16);
    EXPECT_EQ(primary.format.nBlockAlign, 4);
    EXPECT_EQ(primary.format.nAvgBytesPerSec, 88200u);
    EXPECT_EQ(primary.references, 0u);  // released once its format is set

    manager.Enable();
    EXPECT_EQ(manager.DisableCount(), -1);
    EXPECT_EQ(device.buffers.size(), 1u);
    EXPECT_EQ(device.references, 2u);
    manager.Disable();
    EXPECT_EQ(manager.Disable(), 1);
    EXPECT_EQ(device.references, 1u);
    EXPECT_EQ(manager.Device(), nullptr);

    // A refused cooperative level leaves no device.
    device.refuseCooperativeLevel = true;
    manager.Enable();
    EXPECT_EQ(manager.Device(), nullptr);
    EXPECT_EQ(device.references, 1u);
}

TEST_F(ChannelTest, BuffersCarryTheirFormatAndControls)
{
    IDirectSoundBuffer* made = manager.CreateBuffer(9, 8192, DSBCAPS_STATIC);
    ASSERT_EQ(made, Buffer());
    EXPECT_EQ(Buffer()->description.dwFlags, 0xE2u);
    EXPECT_EQ(Buffer()->description.dwBufferBytes, 8192u);
    EXPECT_EQ(Buffer()->format.nSamplesPerSec, 11025u);
    EXPECT_EQ(Buffer()->format.nChannels, 1);
    EXPECT_EQ(Buffer()->format.wBitsPerSample, 16);
    IDirectSoundBuffer* copy = manager.DuplicateBuffer(made);
    EXPECT_EQ(static_cast<FakeBuffer*>(copy)->memory, Buffer()->memory);
}

// The numbers of the format word, the buffer sizes and the device units.
TEST(SoundNumbers, SizesAndDeviceUnits)
{
    MMSoundManager manager(nullptr, nullptr);
    MMStreamedSoundChannel owner(&manager, nullptr, 1500);
    auto ring = [&](uint32_t format, int32_t ms) {
        MemorySource source(format, {});
        return MMPermanentPhysicalSoundChannel(&owner, &source, ms).BufferSize();
    };
    struct Row { const char* what; int64_t value; int64_t expected; } rows[] = {
        {"streaming size, 22050 Hz 16-bit stereo", StreamingBufferSize(26), 131072},
        {"streaming size, 22050 Hz 16-bit mono", StreamingBufferSize(10), 65536},
        {"streaming size, 11025 Hz 8-bit mono", StreamingBufferSize(1), 16384},
        {"ring, 22050 Hz 16-bit stereo", ring(26, 1500), 135168},
        {"ring, 22050 Hz 16-bit mono", ring(10, 1500), 69632},
        {"bytes per second of 26", SoundBytesPerSecond(26), 88200},
        {"volume 1024", DeviceVolume(1024), 0},
        {"volume 512", DeviceVolume(512), -1000},
        {"volume 0", DeviceVolume(0), -10000},
        {"volume 1", DeviceVolume(1), -10000},
        {"volume above full", DeviceVolume(5000), 0},
        {"volume below 0", DeviceVolume(-3), -10000},
        {"pan 0", DevicePan(0), 0},
        {"pan 512", DevicePan(512), 1000},
        {"pan -512", DevicePan(-512), -1000},
        {"pan 1024", DevicePan(1024), 10000},
        {"pan -1024", DevicePan(-1024), -10000},
        {"pan 4000", DevicePan(4000), 10000},
        {"frequency x0.5 of 22050 Hz", DeviceFrequency(26, 0x8000), 11025},
        {"frequency x1 of 44100 Hz", DeviceFrequency(12, 0x10000), 44100},
        {"frequency 0", DeviceFrequency(26, 0), 100},
        {"frequency x16", DeviceFrequency(26, 0x100000), 100000},
        {"envelope bytes for 1 s of 22050 Hz stereo",
         MMSoundResourceFile::BytesForDuration(1, true, true, 1000), 88200},
    };
    for (const Row& row : rows) EXPECT_EQ(row.value, row.expected) << row.what;
    EXPECT_EQ(DevicePan(300), -DevicePan(-300));
}

TEST(SoundNumbers, DurationsOfStoredSounds)
{
    ScratchFolder scratch;
    std::vector<RawSound> sounds(2);
    sounds[0].attributes = 0x0D;  // 22050 Hz 16-bit stereo
    sounds[0].pcm.assign(44100, 0);
    sounds[1].attributes = 0x01;  // 22050 Hz 8-bit mono
    sounds[1].bytes.assign(22050, 128);
    WriteBytes(scratch.folder, "d.MMA", SerializeSoundFile(sounds, false));
    MMSoundResourceFile file;
    ASSERT_TRUE(file.Open(scratch.folder, "d.MMA", false, false));
    EXPECT_EQ(file.Duration(0), 1000);
    EXPECT_EQ(file.Duration(1), 1000);
}

UINT WINAPI TwoDevices() { return 2; }
std::map<UINT_PTR, DWORD> gVolumes;
MMRESULT WINAPI FakeGetVolume(HWAVEOUT device, LPDWORD volume)
{
    *volume = gVolumes[UINT_PTR(device)];
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeSetVolume(HWAVEOUT device, DWORD volume)
{
    gVolumes[UINT_PTR(device)] = volume;
    return MMSYSERR_NOERROR;
}

TEST(WaveVolume, LowestLeftChannelAndBothChannelsAlike)
{
    MMWaveOutCalls real = gWaveOutCalls;
    gWaveOutCalls = {TwoDevices, FakeGetVolume, FakeSetVolume};
    gVolumes = {{0, 0x1234FFFF}, {1, 0xFFFF8000}};
    EXPECT_EQ(GetWaveVolume(), 512);
    SetWaveVolume(1024);
    EXPECT_EQ(gVolumes[0], 0xFFFFFFFFu);
    EXPECT_EQ(gVolumes[1], 0xFFFFFFFFu);
    EXPECT_EQ(GetWaveVolume(), 1024);
    SetWaveVolume(512);
    EXPECT_EQ(gVolumes[1], 0x80208020u);
    gWaveOutCalls = real;
    // The system's own calls run, whatever the device answers.
    SetWaveVolume(GetWaveVolume());
}

}  // namespace
