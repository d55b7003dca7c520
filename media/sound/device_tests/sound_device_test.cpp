// Plays sound files through the stage's sound manager on the real device.
// The test program runs with a default ALSA device that writes a WAV file
// (scripts/alsa-file.conf); once the device is closed the file is read back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>
#include "engine/engine_pulse_managers.h"
#include "engine/stage.h"
#include "framework/files.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_format.h"
#include "media/sound/sound_loader.h"
#include "media/sound/sound_manager.h"
#include "sound_fixture.h"

namespace {

struct Wave {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<int16_t> left;
};

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool ReadWave(const std::string& path, Wave& wave)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    CloseHandle(file);
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return false;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const uint8_t* chunk = bytes.data() + at;
        uint32_t size = Le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && at + 24 <= bytes.size()) {
            wave.channels = Le16(chunk + 10);
            wave.rate = int(Le32(chunk + 12));
            wave.bits = Le16(chunk + 22);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            // The header's size may not have been written: read to the end.
            size_t frame = size_t(std::max(wave.channels, 1)) * 2;
            for (size_t p = at + 8; p + frame <= bytes.size(); p += frame)
                wave.left.push_back(int16_t(Le16(bytes.data() + p)));
            return true;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

// First and last sample louder than the threshold.
std::pair<size_t, size_t> LoudSpan(const std::vector<int16_t>& samples, int threshold = 1000)
{
    size_t first = samples.size(), last = 0;
    for (size_t i = 0; i < samples.size(); ++i)
        if (std::abs(samples[i]) > threshold) {
            first = std::min(first, i);
            last = i;
        }
    return {first, last};
}

// Sign changes per second between two samples.
double CrossingRate(const std::vector<int16_t>& samples, size_t from, size_t to, int rate)
{
    int crossings = 0;
    int sign = 0;
    for (size_t i = from; i < to; ++i) {
        int s = samples[i] > 0 ? 1 : samples[i] < 0 ? -1 : 0;
        if (s != 0 && sign != 0 && s != sign) ++crossings;
        if (s != 0) sign = s;
    }
    return crossings * double(rate) / double(to - from);
}

struct SoundDevice : testing::Test {
    ScratchFolder scratch;
    AFPulseTaskManager pulses;
    HWND window = nullptr;
    MMSoundManager* manager = nullptr;
    MMStage* stage = nullptr;
    std::string wavPath;

    void SetUp() override
    {
        char unixPath[MAX_PATH] = {};
        ASSERT_GT(GetEnvironmentVariableA("PENNARO_ALSA_FILE", unixPath, MAX_PATH), 0u)
            << "the test runs with scripts/alsa-file.conf and PENNARO_ALSA_FILE set";
        wavPath = std::string("Z:") + unixPath;
        DeleteFileA(wavPath.c_str());
        pulses.Start();
        gSecondEnginePulseTaskManager = &pulses;
        SoundFormat = 26;
        window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
        manager = new MMSoundManager(window);
        stage = new MMStage(nullptr, Box{0, 0, 64, 48}, 32, manager, nullptr, nullptr, nullptr);
        manager->Enable();
        ASSERT_NE(manager->Device(), nullptr);
    }
    void TearDown() override
    {
        delete stage;
        DeleteAllSoundCollections();
        pulses.Stop();
        gSecondEnginePulseTaskManager = nullptr;
        if (window) DestroyWindow(window);
        SoundFormat = 10;
    }

    // Plays the sound to its end through frame ticks, then closes the device.
    void PlayThroughTheStage(MMResourceId id)
    {
        MMSoundReference sound;
        sound.Load(id);
        {
            MMGenericSoundChannel channel(manager);
            channel.Play(sound, false);
            DWORD start = GetTickCount();
            do {
                stage->FrameTick();
                Sleep(16);
            } while (channel.IsActive() && GetTickCount() - start < 30000);
            EXPECT_FALSE(channel.IsActive());
        }
        manager->Disable();
    }
};

TEST_F(SoundDevice, AToneReachesTheDevice)
{
    std::vector<TestSound> sounds(1);
    sounds[0].samples = Tone(1000, 11025, false);
    ASSERT_TRUE(WriteSoundFile(scratch.folder, "Tone.MMA", sounds));
    ASSERT_NE(CreateSoundLoader("Tone.MMA", scratch.folder, false), nullptr);
    PlayThroughTheStage(0x40000000);

    Wave wave;
    ASSERT_TRUE(ReadWave(wavPath, wave));
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.rate, 22050);
    EXPECT_EQ(wave.bits, 16);
    auto [first, last] = LoudSpan(wave.left);
    ASSERT_LT(first, last);
    EXPECT_NEAR(double(last - first) / 22050, 0.5, 0.5 * 0.03);
    EXPECT_NEAR(CrossingRate(wave.left, first, last, 22050), 2000, 2000 * 0.03);
}

class StreamedTones : public SoundDevice, public testing::WithParamInterface<bool> {};

TEST_P(StreamedTones, FourSecondsComeInOrder)
{
    const double tones[] = {400, 800, 1200, 1600};
    std::vector<TestSound> sounds(1);
    for (double hz : tones) {
        std::vector<int16_t> second = Tone(hz, 22050, true);
        sounds[0].samples.insert(sounds[0].samples.end(), second.begin(), second.end());
    }
    sounds[0].source.stereo = true;
    sounds[0].source.streamed = true;
    sounds[0].source.compress = GetParam();
    ASSERT_TRUE(WriteSoundFile(scratch.folder, "Long.MMA", sounds));
    MMSoundLoader* loader = CreateSoundLoader("Long.MMA", scratch.folder, false);
    ASSERT_NE(loader, nullptr);
    ASSERT_LT(loader->ItemLayout(0).head, loader->ItemLayout(0).stored);
    PlayThroughTheStage(0x40000000);

    Wave wave;
    ASSERT_TRUE(ReadWave(wavPath, wave));
    auto [first, last] = LoudSpan(wave.left);
    ASSERT_LT(first, last);
    double seconds = double(last - first) / 22050;
    EXPECT_NEAR(seconds, 4.0, 4.0 * 0.03);
    size_t quarter = (last - first) / 4;
    for (int k = 0; k < 4; ++k) {
        size_t from = first + k * quarter + quarter / 10;
        size_t to = first + (k + 1) * quarter - quarter / 10;
        EXPECT_NEAR(CrossingRate(wave.left, from, to, 22050), 2 * tones[k], 2 * tones[k] * 0.03)
            << "tone " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(PcmAndCodes, StreamedTones, testing::Values(false, true));

}  // namespace
