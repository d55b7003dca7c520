// Times the sound code: decoding a minute of 22050 Hz stereo sound-byte
// codes, as a ratio to a memcpy of the decoded bytes; and sixteen streamed
// channels on the sound device, as the share of a 16.7 ms frame that the
// per-tick service takes and the share of the wall time that the refilling
// pulse thread runs.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <vector>
#include "engine/engine_pulse_managers.h"
#include "framework/folders.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_codec.h"
#include "media/sound/sound_file_writer.h"
#include "media/sound/sound_format.h"
#include "media/sound/sound_loader.h"
#include "media/sound/sound_manager.h"

namespace {

double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

std::vector<int16_t> Music(int32_t frames, double hz)
{
    std::vector<int16_t> samples;
    for (int32_t i = 0; i < frames; ++i) {
        double t = i / 22050.0;
        double v = 8000 * std::sin(2 * std::numbers::pi * hz * t) +
                   3000 * std::sin(2 * std::numbers::pi * 3.01 * hz * t);
        samples.push_back(int16_t(v));
        samples.push_back(int16_t(v * 0.7));
    }
    return samples;
}

void Decoding()
{
    const int32_t frames = 22050 * 60;
    std::vector<int16_t> samples = Music(frames, 330);
    std::vector<uint8_t> codes(samples.size());
    UUSoundBytesEncoder encoder(2);
    encoder.Encode(samples.data(), int32_t(samples.size()), codes.data());
    std::vector<int16_t> out(samples.size()), copy(samples.size());
    double decode = 1e9, memcopy = 1e9;
    for (int round = 0; round < 7; ++round) {
        double start = Seconds();
        UUSoundBytesDecoder decoder(2);
        decoder.Decode(codes.data(), int32_t(codes.size()), out.data());
        decode = std::min(decode, Seconds() - start);
        start = Seconds();
        std::memcpy(copy.data(), out.data(), out.size() * 2);
        memcopy = std::min(memcopy, Seconds() - start);
    }
    std::printf("decoding a minute of 22050 Hz stereo codes: %.2f ms, %.1f x a memcpy of the "
                "%zu output bytes (%.3f ms)\n",
                decode * 1000, decode / memcopy, out.size() * 2, memcopy * 1000);
}

double ThreadSeconds(HANDLE thread)
{
    FILETIME created, ended, kernel, user;
    if (!GetThreadTimes(thread, &created, &ended, &kernel, &user)) return 0;
    auto value = [](const FILETIME& t) {
        return (uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
}

void Streaming()
{
    const int kChannels = 16;
    FSDirectory temp, folder;
    FSTempFolder(temp);
    char name[64];
    std::snprintf(name, sizeof name, "pennaro-bench-%lu", GetCurrentProcessId());
    FSCreateSubfolder(temp, name, folder);
    {
        MMSoundResourceFile file;
        file.Create(folder, "Bench.MMA", FSFileKind(), kChannels, 0x4000);
        for (int16_t i = 0; i < kChannels; ++i) {
            std::vector<int16_t> samples = Music(22050 * 6, 220 + 40 * i);
            MMSoundItemSource source;
            source.samples = samples.data();
            source.frameCount = int32_t(samples.size() / 2);
            source.stereo = true;
            source.streamed = true;
            source.compress = i % 2 == 1;
            MMWriteSound(file, i, source);
        }
        file.MarkEndOfItems();
        file.Close(true);
    }
    AFPulseTaskManager pulses;
    pulses.Start();
    gSecondEnginePulseTaskManager = &pulses;
    SoundFormat = 26;
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr,
                                nullptr);
    MMSoundLoader* loader = CreateSoundLoader("Bench.MMA", folder, false);
    MMSoundManager manager(window);
    manager.Enable();
    if (!loader || !manager.Device()) {
        std::printf("streaming: no sound device or file\n");
    } else {
        std::vector<std::unique_ptr<MMGenericSoundChannel>> channels;
        for (int i = 0; i < kChannels; ++i) {
            channels.emplace_back(new MMGenericSoundChannel(&manager));
            MMSoundReference sound;
            sound.Load(0x40000000 | i);
            channels.back()->Play(sound, true);
        }
        manager.Service();  // the first tick opens every stream
        double threadStart = ThreadSeconds(pulses.thread->handle);
        double wallStart = Seconds();
        double serviceTotal = 0, serviceWorst = 0;
        int ticks = 0;
        while (Seconds() - wallStart < 4.0) {
            double start = Seconds();
            manager.Service();
            double took = Seconds() - start;
            serviceTotal += took;
            serviceWorst = std::max(serviceWorst, took);
            ++ticks;
            Sleep(16);
        }
        double wall = Seconds() - wallStart;
        double thread = ThreadSeconds(pulses.thread->handle) - threadStart;
        std::printf("%d streamed channels: service per tick %.4f ms mean (%.3f%% of a 16.7 ms "
                    "frame), %.4f ms worst; pulse thread %.2f%% of the wall time\n",
                    kChannels, serviceTotal / ticks * 1000, serviceTotal / ticks / 0.0167 * 100,
                    serviceWorst * 1000, thread / wall * 100);
        for (auto& channel : channels) channel->Stop();
        channels.clear();
    }
    manager.Disable();
    DeleteAllSoundCollections();
    pulses.Stop();
    gSecondEnginePulseTaskManager = nullptr;
    DestroyWindow(window);
    DeleteDirectoryTree(folder);
}

}  // namespace

int main()
{
    Decoding();
    Streaming();
    return 0;
}
